# Shared by the end-to-end tests (sourced): the test environment, a work
# directory holding a copy of Fumora.exe, pass/fail counting and polling.
# ctest sets TESTENV, FUMORA_EXE and ARTEFACTS.
set -u
: "${TESTENV:?}" "${FUMORA_EXE:?}"
ARTEFACTS=${ARTEFACTS:-/tmp}
. "$TESTENV/env"
export PATH=/usr/lib/wine:$PATH
export LC_ALL=${LC_ALL:-en_US.UTF-8}
mkdir -p "$ARTEFACTS"

work=$(mktemp -d)
cp "$FUMORA_EXE" "$work/Fumora.exe"
key='HKCU\Software\Fumora\Details'
failures=0

fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}
pass() { echo "ok: $*"; }

# Polls `command` every 0.2 s for up to $1 seconds.
wait_for() {
  local limit=$1
  shift
  local end=$((SECONDS + limit))
  while ((SECONDS < end)); do
    "$@" >/dev/null 2>&1 && return 0
    sleep 0.2
  done
  return 1
}

# Sets X, Y (absolute top-left), WIDTH and HEIGHT of an X window. Under a
# reparenting window manager xdotool's getwindowgeometry adds the frame's
# offset twice; xwininfo's absolute position is the window's own.
window_geometry() {
  local info
  info=$(xwininfo -id "$1" 2>/dev/null) || return 1
  X=$(awk '/Absolute upper-left X/ { print $NF }' <<<"$info")
  Y=$(awk '/Absolute upper-left Y/ { print $NF }' <<<"$info")
  WIDTH=$(awk '/^ *Width:/ { print $NF }' <<<"$info")
  HEIGHT=$(awk '/^ *Height:/ { print $NF }' <<<"$info")
}

main_window() { xdotool search --onlyvisible --name '^ Fumora v1\.05b$' 2>/dev/null | head -1; }
has_main_window() { [ -n "$(main_window)" ]; }
clipboard() { xclip -o -selection clipboard 2>/dev/null; }

# Copies the stats text with the keys given (xdotool key arguments) in the
# main window and waits for it on the X clipboard.
copy_stats_with() {
  local w
  w=$(main_window)
  echo -n "(empty)" | xclip -selection clipboard
  xdotool windowfocus --sync "$w" 2>/dev/null
  xdotool key --delay 150 "$@"
  wait_for 10 bash -c '[ "$(xclip -o -selection clipboard 2>/dev/null)" != "(empty)" ]'
}
