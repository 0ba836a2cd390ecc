# Shared by ./play and ./test: the Debian packages the game needs, installed
# in one apt-get call when any is missing, and the build steps.

# To build and play the game.
STAKKOR_GAME_PACKAGES=(
  cmake ninja-build pkg-config g++
  libsdl2-dev libfluidsynth-dev timgm6mb-soundfont libpng-dev
)
# To run every test as well: the second compiler and its sanitizers, the
# test and benchmark libraries, a screen for the window tests, and the
# checkers of the desktop files.
STAKKOR_TEST_PACKAGES=(
  clang libclang-rt-14-dev
  libgtest-dev libgmock-dev libbenchmark-dev xvfb xauth
  desktop-file-utils appstream man-db
)

# ensure_packages PACKAGE...: installs those that are missing, as root or
# through sudo; without either, names the command to run and fails.
ensure_packages() {
  local missing=() package status
  for package in "$@"; do
    status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
    [ "$status" = "install ok installed" ] || missing+=("$package")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  local sudo=()
  if [ "$(id -u)" -ne 0 ]; then
    # sudo when it needs no password, or can ask for one at a terminal.
    if command -v sudo >/dev/null && { sudo -n true 2>/dev/null || [ -t 0 ]; }; then
      sudo=(sudo)
    else
      echo "Stakkor needs these Debian packages, which are not installed: ${missing[*]}" >&2
      echo "Install them as root with:" >&2
      echo "  apt-get install --no-install-recommends ${missing[*]}" >&2
      return 1
    fi
  fi
  echo "Installing the Debian packages: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  # A fresh machine may have no package lists yet: fetch them only then.
  if ! "${sudo[@]}" apt-get install -y --no-install-recommends "${missing[@]}"; then
    "${sudo[@]}" apt-get update
    if ! "${sudo[@]}" apt-get install -y --no-install-recommends "${missing[@]}"; then
      echo "Installing failed. As root, run:" >&2
      echo "  apt-get install --no-install-recommends ${missing[*]}" >&2
      return 1
    fi
  fi
}

# configure_and_build DIR [cmake options...]
configure_and_build() {
  local dir=$1
  shift
  cmake -S . -B "$dir" -G Ninja "$@" >/dev/null
  cmake --build "$dir" -j "$(nproc)"
}
