# Shared by ./play and ./test: the Debian packages the game builds and runs
# with, installed in one apt-get call when any is missing.
STAKKOR_PACKAGES=(
  cmake ninja-build pkg-config g++ clang libclang-rt-14-dev
  libsdl2-dev libfluidsynth-dev timgm6mb-soundfont libpng-dev
  libgtest-dev libgmock-dev libbenchmark-dev xvfb xauth
)

ensure_packages() {
  local missing=() package
  for package in "${STAKKOR_PACKAGES[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
      missing+=("$package")
    fi
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  local sudo=()
  if [ "$(id -u)" -ne 0 ]; then
    if command -v sudo >/dev/null; then sudo=(sudo); else
      echo "These Debian packages are missing and I am not root: ${missing[*]}" >&2
      return 1
    fi
  fi
  export DEBIAN_FRONTEND=noninteractive
  # A fresh machine may have no package lists yet: fetch them only then.
  if ! "${sudo[@]}" apt-get install -y --no-install-recommends "${missing[@]}"; then
    "${sudo[@]}" apt-get update
    "${sudo[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
  fi
}

# configure_and_build DIR [cmake options...]
configure_and_build() {
  local dir=$1
  shift
  cmake -S . -B "$dir" -G Ninja "$@" >/dev/null
  cmake --build "$dir" -j "$(nproc)"
}
