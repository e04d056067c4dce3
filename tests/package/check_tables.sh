#!/usr/bin/env bash
# Usage: check_tables.sh PACKAGE.msi RESOURCE_SCRIPT
#
# The package's tables say what administrators rely on: a schema that
# Windows Installer 3.1 (XP SP2, Server 2003 SP1) installs, a per-machine
# install, the UpgradeCode every version keeps (and looks for), and the
# program's own version.
set -euo pipefail
msi="$1"
rc="$2"
failed=0

expect() {
  if [ "$2" != "$3" ]; then
    echo "$1: expected '$3', found '$2'" >&2
    failed=1
  fi
}
property() { msiinfo export "$msi" Property | sed 's/\r$//' | awk -F '\t' -v name="$1" '$1 == name { print $2 }'; }

schema=$(msiinfo suminfo "$msi" | awk '/^Version:/ { print $2 }')
if [ -z "$schema" ] || [ "$schema" -gt 301 ]; then
  echo "schema: '$schema' needs a Windows Installer newer than 3.1" >&2
  failed=1
fi
expect ALLUSERS "$(property ALLUSERS)" 1
upgrade_code="{36EDDB03-DD35-43F2-83E1-5ED225A07902}"
expect UpgradeCode "$(property UpgradeCode)" "$upgrade_code"
# The rows that find an earlier version, or a later one, look for that code.
while read -r code; do
  expect "Upgrade row" "$code" "$upgrade_code"
done < <(msiinfo export "$msi" Upgrade | sed 's/\r$//' | awk -F '\t' 'NR > 3 { print $1 }')
# FILEVERSION 1, 0, 0, 0 is product version 1.0.0.
version=$(sed 's/\r$//' "$rc" | awk '/^FILEVERSION/ { gsub(/[ ,]+/, "."); sub(/^FILEVERSION\./, ""); print }')
expect ProductVersion "$(property ProductVersion)" "${version%.0}"
exit "$failed"
