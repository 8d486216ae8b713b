#!/usr/bin/env bash
# Runs one Windows program under Wine, but only inside a throwaway prefix
# made by scripts/lib/prefix.sh: it carries a marker file and has no Z: drive.
# The program (and, for tests, brisko.exe, its lang, rules and policy folders and the
# helper programs) is copied into C:\brisko-test first, so that nothing runs from or
# reaches into a host folder.
set -u
if [ -z "${WINEPREFIX:-}" ] || [ ! -f "$WINEPREFIX/.brisko-throwaway" ]; then
  echo "wine-run: WINEPREFIX is not a throwaway test prefix; refusing to run $*" >&2
  exit 2
fi
if [ -e "$WINEPREFIX/dosdevices/z:" ] || [ -L "$WINEPREFIX/dosdevices/z:" ]; then
  echo "wine-run: the prefix maps Z: (the host's /); refusing to run" >&2
  exit 2
fi
prog=$1; shift
dest="$WINEPREFIX/drive_c/brisko-test"
mkdir -p "$dest"
cp -f "$prog" "$dest/"
if [ -n "${BRISKO_EXE:-}" ] && [ -f "$BRISKO_EXE" ]; then
  cp -f "$BRISKO_EXE" "$dest/"
  for folder in lang rules policy; do
    [ -d "$(dirname "$BRISKO_EXE")/$folder" ] && cp -rf "$(dirname "$BRISKO_EXE")/$folder" "$dest/"
  done
fi
IFS=: read -r -a helpers <<< "${BRISKO_HELPERS:-}"
for h in "${helpers[@]}"; do [ -f "$h" ] && cp -f "$h" "$dest/"; done
cd "$dest" || exit 2
# A program the run starts and does not wait for (the scans start icacls,
# which under Wine at times never ends) keeps the output it inherited open:
# written to files, that output cannot keep ctest waiting for its end.
out=$(mktemp "$WINEPREFIX/run-stdout.XXXXXX") err=$(mktemp "$WINEPREFIX/run-stderr.XXXXXX")
wine "$dest/$(basename "$prog")" "$@" >"$out" 2>"$err"
status=$?
cat "$out"
cat "$err" >&2
rm -f "$out" "$err"
exit $status
