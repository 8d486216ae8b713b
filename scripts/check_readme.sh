#!/usr/bin/env bash
# Every picture the README shows is in the repository: a missing one shows
# as a broken image on the project's front page. Every script it tells the
# reader to run is there too.
set -u
root=$(cd "$(dirname "$0")/.." && pwd)
status=0
for picture in $(grep -o '!\[[^]]*\]([^)]*)' "$root/README.md" | sed 's/.*(\(.*\))/\1/'); do
  case "$picture" in http*) continue ;; esac
  if [ ! -f "$root/$picture" ]; then
    echo "README.md shows $picture, which is not there" >&2; status=1
  elif [ -d "$root/.git" ] || [ -f "$root/.git" ]; then
    if ! git -C "$root" ls-files --error-unmatch "$picture" >/dev/null 2>&1 &&
       git -C "$root" check-ignore -q "$picture"; then
      echo "README.md shows $picture, which git ignores" >&2; status=1
    fi
  fi
done
for script in $(grep -o 'scripts/[A-Za-z_]*\.\(sh\|py\)' "$root/README.md" | sort -u); do
  [ -f "$root/$script" ] || { echo "README.md names $script, which is not there" >&2; status=1; }
done
exit $status
