#!/usr/bin/env bash
# The removal race many times over: every attack of the race test (or those
# whose names hold $2), each run $1 times as often as in the suite (default
# 10: about 440 runs), in a throwaway Wine prefix. Prints the test's own
# lines; exits 1 when the clean took any canary (a loss that bears the mark
# of Wine's own removal by path at close is counted and printed). Further
# arguments go to the test program: --gtest_also_run_disabled_tests adds the
# measure of the platform's own removal through a handle.
set -u
BRISKO_ROOT=$(cd "$(dirname "$0")/.." && pwd)
. "$BRISKO_ROOT/scripts/lib/prefix.sh"
brisko_session_start race
BRISKO_RACE_RUNS=${1:-10} BRISKO_RACE_MODE=${2:-} BRISKO_EXE="$BUILD/brisko.exe" \
  "$BRISKO_ROOT/cmake/wine-run.sh" "$BUILD/tests/test_clean.exe" --gtest_filter='RemovalRace.*' "${@:3}"
