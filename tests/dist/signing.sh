#!/usr/bin/env bash
# The release's signing, with a certificate made for the test and thrown away:
# every program of each edition's distribution carries an Authenticode signature
# (SHA-256) that verifies against that certificate, and the zip holds the signed
# files; a program changed after signing no longer verifies; a wrong password
# fails the distribution and leaves nothing of it behind; without a certificate
# the distribution says that it is unsigned; every signed program keeps its load
# configuration, which tells the loader to take DLLs from System32 only, and
# imports only DLLs Windows takes from System32 anyway. Needs no Wine.
#   signing.sh CMAKE DISTRIBUTION_CMAKE OBJDUMP VERSION SETUP UNINSTALL TRUSTED_PATH
#              [SETUP64 UNINSTALL64 TRUSTED_PATH64]
set -u
cmake=$1 distribution=$(readlink -f "$2") objdump=$3 version=$4
shift 4
built=()
for program in "$@"; do built+=("$(readlink -f "$program")"); done
fail() { echo "FAIL: $*"; exit 1; }
# The DLLs a program imports, by the objdump of its kind (32- or 64-bit).
imported_dlls() {
  local dump=i686-w64-mingw32-objdump
  [ "$(od -An -tu2 -j $(( $(od -An -tu4 -j 60 -N4 "$1" | tr -d ' ') + 24 )) -N2 "$1" | tr -d ' ')" = 523 ] &&
    dump=x86_64-w64-mingw32-objdump
  "$dump" -p "$1" | awk '/DLL Name:/ { print $3 }'
}
# The DependentLoadFlags the loader reads from a program's load configuration
# (its header's data directory 10, mapped through the section table), or
# "none" when the header names no load configuration.
dependent_load_flags() {
  local f=$1 pe opt dirs rva size sections n i va vsize raw at
  u32() { od -An -tu4 -j "$1" -N4 "$f" | tr -d ' '; }
  u16() { od -An -tu2 -j "$1" -N2 "$f" | tr -d ' '; }
  pe=$(u32 60); opt=$(( pe + 24 ))
  case $(u16 $opt) in 267) dirs=$(( opt + 96 )) at=54 ;; 523) dirs=$(( opt + 112 )) at=78 ;; *) echo none; return ;; esac
  rva=$(u32 $(( dirs + 80 ))); size=$(u32 $(( dirs + 84 )))
  [ "$rva" != 0 ] || { echo none; return; }
  sections=$(( opt + $(u16 $(( pe + 20 ))) )); n=$(u16 $(( pe + 6 )))
  for (( i = 0; i < n; i++ )); do
    vsize=$(u32 $(( sections + 40 * i + 8 ))); va=$(u32 $(( sections + 40 * i + 12 )))
    raw=$(u32 $(( sections + 40 * i + 20 )))
    if (( rva >= va && rva < va + vsize )); then
      # The structure's own size must cover the field and match the header's.
      [ "$(u32 $(( rva - va + raw )))" = "$size" ] && (( size >= at + 2 )) || { echo "bad size $size"; return; }
      u16 $(( rva - va + raw + at )); return
    fi
  done
  echo none
}
scratch=$(mktemp -d /tmp/trabex-signing.XXXXXX)
trap 'rm -rf "$scratch"' EXIT
unset TRABEX_SIGN_PFX TRABEX_SIGN_PASSWORD TRABEX_SIGN_TIMESTAMP_URL
programs=(SetUp.exe Data/Uninstall.exe Data/TrabexTrustedPath.exe)

# distribute ROOT EDITION SETUP UNINSTALL TRUSTED_PATH: one edition, as the dist target makes it
# (the list of Data in $scratch/list-EDITION.txt; SETUP here is not linked with it).
distribute() {
  "$cmake" -DSTEP=payload -DDIST_ROOT="$1" -DEDITION="$2" -DVERSION="$version" -DUNINSTALL="$4" \
           -DTRUSTED_PATH="$5" -DLIST="$scratch/list-$2.txt" -P "$distribution" > "$scratch/out.txt" 2>&1 &&
    "$cmake" -DSTEP=package -DDIST_ROOT="$1" -DEDITION="$2" -DVERSION="$version" -DSETUP="$3" \
             -P "$distribution" >> "$scratch/out.txt" 2>&1
}

