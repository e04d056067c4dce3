#!/usr/bin/env bash
# Photographs the main window in its running and stopped views, as a person
# brings it up: a double-click on the tray icon. Into the build's screenshots/.
set -euo pipefail
bin="${CALVORIN_BIN_DIR:?}"
shipped="${CALVORIN_SHIPPED_DIR:?}"
out="$bin/screenshots"
mkdir -p "$out"

admin() { wine "$bin/service-admin.exe" "$@"; }

# Photographs a window by its exact title.
photograph() {
  local title="$1" file="$2" window
  window=$(timeout 30 xdotool search --sync --onlyvisible --name "^${title}\$" | head -n 1)
  sleep 1 # let the first paint finish
  eval "$(xdotool getwindowgeometry --shell "$window")"
  import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$file"
  echo "saved $file (${WIDTH}x${HEIGHT})"
}

shoot() {
  local name="$1" tray window
  wine "$shipped/Calvorin.exe" >"$CALVORIN_SUITE_DIR/calvorin-$name.log" 2>&1 &
  local pid=$!
  # The program starts hidden; its icon is the tray's only one.
  tray=$(timeout 30 xdotool search --sync --name '^Wine System Tray$' | head -n 1)
  sleep 2
  xdotool mousemove --window "$tray" 10 10 click --repeat 2 --delay 80 1
  photograph 'Calvorin 1\.0' "$out/main-window-$name.png"
  if [ "$name" = stopped ]; then
    # Help, then its second entry, About.
    window=$(xdotool search --onlyvisible --name '^Calvorin 1\.0$' | head -n 1)
    xdotool mousemove --window "$window" 180 10 click 1
    sleep 1
    xdotool key Down Down Return
    photograph 'About - Calvorin 1\.0' "$out/about-window.png"
  fi
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
}

admin install "Z:${CALVORIN_FIXTURE_EXE//\//\\}"
admin start
admin wait running 10
shoot running

admin stop
admin wait stopped 10
# The tray window goes about two seconds after its last icon.
sleep 3
shoot stopped
