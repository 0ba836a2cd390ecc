// The node build is a command-line program like the native one: it sees the
// environment of its process (language, XDG_CONFIG_HOME, STAKKOR_SOUNDFONT).
Module['preRun'] = [].concat(Module['preRun'] || [], function() {
  Object.assign(ENV, process.env);
});