editions=(32bit)
if [ ${#built[@]} -ge 6 ]; then
  editions+=(64bit)
else
  echo "NOTE: the 64-bit edition is not built in this build folder: only the 32-bit edition is signed"
fi

# Without a certificate.
distribute "$scratch/unsigned" 32bit "${built[@]:0:3}" || fail "unsigned distribution not made: $(cat "$scratch/out.txt")"
grep -qi unsigned "$scratch/out.txt" || fail "an unsigned distribution does not say so: $(cat "$scratch/out.txt")"

# A throwaway code-signing certificate, packed as a publisher would receive it.
cd "$scratch" || fail "no scratch folder"
openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=Trabex test signer" \
        -addext extendedKeyUsage=codeSigning -keyout key.pem -out cert.pem >/dev/null 2>&1 ||
  fail "no test certificate"
openssl rand -hex 16 > password
openssl pkcs12 -export -inkey key.pem -in cert.pem -out signer.pfx -passout file:password ||
  fail "no PKCS#12 file"
rm key.pem
export TRABEX_SIGN_PFX=$scratch/signer.pfx TRABEX_SIGN_PASSWORD=$scratch/password

for edition in "${editions[@]}"; do
  first=0
  [ "$edition" = 32bit ] || first=3
  distribute "$scratch/signed" "$edition" "${built[@]:first:3}" ||
    fail "signed $edition distribution not made: $(cat "$scratch/out.txt")"
  grep -qi unsigned "$scratch/out.txt" && fail "a signed distribution says it is unsigned"
  folder=$scratch/signed/Q-Ostrevo-for-AutoCAD-$edition
  mkdir "unzipped-$edition"
  (cd "unzipped-$edition" && "$cmake" -E tar xf "$scratch/signed/Q-Ostrevo-$version-for-AutoCAD-$edition.zip") ||
    fail "$edition zip not read"
  for program in "${programs[@]}"; do
    osslsigncode verify -CAfile cert.pem -in "$folder/$program" > verify.txt 2>&1 ||
      fail "$edition $program does not verify: $(cat verify.txt)"
    grep -q "Message digest algorithm *: SHA256" verify.txt || fail "$edition $program: not SHA-256: $(cat verify.txt)"
    grep -q "Text description: Q-Ostrevo" verify.txt || fail "$edition $program: no description: $(cat verify.txt)"
    cmp -s "$folder/$program" "unzipped-$edition/Q-Ostrevo-for-AutoCAD-$edition/$program" ||
      fail "the $edition zip's $program is not the signed one"
    # LOAD_LIBRARY_SEARCH_SYSTEM32: the loader takes no DLL from the folder the program lies in.
    flags=$(dependent_load_flags "$folder/$program")
    [ "$flags" = 2048 ] || fail "$edition $program: DependentLoadFlags $flags, not 0x800"
    # Where Windows ignores that rule, an import that is not one of its KnownDLLs
    # (comctl32 comes through the manifest) would be looked for beside the program.
    # Nor one only a later step needs (shell32, ole32: the folder browser, Program
    # Files' name): every import is loaded before the dialog can show.
    imports=$(imported_dlls "$folder/$program")
    [ -n "$imports" ] || fail "$edition $program: no imports read"
    for dll in $imports; do
      case ${dll,,} in
        advapi32.dll|comctl32.dll|gdi32.dll|kernel32.dll|msvcrt.dll|ntdll.dll|user32.dll) ;;
        *) fail "$edition $program imports $dll: Windows may look for it beside the program, or the start waits for it" ;;
      esac
    done
  done
  # The list SetUp.exe carries was made from the signed programs in Data.
  for program in Uninstall.exe TrabexTrustedPath.exe; do
    line="$(sha256sum < "$folder/Data/$program" | cut -d' ' -f1) $(stat -c %s "$folder/Data/$program") $program"
    grep -qxF "$line" "$scratch/list-$edition.txt" ||
      fail "the $edition list does not hold the signed $program: $(cat "$scratch/list-$edition.txt")"
  done
done

# One byte changed in the middle of the code, the signature left as it is.
signed=$scratch/signed/Q-Ostrevo-for-AutoCAD-32bit/SetUp.exe
read -r size offset < <("$objdump" -h "$signed" | awk '$2 == ".text" { print $3, $6 }')
[ -n "${offset:-}" ] || fail "no code section in $signed"
at=$(( 0x$offset + 0x$size / 2 ))
cp "$signed" tampered.exe
byte=$(od -An -tu1 -j "$at" -N1 tampered.exe | tr -d ' ')
printf "\\$(printf %03o $(( byte ^ 0xFF )))" | dd of=tampered.exe bs=1 seek="$at" conv=notrunc status=none
cmp -s "$signed" tampered.exe && fail "the copy was not changed"
osslsigncode verify -CAfile cert.pem -in tampered.exe > verify.txt 2>&1 && fail "a changed program still verifies"
grep -q MISMATCH verify.txt || fail "a changed program fails for another reason than its digest: $(cat verify.txt)"

# A signing that fails fails the distribution, and leaves neither folder nor zip.
echo "not the password" > wrong-password
TRABEX_SIGN_PASSWORD=$scratch/wrong-password distribute "$scratch/failed" 32bit "${built[@]:0:3}" &&
  fail "a wrong password made a distribution"
[ -z "$(ls -A "$scratch/failed")" ] || fail "a failed signing left $(ls "$scratch/failed")"
echo "signed and verified: ${editions[*]}"
