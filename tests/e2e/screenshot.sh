#!/usr/bin/env bash
# Photographs Calvorin on a Wine desktop with a taskbar, as a person uses it,
# into the build's screenshots/: the tray icon's tooltip and pop-up menu, the
# main window running and stopped, a stop from the tray as an animation with
# its message box, the About window, and the warning balloon when the service
# is started behind Calvorin's back. Fails when any of them does not show.
set -euo pipefail
bin="${CALVORIN_BIN_DIR:?}"
shipped="${CALVORIN_SHIPPED_DIR:?}"
out="$bin/screenshots"
frames="${CALVORIN_SUITE_DIR:?}/frames"
mkdir -p "$out" "$frames"
rm -f "$out"/*.png "$out"/*.gif "$frames"/*
# shellcheck source=tests/harness/desktop.sh
source "$(dirname "$0")/../harness/desktop.sh"

admin() { wine "$bin/service-admin.exe" "$@"; }

# The animation's next frame, shown for $1 hundredths of a second: the scene
# in gif_area now, or the picture $2 of it.
gif_area=
delays=()
frame() {
  local file
  file="$frames/$(printf '%02d' "${#delays[@]}").png"
  if [ $# -gt 1 ]; then mv "$2" "$file"; else import -window root -crop "$gif_area" +repage "$file"; fi
  delays+=("$1")
}

# The wait after Stop as it happens: a frame whenever the scene changes, each
# shown for as long as it lasted, until the message box comes (sets box). A
# shot taken with the box already up is dropped: the box gets frames of its
# own once painted.
record_wait() {
  local shot="$frames/shot.png" sig last='' now since=0 tries
  for ((tries = 0; tries < 300; tries++)); do
    import -window root -crop "$gif_area" +repage "$shot"
    now=$(date +%s%2N)
    if box=$(other_window calvorin.exe "$main" "$menu"); then
      if [ -n "$last" ]; then delays[-1]=$((now - since)); fi
      return 0
    fi
    sig=$(identify -format %# "$shot")
    if [ "$sig" != "$last" ]; then
      if [ -n "$last" ]; then delays[-1]=$((now - since)); fi
      last=$sig since=$now
      frame 100 "$shot"
    fi
    sleep 0.1
  done
  echo "no message box after Stop" >&2
  return 1
}

# One palette for every frame and no dithering: the frames then differ only
# where the scene changes, which keeps the file small.
make_gif() {
  local args=() i
  convert "$frames"/*.png -append +dither -colors 64 -unique-colors "$frames/palette.gif"
  for i in "${!delays[@]}"; do
    args+=(-delay "${delays[$i]}" "$frames/$(printf '%02d' "$i").png")
  done
  convert "${args[@]}" +dither -remap "$frames/palette.gif" -loop 0 -layers Optimize "$1"
  echo "saved $1 (${#delays[@]} frames, $(stat -c %s "$1") bytes)"
}

admin install "Z:${CALVORIN_FIXTURE_EXE//\//\\}"
admin start
admin wait running 10

start_desktop "$(windows_path "$shipped/Calvorin.exe")"
wait_for_tray_icon

# The pointer resting on the icon shows its tooltip.
xdotool mousemove "$tray_x" "$tray_y"
tooltip=$(wait_other_window explorer.exe "$desktop_window" "$taskbar_window")
sleep 0.5
photograph "$out/tray-tooltip.png" "$(window_rect "$tooltip")" "$(tray_icon_rect)"

# Calvorin starts hidden: a double-click on its icon brings the window up.
click_tray_icon 1 2
main=$(wait_window_named '^Calvorin 1\.0$')
move_pointer_away
sleep 1
photograph "$out/main-window-running.png" "$(window_rect "$main")"

# The animation: from the window to the tray, Stop chosen in the icon's menu.
gif_area=$(area_around "$(window_rect "$main")" "$(tray_icon_rect)")
frame 150
click_tray_icon 3
menu=$(wait_other_window calvorin.exe "$main")
# Off the menu, so that the keys alone choose its entry.
move_pointer_away
sleep 0.5
photograph "$out/tray-menu.png" "$(window_rect "$menu")" "$(tray_icon_rect)"
frame 120
# Start, then Stop.
xdotool key Down Down
sleep 0.3
frame 100
xdotool key Return
# The status line counts the wait, a mark a second.
record_wait
sleep 0.5
photograph "$out/message-box.png" "$(window_rect "$box")"
frame 250
xdotool key Return
wait_gone "$box"
sleep 1
frame 400
make_gif "$out/stop-from-tray.gif"
# The window stays inactive after the message box: a click on its title, as
# in the running view.
read -r x y _ _ < <(window_rect "$main")
xdotool mousemove $((x + 100)) $((y + 10)) click 1
move_pointer_away
sleep 0.5
photograph "$out/main-window-stopped.png" "$(window_rect "$main")"

# Help, then its second entry, About. Help is the menu bar's third item.
read -r x y _ _ < <(window_rect "$main")
xdotool mousemove $((x + 183)) $((y + 33)) click 1
wait_other_window calvorin.exe "$main" >/dev/null
xdotool key Down Down Return
about=$(wait_window_named '^About - Calvorin 1\.0$')
sleep 1
photograph "$out/about-window.png" "$(window_rect "$about")"
xdotool key alt+F4
wait_gone "$about"

# Started behind Calvorin's back: it sees it within 5 s, and the balloon
# follows about 2 s later.
admin start
balloon=$(wait_other_window explorer.exe "$desktop_window" "$taskbar_window")
sleep 1
photograph "$out/tray-balloon.png" "$(window_rect "$balloon")" "$(tray_icon_rect)"
