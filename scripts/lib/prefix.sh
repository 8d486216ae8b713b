# Shared by test.sh and run.sh: the tools, the throwaway Wine prefix, the display.
# Source it; besides the locale below it defines functions only.

# Wine maps file names through the host's locale; without a UTF-8 one it
# cannot create names beyond ASCII. C.UTF-8 is on every Debian.
export LC_ALL=C.UTF-8 LANG=C.UTF-8

brisko_install_tools() {
  local need=()
  command -v x86_64-w64-mingw32-g++-posix >/dev/null || need+=(mingw-w64 g++-mingw-w64-x86-64-posix)
  command -v x86_64-w64-mingw32-windmc >/dev/null || need+=(binutils-mingw-w64-x86-64)
  command -v wine >/dev/null || need+=(wine)
  [ -x /usr/lib/wine/wine64 ] || need+=(wine64)
  command -v Xvfb >/dev/null || need+=(xvfb)
  command -v xauth >/dev/null || need+=(xauth)
  command -v cmake >/dev/null || need+=(cmake)
  command -v ninja >/dev/null || need+=(ninja-build)
  [ -f /usr/src/googletest/CMakeLists.txt ] || need+=(googletest)
  command -v convert >/dev/null && convert -version >/dev/null 2>&1 || need+=(imagemagick)
  # The release: the installer, signing, the zip; the package tests read
  # the MSI and find the program's window.
  command -v wixl >/dev/null || need+=(wixl)
  command -v msiinfo >/dev/null || need+=(msitools)
  command -v osslsigncode >/dev/null || need+=(osslsigncode)
  command -v openssl >/dev/null || need+=(openssl)
  command -v zip >/dev/null || need+=(zip)
  command -v unzip >/dev/null || need+=(unzip)
  command -v xwininfo >/dev/null || need+=(x11-utils)
  # Wine draws the caption buttons with its Marlett font: without it they
  # show as the letters "0 1 r" (in the README's pictures too).
  [ -f /usr/share/wine/fonts/marlett.ttf ] || need+=(fonts-wine)
  if [ ${#need[@]} -gt 0 ]; then
    echo "installing: ${need[*]}"
    if [ "$(id -u)" != 0 ]; then
      echo "missing packages and not root: ${need[*]}" >&2; return 1
    fi
    apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${need[@]}" >/dev/null
  fi
}

brisko_configure_build() {  # $1 = build folder, then the targets to build (all without)
  local build=$1
  shift
  brisko_configure "$build" && cmake --build "$build" ${1:+--target "$@"}
}

# Only what the release holds: the two executables and the data folders.
brisko_build_release() {  # $1 = build folder
  brisko_configure "$1" && cmake --build "$1" --target brisko brisko-cli brisko_lang brisko_rules
}

brisko_configure() {  # $1 = build folder
  local build=$1 launcher=()
  shift
  # Several work trees of one machine share compiled objects where ccache is
  # there; paths below the trees' common parent are hashed relative to it.
  if command -v ccache >/dev/null; then
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
    export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$(dirname "$BRISKO_ROOT")} CCACHE_NOHASHDIR=1
  fi
  [ -f "$build/build.ninja" ] && return 0
  cmake -S "$BRISKO_ROOT" -B "$build" -G Ninja "${launcher[@]}" \
    -DCMAKE_TOOLCHAIN_FILE="$BRISKO_ROOT/cmake/mingw-w64-x86_64.cmake" -DCMAKE_BUILD_TYPE=Release >/dev/null
}

# A prefix of our own with a temporary HOME, no Z: drive (it would map the
# host's /) and real folders in place of the shell-folder links to $HOME.
brisko_make_prefix() {  # $1 = prefix folder (created fresh)
  local prefix=$1
  rm -rf "$prefix"; mkdir -p "$prefix"
  export WINEPREFIX=$prefix WINEARCH=win64 WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
  export HOME=$prefix/home
  export XDG_CONFIG_HOME=$HOME/.config XDG_DATA_HOME=$HOME/.local/share XDG_CACHE_HOME=$HOME/.cache
  # Wine's shell moves to the Recycle Bin only when the trash's parent
  # exists; without it a Recycle Bin move silently deletes for good.
  mkdir -p "$XDG_DATA_HOME/Trash/files" "$XDG_DATA_HOME/Trash/info" "$XDG_CONFIG_HOME" "$XDG_CACHE_HOME"
  wineboot -i >/dev/null 2>&1
  wineserver -w
  rm -f "$prefix/dosdevices/z:"
  local user link
  for user in "$prefix"/drive_c/users/*; do
    for link in "$user"/*; do
      if [ -L "$link" ]; then rm -f "$link"; mkdir -p "$link"; fi
    done
  done
  [ -e "$prefix/dosdevices/z:" ] && { echo "could not remove Z: from $prefix" >&2; return 1; }
  # Debian's Wine looks for its own fonts beside the system's, not where
  # fonts-wine puts them: the prefix's font folder gets Marlett, the font of
  # the caption buttons.
  [ -f /usr/share/wine/fonts/marlett.ttf ] && cp -f /usr/share/wine/fonts/marlett.ttf "$prefix/drive_c/windows/Fonts/"
  touch "$prefix/.brisko-throwaway"
}

brisko_use_prefix() {  # $1 = an existing throwaway prefix
  export WINEPREFIX=$1 WINEARCH=win64 WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
  export HOME=$1/home XDG_CONFIG_HOME=$1/home/.config XDG_DATA_HOME=$1/home/.local/share XDG_CACHE_HOME=$1/home/.cache
}

BRISKO_XVFB_PID=
brisko_start_display() {
  if [ -n "${DISPLAY:-}" ]; then return 0; fi
  local n
  for n in 99 98 97 96 95; do
    [ -e /tmp/.X11-unix/X$n ] || [ -e /tmp/.X$n-lock ] && continue
    Xvfb :$n -screen 0 "${BRISKO_SCREEN:-1280x1024}x24" -nolisten tcp >/dev/null 2>&1 &
    BRISKO_XVFB_PID=$!
    export DISPLAY=:$n
    sleep 1
    return 0
  done
  echo "no free display number for Xvfb" >&2; return 1
}

brisko_start_wineserver() {
  # Persistent and detached: saves Wine's start-up on every test, and keeps
  # its helper processes off ctest's output pipe.
  setsid wineserver -p </dev/null >/dev/null 2>&1 &
  sleep 0.5
  # Wine's service processes start with the first program and outlive it;
  # start them here, on /dev/null, so that none holds a test's output pipe.
  (cd "$WINEPREFIX/drive_c" && setsid wine cmd.exe /c exit </dev/null >/dev/null 2>&1)
}

brisko_stop_all() {
  [ -n "${WINEPREFIX:-}" ] && wineserver -k >/dev/null 2>&1
  [ -n "$BRISKO_XVFB_PID" ] && kill "$BRISKO_XVFB_PID" 2>/dev/null
  BRISKO_XVFB_PID=
}

# Everything before a run of test or benchmark programs: tools, build, a new
# throwaway prefix named after $1, the display and the wineserver; all of it
# is stopped and removed when the calling script exits.
brisko_session_start() {  # $1 = name for the prefix folder; sets BUILD and PREFIX
  BUILD=${BRISKO_BUILD_DIR:-$BRISKO_ROOT/build}
  brisko_install_tools || exit 1
  brisko_configure_build "$BUILD" || exit 1
  PREFIX=$(mktemp -d "/tmp/brisko-$1-prefix.XXXXXX")
  trap 'brisko_stop_all; rm -rf "$PREFIX"' EXIT
  trap 'exit 130' INT TERM
  brisko_start_display || exit 1
  brisko_make_prefix "$PREFIX" || exit 1
  brisko_start_wineserver
}
