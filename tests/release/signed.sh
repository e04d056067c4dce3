#!/usr/bin/env bash
# Usage: tests/release/signed.sh
#
# Two signed releases of the commit checked out, with throwaway keys (a
# code-signing certificate of a throwaway CA, an OpenPGP key, both behind a
# passphrase), are the same to the byte; every signature verifies, the PE
# files' as SHA-1 with a nested SHA-256. --verify finds the release as made,
# and finds out a changed file and a swapped signature. Nothing printed
# names a key's place or passphrase, not even a failure to sign; keys given
# in part are refused.
set -euo pipefail
cd "$(dirname "$0")/../.."

runs=$(mktemp -d)
keys=$runs/keys
export GNUPGHOME=$runs/gnupg
trap 'gpgconf --kill gpg-agent 2>/dev/null || true; rm -rf "$runs"' EXIT
mkdir "$keys" && mkdir -m 700 "$GNUPGHOME"
failed=0
fail() { echo "$*" >&2; failed=1; }
quiet() { "$@" >"$runs/quiet.log" 2>&1 || { cat "$runs/quiet.log" >&2 && exit 1; }; }

echo "throwaway passphrase" >"$keys/pass"
quiet openssl req -x509 -newkey rsa:2048 -nodes -days 30 -subj /CN=Throwaway-CA \
  -addext basicConstraints=critical,CA:TRUE -keyout "$keys/ca.key" -out "$keys/ca.pem"
quiet openssl req -newkey rsa:2048 -nodes -subj /CN=Throwaway-Signer -keyout "$keys/signer.key" \
  -out "$keys/signer.csr"
echo extendedKeyUsage=codeSigning >"$keys/signer.ext"
quiet openssl x509 -req -days 30 -in "$keys/signer.csr" -CA "$keys/ca.pem" -CAkey "$keys/ca.key" \
  -CAcreateserial -extfile "$keys/signer.ext" -out "$keys/signer.pem"
quiet openssl pkcs12 -export -inkey "$keys/signer.key" -in "$keys/signer.pem" \
  -certfile "$keys/ca.pem" -passout "file:$keys/pass" -out "$keys/signer.p12"
quiet gpg --batch --pinentry-mode loopback --passphrase-file "$keys/pass" \
  --quick-gen-key "Throwaway <release@calvorin.invalid>" ed25519 sign never
export CALVORIN_SIGN_PKCS12=$keys/signer.p12 CALVORIN_SIGN_PASSFILE=$keys/pass
export CALVORIN_GPG_KEY=release@calvorin.invalid CALVORIN_GPG_PASSFILE=$keys/pass CALVORIN_CAFILE=$keys/ca.pem

# scripts/release ARGS..., its output in $runs/log, which names no key.
release() {
  local status=0
  scripts/release "$@" >"$runs/log" 2>&1 || status=$?
  ! grep -e "$keys" -e "throwaway passphrase" "$runs/log" >&2 || fail "scripts/release $* named the keys"
  return "$status"
}

for run in first second; do
  release "$runs/$run" || { cat "$runs/log" >&2 && exit 1; }
done
diff -r "$runs/first" "$runs/second" >&2 || fail "two signed releases of one commit differ"

first=$runs/first
python3 -c 'import sys, zipfile; zipfile.ZipFile(sys.argv[1]).extract("Calvorin.exe", sys.argv[2])' \
  "$first"/Calvorin-*.zip "$runs"
for file in "$runs/Calvorin.exe" "$first"/Calvorin-*-setup.exe "$first"/Calvorin-*.msi; do
  # One "Message digest algorithm  :" line per signature.
  digests=$(osslsigncode verify -CAfile "$keys/ca.pem" -in "$file" 2>&1 |
    sed -n 's/^Message digest algorithm \+: *//p' | paste -sd ' ') || digests="no valid signature"
  case $file in *.msi) expected=SHA1 ;; *) expected="SHA1 SHA256" ;; esac
  [ "$digests" = "$expected" ] || fail "${file##*/} is signed '$digests', not '$expected'"
done
# The DLL's and the uninstaller's are checked as --verify attaches them.
published=$(find "$first/signatures" -type f -printf '%f\n' | LC_ALL=C sort | paste -sd ' ')
expected=$(cd "$first" && printf '%s.p7s\n' Calvorin-*-setup.exe Calvorin-*.msi Calvorin.exe \
  calvorin-msi-actions.dll uninstall.exe | LC_ALL=C sort | paste -sd ' ')
[ "$published" = "$expected" ] || fail "signatures/ holds $published, not $expected"
(cd "$first" && gpg --batch --verify SHA256SUMS.asc SHA256SUMS 2>/dev/null && sha256sum --quiet -c SHA256SUMS) ||
  fail "SHA256SUMS or its signature does not verify"

# scripts/release ARGS... must fail saying PATTERN, else WHAT is reported.
refuses() {
  local pattern=$1 what=$2
  shift 2
  if release "$@" || ! grep -q -- "$pattern" "$runs/log"; then cat "$runs/log" >&2 && fail "$what"; fi
}
unset CALVORIN_SIGN_PKCS12 CALVORIN_SIGN_PASSFILE CALVORIN_GPG_KEY CALVORIN_GPG_PASSFILE
release --verify "$first" || { cat "$runs/log" >&2 && fail "--verify refused the release"; }
cp -a "$first" "$runs/changed"
printf x >>"$(echo "$runs/changed"/Calvorin-*.zip)"
refuses "zip differs" "--verify took a changed zip" --verify "$runs/changed"
cp -a "$first" "$runs/swapped"
cp "$first/signatures/uninstall.exe.p7s" "$runs/swapped/signatures/Calvorin.exe.p7s"
refuses "attaching Calvorin.exe failed" "--verify took another file's signature" --verify "$runs/swapped"
CALVORIN_SIGN_PASSFILE=$keys/pass refuses "CALVORIN_SIGN_PASSFILE is set" "a passphrase alone made a release" \
  "$runs/part"
echo wrong >"$keys/wrong"
CALVORIN_SIGN_PKCS12=$keys/signer.p12 CALVORIN_SIGN_PASSFILE=$keys/wrong refuses "^sign-authenticode: signing .* failed" \
  "a wrong passphrase signed, or failed unsaid" "$runs/wrong-release"
[ "$failed" -eq 0 ] && echo "two signed releases of $(git rev-parse --short HEAD): identical, verified"
exit "$failed"
