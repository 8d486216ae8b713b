# The steps of the release, shared by scripts/package.sh and the package
# tests. Source it; it defines functions and this list only.

# The folders that travel beside the program, as the build folder has them;
# every file in them becomes a component of the MSI.
BRISKO_DATA_FOLDERS=(lang rules policy)

# The release's folder of files: what the MSI installs and the zip holds.
brisko_stage() {  # $1 = build folder, $2 = version, $3 = stage folder (made fresh)
  local build=$1 version=$2 stage=$3 root
  root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
  rm -rf "$stage" && mkdir -p "$stage"
  cp "$build/brisko.exe" "$build/brisko-cli.exe" "$stage/"
  local folder
  for folder in "${BRISKO_DATA_FOLDERS[@]}"; do cp -r "$build/$folder" "$stage/" || return 1; done
  # Plain text for Notepad: CR LF line ends.
  sed 's/$/\r/' "$root/installer/license.txt" > "$stage/license.txt"
  sed -e "s/@VERSION@/$version/g" -e 's/$/\r/' "$root/installer/readme.txt.in" > "$stage/readme.txt"
}

# The installer package of a stage folder. wixl reads sources relative to
# the folder it runs in, so it runs in the stage's parent.
brisko_make_msi() {  # $1 = stage folder, $2 = version, $3 = output .msi
  local stage=$1 version=$2 out=$3 root work major minor build
  IFS=. read -r major minor build _ <<< "$version"
  root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
  work=$(dirname "$stage")
  # One component per file of the data folders, whatever they hold.
  (cd "$stage" && find "${BRISKO_DATA_FOLDERS[@]}" -type f | LC_ALL=C sort |
     wixl-heat --prefix "" --directory-ref INSTALLDIR --component-group DataFiles --var var.StageDir --win64) \
    > "$work/DataFiles.wxs" || return 1
  cp "$root/res/brisko.ico" "$work/brisko.ico"
  (cd "$work" && wixl --arch x64 -D Version="$version" -D NextVersion="$major.$minor.$((build + 1))" \
     -D StageDir="$(basename "$stage")" -D IconFile=brisko.ico \
     -D Win64=yes -o "$out" "$root/installer/brisko.wxs" DataFiles.wxs 2>&1 | grep -v 'unimplemented' >&2
   [ "${PIPESTATUS[0]}" = 0 ]) && [ -s "$out" ]
}

# The portable form: the stage's files in one folder named Brisko.
brisko_make_zip() {  # $1 = stage folder, $2 = output .zip
  local stage=$1 out=$2 tmp
  tmp=$(mktemp -d) || return 1
  cp -r "$stage" "$tmp/Brisko"
  (cd "$tmp" && zip -q -r -X "$out" Brisko)
  local status=$?
  rm -rf "$tmp"
  return $status
}

# Signs files in place with the certificate of BRISKO_SIGN_PFX: each is
# signed into a copy that replaces it only when signing succeeded.
brisko_sign() {  # files...
  local passfile file status=0 timestamp=()
  [ -n "${BRISKO_SIGN_TIMESTAMP:-}" ] && timestamp=(-ts "$BRISKO_SIGN_TIMESTAMP")
  passfile=$(mktemp) || return 1
  chmod 600 "$passfile"
  printf '%s' "${BRISKO_SIGN_PASS:-}" > "$passfile"
  for file in "$@"; do
    rm -f "$file.signed"
    if ! osslsigncode sign -pkcs12 "$BRISKO_SIGN_PFX" -readpass "$passfile" -h sha256 -n "Brisko .NET" \
         -i "https://www.brisko.example/" "${timestamp[@]}" -in "$file" -out "$file.signed" >/dev/null 2>&1; then
      echo "signing $(basename "$file") failed: wrong password or not a PKCS#12 certificate with its key" >&2
      rm -f "$file.signed"; status=1; break
    fi
    mv -f "$file.signed" "$file"
  done
  rm -f "$passfile"
  return $status
}
