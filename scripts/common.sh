# Shared by ./run and ./test: install what is missing, then configure and build incrementally.
# Sourced, not run.

VOKARI_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
VOKARI_PRESET="${VOKARI_PRESET:-dev}"
VOKARI_BUILD="$VOKARI_ROOT/build/$VOKARI_PRESET"

# Debian packages the build, the program and the tests need.
VOKARI_PACKAGES=(
  build-essential cmake ninja-build pkg-config git clang clang-format
  qt6-base-dev qt6-base-dev-tools libgl-dev qt6-multimedia-dev
  libjpeg62-turbo-dev
  libgtest-dev googletest
  xvfb xdotool x11-utils libx11-dev libxtst-dev openbox
  g++-mingw-w64-x86-64-posix wine wine64
  dbus-daemon pulseaudio pulseaudio-utils
  fonts-liberation2 fonts-dejavu-core fonts-wqy-microhei
)

vokari_as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

vokari_install_missing() {
  local missing=() pkg
  for pkg in "${VOKARI_PACKAGES[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed'; then
      missing+=("$pkg")
    fi
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing missing packages: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  vokari_as_root apt-get update -q
  vokari_as_root apt-get install -y -q --no-install-recommends "${missing[@]}"
}

vokari_build() {
  cd "$VOKARI_ROOT"
  if [ ! -f "$VOKARI_BUILD/build.ninja" ]; then
    cmake --preset "$VOKARI_PRESET"
  fi
  cmake --build --preset "$VOKARI_PRESET"
}
