#!/usr/bin/env bash
# Photographs the main window in its running and stopped views, as a person
# would see it, into the build folder's screenshots/.
set -euo pipefail
bin="${CALVORIN_BIN_DIR:?}"
out="$bin/screenshots"
mkdir -p "$out"

admin() { wine "$bin/service-admin.exe" "$@"; }

shoot() {
  local name="$1" window geometry
  wine "$bin/Calvorin.exe" >"$CALVORIN_SUITE_DIR/calvorin-$name.log" 2>&1 &
  local pid=$!
  window=$(timeout 30 xdotool search --sync --onlyvisible --name '^Calvorin 1\.0$' | head -n 1)
  sleep 1 # let the first paint finish
  geometry=$(xdotool getwindowgeometry --shell "$window")
  eval "$geometry"
  import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$out/main-window-$name.png"
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  echo "saved $out/main-window-$name.png (${WIDTH}x${HEIGHT})"
}

admin install "Z:${CALVORIN_FIXTURE_EXE//\//\\}"
admin start
admin wait running 10
shoot running

admin stop
admin wait stopped 10
shoot stopped
