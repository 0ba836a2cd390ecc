// What the browser build offers its page beyond the module itself: sound
// statistics, the state dump, what the player's keys show, and $HOME as
// places.js has it.
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

// What each key types on the player's keyboard, by its DOM code, for the
// legend and the options (KeyPositionLabel): the browser's layout map where
// it offers one, and the keys typed without Shift, Ctrl, Alt or Meta.
Module['keyLabels'] = new Map();
if (typeof navigator == 'object' && navigator.keyboard && navigator.keyboard.getLayoutMap) {
  navigator.keyboard.getLayoutMap().then(function(layout) {
    layout.forEach(function(key, code) { Module['keyLabels'].set(code, key); });
  }, function() {});
}
if (typeof addEventListener == 'function') {
  addEventListener('keydown', function(event) {
    if (event.code && event.key && !event.shiftKey && !event.ctrlKey && !event.altKey && !event.metaKey) {
      Module['keyLabels'].set(event.code, event.key);
    }
  }, true);
}

Module['preRun'] = [].concat(Module['preRun'] || [], function() {
  ENV['HOME'] = Module['places'].home;
});
