#!/usr/bin/env bash
# The release as a user gets it: scripts/package.sh makes the MSI, the zip
# and the sums; the MSI installs silently into a fresh throwaway Wine
# prefix, the program starts from there, a newer package upgrades it, an
# older one is refused, and the uninstall takes away all that the installer
# made. Prints the sizes and the install and uninstall times.
set -u
BRISKO_ROOT=$(cd "$(dirname "$0")/../.." && pwd)
. "$BRISKO_ROOT/scripts/lib/prefix.sh"
. "$BRISKO_ROOT/scripts/lib/package.sh"
BUILD=${BRISKO_BUILD_DIR:-$BRISKO_ROOT/build}
TMP=$(mktemp -d /tmp/brisko-package-test.XXXXXX)
PREFIX=$TMP/prefix
trap '[ -d "$PREFIX" ] && WINEPREFIX=$PREFIX wineserver -k >/dev/null 2>&1; rm -rf "$TMP"' EXIT

failures=0
check() {  # description, then the command that must succeed
  local what=$1; shift
  if "$@"; then echo "ok: $what"; else echo "FAILED: $what"; failures=$((failures + 1)); fi
}
seconds_since() { echo "$(( ($(date +%s%N) - $1) / 1000000 ))" | sed -E 's/([0-9]{3})$/.\1/; s/^\./0./'; }

BRISKO_DIST_DIR=$TMP/dist bash "$BRISKO_ROOT/scripts/package.sh" || { echo "FAILED: scripts/package.sh"; exit 1; }
version=$(cat "$BUILD/version.txt")
msi=brisko-$version-x64.msi zip=brisko-$version-x64.zip
check "SHA256SUMS holds the MSI and the zip, and they match" \
  bash -c "cd '$TMP/dist' && [ \$(wc -l < SHA256SUMS) = 2 ] && sha256sum --quiet -c SHA256SUMS"
ls -l "$TMP/dist" | awk 'NF > 5 {print "size:", $5, $9}'

# A newer package: the same files, the version one step up in its read-me,
# its Add/Remove entry and its installer's upgrade logic.
IFS=. read -r major minor patch tweak <<< "$version"
newer=$major.$minor.$((patch + 1)).$tweak
# A rebuild of it has a product code of its own.
brisko_stage "$BUILD" "$newer" "$TMP/newer/stage" && brisko_make_msi "$TMP/newer/stage" "$newer" "$TMP/newer/newer.msi" &&
  brisko_make_msi "$TMP/newer/stage" "$newer" "$TMP/newer/rebuilt.msi" || { echo "FAILED: the newer MSI"; exit 1; }

brisko_make_prefix "$PREFIX" || exit 1
C=$PREFIX/drive_c
mkdir -p "$C/pkg" && cp "$TMP/dist/$msi" "$TMP/newer/newer.msi" "$TMP/newer/rebuilt.msi" "$C/pkg/"
cd "$C" || exit 1
INSTALL=$C/Program\ Files/Brisko
UNINSTALL_KEY='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall'

# Files and registry keys of the prefix, to tell what the installer left.
snapshot() {  # $1 = output name
  wineserver -w
  (cd "$C" && find . ! -path './pkg*' | LC_ALL=C sort) > "$TMP/$1.files"
  cat "$PREFIX/system.reg" "$PREFIX/user.reg" | sed -n 's/^\(\[.*\]\).*/\1/p' | LC_ALL=C sort > "$TMP/$1.keys"
}
msiexec() {  # msiexec arguments; sets took to the seconds it took
  local start; start=$(date +%s%N)
  wine msiexec "$@" </dev/null >/dev/null 2>&1; local status=$?
  wineserver -w
  took=$(seconds_since "$start")
  return $status
}
installed_files() { (cd "$INSTALL" && find . -type f | sed 's|^\./||' | LC_ALL=C sort); }
uninstall_entries() {  # the DisplayVersion of every Add/Remove entry named Brisko .NET
  wine reg query "$UNINSTALL_KEY" /s 2>/dev/null | tr -d '\r' |
    awk '/^HKEY/ {name = ""} /DisplayName/ && /Brisko \.NET/ {name = 1} /DisplayVersion/ && name {print $NF}'
}
entry_value() {  # value name: its data in our Add/Remove entry
  wine reg query "$UNINSTALL_KEY" /s 2>/dev/null | tr -d '\r' |
    awk -v v="$1" '/^HKEY/ {ours = 0} /DisplayName/ && /Brisko \.NET/ {ours = 1} ours && $1 == v {$1 = $2 = ""; sub(/^ +/, ""); print}'
}
refused() { ! msiexec "$@"; }
product_icon() {  # Add/Remove Programs takes the icon from the product's record
  wine reg query 'HKLM\Software\Classes\Installer\Products' /s 2>/dev/null | tr -d '\r' |
    awk '/^HKEY/ {found = found || (name && icon); name = icon = 0}
         /ProductName/ && /Brisko \.NET/ {name = 1} /ProductIcon/ && /brisko\.ico$/ {icon = 1}
         END {exit !(found || (name && icon))}'
}
shortcut() { find "$C/users" "$C/ProgramData" -name 'Brisko .NET.lnk' 2>/dev/null | head -1; }
main_window_shown() {
  local i
  for i in $(seq 1 60); do
    xwininfo -root -tree 2>/dev/null | grep -q '"[^"]* - Brisko \.NET"' && return 0
    sleep 0.5
  done
  return 1
}

