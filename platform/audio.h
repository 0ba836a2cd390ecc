// The game's one sound output: a stereo stream of float frames that the media
// layer fills from a mix callback.
//
// sdl: an SDL2 audio device; the callback runs on SDL's audio thread.
// web: a Web Audio node; the callback runs on the page's one thread, between
// the game's waits.
// headless: a null device that consumes sound in step with the virtual clock
// (the frames of each virtual millisecond, on the main thread), so effects
// and music run the same code in scripted runs and tests.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace platform::audio {

constexpr int kChannels = 2;  // frames are interleaved left, right
// The rate asked of a sound device (it may choose another): 44.1 kHz sounds
// the same as 48 for the game's music and costs FluidSynth a twelfth less.
constexpr int kPreferredRate = 44100;
// Frames per device buffer: about 23 ms at 44.1 kHz, so a sound started by
// the game is heard within 30 ms, and the audio thread wakes 43 times a
// second instead of twice as often (bench/sound/synth_bench.cpp and
// ./bench weigh the choices).
constexpr int kBufferFrames = 1024;

// Fills `frameCount` frames (2 floats each, -1..1) of the stream. Runs on the
// audio thread with the device lock held.
using MixCallback = void (*)(float* frames, int frameCount);

// Opens the stream on the active backend and starts calling `callback`.
// False when there is no device (no message: the game goes on silent).
bool Open(MixCallback callback);
// Stops the callback and closes the stream.
void Close();
bool IsOpen();
// Frames per second of the open stream, 0 when none is open.
int Rate();

// Holds off the callback while the caller changes state the callback reads.
// Recursive: the callback itself may take it again.
void Lock();
void Unlock();

class DeviceLock {
 public:
  DeviceLock() { Lock(); }
  ~DeviceLock() { Unlock(); }
  DeviceLock(const DeviceLock&) = delete;
  DeviceLock& operator=(const DeviceLock&) = delete;
};

// ---- resting in the quiet ------------------------------------------------
// With no effect sounding and no music for a while the device rests (its
// callback stops running), so a silent game costs nothing for its sound.

// The mix callback tells after every block whether anything played in it.
// Audio thread.
void ReportBlockActivity(bool active);
// Something starts to play: a resting device runs again at once. Called
// with or without the device lock, never from the audio thread.
void Wake();
// A device that has been silent long enough rests. The interactive
// backend's wait calls it.
void RestIfQuiet();

// ---- the audio log of headless runs --------------------------------------

// Starts writing the audio log to `path` (headless --audio-log); an empty
// path stops it.
void SetLogPath(const std::string& path);
// One line "<clock> <text>" in the audio log, e.g. "1234 effect WURF.WAV".
// Does nothing when no log is kept. Never allocates, so the callback may
// call it.
void LogEvent(const char* text);

// ---- headless hooks ------------------------------------------------------

// Called with every block the null device consumed, after the mix callback
// filled it: lets tests and tools listen to the output. Headless only.
using Tap = std::function<void(const float* frames, int frameCount)>;
void SetTap(Tap tap);

}  // namespace platform::audio
