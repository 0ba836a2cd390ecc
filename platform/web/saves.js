// Saves in the browser. The game writes HISCORE.DAT and its replays into its
// directory and its options below $HOME/.config, as on Linux; $HOME is a
// file system kept in the browser's IndexedDB. It is read before the game
// starts, within a time limit so that a stuck database cannot keep the game
// from starting, and written back whenever the game flushes a file it
// wrote. The shipped data lies outside $HOME (places.cmake) and is never
// written back: it comes fresh with every load of the page.
(function() {
  const places = Module['places'];
  const readTimeLimitMs = 5000;
  // 'reading', then 'kept' (saves work), 'unavailable' or 'timed out'.
  let state = 'reading';

  function report(error) {
    if (Module['onSaves']) Module['onSaves'](state, error);
  }

  // The file system is there before the program's memory is: the mount
  // comes first, the files once there is memory to hold them. Nothing below
  // $HOME exists before they are read: what is not in the database would be
  // taken away by reading it.
  Module['preInit'] = [].concat(Module['preInit'] || [], function() {
    const SaveFS = Object.assign({}, IDBFS, {
      syncfs: function(mount, populate, callback) {
        // A flush wakes the game from its fsync; woken from the database's
        // callback, the game's exit or failure would escape to the page,
        // so it goes through the runtime like every other wake
        // (callUserCallback comes with web_wait.js).
        const finish = function(error) {
          callUserCallback(function() { callback(error); });
        };
        // Saves that could not be read are never overwritten.
        if (!populate && state !== 'kept') return finish(null);
        IDBFS.getLocalSet(mount, function(error, local) {
          if (error) return finish(error);
          IDBFS.getRemoteSet(mount, function(error, remote) {
            if (error) return finish(error);
            // Given up on: the game runs already and must not see files appear.
            if (populate && state !== 'reading') return finish(new Error('read after the time limit'));
            IDBFS.reconcile(populate ? remote : local, populate ? local : remote, finish);
          });
        });
      },
    });
    FS.mount(SaveFS, {}, places.home);
  });

  Module['preRun'] = [].concat(Module['preRun'] || [], function() {
    if (typeof indexedDB != 'object' || !indexedDB) {
      state = 'unavailable';
      report(new Error('this browser has no IndexedDB'));
      return;
    }
    addRunDependency('saves');
    const timer = setTimeout(function() {
      if (state !== 'reading') return;
      state = 'timed out';
      report(new Error('the saves were not read within ' + readTimeLimitMs + ' ms'));
      removeRunDependency('saves');
    }, readTimeLimitMs);
    FS.syncfs(true, function(error) {
      if (state !== 'reading') return;
      clearTimeout(timer);
      state = error ? 'unavailable' : 'kept';
      report(error);
      removeRunDependency('saves');
    });
  });
})();
