#!/bin/bash
# The global hotkey as a person uses it: Fumora runs, a chat-like window (the
# small type_target.exe, with a menu bar) has the focus, the hotkey is pressed
# with xdotool, and the stats text arrives in its edit box exactly: "£",
# brackets, Shift and a line break included. A long press (auto-repeat) types
# it once and nothing else, however long; modifiers held on after the key are
# released after about a second; Ctrl, Alt and
# Shift are up afterwards, and an Alt hotkey opens no menu in the target.
# Needs TESTENV, FUMORA_EXE, TYPE_TARGET_EXE and ARTEFACTS (ctest).
. "$(dirname "$0")/lib.sh"
: "${TYPE_TARGET_EXE:?}"
trap 'xset r rate; cleanup' EXIT

cp "$TYPE_TARGET_EXE" "$work/type_target.exe"
target_window() { find_window '^Fumora typing target$'; }

# A quit ten days and an hour ago: %D and %X stay as they are for the next
# 23 hours, midnight or not. The text as typed: "£" is one Latin-1 byte, the
# code page of the test locale.
quit=$(date -d '10 days ago 1 hour ago' '+%Y %m %d %H %M')
template=$'Quit (Days %D) saved \u00a3 & more!\r\nSince %X.'
printf 'Quit (Days 10) saved \xa3 & more!\r\nSince %s.' "$(short_date "${quit% * *}")" >"$work/expected.txt"

# Whether the target's file holds the expected text $1 times, with Ctrl, Alt
# and Shift up and its menu bar not holding the keyboard.
typed_times() {
  [ "$(head -1 "$work/typed.txt" 2>/dev/null | cut -d' ' -f2-)" = "ctrl=0 alt=0 shift=0 menu=0" ] &&
    cmp -s <(tail -n +2 "$work/typed.txt") <(for ((i = 0; i < $1; i++)); do cat "$work/expected.txt"; done)
}
expect_typed() {
  wait_for 10 typed_times "$1" && pass "$2" && return 0
  fail "$2: the target holds (head: time of the last change and key states)"
  tr '\r' '~' <"$work/typed.txt" 2>/dev/null | sed 's/^/    /'
  echo
  return 1
}

# Whether the window that function $1 finds has the X keyboard focus.
focused() { [ "$(xdotool getwindowfocus 2>/dev/null)" = "$("$1")" ]; }

# Fumora with the hotkey $1 (AppHKey), the target in front. A Fumora that
# starts takes the keyboard a moment after its window shows; the target is
# activated only after that, or Fumora could take the keyboard back from it.
start_with_hotkey() {
  seed "$quit" "$template" 0 0 HKEnabled=dword:1 "AppHKey=dword:$1"
  start_fumora || fail "no main window within 60 s"
  wait_for 10 focused main_window || fail "Fumora did not take the keyboard as it started"
  if ! shown target_window; then
    (cd "$work" && exec "$WINE" type_target.exe typed.txt) >/dev/null 2>&1 &
    pids+=("$!")
    wait_for 30 shown target_window || fail "no target window"
  fi
  xdotool windowactivate --sync "$(target_window)" 2>/dev/null
  wait_for 10 focused target_window || fail "the target did not get the keyboard"
}

# ---- Ctrl+Alt+Shift+Q: Q (0x51) with the Shift, Ctrl and Alt flags ----
start_with_hotkey 751
xdotool key ctrl+alt+shift+q
expect_typed 1 "the hotkey typed the stats text"
import -window root "$ARTEFACTS/hotkey_typed.png" 2>/dev/null

# Auto-repeat sends the hotkey again and again while the run waits for the
# keys to go up, for longer than the second after which held modifiers are
# released: the key's repeats must not follow the text as "qqq".
xset r rate 150 40
xdotool keydown ctrl+alt+shift+q sleep 1.5 keyup q shift alt ctrl
xset r rate
if expect_typed 2 "a long press typed it once more"; then
  sleep 1
  typed_times 2 && pass "a long press typed it once" || fail "a long press typed it more than once"
fi

# Modifiers held on after the key: the run releases them itself after about
# a second and types while they are still held down on the X keyboard.
xdotool keydown ctrl+alt+shift+q keyup q
expect_typed 3 "modifiers held on: released by the run and the text typed while they were down"
xdotool keyup shift alt ctrl
kill "$fumora" 2>/dev/null
wait "$fumora" 2>/dev/null

# ---- Alt+F5 (F5 with the Alt flag): Alt released alone gives the target's
# menu bar the keyboard, which would swallow the text ----
start_with_hotkey 474
xdotool key alt+F5
expect_typed 4 "Alt+F5 typed the text and left no menu open"

echo "$failures failure(s)"
((failures == 0))
