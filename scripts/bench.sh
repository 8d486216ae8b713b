#!/usr/bin/env bash
# Builds and runs every benchmark (bench_*.exe, or those whose name holds $1)
# in a throwaway Wine prefix. Each prints its figures with a baseline
# measured in the same run. Further arguments go to the benchmark (sizes:
# scripts/bench.sh view_clean 2000 20000 100000).
set -u
BRISKO_ROOT=$(cd "$(dirname "$0")/.." && pwd)
. "$BRISKO_ROOT/scripts/lib/prefix.sh"
brisko_session_start bench
status=0
for b in "$BUILD"/bench/bench_*.exe; do
  [ -f "$b" ] || continue
  if [ $# -gt 0 ] && ! [[ "$(basename "$b")" == *"$1"* ]]; then continue; fi
  echo "== $(basename "$b")"
  BRISKO_EXE="$BUILD/brisko.exe" "$BRISKO_ROOT/cmake/wine-run.sh" "$b" "${@:2}" || status=1
done
exit $status
