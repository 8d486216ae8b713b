#!/usr/bin/env bash
# The one test command: installs what is missing, builds, makes a throwaway
# Wine prefix, runs the whole suite under ctest and stops what it started.
# Arguments go to ctest (for example -R catalog).
set -u
BRISKO_ROOT=$(cd "$(dirname "$0")/.." && pwd)
. "$BRISKO_ROOT/scripts/lib/prefix.sh"
brisko_session_start test
cd "$BUILD" && ctest --output-on-failure "$@"
