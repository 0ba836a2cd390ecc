// The browser build's sleep for the wait primitive. A timer wakes the game
// through a message: had the game gone on inside the timer's own task, its
// next timer would count as nested, and browsers stretch nested timers to
// 4 ms, four times the pass the game's loops are written for.
mergeInto(LibraryManager.library, {
  stakkor_sleep__deps: ['$callUserCallback'],
  stakkor_sleep: function(milliseconds) {
    Asyncify.handleSleep(function(wakeUp) {
      let channel = Module['wakeChannel'];
      if (!channel) {
        channel = Module['wakeChannel'] = new MessageChannel();
        channel.port1.onmessage = function() {
          const wake = channel.pendingWake;
          channel.pendingWake = null;
          if (wake) callUserCallback(wake);
        };
      }
      setTimeout(function() {
        channel.pendingWake = wakeUp;
        channel.port2.postMessage(0);
      }, milliseconds);
    });
  },
});
