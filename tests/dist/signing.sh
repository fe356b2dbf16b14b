#!/usr/bin/env bash
# The release's signing, with a certificate made for the test and thrown away:
# every program of each edition's distribution carries an Authenticode signature
# (SHA-256) that verifies against that certificate, and the zip holds the signed
# files; a program changed after signing no longer verifies; a wrong password
# fails the distribution and leaves nothing of it behind; without a certificate
# the distribution says that it is unsigned. Needs no Wine.
#   signing.sh CMAKE DISTRIBUTION_CMAKE OBJDUMP VERSION SETUP UNINSTALL TRUSTED_PATH
#              [SETUP64 UNINSTALL64 TRUSTED_PATH64]
set -u
cmake=$1 distribution=$(readlink -f "$2") objdump=$3 version=$4
shift 4
built=()
for program in "$@"; do built+=("$(readlink -f "$program")"); done
fail() { echo "FAIL: $*"; exit 1; }
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
