#!/usr/bin/env bash
# Signing the release with a throwaway self-signed certificate: the two
# executables (in the zip and inside the MSI) and the MSI verify against it;
# a wrong password or a missing certificate file fails with a message and
# leaves no release file behind, and over an earlier release leaves that
# release as it was.
set -u
BRISKO_ROOT=$(cd "$(dirname "$0")/../.." && pwd)
TMP=$(mktemp -d /tmp/brisko-signing-test.XXXXXX)
trap 'rm -rf "$TMP"' EXIT
cd "$TMP" || exit 1

failures=0
check() {  # description, then the command that must succeed
  local what=$1; shift
  if "$@"; then echo "ok: $what"; else echo "FAILED: $what"; failures=$((failures + 1)); fi
}
package() {  # dist folder, certificate file, password
  BRISKO_DIST_DIR=$1 BRISKO_SIGN_PFX=$2 BRISKO_SIGN_PASS=$3 bash "$BRISKO_ROOT/scripts/package.sh" >"$1.log" 2>&1
}
fails() { ! "$@"; }
verifies() { osslsigncode verify -CAfile cert.pem -in "$1" >/dev/null 2>&1; }
release_files() { ls -A "$1" 2>/dev/null; }

openssl req -x509 -newkey rsa:2048 -nodes -keyout key.pem -out cert.pem -days 2 -subj "/CN=Brisko test signing" \
  -addext extendedKeyUsage=codeSigning >/dev/null 2>&1 &&
  openssl pkcs12 -export -inkey key.pem -in cert.pem -out cert.pfx -passout pass:right-one >/dev/null 2>&1 ||
  { echo "FAILED: making the throwaway certificate"; exit 1; }

check "package.sh signs with a certificate" package signed cert.pfx right-one
mkdir -p zip msi
unzip -q signed/*.zip -d zip && msiextract -C msi signed/*.msi >/dev/null
for file in signed/*.msi zip/Brisko/brisko.exe zip/Brisko/brisko-cli.exe; do
  check "$file verifies" verifies "$file"
done
check "the executables inside the MSI are signed" verifies "$(find msi -name brisko.exe)"
check "the unsigned build does not verify (the check can fail)" fails verifies "${BRISKO_BUILD_DIR:-$BRISKO_ROOT/build}/brisko.exe"

check "a wrong password fails" fails package wrong cert.pfx not-the-one
check "... saying so" grep -q "wrong password" wrong.log
check "... and leaves no release file" test -z "$(release_files wrong)"
(cd signed && sha256sum -b * > "$TMP/signed.sums")
check "a wrong password over a release fails" fails package signed cert.pfx not-the-one
check "... and keeps that release as it was" bash -c "cd signed && sha256sum --quiet -c '$TMP/signed.sums'"
check "a missing certificate file fails" fails package missing nothing.pfx right-one
check "... saying so" grep -q "names no file" missing.log
check "... and leaves no release file" test -z "$(release_files missing)"

[ "$failures" = 0 ] && echo "signing test: all checks passed" || echo "signing test: $failures checks failed"
exit $(( failures > 0 ))
