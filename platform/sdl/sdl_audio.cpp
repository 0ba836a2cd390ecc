// The real game's sound output: one SDL2 audio device in float stereo,
// started with its own SDL subsystem so it works beside the window or alone.
#include <SDL.h>

#include <cstdlib>

#include "platform/audio_device.h"

namespace platform::audio::detail {
namespace {

SDL_AudioDeviceID deviceId = 0;
MixCallback mixCallback = nullptr;
bool closeRegistered = false;

void SdlCallback(void*, Uint8* stream, int length) {
  int frames = length / static_cast<int>(sizeof(float) * kChannels);
  mixCallback(reinterpret_cast<float*>(stream), frames);
}

void CloseSdl() {
  if (deviceId == 0) return;
  SDL_CloseAudioDevice(deviceId);
  deviceId = 0;
  SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

bool OpenSdl(MixCallback callback, int& rate) {
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
  SDL_AudioSpec want{};
  want.freq = kPreferredRate;
  want.format = AUDIO_F32SYS;
  want.channels = kChannels;
  want.samples = kBufferFrames;
  want.callback = SdlCallback;
  SDL_AudioSpec have{};
  mixCallback = callback;
  // SDL converts format and channels for us; the rate may be the device's own.
  deviceId = SDL_OpenAudioDevice(nullptr, 0, &want, &have, SDL_AUDIO_ALLOW_FREQUENCY_CHANGE);
  if (deviceId == 0 || have.freq <= 0) {
    if (deviceId != 0) SDL_CloseAudioDevice(deviceId);
    deviceId = 0;
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return false;
  }
  rate = have.freq;
  // The callback must be gone before the music and effects it reads are
  // torn down at process end.
  if (!closeRegistered) {
    std::atexit(CloseSdl);
    closeRegistered = true;
  }
  SDL_PauseAudioDevice(deviceId, 0);
  return true;
}

void LockSdl() {
  if (deviceId != 0) SDL_LockAudioDevice(deviceId);
}

void UnlockSdl() {
  if (deviceId != 0) SDL_UnlockAudioDevice(deviceId);
}

}  // namespace

// Pausing stops SDL calling back; the device itself plays silence.
void RestSdl(bool resting) {
  if (deviceId != 0) SDL_PauseAudioDevice(deviceId, resting ? 1 : 0);
}

const Device& InteractiveDevice() {
  static const Device device{OpenSdl, CloseSdl, LockSdl, UnlockSdl, RestSdl};
  return device;
}

}  // namespace platform::audio::detail
