#!/usr/bin/env bash
# Usage: check_tables.sh PACKAGE.msi UPGRADE_CODE VERSION
#
# The package's tables say what administrators rely on: a schema that
# Windows Installer 2.0 (Windows 2000 SP3 and later) installs, a per-machine
# install, the UpgradeCode every version keeps (and looks for), the version
# the build was given, and the refusal of a downgrade with its reason.
set -euo pipefail
msi="$1"
upgrade_code="{$2}"
version="$3"
failed=0

expect() {
  if [ "$2" != "$3" ]; then
    echo "$1: expected '$3', found '$2'" >&2
    failed=1
  fi
}
property() { msiinfo export "$msi" Property | sed 's/\r$//' | awk -F '\t' -v name="$1" '$1 == name { print $2 }'; }

schema=$(msiinfo suminfo "$msi" | awk '/^Version:/ { print $2 }')
if [ -z "$schema" ] || [ "$schema" -gt 200 ]; then
  echo "schema: '$schema' needs a Windows Installer newer than 2.0" >&2
  failed=1
fi
expect ALLUSERS "$(property ALLUSERS)" 1
expect UpgradeCode "$(property UpgradeCode)" "$upgrade_code"
# The rows that find an earlier version, or a later one, look for that code.
while read -r code; do
  expect "Upgrade row" "$code" "$upgrade_code"
done < <(msiinfo export "$msi" Upgrade | sed 's/\r$//' | awk -F '\t' 'NR > 3 { print $1 }')
expect ProductVersion "$(property ProductVersion)" "$version"
# An older package over a newer one is refused, saying why.
expect "downgrade refusal" "$(msiinfo export "$msi" LaunchCondition | sed 's/\r$//' |
  awk -F '\t' '$1 == "NOT WIX_DOWNGRADE_DETECTED" { print $2 }')" \
  "A newer version of Calvorin is already installed."
exit "$failed"
