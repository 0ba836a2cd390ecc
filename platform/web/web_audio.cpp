// The browser's sound output: a Web Audio script node whose callback asks
// the game's mixer for each block. The callback runs on the page's one
// thread and only while the game sleeps in a wait, so it never runs beside
// the game's own code: the device lock has nothing to hold off.
#include <emscripten.h>

#include <algorithm>

#include "platform/audio_device.h"

namespace platform::audio::detail {
namespace {

// Frames per block of the node: about 21 ms at 48 kHz. Shorter blocks ask
// the page's thread more often than a busy page can answer in time.
constexpr int kWebBlockFrames = 1024;

MixCallback mixCallback = nullptr;
float block[kWebBlockFrames * kChannels];

EM_JS(int, OpenAudioNode, (int blockFrames, int channels), {
  const AudioContextClass = globalThis.AudioContext || globalThis.webkitAudioContext;
  if (!AudioContextClass) return 0;
  let context;
  try {
    context = new AudioContextClass({latencyHint: 'interactive'});
  } catch (error) {
    return 0;
  }
  const node = context.createScriptProcessor(blockFrames, 0, channels);
  const stats = Module['audioStats'];
  node.onaudioprocess = function(event) {
    const output = event.outputBuffer;
    const frames = Math.min(output.length, blockFrames);
    const started = performance.now();
    const at = _stakkor_mix_audio(frames) >> 2;
    const spent = performance.now() - started;
    const mixed = HEAPF32.subarray(at, at + frames * 2);
    const left = output.getChannelData(0);
    const right = output.getChannelData(1);
    let peak = stats.peak;
    for (let i = 0; i < frames; ++i) {
      const l = mixed[2 * i];
      const r = mixed[2 * i + 1];
      left[i] = l;
      right[i] = r;
      peak = Math.max(peak, Math.abs(l), Math.abs(r));
    }
    stats.peak = peak;
    stats.blocks += 1;
    stats.frames += frames;
    stats.mixMilliseconds += spent;
    stats.longestMixMilliseconds = Math.max(stats.longestMixMilliseconds, spent);
  };
  node.connect(context.destination);
  Module['audioContext'] = context;
  Module['audioNode'] = node;
  if (Module['onAudioOpened']) Module['onAudioOpened'](context);
  return context.sampleRate | 0;
});

EM_JS(void, CloseAudioNode, (), {
  const node = Module['audioNode'];
  const context = Module['audioContext'];
  if (node) {
    node.onaudioprocess = null;
    node.disconnect();
  }
  if (context) context.close();
  Module['audioNode'] = null;
  Module['audioContext'] = null;
});

bool OpenWeb(MixCallback callback, int& rate) {
  mixCallback = callback;
  rate = OpenAudioNode(kWebBlockFrames, kChannels);
  if (rate <= 0) {
    mixCallback = nullptr;
    return false;
  }
  return true;
}

void CloseWeb() {
  CloseAudioNode();
  mixCallback = nullptr;
}

void NothingToLock() {}

}  // namespace

const Device& InteractiveDevice() {
  static const Device device{OpenWeb, CloseWeb, NothingToLock, NothingToLock};
  return device;
}

}  // namespace platform::audio::detail

// One block of the mix for the node: `frames` interleaved stereo frames.
extern "C" EMSCRIPTEN_KEEPALIVE float* stakkor_mix_audio(int frames) {
  using namespace platform::audio::detail;
  frames = std::clamp(frames, 0, kWebBlockFrames);
  if (mixCallback) {
    mixCallback(block, frames);
  } else {
    std::fill(block, block + frames * platform::audio::kChannels, 0.0f);
  }
  return block;
}
