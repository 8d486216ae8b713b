#!/usr/bin/env bash
# The one test command: installs what is missing, builds, makes a throwaway
# Wine prefix, runs the whole suite under ctest and stops what it started.
set -u
BRISKO_ROOT=$(cd "$(dirname "$0")/.." && pwd)
. "$BRISKO_ROOT/scripts/lib/prefix.sh"
BUILD=${BRISKO_BUILD_DIR:-$BRISKO_ROOT/build}

brisko_install_tools || exit 1
brisko_configure_build "$BUILD" || exit 1

PREFIX=$(mktemp -d /tmp/brisko-test-prefix.XXXXXX)
cleanup() { brisko_stop_all; rm -rf "$PREFIX"; }
trap cleanup EXIT
trap 'exit 130' INT TERM
brisko_start_display || exit 1
brisko_make_prefix "$PREFIX" || exit 1
brisko_start_wineserver
cd "$BUILD" && ctest --output-on-failure "$@"
