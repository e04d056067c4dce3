#!/usr/bin/env bash
# Usage: tests/release/reproducible.sh
#
# Two releases of the commit checked out, made one after the other in
# folders of their own, must be the same to the byte: fails naming every
# file that differs or that only one of them has. Their SHA256SUMS must hold
# too, and the portable zip exactly its three files. A release into a folder
# that holds another package of the same version, or anything a release does
# not write, must be refused.
set -euo pipefail
cd "$(dirname "$0")/../.."

runs=$(mktemp -d)
trap 'rm -rf "$runs"' EXIT
mkdir "$runs/foreign"
touch "$runs/foreign/keep"
if scripts/release "$runs/foreign" >"$runs/foreign.log" 2>&1 || [ ! -f "$runs/foreign/keep" ]; then
  echo "scripts/release took $runs/foreign, a folder it did not make" >&2
  exit 1
fi
scripts/release "$runs/first" >"$runs/first.log" 2>&1 || { cat "$runs/first.log" >&2; exit 1; }
# Another second, and another folder for everything the build makes. The
# folder holds the first release already: the same release again is no
# second release of its version, so it replaces it.
sleep 2
cp -a "$runs/first" "$runs/second"
scripts/release "$runs/second" >"$runs/second.log" 2>&1 || { cat "$runs/second.log" >&2; exit 1; }

failed=0
while read -r name; do
  if [ ! -f "$runs/first/$name" ] || [ ! -f "$runs/second/$name" ]; then
    echo "only one release has $name" >&2
    failed=1
  elif ! cmp -s "$runs/first/$name" "$runs/second/$name"; then
    echo "$name differs between two releases of one commit:" >&2
    cmp -l "$runs/first/$name" "$runs/second/$name" | head -5 >&2 || true
    failed=1
  fi
done < <( (ls "$runs/first"; ls "$runs/second") | sort -u)

(cd "$runs/first" && sha256sum --quiet -c SHA256SUMS) || failed=1
zip=$(ls "$runs/first"/Calvorin-*.zip)
contents=$(python3 -c 'import sys, zipfile; print(" ".join(zipfile.ZipFile(sys.argv[1]).namelist()))' "$zip")
if [ "$contents" != "Calvorin.exe Calvorin.HLP README.txt" ]; then
  echo "the portable zip holds '$contents'" >&2
  failed=1
fi
# Another package under the same version is refused, and the folder that
# holds the published one is left as it was.
cp -a "$runs/first" "$runs/published"
printf x >>"$(ls "$runs/published"/Calvorin-*.msi)"
cp -a "$runs/published" "$runs/published-before"
if scripts/release "$runs/published" >"$runs/published.log" 2>&1 ||
  ! grep -q "released already" "$runs/published.log" ||
  ! diff -r "$runs/published-before" "$runs/published" >/dev/null; then
  echo "a release over another package of the same version was not refused cleanly:" >&2
  cat "$runs/published.log" >&2
  failed=1
fi
[ "$failed" -eq 0 ] && echo "two releases of $(git rev-parse --short HEAD): identical"
exit "$failed"
