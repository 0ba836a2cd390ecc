// Feeds arbitrary bytes to the standard MIDI file reader and the MDS reader
// of the music converter; whatever the MIDI reader accepts must convert and
// read back unchanged.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "tools/mds_file.h"
#include "tools/midi_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string error;
  MdsContents contents;
  DecodeMds(data, size, contents, error);
  MidiSong song;
  if (!ParseMidiFile(data, size, song, error)) return 0;
  std::vector<StreamEvent> events = StreamEventsFromSong(song);
  std::vector<uint8_t> mds = EncodeMds(song.division, events, kMdsBufferBytes, (size & 1) != 0);
  if (!DecodeMds(mds.data(), mds.size(), contents, error)) std::abort();
  size_t count = 0;
  for (const MdsContents::Buffer& buffer : contents.buffers) count += buffer.events.size();
  if (count != events.size()) std::abort();
  return 0;
}
