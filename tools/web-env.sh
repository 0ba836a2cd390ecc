# Shared by ./web and ./test, sourced after tools/build-env.sh: what the
# browser build needs and how it is built.

# Emscripten and Chromium come from Debian; node with them (this machine's
# own node, when it has one, is kept).
STAKKOR_WEB_PACKAGES=(emscripten chromium nodejs)

# npm, when the node at hand came without it.
ensure_npm() {
  command -v npm >/dev/null && return 0
  ensure_packages npm
}

# The npm packages of site/package-lock.json (FluidSynth for the page,
# puppeteer-core for its tests) in build-web/npm, installed again only when
# the package files changed.
ensure_npm_modules() {
  local dir=build-web/npm
  if [ -d "$dir/node_modules" ] && cmp -s site/package.json "$dir/package.json" &&
     cmp -s site/package-lock.json "$dir/package-lock.json"; then
    return 0
  fi
  mkdir -p "$dir"
  cp site/package.json site/package-lock.json "$dir/"
  (cd "$dir" && npm ci --no-audit --no-fund)
}

# The site in build-web/site and the node programs in build-web/node. The
# game's data comes from the native build's generator (build/data).
build_web() {
  ensure_npm
  ensure_npm_modules
  cmake -S . -B build -G Ninja >/dev/null
  cmake --build build -j "$(nproc)" --target stakkor_data
  # Debian's Emscripten finds its JavaScript parser only there.
  NODE_PATH=/usr/share/nodejs emcmake cmake -S . -B build-web -G Ninja -DSTAKKOR_PLATFORM=web \
    -DCMAKE_BUILD_TYPE=Release -DSTAKKOR_WEB_DATA_DIR="$PWD/build/data" \
    -DSTAKKOR_WEB_FLUIDSYNTH_DIR="$PWD/build-web/npm/node_modules/js-synthesizer/externals" >/dev/null
  cmake --build build-web -j "$(nproc)"
}
