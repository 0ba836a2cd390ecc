#include "tools/assets/music.h"

#include <cstdlib>
#include <string>
#include <vector>

#include "tools/midi_file.h"

// The game's theme, an original piece in A minor at 144 beats a minute:
// 56 bars (about 93 seconds) of intro, verse, varied verse, build, chorus,
// bridge, chorus and outro, whose closing fill leads straight back into the
// intro when the piece loops.

namespace assets {
namespace {

// ---- time ----
constexpr uint16_t kDivision = 480;            // ticks per quarter note
constexpr uint32_t kSixteenth = kDivision / 4;
constexpr uint32_t kBar = kDivision * 4;       // 4/4 throughout
constexpr uint32_t kTempo = 416667;            // 144 beats a minute

// ---- channels and General MIDI sounds ----
constexpr uint8_t kLead = 0, kDouble = 1, kBass = 2, kArp = 3, kPad = 4, kBell = 5, kDrums = 9;
constexpr uint8_t kSquareLead = 80, kSynthBrass = 62, kSynthBass = 38, kElectricPiano = 5, kWarmPad = 89,
                  kVibraphone = 11;
constexpr uint8_t kKick = 36, kSnare = 38, kClap = 39, kClosedHat = 42, kOpenHat = 46, kCrash = 49, kLowTom = 45,
                  kMidTom = 47, kHighTom = 50, kRide = 51;

struct Chord {
  int root;    // pitch class, C = 0
  bool minor;
};

Chord ParseChord(const std::string& name) {
  static const int classes[7] = {9, 11, 0, 2, 4, 5, 7};  // A B C D E F G
  Chord c{classes[name[0] - 'A'], false};
  size_t i = 1;
  if (i < name.size() && name[i] == '#') {
    c.root = (c.root + 1) % 12;
    ++i;
  }
  c.minor = i < name.size() && name[i] == 'm';
  return c;
}

// "A5", "G#4", "Bb3" as a MIDI note number; "r" as -1 (a rest).
int ParsePitch(const std::string& name) {
  if (name == "r") return -1;
  static const int classes[7] = {9, 11, 0, 2, 4, 5, 7};
  int pitch = classes[name[0] - 'A'];
  size_t i = 1;
  if (name[i] == '#') {
    ++pitch;
    ++i;
  } else if (name[i] == 'b') {
    --pitch;
    ++i;
  }
  return pitch + 12 * (std::atoi(name.c_str() + i) + 1);
}

struct Note {
  int pitch;
  uint32_t sixteenths;
};

// "E5:2 A5:2 r:2 ...": pitches and lengths in sixteenths.
std::vector<Note> ParseLine(const std::string& text) {
  std::vector<Note> notes;
  size_t pos = 0;
  while (pos < text.size()) {
    while (pos < text.size() && text[pos] == ' ') ++pos;
    if (pos >= text.size()) break;
    size_t colon = text.find(':', pos), end = text.find(' ', pos);
    if (end == std::string::npos) end = text.size();
    notes.push_back({ParsePitch(text.substr(pos, colon - pos)),
                     static_cast<uint32_t>(std::atoi(text.substr(colon + 1, end - colon - 1).c_str()))});
    pos = end;
  }
  return notes;
}

class Score {
 public:
  Score() {
    tracks_.resize(8);
    tracks_[0].name = "Stakkor";
    tracks_[0].events.push_back(Tempo(0));
  }

  static MidiEvent Tempo(uint32_t tick) {
    MidiEvent e;
    e.tick = tick;
    e.isTempo = true;
    e.tempo = kTempo;
    return e;
  }

  void Message(int track, uint32_t tick, uint8_t status, uint8_t a, uint8_t b = 0) {
    MidiEvent e;
    e.tick = tick;
    e.status = status;
    e.data1 = a;
    e.data2 = b;
    tracks_[track].events.push_back(e);
  }

  // A note from `tick` for `length` ticks, released a little early so that
  // a repeated pitch is struck again cleanly and every note has ended before
  // the piece loops.
  void Play(int track, uint8_t channel, uint32_t tick, uint32_t length, int pitch, int velocity) {
    if (pitch < 0) return;
    uint32_t off = tick + (length > 24 ? length - 12 : length - 1);
    Message(track, tick, static_cast<uint8_t>(0x90 | channel), static_cast<uint8_t>(pitch),
            static_cast<uint8_t>(velocity));
    Message(track, off, static_cast<uint8_t>(0x80 | channel), static_cast<uint8_t>(pitch), 64);
  }

