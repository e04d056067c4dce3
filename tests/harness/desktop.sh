# shellcheck shell=bash
# Sourced by tests/e2e/screenshot.sh and scripts/run: Calvorin on a Wine
# virtual desktop, the scene a person sees, with window frames and a taskbar
# whose notification area holds its icon. Needs DISPLAY and WINEPREFIX.
#
# Each top-level window on the desktop is an X child window of the desktop's,
# so xdotool and xwininfo see it (by title, or by program as its X class); the
# tray icons are drawn inside the taskbar's window.

desktop_name=Calvorin
desktop_size=640x480

# Wine draws the tray icons right-aligned in the taskbar, each in a cell of a
# 16-pixel icon and a 2-pixel border: half a cell is 10 pixels.
tray_half_cell=10

# Z:\... for a host path, as Wine programs take it.
windows_path() { printf 'Z:%s' "${1//\//\\}"; }

# Prints "X Y WIDTH HEIGHT" of an X window, in screen coordinates (xdotool's
# getwindowgeometry miscounts for child windows).
window_rect() {
  xwininfo -id "$1" | awk '/Absolute upper-left X/ {x = $NF} /Absolute upper-left Y/ {y = $NF}
    /Width:/ {w = $NF} /Height:/ {h = $NF} END {print x, y, w, h}'
}

# Prints the cell of the tray's first icon as "X Y WIDTH HEIGHT".
tray_icon_rect() {
  echo "$((tray_x - tray_half_cell)) $((tray_y - tray_half_cell)) $((2 * tray_half_cell)) $((2 * tray_half_cell))"
}

# Prints "WIDTHxHEIGHT+X+Y" of the desktop's part that holds the rectangles
# given ("X Y WIDTH HEIGHT" each), with a small margin of what is around.
area_around() {
  { printf '%s\n' "$@"; window_rect "$desktop_window"; } | awk -v m=8 '
    { n++; x[n] = $1; y[n] = $2; r[n] = $1 + $3; b[n] = $2 + $4 }
    END {
      for (i = 1; i < n; i++) {
        if (i == 1 || x[i] < L) L = x[i]; if (i == 1 || y[i] < T) T = y[i]
        if (i == 1 || r[i] > R) R = r[i]; if (i == 1 || b[i] > B) B = b[i]
      }
      L = L - m < x[n] ? x[n] : L - m; T = T - m < y[n] ? y[n] : T - m
      R = R + m > r[n] ? r[n] : R + m; B = B + m > b[n] ? b[n] : B + m
      printf "%dx%d+%d+%d\n", R - L, B - T, L, T
    }'
}

# Saves in file $1 the desktop's part around the rectangles after it.
photograph() {
  local file="$1" area
  shift
  area=$(area_around "$@")
  import -window root -crop "$area" +repage "$file"
  echo "saved $file (${area%%+*})"
}

# Prints the shown windows of a program (explorer.exe, calvorin.exe).
shown_windows() { xdotool search --onlyvisible --classname "^${1//./\\.}\$" 2>/dev/null || true; }

# Prints the first shown window of program $1 that is none of the windows after it.
other_window() {
  local program="$1" id
  shift
  for id in $(shown_windows "$program"); do
    if [[ " $* " != *" $id "* ]]; then
      echo "$id"
      return 0
    fi
  done
  return 1
}

# Runs "$@" every 0.2 s until it succeeds, for at most 30 s: the machine may be
# slow, but a test must not hang.
poll() {
  local tries=150
  until "$@"; do
    ((--tries > 0)) || return 1
    sleep 0.2
  done
}

# other_window, waited for; fails with a message after 30 s.
wait_other_window() {
  if ! poll other_window "$@" >/dev/null; then
    echo "no new window of $1 appeared" >&2
    return 1
  fi
  other_window "$@"
}

# Waits for a shown window whose title matches the regular expression $1.
wait_window_named() {
  local id
  if ! id=$(timeout 30 xdotool search --sync --onlyvisible --name "$1" | head -n 1) || [ -z "$id" ]; then
    echo "no window titled '$1' appeared" >&2
    return 1
  fi
  echo "$id"
}

# True once window $1 is no longer shown (closed or destroyed).
is_gone() { ! xwininfo -id "$1" 2>/dev/null | grep -q 'Map State: IsViewable'; }

wait_gone() {
  if ! poll is_gone "$1"; then
    echo "window $1 did not go" >&2
    return 1
  fi
}

# True once the first icon cell shows more than the taskbar's one colour.
tray_icon_drawn() {
  local x y w h colours
  read -r x y w h < <(tray_icon_rect)
  colours=$(import -window root -crop "$((w - 4))x$((h - 4))+$((x + 2))+$((y + 2))" +repage -format %k info: 2>/dev/null) &&
    [ "${colours:-1}" -gt 1 ]
}

# Sets taskbar_window: explorer's window as wide as the desktop, along its bottom.
find_taskbar() {
  local id x y w h
  for id in $(shown_windows explorer.exe); do
    read -r x y w h < <(window_rect "$id")
    if [ "$id" != "$desktop_window" ] && [ "$w" -eq "$desktop_width" ] && [ $((y + h)) -eq "$desktop_bottom" ]; then
      taskbar_window=$id
      return 0
    fi
  done
  return 1
}

# Starts the desktop with the Windows command line $1 in it, and waits for its
# taskbar. Sets desktop_window, taskbar_window and tray_x, tray_y: the centre
# of the tray's first icon. Wine 8 shows the taskbar of a virtual desktop
# whose shell is enabled from the start; without it only while an icon is in
# the tray.
start_desktop() {
  local x y w h
  wine reg add "HKCU\\Software\\Wine\\Explorer\\Desktops\\$desktop_name" /v EnableShell /t REG_DWORD /d 1 /f \
    </dev/null >/dev/null 2>&1
  wine explorer "/desktop=$desktop_name,$desktop_size" "$1" </dev/null >/dev/null 2>&1 &
  desktop_window=$(wait_window_named "^$desktop_name - Wine desktop\$")
  read -r x y w h < <(window_rect "$desktop_window")
  desktop_width=$w
  desktop_bottom=$((y + h))
  if ! poll find_taskbar; then
    echo "the desktop shows no taskbar" >&2
    return 1
  fi
  read -r x y w h < <(window_rect "$taskbar_window")
  tray_x=$((x + w - tray_half_cell))
  tray_y=$((y + h / 2))
}

wait_for_tray_icon() {
  if ! poll tray_icon_drawn; then
    echo "no icon appeared in the tray" >&2
    return 1
  fi
}

# Clicks the tray icon with mouse button $1, $2 times.
click_tray_icon() {
  xdotool mousemove "$tray_x" "$tray_y" click --repeat "${2:-1}" --delay 80 "$1"
}

# Moves the pointer to the desktop's top-left corner, off every window, so
# that no tooltip or highlight follows it.
move_pointer_away() {
  local x y
  read -r x y _ < <(window_rect "$desktop_window")
  xdotool mousemove $((x + 2)) $((y + 2))
}
