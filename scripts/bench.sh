#!/usr/bin/env bash
# Builds and runs every benchmark (bench_*.exe) in a throwaway Wine prefix.
# Each prints its figures with a baseline measured in the same run.
set -u
BRISKO_ROOT=$(cd "$(dirname "$0")/.." && pwd)
. "$BRISKO_ROOT/scripts/lib/prefix.sh"
BUILD=${BRISKO_BUILD_DIR:-$BRISKO_ROOT/build}

brisko_install_tools || exit 1
brisko_configure_build "$BUILD" || exit 1
PREFIX=$(mktemp -d /tmp/brisko-bench-prefix.XXXXXX)
cleanup() { brisko_stop_all; rm -rf "$PREFIX"; }
trap cleanup EXIT
trap 'exit 130' INT TERM
brisko_start_display || exit 1
brisko_make_prefix "$PREFIX" || exit 1
brisko_start_wineserver
status=0
for b in "$BUILD"/bench/bench_*.exe; do
  [ -f "$b" ] || continue
  if [ $# -gt 0 ] && ! [[ "$(basename "$b")" == *"$1"* ]]; then continue; fi
  echo "== $(basename "$b")"
  BRISKO_EXE="$BUILD/brisko.exe" "$BRISKO_ROOT/cmake/wine-run.sh" "$b" || status=1
done
exit $status