snapshot before
check "the MSI installs silently" msiexec /i "C:\\pkg\\$msi" /qn
echo "install: $took s"
check "the files are in Program Files\\Brisko" test -f "$INSTALL/brisko.exe" -a -f "$INSTALL/brisko-cli.exe" \
  -a -f "$INSTALL/lang/italiano.lng" -a -f "$INSTALL/rules/current.ini" -a -f "$INSTALL/license.txt" \
  -a -f "$INSTALL/policy/brisko.admx" -a -f "$INSTALL/policy/zh-TW/brisko.adml"
check "the event source Brisko names brisko-cli.exe as its message file" \
  bash -c "wine reg query 'HKLM\\SYSTEM\\CurrentControlSet\\Services\\EventLog\\Application\\Brisko' /v EventMessageFile 2>/dev/null | tr -d '\\r' | grep -qi 'brisko-cli.exe'"
check "the read-me names version $version" grep -q "Brisko .NET $version" "$INSTALL/readme.txt"
check "the zip holds the files the MSI installs" \
  diff <(unzip -Z1 "$TMP/dist/$zip" | grep -v '/$' | sed 's|^Brisko/||' | LC_ALL=C sort) <(installed_files)
check "a Start-menu shortcut" test -n "$(shortcut)"
check "one Add/Remove entry, of version $version" test "$(uninstall_entries)" = "$version"
check "the entry names the publisher and the folder, and can uninstall" \
  test "$(entry_value Publisher)" = Brisko -a "$(entry_value InstallLocation)" = 'C:\Program Files\Brisko\' \
  -a -n "$(entry_value UninstallString)"
check "the entry shows the program's icon" product_icon

wine "C:\\Program Files\\Brisko\\brisko.exe" </dev/null >/dev/null 2>&1 &
check "the installed program shows its main window" main_window_shown
wineserver -k; wait

files_before_upgrade=$(installed_files)
check "a newer MSI upgrades silently" msiexec /i 'C:\pkg\newer.msi' /qn
check "one Add/Remove entry after the upgrade, of version $newer" test "$(uninstall_entries)" = "$newer"
check "the upgrade left the new version's files, no more" \
  bash -c "grep -q 'Brisko .NET $newer' '$INSTALL/readme.txt' && [ \"\$1\" = \"\$2\" ]" _ "$files_before_upgrade" "$(installed_files)"
check "a rebuild of the same version replaces it" msiexec /i 'C:\pkg\rebuilt.msi' /qn
check "... leaving one entry" test "$(uninstall_entries)" = "$newer"
check "the older MSI over the newer is refused" refused /i "C:\\pkg\\$msi" /qn
check "the refused downgrade left the newer version" test "$(uninstall_entries)" = "$newer"

check "the uninstall runs silently" msiexec /x 'C:\pkg\rebuilt.msi' /qn
echo "uninstall: $took s"
snapshot after
# Windows Installer keeps its own cache folder and the empty parents of its
# records; nothing of this product may stay.
left_files=$(comm -13 "$TMP/before.files" "$TMP/after.files" | grep -v '^\./windows/Installer$')
left_keys=$(comm -13 "$TMP/before.keys" "$TMP/after.keys" | grep -Ei 'brisko|[0-9a-f]{32}|\{[0-9a-f-]{36}\}')
check "the uninstall left no file or folder" test -z "$left_files"
check "the uninstall left no key" test -z "$left_keys"
[ -n "$left_files$left_keys" ] && printf 'left: %s\n' $left_files "$left_keys"
check "no shortcut is left" test -z "$(shortcut)"

[ "$failures" = 0 ] && echo "package test: all checks passed" || echo "package test: $failures checks failed"
exit $(( failures > 0 ))
