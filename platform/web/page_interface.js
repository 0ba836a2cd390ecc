// What the browser build offers its page beyond the module itself: sound
// statistics, the state dump, and the places of places.js in the game's
// environment.
Module['audioStats'] = {};
Module['resetAudioStats'] = function() {
  Object.assign(Module['audioStats'], {
    blocks: 0,                   // blocks the node asked for
    frames: 0,
    mixMilliseconds: 0,          // time spent mixing them, effects and music
    longestMixMilliseconds: 0,
    peak: 0,                     // largest sample sent to the speakers
    musicPeak: 0,                // largest sample FluidSynth rendered
    midiEvents: 0,               // channel messages sent to FluidSynth
  });
};
Module['resetAudioStats']();

// The game's state as the headless dump writes it, parsed; null before the
// game has started.
Module['stateDump'] = function() {
  const text = Module['_stakkor_state_dump']();
  return text ? JSON.parse(UTF8ToString(text)) : null;
};

Module['preRun'] = [].concat(Module['preRun'] || [], function() {
  ENV['STAKKOR_SOUNDFONT'] = Module['places'].soundFont;
});