  // Plays a written line from `tick` on; returns the tick after it.
  uint32_t Line(int track, uint8_t channel, uint32_t tick, const std::string& text, int velocity, int transpose = 0) {
    for (const Note& n : ParseLine(text)) {
      if (n.pitch >= 0) {
        // Accent the notes on the beat a little.
        int accent = (tick % kDivision == 0) ? 8 : 0;
        Play(track, channel, tick, n.sixteenths * kSixteenth, n.pitch + transpose, velocity + accent);
      }
      tick += n.sixteenths * kSixteenth;
    }
    return tick;
  }

  void Setup(int track, uint8_t channel, uint8_t program, uint8_t volume, uint8_t pan, uint8_t reverb,
             uint8_t chorus) {
    tracks_[track].name = TrackName(channel);
    if (channel != kDrums) Message(track, 0, static_cast<uint8_t>(0xC0 | channel), program);
    Message(track, 0, static_cast<uint8_t>(0xB0 | channel), 7, volume);
    Message(track, 0, static_cast<uint8_t>(0xB0 | channel), 10, pan);
    Message(track, 0, static_cast<uint8_t>(0xB0 | channel), 91, reverb);
    Message(track, 0, static_cast<uint8_t>(0xB0 | channel), 93, chorus);
  }

  std::vector<uint8_t> Finish(uint32_t length) {
    for (MidiTrackOut& t : tracks_) t.endTick = length;
    return EncodeMidiFile(kDivision, tracks_);
  }

