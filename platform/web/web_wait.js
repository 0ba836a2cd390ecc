// The browser build's sleep for the wait primitive, and its early end. A
// timer wakes the game through a message: had the game gone on inside the
// timer's own task, its next timer would count as nested, and browsers
// stretch nested timers to 4 ms. A key, the focus or a pad that changes
// ends the sleep at once (stakkor_wake), so the game may sleep until its
// next moment and still answer a key as soon as it comes.
mergeInto(LibraryManager.library, {
  $stakkorWaker__deps: ['$callUserCallback'],
  $stakkorWaker: {
    channel: null,
    timer: null,
    sleeper: null,  // the sleeping game's wake-up, while it sleeps
    // Ends the sleep now: the game goes on in a task of its own.
    wake: function() {
      if (stakkorWaker.timer !== null) {
        clearTimeout(stakkorWaker.timer);
        stakkorWaker.timer = null;
      }
      if (!stakkorWaker.sleeper) return;
      stakkorWaker.channel.pendingWake = stakkorWaker.sleeper;
      stakkorWaker.sleeper = null;
      stakkorWaker.channel.port2.postMessage(0);
    },
  },
  stakkor_sleep__deps: ['$stakkorWaker'],
  stakkor_sleep: function(milliseconds) {
    Asyncify.handleSleep(function(wakeUp) {
      let channel = stakkorWaker.channel;
      if (!channel) {
        channel = stakkorWaker.channel = new MessageChannel();
        channel.port1.onmessage = function() {
          const wake = channel.pendingWake;
          channel.pendingWake = null;
          if (wake) callUserCallback(wake);
        };
      }
      stakkorWaker.sleeper = wakeUp;
      if (milliseconds <= 0) {
        stakkorWaker.wake();
      } else {
        stakkorWaker.timer = setTimeout(stakkorWaker.wake, milliseconds);
      }
    });
  },
  stakkor_wake__deps: ['$stakkorWaker'],
  stakkor_wake: function() {
    stakkorWaker.wake();
  },
});
