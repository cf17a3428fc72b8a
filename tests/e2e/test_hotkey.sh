#!/bin/bash
# The global hotkey as a person uses it: Fumora runs, a chat-like window (the
# small type_target.exe, with a menu bar) has the focus, the hotkey is pressed
# with xdotool, and the stats text arrives in its edit box exactly: "£",
# brackets, Shift and a line break included. A long press (auto-repeat) types
# it once; modifiers held on are released after about a second; Ctrl, Alt and
# Shift are up afterwards, and an Alt hotkey opens no menu in the target.
# Needs TESTENV, FUMORA_EXE, TYPE_TARGET_EXE and ARTEFACTS (ctest).
. "$(dirname "$0")/lib.sh"
: "${TYPE_TARGET_EXE:?}"
trap 'xset r rate; cleanup' EXIT

cp "$TYPE_TARGET_EXE" "$work/type_target.exe"
target_window() { xdotool search --onlyvisible --name '^Fumora typing target$' | head -1; }
has_target_window() { [ -n "$(target_window)" ]; }

# A quit ten days ago at midnight: %D and %X do not move within the day.
quit_day=$(date -d '10 days ago' '+%Y %m %d')
template=$'Quit (Days %D) saved \u00a3 & more!\r\nSince %X.'
python3 - "$quit_day" >"$work/expected.txt" <<'EOF'
import datetime, sys
y, mo, d = (int(x) for x in sys.argv[1].split())
days = (datetime.date.today() - datetime.date(y, mo, d)).days
text = "Quit (Days %d) saved \u00a3 & more!\r\nSince %02d/%02d/%04d." % (days, mo, d, y)
sys.stdout.buffer.write(text.encode("latin-1"))
EOF

# Whether the target's file holds the expected text $1 times, with Ctrl, Alt
# and Shift up and its menu bar not holding the keyboard.
typed_times() {
  python3 - "$work/typed.txt" "$work/expected.txt" "$1" <<'EOF'
import sys
try:
    head, _, body = open(sys.argv[1], "rb").read().partition(b"\n")
except OSError:
    sys.exit(1)
want = open(sys.argv[2], "rb").read() * int(sys.argv[3])
sys.exit(0 if body == want and head.split()[1:] == [b"ctrl=0", b"alt=0", b"shift=0", b"menu=0"] else 1)
EOF
}
expect_typed() {
  if wait_for 10 typed_times "$1"; then
    pass "$2"
  else
    fail "$2: the target holds (head: time of the last change and key states)"
    tr '\r' '~' <"$work/typed.txt" 2>/dev/null | sed 's/^/    /'
    echo
    return 1
  fi
}

# Fumora with the hotkey $1 (AppHKey), the target in front.
start_with_hotkey() {
  seed "$quit_day 0 0" "$template" 0 0 '"HKEnabled"=dword:00000001' "\"AppHKey\"=dword:$1"
  start_fumora || fail "no main window within 60 s"
  if ! has_target_window; then
    (cd "$work" && exec wine64 type_target.exe typed.txt) >/dev/null 2>&1 &
    pids+=("$!")
    wait_for 30 has_target_window || fail "no target window"
  fi
  xdotool windowactivate --sync "$(target_window)" 2>/dev/null
}

# ---- Ctrl+Alt+Shift+Q: Q (0x51) with the Shift, Ctrl and Alt flags ----
start_with_hotkey 00000751
xdotool key ctrl+alt+shift+q
expect_typed 1 "the hotkey typed the stats text"
import -window root "$ARTEFACTS/hotkey_typed.png" 2>/dev/null

# Auto-repeat sends the hotkey again and again while the run waits for the
# keys to go up; a second run would have begun a second after the release.
xset r rate 150 40
xdotool keydown ctrl+alt+shift+q sleep 0.6 keyup q shift alt ctrl
xset r rate
if expect_typed 2 "a long press typed it once more"; then
  sleep 1
  typed_times 2 && pass "a long press typed it once" || fail "a long press typed it more than once"
fi

# Modifiers held on after the key: the run releases them itself after about
# a second and types while they are still held.
xdotool keydown ctrl+alt+shift+q keyup q
sleep 2
released=$(date +%s%3N)
xdotool keyup shift alt ctrl
if expect_typed 3 "modifiers held on: released by the run and the text typed"; then
  (($(head -c 13 "$work/typed.txt") < released)) && pass "typed before the keys went up" ||
    fail "typed only after the keys went up at $released"
fi
kill "$fumora" 2>/dev/null
wait "$fumora" 2>/dev/null

# ---- Alt+F5 (F5 with the Alt flag): Alt released alone gives the target's
# menu bar the keyboard, which would swallow the text ----
start_with_hotkey 00000474
xdotool key alt+F5
expect_typed 4 "Alt+F5 typed the text and left no menu open"

echo "$failures failure(s)"
((failures == 0))
