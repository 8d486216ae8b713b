#!/usr/bin/env bash
# The release, made by one command: builds brisko.exe and brisko-cli.exe and
# writes into dist/
#   brisko-<version>-x64.msi   the installer (per machine, Program Files\Brisko)
#   brisko-<version>-x64.zip   the portable form, the same files in one folder
#   SHA256SUMS                 the sums of both
# The version is the build's project version (CMakeLists.txt).
# Signing: with BRISKO_SIGN_PFX (a PKCS#12 file with the certificate and its
# key) and BRISKO_SIGN_PASS (its password), both executables and the MSI are
# signed with osslsigncode; BRISKO_SIGN_TIMESTAMP adds an RFC 3161 time stamp
# from that address. Without a certificate the release is built unsigned.
# Everything is made in a staging folder first, and dist/ changes only when
# all of it is there: a failure leaves dist/ as it was, with the last good
# release. BRISKO_BUILD_DIR and BRISKO_DIST_DIR choose other folders.
set -u
BRISKO_ROOT=$(cd "$(dirname "$0")/.." && pwd)
. "$BRISKO_ROOT/scripts/lib/prefix.sh"
. "$BRISKO_ROOT/scripts/lib/package.sh"
BUILD=${BRISKO_BUILD_DIR:-$BRISKO_ROOT/build}
DIST=${BRISKO_DIST_DIR:-$BRISKO_ROOT/dist}

fail() { echo "package: $*" >&2; exit 1; }

if [ -n "${BRISKO_SIGN_PFX:-}" ] && [ ! -f "$BRISKO_SIGN_PFX" ]; then
  fail "BRISKO_SIGN_PFX names no file: $BRISKO_SIGN_PFX"
fi
brisko_install_tools || exit 1
brisko_build_release "$BUILD" || fail "the build failed"
version=$(cat "$BUILD/version.txt") || fail "the build wrote no version"
name=brisko-$version-x64

mkdir -p "$DIST" || exit 1
DIST=$(cd "$DIST" && pwd)
WORK=$(mktemp -d "$DIST/.work.XXXXXX") || exit 1
trap 'rm -rf "$WORK"' EXIT

brisko_stage "$BUILD" "$version" "$WORK/stage" || fail "could not gather the release files"
if [ -n "${BRISKO_SIGN_PFX:-}" ]; then
  brisko_sign "$WORK/stage/brisko.exe" "$WORK/stage/brisko-cli.exe" || fail "nothing was written to $DIST"
else
  echo "package: no BRISKO_SIGN_PFX given, so the executables and the MSI are not signed"
fi
mkdir -p "$WORK/out"
brisko_make_msi "$WORK/stage" "$version" "$WORK/out/$name.msi" || fail "wixl could not make the MSI"
if [ -n "${BRISKO_SIGN_PFX:-}" ]; then
  brisko_sign "$WORK/out/$name.msi" || fail "nothing was written to $DIST"
fi
brisko_make_zip "$WORK/stage" "$WORK/out/$name.zip" || fail "could not make the zip"
(cd "$WORK/out" && sha256sum "$name.msi" "$name.zip" > SHA256SUMS) || fail "could not sum the files"
# The new files take the place of those of their names (a rename each);
# then the files of other versions go, so that SHA256SUMS sums all there is.
mv "$WORK/out/$name.msi" "$WORK/out/$name.zip" "$WORK/out/SHA256SUMS" "$DIST/" || fail "could not move the release into $DIST"
for old in "$DIST"/brisko-*-x64.msi "$DIST"/brisko-*-x64.zip; do
  case ${old##*/} in "$name.msi" | "$name.zip") ;; *) rm -f "$old" ;; esac
done
ls -l "$DIST/$name.msi" "$DIST/$name.zip" "$DIST/SHA256SUMS" | awk '{print $5, $9}'
