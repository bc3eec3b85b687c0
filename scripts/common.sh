# Shared by ./run and ./test: install what is missing, then configure and build incrementally.
# Sourced, not run.

VOKARI_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
VOKARI_PRESET="${VOKARI_PRESET:-dev}"
VOKARI_BUILD="$VOKARI_ROOT/build/$VOKARI_PRESET"

# Debian packages that building and running Vokari needs: all that ./run installs.
VOKARI_PROGRAM_PACKAGES=(
  build-essential cmake ninja-build
  qt6-base-dev qt6-base-dev-tools libgl-dev qt6-multimedia-dev qt6-translations-l10n
  libjpeg62-turbo-dev
  fonts-liberation2 fonts-dejavu-core fonts-wqy-microhei
)
# What ./run adds when there is no display: a private X server and a way to wait for the window.
VOKARI_HEADLESS_PACKAGES=(xvfb xdotool)
# What the tests add, group by group (./test installs them all).
VOKARI_TEST_PACKAGES=(
  git clang clang-format libgtest-dev googletest
  xvfb xdotool x11-utils libx11-dev libxtst-dev openbox mutter
  dbus-daemon pulseaudio pulseaudio-utils
  g++-mingw-w64-x86-64-posix wine wine64 nsis qt6-base-dev-tools perl
  desktop-file-utils appstream dpkg-dev file
  valgrind
)

vokari_as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

# vokari_install_missing <package>...: installs those of the packages that are missing.
vokari_install_missing() {
  local missing=() pkg
  for pkg in "$@"; do
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
