#!/usr/bin/env bash
# The service-state tool reports the real service's State and StartMode
# through the program's own WMI layer.
set -euo pipefail
bin="${CALVORIN_BIN_DIR:?}"

admin() { wine "$bin/service-admin.exe" "$@"; }
reported() { wine "$bin/service-state.exe" | tr -d '\r'; }

expect() {
  local wanted="$1" got
  got="$(reported)"
  if [ "$got" != "$wanted" ]; then
    printf 'expected:\n%s\ngot:\n%s\n' "$wanted" "$got" >&2
    exit 1
  fi
}

admin install "Z:${CALVORIN_FIXTURE_EXE//\//\\}"
expect $'State: Stopped\nStartMode: Manual'

admin start
admin wait running 10
expect $'State: Running\nStartMode: Manual'

admin stop
admin wait stopped 10
admin start-type disabled
expect $'State: Stopped\nStartMode: Disabled'

admin remove
if wine "$bin/service-state.exe" >/dev/null 2>"$CALVORIN_SUITE_DIR/missing.err"; then
  echo "service-state succeeded without a Messenger service" >&2
  exit 1
fi
grep -q "not found" "$CALVORIN_SUITE_DIR/missing.err"
echo "service-state reports the service as WMI sees it"
