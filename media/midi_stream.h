// The MIDI stream device: takes buffers of MIDI stream events, plays them in
// order on the synth inside the audio stream, and reports each buffer it is
// done with through a callback on the audio thread. One stream at a time.
#pragma once

#include <cstdint>
#include <string>

#include "media/midi_sequencer.h"
#include "platform/midi_synth.h"

// The callback's message for a buffer that came back.
constexpr uint32_t kMomDone = 0x3C9;

using MidiStreamCallback = void (*)(uint32_t message, MidiHeader* header);

struct MidiStream;

// Opens the stream, paused. Null when there is no audio device, no synth,
// or a stream is open already.
MidiStream* MidiStreamOpen(MidiStreamCallback callback);
// The stream's time division (see SetSequencerTimeDivision).
bool MidiStreamSetTimeDivision(MidiStream* stream, uint32_t timeDivision);
// Puts a buffer at the end of the queue. False for a buffer that is queued
// already or holds more bytes than it has room for.
bool MidiStreamOut(MidiStream* stream, MidiHeader* header);
// Starts (or goes on) playing.
bool MidiStreamRestart(MidiStream* stream);
// Ends every note on every channel and hands each queued buffer back
// through the callback.
bool MidiStreamReset(MidiStream* stream);
// Closes the stream; fails while buffers are queued.
bool MidiStreamClose(MidiStream* stream);

// The mixer's part, on the audio thread with the device lock held: the open
// stream's sound for `frameCount` frames. False, with `frames` untouched,
// when no stream is open.
bool RenderMidiStream(float* frames, int frameCount);
// Is a stream open (playing, or waiting for its SoundFont)? Audio thread, or
// with the device lock held.
bool MidiStreamOpenNow();

// The synth streams play on from the next open (not owned; null for the
// backend's own). Lets tests listen to the events and tools pick FluidSynth
// in headless runs.
void UseMidiSynth(platform::MidiSynth* synth);

// The SoundFont the player chose (empty: the usual search). A stream opened
// after a change loads the new font.
void SetMusicSoundFont(const std::string& path);
// The backend's synth is still loading (the music waits for it), or it
// could not be loaded (WM_APP_MUSIC_FAILED told so).
bool MusicSynthLoading();
bool MusicSynthFailed();
