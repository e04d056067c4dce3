# shellcheck shell=bash
# Sourced by tests/harness/wine-session, tests/harness/wine-suite,
# scripts/run, scripts/test and bench/run: the build Wine runs, the
# environment Wine runs in, a virtual display, the making and stopping of a
# prefix, and the harness scripts' messages and signal traps. Messages name
# the script that sourced it.

xvfb_pid=
xvfb_display=
wine_env_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

# Chooses the build that Wine runs, the 32-bit one that ships or the 64-bit
# one (tests/harness/wine-arch), and exports it as CALVORIN_TEST_ARCH, so that
# setup, the session and the suites agree. Sets wine_arch (x86 or x64),
# wine_arch_why (the choice with its reason) and wine_tree (win32 or win64,
# the name of its build trees).
# shellcheck disable=SC2034 # read by the scripts that source this file
choose_wine_arch() {
  wine_arch_why=$("$wine_env_dir/wine-arch" --why)
  wine_arch=${wine_arch_why%% *}
  export CALVORIN_TEST_ARCH=$wine_arch
  wine_tree=win32
  [[ $wine_arch == x86 ]] || wine_tree=win64
}

# A prefix of architecture $1 (x86: a 32-bit prefix; x64: a 64-bit one, as
# tests/harness/wine-arch chooses); no Gecko or Mono installer prompts at
# boot; no menu entries written into the host's home; quiet Wine; and a fixed
# locale, so that text metrics and number formats do not depend on the host.
export_wine_env() {
  case $1 in
    x86) export WINEARCH=win32 ;;
    x64) export WINEARCH=win64 ;;
    *)
      echo "${0##*/}: no Wine architecture for '$1'" >&2
      return 1
      ;;
  esac
  export WINEDLLOVERRIDES="mshtml=;mscoree=;winemenubuilder.exe=d"
  export WINEDEBUG=-all
  export LC_ALL=C.UTF-8
  unset LANG LANGUAGE
}

# Starts an Xvfb with a screen of size $1 (WIDTHxHEIGHT) on a free display, its
# output in file $2, and waits until it answers. Sets xvfb_pid and
# xvfb_display. Xvfb exits at once if another server owns the display: then
# the next number is tried. Its own session keeps a terminal's Ctrl-C from
# ending it before the programs that use it.
start_xvfb() {
  local size=$1 log=$2 n tries i
  n=$((100 + $$ % 400)) # spreads concurrent runs over different numbers
  for ((tries = 0; tries < 20; tries++, n++)); do
    [[ -e /tmp/.X$n-lock || -e /tmp/.X11-unix/X$n ]] && continue
    xvfb_display=:$n
    setsid Xvfb "$xvfb_display" -screen 0 "${size}x24" -nolisten tcp </dev/null >"$log" 2>&1 &
    xvfb_pid=$!
    for ((i = 0; i < 100; i++)); do
      kill -0 "$xvfb_pid" 2>/dev/null || break
      if xdpyinfo -display "$xvfb_display" >/dev/null 2>&1; then
        # The lock file names the server that answered: it must be ours.
        [[ "$(tr -d ' \n' 2>/dev/null <"/tmp/.X$n-lock")" == "$xvfb_pid" ]] && return 0
        break
      fi
      sleep 0.1
    done
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
    xvfb_pid=
  done
  echo "${0##*/}: could not start Xvfb; its last output:" >&2
  cat "$log" >&2 || true
  return 1
}

# Ends the Xvfb of start_xvfb, if it is still that one: a process that is not
# its parent may see its PID reused. An Xvfb ended by SIGKILL leaves its lock
# and socket behind.
stop_xvfb() {
  [[ -n $xvfb_pid ]] || return 0
  if [[ "$(ps -o args= -p "$xvfb_pid" 2>/dev/null)" == "Xvfb $xvfb_display "* ]]; then
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
  fi
  if [[ "$(tr -d ' \n' 2>/dev/null <"/tmp/.X${xvfb_display#:}-lock")" == "$xvfb_pid" ]]; then
    rm -f "/tmp/.X${xvfb_display#:}-lock" "/tmp/.X11-unix/X${xvfb_display#:}"
  fi
}

# Copies Wine's own fonts from fonts-wine into prefix $1, so that text renders
# and measures the same on every machine; "MS Sans Serif" at small sizes is
# the bitmap font (sserife.fon), which Calvorin's status line is laid out for.
install_wine_fonts() {
  local fonts
  mapfile -t fonts < <(dpkg -L fonts-wine 2>/dev/null | grep -i -E '\.(ttf|fon)$' || true)
  if [[ ${#fonts[@]} -eq 0 ]]; then
    echo "${0##*/}: fonts-wine is not installed (scripts/setup installs it)" >&2
    return 1
  fi
  cp "${fonts[@]}" "$1/drive_c/windows/Fonts/"
}

# Every Windows keeps its help viewer, winhlp32.exe, in the Windows folder,
# 64-bit ones too, and "Messenger Help" starts it from there. Wine puts it
# there only with its 32-bit part: a 64-bit prefix made by wine64 alone gets
# Wine's 64-bit viewer in that place.
install_help_viewer() {
  local viewer
  [[ -f $1/drive_c/windows/winhlp32.exe ]] && return 0
  viewer=$(dpkg -L libwine:amd64 2>/dev/null | grep -m 1 'x86_64-windows/winhlp32\.exe$' || true)
  if [[ -z $viewer ]]; then
    echo "${0##*/}: Wine's winhlp32.exe is not installed (scripts/setup installs it)" >&2
    return 1
  fi
  cp "$viewer" "$1/drive_c/windows/winhlp32.exe"
}

# Windows registers its browser under App Paths, which Calvorin's About link
# reads; Wine registers none. Prefix $1 gets Wine's browser registered there,
# and its wineserver is stopped again, so that the caller may start its own.
register_browser() {
  WINEPREFIX=$1 timeout 60 wine reg add \
    'HKLM\Software\Microsoft\Windows\CurrentVersion\App Paths\IEXPLORE.EXE' \
    /ve /d 'C:\Program Files\Internet Explorer\iexplore.exe' /f >/dev/null 2>&1
  stop_prefix "$1"
}

# Wine links Desktop, Documents... of prefix $1 to the host's home: plain
# folders keep Wine programs from writing there, and a Wine desktop from
# showing the host's shortcuts.
make_user_folders_plain() {
  local link
  for link in "$1"/drive_c/users/*/*; do
    if [[ -L $link ]]; then rm "$link" && mkdir "$link"; fi
  done
}

log() { echo "${0##*/}: $*" >&2; }

# INT, TERM and HUP end the script with the usual status, through its EXIT
# trap, which tears down what it made.
trap_signals() {
  trap 'on_signal INT 2' INT
  trap 'on_signal TERM 15' TERM
  trap 'on_signal HUP 1' HUP
}
# shellcheck disable=SC2317 # run from a trap
on_signal() {
  log "caught SIG$1, tearing down"
  exit $((128 + $2))
}

# Ends every Wine process of prefix $1 with its wineserver.
stop_prefix() {
  WINEPREFIX=$1 timeout 10 wineserver -k >/dev/null 2>&1 || true
  WINEPREFIX=$1 timeout 30 wineserver -w >/dev/null 2>&1 || true
}