 private:
  static std::string TrackName(uint8_t channel) {
    switch (channel) {
      case kLead: return "Lead";
      case kDouble: return "Brass";
      case kBass: return "Bass";
      case kArp: return "Arpeggio";
      case kPad: return "Pad";
      case kBell: return "Bells";
      default: return "Drums";
    }
  }
  std::vector<MidiTrackOut> tracks_;
};

// ---- the parts ----

enum Track { kTempoTrack = 0, kLeadTrack, kDoubleTrack, kBassTrack, kArpTrack, kPadTrack, kBellTrack, kDrumTrack };

// The bass drives in eighths: root, root, octave, root, root, octave, root, fifth.
void BassBar(Score& s, uint32_t bar, Chord c, bool driving) {
  int root = 38 + ((c.root - 38 % 12) + 12) % 12;  // the root between D2 and C#3
  if (!driving) {
    s.Play(kBassTrack, kBass, bar, kBar / 2, root, 100);
    s.Play(kBassTrack, kBass, bar + kBar / 2, kBar / 2, root + 12, 88);
    return;
  }
  const int pattern[8] = {0, 0, 12, 0, 0, 12, 0, 7};
  for (int i = 0; i < 8; ++i) {
    int velocity = (i % 2 == 0) ? 104 : 88;
    s.Play(kBassTrack, kBass, bar + i * 2 * kSixteenth, 2 * kSixteenth, root + pattern[i], velocity);
  }
}

// Sixteenths up and down the chord, an octave and a half wide.
void ArpBar(Score& s, uint32_t bar, Chord c, bool sixteenths) {
  const int third = c.minor ? 3 : 4;
  int root = 60 + c.root;
  if (root > 66) root -= 12;
  const int tones[8] = {0, third, 7, 12, 7 + 12, 12, 7, third};
  const int steps = sixteenths ? 16 : 8;
  for (int i = 0; i < steps; ++i) {
    uint32_t len = (sixteenths ? 1 : 2) * kSixteenth;
    s.Play(kArpTrack, kArp, bar + i * len, len, root + tones[i % 8], i % 4 == 0 ? 84 : 70);
  }
}

void PadBar(Score& s, uint32_t bar, Chord c) {
  const int third = c.minor ? 3 : 4;
  int root = 55 + ((c.root - 55 % 12) + 12) % 12;  // G3 .. F#4
  for (int interval : {0, third, 7, 12}) s.Play(kPadTrack, kPad, bar, kBar, root + interval, 70);
}

// A drum bar from four lanes of sixteen steps: 'x' a hit, 'o' a soft hit.
struct DrumBar {
  const char* kick;
  const char* snare;
  const char* hat;
  const char* open;
};

void Drums(Score& s, uint32_t bar, const DrumBar& d, uint8_t snareSound = kSnare, uint8_t hatSound = kClosedHat) {
  auto lane = [&](const char* steps, uint8_t sound, int loud, int soft) {
    for (int i = 0; i < 16 && steps[i]; ++i) {
      if (steps[i] == 'x') s.Play(kDrumTrack, kDrums, bar + i * kSixteenth, kSixteenth, sound, loud);
      if (steps[i] == 'o') s.Play(kDrumTrack, kDrums, bar + i * kSixteenth, kSixteenth, sound, soft);
    }
  };
  lane(d.kick, kKick, 112, 80);
  lane(d.snare, snareSound, 104, 60);
  lane(d.hat, hatSound, 78, 52);
  lane(d.open, kOpenHat, 72, 50);
}

void Crash(Score& s, uint32_t tick) { s.Play(kDrumTrack, kDrums, tick, kDivision, kCrash, 100); }

// A roll over the toms into the next section.
void Fill(Score& s, uint32_t bar) {
  Drums(s, bar, {"x.......x.......", "....x...........", "x.x.x.x.........", "................"});
  const uint8_t toms[8] = {kHighTom, kHighTom, kMidTom, kMidTom, kLowTom, kLowTom, kLowTom, kSnare};
  for (int i = 0; i < 8; ++i) {
    s.Play(kDrumTrack, kDrums, bar + (8 + i) * kSixteenth, kSixteenth, toms[i], 90 + 2 * i);
  }
}

const DrumBar kVerseBeat{"x.....x.x.......", "....x.......x...", "x.x.x.x.x.x.x.x.", "..............x."};
const DrumBar kIntroBeat{"x...x...x...x...", "................", "..x...x...x...x.", "................"};
const DrumBar kIntroBeat2{"x...x...x...x...", "....x.......x...", "..x...x...x...x.", "................"};
const DrumBar kChorusBeat{"x...x...x...x...", "....x.......x...", "x.x.x.x.x.x.x.x.", "..x...x...x...x."};
const DrumBar kBuildBeat{"x.......x.......", "....x.......x...", "x.x.x.x.x.x.x.x.", "................"};
const DrumBar kBuildRoll{"x...x...x...x...", "x.x.x.x.xxxxxxxx", "................", "................"};
const DrumBar kBridgeBeat{"x...............", "............x...", "x.o.x.o.x.o.x.o.", "................"};

// ---- the tune: A minor, 56 bars ----

struct Section {
  std::vector<std::string> chords;  // one a bar
  std::vector<std::string> lead;    // one line a bar, or empty
};

const Section kIntro{{"Am", "F", "G", "E"}, {}};

const Section kVerse{
    {"Am", "F", "C", "G", "Am", "F", "G", "E"},
    {"E5:2 A5:2 r:2 A5:1 B5:1 C6:2 B5:2 A5:2 E5:2", "F5:2 A5:2 r:2 A5:1 B5:1 C6:2 D6:2 C6:2 A5:2",
     "G5:3 E5:3 G5:2 C6:3 B5:3 G5:2", "D6:4 B5:2 G5:2 A5:2 B5:6", "E5:2 A5:2 r:2 A5:1 B5:1 C6:2 B5:2 A5:2 E5:2",
     "F5:2 A5:2 r:2 A5:1 C6:1 D6:2 E6:2 D6:2 C6:2", "B5:2 D6:2 G6:4 F6:2 E6:2 D6:2 B5:2",
     "G#5:4 B5:2 E6:2 D6:2 B5:2 G#5:2 E5:2"}};

const Section kVerse2{
    {"Am", "F", "C", "G", "Am", "F", "G", "E"},
    {"A5:2 C6:2 E6:2 C6:2 B5:2 A5:2 B5:2 C6:2", "A5:4 F5:2 A5:2 C6:4 A5:2 F5:2", "E5:2 G5:2 C6:2 E6:2 D6:2 C6:2 B5:2 G5:2",
     "B5:4 D6:4 G5:8", "A5:2 C6:2 E6:2 C6:2 B5:2 A5:2 B5:2 C6:2", "D6:2 C6:2 A5:2 F5:2 A5:2 C6:2 F6:4",
     "E6:2 D6:2 B5:2 G5:2 D6:3 B5:3 G5:2", "E6:6 D6:2 B5:4 G#5:4"}};

const Section kBuild{
    {"Dm", "G", "C", "Am", "Dm", "G", "E", "E"},
    {"D5:4 F5:4 A5:6 G5:2", "G5:4 B5:4 D6:6 C6:2", "C6:4 E6:4 G5:6 A5:2", "A5:12 B5:2 C6:2", "D6:4 C6:2 A5:2 F5:4 A5:4",
     "B5:4 D6:2 B5:2 G5:4 B5:4", "G#5:2 B5:2 E6:2 G#5:2 B5:2 E6:2 G#6:4", "B6:8 r:4 E5:1 G#5:1 B5:1 D6:1"}};

const Section kChorus{
    {"F", "G", "Em", "Am", "F", "G", "E", "E"},
    {"C6:2 C6:2 A5:2 C6:4 D6:2 C6:2 A5:2", "B5:2 B5:2 G5:2 B5:4 D6:2 B5:2 G5:2", "E6:3 D6:3 B5:2 G5:3 B5:3 D6:2",
     "C6:6 B5:2 A5:8", "C6:2 C6:2 A5:2 C6:4 D6:2 E6:2 F6:2", "G6:4 F6:2 E6:2 D6:4 B5:4", "E6:3 D6:3 B5:2 G#5:4 E5:4",
     "B5:8 G#5:4 E5:4"}};

const Section kBridge{
    {"Am", "Am", "F", "F", "Dm", "Dm", "E", "E"},
    {"E5:4 A5:4 C6:4 B5:4", "A5:8 E5:8", "F5:4 A5:4 C6:4 E6:4", "D6:8 C6:8", "D6:4 F6:4 E6:4 D6:4", "A5:8 F5:8",
     "E5:4 G#5:4 B5:4 D6:4", "E6:12 r:4"}};

const Section kChorus2{
    {"F", "G", "Em", "Am", "F", "G", "E", "Am"},
    {"C6:2 C6:2 A5:2 C6:4 D6:2 C6:2 A5:2", "B5:2 B5:2 G5:2 B5:4 D6:2 B5:2 G5:2", "E6:3 D6:3 B5:2 G5:3 B5:3 D6:2",
     "C6:6 B5:2 A5:8", "C6:2 C6:2 A5:2 C6:4 D6:2 E6:2 F6:2", "G6:4 F6:2 E6:2 D6:4 B5:4", "E6:3 D6:3 B5:2 G#5:4 B5:4",
     "A5:12 r:4"}};

// The verse's opening echoes on the bells before the loop comes round.
const Section kOutro{{"Am", "F", "G", "E"},
                     {"E5:2 A5:2 r:2 A5:1 B5:1 C6:2 B5:2 A5:2 E5:2", "F5:2 A5:2 r:2 A5:1 B5:1 C6:2 D6:2 C6:2 A5:2",
                      "D6:4 B5:4 G5:8", ""}};

}  // namespace

std::vector<uint8_t> ComposeMusic() {
  Score s;
  s.Setup(kLeadTrack, kLead, kSquareLead, 92, 64, 40, 24);
  s.Setup(kDoubleTrack, kDouble, kSynthBrass, 64, 44, 50, 30);
  s.Setup(kBassTrack, kBass, kSynthBass, 104, 64, 10, 0);
  s.Setup(kArpTrack, kArp, kElectricPiano, 62, 88, 50, 20);
  s.Setup(kPadTrack, kPad, kWarmPad, 56, 40, 70, 40);
  s.Setup(kBellTrack, kBell, kVibraphone, 80, 80, 60, 10);
  s.Setup(kDrumTrack, kDrums, 0, 108, 64, 30, 0);

  uint32_t at = 0;
  // Intro: the groove comes in; the tune's first bar is a crash after the
  // last bar's fill, so the loop lands on it every time round.
  Crash(s, at);
  for (size_t i = 0; i < kIntro.chords.size(); ++i) {
    Chord c = ParseChord(kIntro.chords[i]);
    uint32_t bar = at + static_cast<uint32_t>(i) * kBar;
    BassBar(s, bar, c, true);
    ArpBar(s, bar, c, true);
    if (i < 2) Drums(s, bar, kIntroBeat);
    if (i == 2) Drums(s, bar, kIntroBeat2);
    if (i == 3) Fill(s, bar);
  }
  at += 4 * kBar;

  auto song = [&](const Section& section, auto bars) {
    for (size_t i = 0; i < section.chords.size(); ++i) {
      Chord c = ParseChord(section.chords[i]);
      uint32_t bar = at + static_cast<uint32_t>(i) * kBar;
      bars(static_cast<int>(i), bar, c, i < section.lead.size() ? section.lead[i] : std::string());
    }
    at += static_cast<uint32_t>(section.chords.size()) * kBar;
  };

  // Verse and its variation: square lead over the driving bass.
  for (const Section* verse : {&kVerse, &kVerse2}) {
    Crash(s, at);
    song(*verse, [&](int i, uint32_t bar, Chord c, const std::string& lead) {
      BassBar(s, bar, c, true);
      ArpBar(s, bar, c, true);
      if (verse == &kVerse2) PadBar(s, bar, c);
      Drums(s, bar, i == 7 && verse == &kVerse2 ? kBuildBeat : kVerseBeat);
      s.Line(kLeadTrack, kLead, bar, lead, 96);
    });
  }
  // The build: brass joins an octave down, the snare rolls at the end.
  Crash(s, at);
  song(kBuild, [&](int i, uint32_t bar, Chord c, const std::string& lead) {
    BassBar(s, bar, c, true);
    ArpBar(s, bar, c, i % 2 == 0);
    PadBar(s, bar, c);
    Drums(s, bar, i == 7 ? kBuildRoll : kBuildBeat);
    s.Line(kLeadTrack, kLead, bar, lead, 94);
    s.Line(kDoubleTrack, kDouble, bar, lead, 84, -12);
  });
  // The chorus: the hook, doubled, four on the floor.
  Crash(s, at);
  song(kChorus, [&](int i, uint32_t bar, Chord c, const std::string& lead) {
    BassBar(s, bar, c, true);
    ArpBar(s, bar, c, true);
    PadBar(s, bar, c);
    if (i == 4) Crash(s, bar);
    Drums(s, bar, i == 7 ? kBuildBeat : kChorusBeat);
    s.Line(kLeadTrack, kLead, bar, lead, 100);
    s.Line(kDoubleTrack, kDouble, bar, lead, 90, -12);
  });
  // The bridge: a breather, bells take the tune over a sparse beat.
  Crash(s, at);
  song(kBridge, [&](int i, uint32_t bar, Chord c, const std::string& lead) {
    BassBar(s, bar, c, false);
    PadBar(s, bar, c);
    ArpBar(s, bar, c, false);
    if (i == 7) {
      Fill(s, bar);
    } else {
      Drums(s, bar, kBridgeBeat, kClap);
    }
    s.Line(kBellTrack, kBell, bar, lead, 92);
    s.Line(kLeadTrack, kLead, bar, lead, 62, 12);
  });
  // The chorus once more, now resolving home.
  Crash(s, at);
  song(kChorus2, [&](int i, uint32_t bar, Chord c, const std::string& lead) {
    BassBar(s, bar, c, true);
    ArpBar(s, bar, c, true);
    PadBar(s, bar, c);
    if (i == 4) Crash(s, bar);
    Drums(s, bar, kChorusBeat);
    s.Line(kLeadTrack, kLead, bar, lead, 102);
    s.Line(kDoubleTrack, kDouble, bar, lead, 92, -12);
  });
  // Outro: the intro's groove with the ride, the bells' echo, and the fill
  // that leads back to the top.
  song(kOutro, [&](int i, uint32_t bar, Chord c, const std::string& lead) {
    BassBar(s, bar, c, true);
    ArpBar(s, bar, c, true);
    s.Line(kBellTrack, kBell, bar, lead, 84);
    if (i < 3) {
      Drums(s, bar, kVerseBeat, kSnare, kRide);
    } else {
      Fill(s, bar);
    }
  });
  return s.Finish(at);
}

}  // namespace assets
