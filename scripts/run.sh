#!/usr/bin/env bash
# The one run command: builds if needed and starts brisko.exe under Wine.
#   scripts/run.sh                 a demo prefix inside the build folder, made as
#                                  safely as the test prefix and seeded with a
#                                  little harmless junk
#   scripts/run.sh --prefix DIR    an existing Wine prefix of your choice
#   scripts/run.sh [--prefix DIR] --cli ARGS...
#                                  brisko-cli.exe with ARGS instead of the
#                                  window (for example: --cli scan --json)
# Without a display it runs under Xvfb inside a Wine virtual desktop (which
# gives the window its title bar and frame), writes a screenshot of the main
# window to build/screenshot.png and ends the program.
#   BRISKO_LANGUAGE=italiano   starts with lang/italiano.lng (or s_chinese,
#                              t_chinese; "Default" for the built-in English)
#   BRISKO_DPI=192             the display scale as Wine's LogPixels (96 is
#                              100 %, 144 150 %, 192 200 %); the virtual
#                              desktop of the screenshot grows with it
set -u
BRISKO_ROOT=$(cd "$(dirname "$0")/.." && pwd)
. "$BRISKO_ROOT/scripts/lib/prefix.sh"
BUILD=${BRISKO_BUILD_DIR:-$BRISKO_ROOT/build}
PREFIX=
CLI=
while [ $# -gt 0 ]; do
  case "$1" in
    --prefix) PREFIX=$(cd "$2" && pwd) || exit 1; shift 2 ;;
    --cli) CLI=1; shift; break ;;
    *) echo "usage: $0 [--prefix DIR] [--cli ARGS...]" >&2; exit 2 ;;
  esac
done

brisko_install_tools || exit 1
# Only what runs here: the program, the command line, the language and
# rules files; not GoogleTest, the test programs or the benchmarks.
brisko_configure_build "$BUILD" brisko brisko-cli brisko_lang brisko_rules || exit 1

seed_demo_junk() {  # a few throw-away files for the scans to find
  local c=$WINEPREFIX/drive_c
  mkdir -p "$c/windows/Prefetch" "$c/windows/Temp" "$c/Boot" "$c/windows/system32/logfiles"
  echo "setup finished" > "$c/windows/setupact.log"
  echo "old" > "$c/windows/progman.bak"
  echo "scratch" > "$c/windows/system32/~brisko.tmp"
  echo "boot" > "$c/Boot/bootstat.log"
  echo "trace" > "$c/windows/system32/logfiles/trace.txt"
  head -c 20000 /dev/zero > "$c/windows/Prefetch/DEMO.EXE-1234.pf"
  echo "cache" > "$c/windows/Temp/demo.tmp"
}

if [ -z "$PREFIX" ]; then
  PREFIX=$BUILD/demo-prefix
  if [ ! -f "$PREFIX/.brisko-throwaway" ]; then
    brisko_make_prefix "$PREFIX" || exit 1
    seed_demo_junk
  fi
  brisko_use_prefix "$PREFIX"
else
  export WINEPREFIX=$PREFIX WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
fi

INSTALL="$WINEPREFIX/drive_c/Program Files/Brisko"
mkdir -p "$INSTALL"
cp -f "$BUILD/brisko.exe" "$BUILD/brisko-cli.exe" "$INSTALL/"
rm -rf "$INSTALL/lang" && cp -r "$BUILD/lang" "$INSTALL/lang"
rm -rf "$INSTALL/rules" && cp -r "$BUILD/rules" "$INSTALL/rules"

# The demo prefix starts at 100 % unless told; a prefix of your own keeps its scale.
DPI=${BRISKO_DPI:-96}
if [ -n "${BRISKO_DPI:-}" ] || [ "$PREFIX" = "$BUILD/demo-prefix" ]; then
  wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$DPI" /f >/dev/null 2>&1
fi

if [ -n "${BRISKO_LANGUAGE:-}" ]; then  # the user's stored language setting
  language=$BRISKO_LANGUAGE
  [ "$language" = Default ] || language="C:\\Program Files\\Brisko\\lang\\$language.lng"
  wine reg add "HKCU\\Software\\Brisko\\Brisko .NET\\$(id -un)" /v src /t REG_SZ /d "$language" /f >/dev/null 2>&1
fi

# Wine needs a working directory it can name: with no Z: drive, one inside the prefix.
cd "$INSTALL" || exit 1
if [ -n "$CLI" ]; then
  wine "C:\\Program Files\\Brisko\\brisko-cli.exe" "$@"
  status=$?
  wineserver -w
  exit $status
fi
if [ -n "${DISPLAY:-}" ]; then
  exec wine "C:\\Program Files\\Brisko\\brisko.exe"
fi

# No display: run under Xvfb in a virtual desktop, take a screenshot, end the program.
DESKTOP=$((1024 * DPI / 96))x$((640 * DPI / 96))
BRISKO_SCREEN=$((1280 * DPI / 96))x$((1024 * DPI / 96)) brisko_start_display || exit 1
trap brisko_stop_all EXIT
setsid wine explorer /desktop=Brisko,$DESKTOP "C:\\Program Files\\Brisko\\brisko.exe" </dev/null >/dev/null 2>&1 &
sleep "${BRISKO_SCREENSHOT_DELAY:-12}"
# The desktop sits at the top left of the screen, in one colour: trimmed to
# what stands on it, the picture is the main window wherever it was left.
if import -display "$DISPLAY" -window root -crop $DESKTOP+0+0 +repage -trim +repage "$BUILD/screenshot.png" </dev/null 2>/dev/null; then
  echo "screenshot: $BUILD/screenshot.png"
else
  echo "could not take a screenshot" >&2
fi
wineserver -k >/dev/null 2>&1
