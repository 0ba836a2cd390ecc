// The page around the game: checks what the browser offers, starts
// FluidSynth's module and then the game, fits the screen to the window,
// switches the sound on with the first key or click, and says what went
// wrong when something did. `window.stakkorPage` tells tests and the curious
// how the start went.
'use strict';

(function() {
  const stage = document.getElementById('stage');
  const screen = document.getElementById('screen');
  const statusLine = document.getElementById('status');
  const page = window.stakkorPage = {
    firstFrameAt: null,  // milliseconds since the page started loading
    module: null,        // the game's module once it runs
    audioContext: null,  // the game's sound output once it is open
    saves: null,         // 'kept', 'unavailable' or 'timed out'
    ended: null,         // the exit status once the game has ended
    failure: null,
  };
  const notes = {loading: 'Loading Stakkor…', saves: '', sound: ''};

  function showNotes() {
    if (page.failure) return;
    statusLine.textContent = [notes.loading, notes.saves, notes.sound].filter(Boolean).join(' ');
  }

  function fail(text) {
    page.failure = text;
    statusLine.textContent = text;
    statusLine.className = 'error';
  }

  // ---- the screen: as large as fits, pixels kept square and sharp ----
  function fitScreen() {
    const scale = Math.min(stage.clientWidth / 640, stage.clientHeight / 480);
    screen.style.width = Math.max(1, Math.floor(640 * scale)) + 'px';
    screen.style.height = Math.max(1, Math.floor(480 * scale)) + 'px';
  }
  new ResizeObserver(fitScreen).observe(stage);
  fitScreen();

  function toggleFullscreen() {
    if (document.fullscreenElement) {
      document.exitFullscreen();
    } else if (stage.requestFullscreen) {
      stage.requestFullscreen().catch(function() {});
    }
    screen.focus();
  }
  document.getElementById('fullscreen').addEventListener('click', toggleFullscreen);
  window.addEventListener('keydown', function(event) {
    if (event.altKey && event.key === 'Enter') {
      event.preventDefault();
      toggleFullscreen();
    }
  });

  // ---- sound: browsers start it only after the player did something ----
  function showSoundNote() {
    const context = page.audioContext;
    notes.sound = context && context.state === 'suspended' ? 'Press a key or click to switch the sound on.' : '';
    showNotes();
  }
  function wakeSound() {
    const context = page.audioContext;
    if (context && context.state === 'suspended') context.resume().then(showSoundNote, showSoundNote);
  }
  window.addEventListener('keydown', wakeSound, true);
  window.addEventListener('pointerdown', wakeSound, true);

  function loadScript(source) {
    return new Promise(function(resolve, reject) {
      const script = document.createElement('script');
      script.src = source;
      script.onload = resolve;
      script.onerror = function() { reject(new Error(source + ' could not be loaded')); };
      document.head.appendChild(script);
    });
  }

  async function fetchBytes(source, progress) {
    const response = await fetch(source);
    if (!response.ok || !response.body) throw new Error(source + ' could not be loaded (' + response.status + ')');
    const reader = response.body.getReader();
    const parts = [];
    let size = 0;
    for (;;) {
      const {done, value} = await reader.read();
      if (done) break;
      parts.push(value);
      size += value.length;
      if (progress) progress(size);
    }
    const bytes = new Uint8Array(size);
    let at = 0;
    for (const part of parts) {
      bytes.set(part, at);
      at += part.length;
    }
    return bytes.buffer;
  }

  function showProgress(bytes) {
    notes.loading = 'Loading Stakkor… ' + (bytes / 1048576).toFixed(1) + ' MB';
    showNotes();
  }

  // FluidSynth's module is a plain script that takes the global `Module`.
  // It stays there, as its code reads it; the game's module has a name of
  // its own. Without it the game plays on without music, as it does
  // natively without a SoundFont.
  function startFluidSynth() {
    return new Promise(function(resolve) {
      const fluid = window.Module = {
        onRuntimeInitialized: function() { resolve(fluid); },
        onAbort: function() { resolve(null); },
        print: function() {},
        // Its file functions are stubs in this build and say so on every
        // SoundFont it loads; nothing is missing for that.
        printErr: function(text) {
          if (!/is a stub/.test(text)) console.warn('FluidSynth: ' + text);
        },
      };
      loadScript('libfluidsynth.js').catch(function(error) {
        console.warn(error.message);
        resolve(null);
      });
    });
  }

  async function start() {
    if (typeof WebAssembly !== 'object' || typeof WebAssembly.instantiate !== 'function') {
      fail('This browser cannot run WebAssembly, which Stakkor needs. Please open the page in a current browser.');
      return;
    }
    if (typeof indexedDB !== 'object' || !indexedDB) {
      notes.saves = 'This browser keeps no IndexedDB here, so hiscores and options are lost when the page closes.';
    }
    showNotes();
    // Everything is fetched at once; the game starts when all is there.
    const fluidStarted = startFluidSynth();
    let code, data;
    try {
      [code, data] = await Promise.all([fetchBytes('stakkor.wasm'), fetchBytes('stakkor.data', showProgress),
                                        loadScript('stakkor.js')]);
    } catch (error) {
      fail('Stakkor could not be loaded: ' + error.message + '. Reload the page to try again.');
      return;
    }
    const fluidSynth = await fluidStarted;
    page.module = await createStakkor({
      canvas: screen,
      fluidSynth: fluidSynth,
      arguments: [],
      wasmBinary: code,
      getPreloadedPackage: function() { return data; },
      print: function(text) { console.log(text); },
      printErr: function(text) { console.warn(text); },
      onSaves: function(state, error) {
        page.saves = state;
        if (state !== 'kept') {
          notes.saves = 'Hiscores and options will not be kept: ' + (error ? error.message : state) + '.';
          if (error) console.warn(error);
        }
        showNotes();
      },
      onAudioOpened: function(context) {
        page.audioContext = context;
        context.addEventListener('statechange', showSoundNote);
        showSoundNote();
      },
      onFrame: function() {
        if (page.firstFrameAt !== null) return;
        page.firstFrameAt = performance.now();
        notes.loading = '';
        showNotes();
        screen.focus();
      },
      onGameEnded: function(status) {
        page.ended = status;
        notes.loading = 'The game has ended. Reload the page to play again.';
        notes.sound = '';
        showNotes();
      },
      onAbort: function(what) {
        fail('Stakkor stopped: ' + what + '. Reload the page to start again.');
      },
    });
    showSoundNote();
  }

  start().catch(function(error) {
    fail('Stakkor could not start: ' + (error && error.message ? error.message : error) + '.');
  });
})();
