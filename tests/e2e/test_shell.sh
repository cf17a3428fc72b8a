#!/bin/bash
# The real Fumora.exe under Wine: single instance, Edit > Copy Stats on the X
# clipboard, the stored window position, minimise to the tray and exit from
# the tray menu, File > Exit; an Explorer restart, a second start while
# hidden, taskkill and the end of the session. Needs TESTENV, FUMORA_EXE,
# SHELL_RESTART_EXE and ARTEFACTS (ctest).
. "$(dirname "$0")/lib.sh"

# "x y width height" of Fumora's visible pop-up menu: its only visible
# window without a title.
popup_menu() {
  local id
  for id in $(xdotool search --onlyvisible --classname 'fumora.exe' 2>/dev/null); do
    [ -z "$(xdotool getwindowname "$id" 2>/dev/null)" ] || continue
    window_geometry "$id" && ((WIDTH > 20 && HEIGHT > 20)) && echo "$X $Y $WIDTH $HEIGHT" && return 0
  done
  return 1
}
tray_window() { xdotool search --onlyvisible --name '^Wine System Tray$' | head -1; }
has_tray_window() { [ -n "$(tray_window)" ]; }
no_tray_window() { ! has_tray_window; }
copy_stats_from_menu() { copy_stats_with alt+e c; }

# pp.dat with one price change dated long after today: not yet in force.
python3 -c "import struct,sys; sys.stdout.buffer.write(struct.pack('<II', 2488070, 99999))" >"$work/pp.dat"

# ---- 1. a quit ten days ago at midnight, with a template of exact figures ----
quit_day=$(date -d '10 days ago' '+%Y %m %d')
seed "$quit_day 0 0" 'Days %D, cigarettes %C, money %M, quit %X' 0 0
if start_fumora; then
  pass "main window shown"
  # The X window is the client area: the frame and caption lie above and left of it.
  window_geometry "$(main_window)"
  if ((X - 100 >= 0 && X - 100 <= 10 && Y - 80 >= 0 && Y - 80 <= 40)); then
    pass "stored position applied (client area at $X,$Y)"
  else
    fail "client area at $X,$Y: the window is not at the stored 100,80"
  fi
else
  fail "no main window within 60 s"
fi
sleep 1
import -window root "$ARTEFACTS/shell_main_window.png" 2>/dev/null

# A second copy ends at once with 0 and leaves the first running.
start=$SECONDS
(cd "$work" && timeout 30 "$WINE" Fumora.exe) >/dev/null 2>&1
second=$?
elapsed=$((SECONDS - start))
[ "$second" = 0 ] && pass "second copy ended with 0" || fail "second copy ended with $second"
((elapsed < 15)) && pass "second copy ended in ${elapsed}s" || fail "second copy took ${elapsed}s"
kill -0 "$fumora" 2>/dev/null && pass "first copy still runs" || fail "first copy ended"
count=$(xdotool search --onlyvisible --name '^ Fumora v1\.05b$' | wc -l)
[ "$count" = 1 ] && pass "one main window" || fail "$count main windows"

# Edit > Copy Stats: the template expanded from the seeded details. Twenty a
# day at 5.00 per pack of twenty, quit at 00:00: each day 5.00 and today's
# minutes priced at 500 * m / 1440 hundredths; the cigarettes add one every
# 72 minutes. The minute may turn while the text is made: either one counts.
expected_for_now() {
  python3 - "$quit_day" "$(short_date "$quit_day")" <<'EOF'
import datetime, sys
y, mo, d = (int(x) for x in sys.argv[1].split())
quit = datetime.date(y, mo, d)
now = datetime.datetime.now()
days = (now.date() - quit).days
m = now.hour * 60 + now.minute
cigs = 20 * days + 20 * ((1000 * (m * 60)) // 86400) // 1000
hundredths = 500 * days + (500 * 20 * m) // (1440 * 20)
print("Days %d, cigarettes %d, money $%d.%02d, quit %s" % (
    days, cigs, hundredths // 100, hundredths % 100, sys.argv[2]))
EOF
}
# Edit > Copy Stats, then the Ctrl+C shortcut (the keyboard hook): the text
# computed here from the seeded details, for the minute before or after.
for how in "Copy Stats:alt+e c" "Ctrl+C:ctrl+c"; do
  name=${how%%:*}
  before=$(expected_for_now)
  # shellcheck disable=SC2086
  copy_stats_with ${how#*:}
  text=$(clipboard)
  after=$(expected_for_now)
  if [ "$text" = "$before" ] || [ "$text" = "$after" ]; then
    pass "$name: $text"
  else
    fail "$name gave '$text', expected '$before'"
  fi
done

# Minimise (system menu), then Exit from the tray icon's menu: the window is
# minimised, so the stored position stays as seeded.
w=$(main_window)
xdotool windowfocus --sync "$w" 2>/dev/null
xdotool key --delay 200 alt+space n
no_main_window() { ! has_main_window; }
if wait_for 15 has_tray_window && wait_for 10 no_main_window; then
  pass "minimised to the notification area"
  # Explorer restarts: its new notification area holds no icon until it
  # announces itself, and then Fumora's icon is there again.
  "$WINE" "$SHELL_RESTART_EXE" forget >/dev/null 2>&1 && wait_for 10 no_tray_window ||
    fail "the icon could not be taken away as a restarting shell does"
  "$WINE" "$SHELL_RESTART_EXE" announce >/dev/null 2>&1
  wait_for 15 has_tray_window && pass "icon back after the shell restarted" ||
    fail "no icon after the shell restarted: the hidden window is out of reach"
  # A second start brings the hidden window back, and it hides again.
  (cd "$work" && timeout 30 "$WINE" Fumora.exe) >/dev/null 2>&1
  wait_for 15 has_main_window && pass "a second start showed the hidden window" ||
    fail "a second start left the window hidden"
  xdotool windowfocus --sync "$(main_window)" 2>/dev/null
  xdotool key --delay 200 alt+space n
  wait_for 15 has_tray_window && wait_for 10 no_main_window || fail "not minimised again"
  tray=$(tray_window)
  window_geometry "$tray"
  xdotool mousemove $((X + 10)) $((Y + 10)) sleep 0.3 click 3
  # The pop-up menu belongs to Fumora and has no title; Exit is its last item.
  # A click, as a person would: keys go to the window that has the X focus,
  # which is the notification area's, not the menu's.
  if wait_for 10 popup_menu; then
    read -r mx my mw mh < <(popup_menu)
    xdotool mousemove $((mx + mw / 3)) $((my + mh - 8)) sleep 0.3 click 1
  fi
  if wait_for 30 bash -c "! kill -0 $fumora 2>/dev/null"; then
    wait "$fumora"
    code=$?
    [ "$code" = 0 ] && pass "tray Exit ended with 0" || fail "tray Exit ended with $code"
  else
    fail "tray Exit did not end the program"
  fi
else
  fail "no tray icon after minimising"
fi
[ "$(stored LastPosX)" = 0x64 ] && [ "$(stored LastPosY)" = 0x50 ] &&
  pass "position not stored on exit from the tray" ||
  fail "stored position changed to $(stored LastPosX),$(stored LastPosY)"
wineserver -k 2>/dev/null
sleep 1

# ---- 2. a quit that lies ahead: "I will quit in ..." ----
ahead=$(date -d '+3 days' '+%Y %m %d %H %M')
ahead_epoch=$(date -d "$(echo "$ahead" | awk '{ printf "%s-%s-%s %s:%s:00", $1, $2, $3, $4, $5 }')" +%s)
seed "$ahead" 'unused while pending' 0 1
if start_fumora; then
  sleep 1
  copy_stats_from_menu
  now=$(date +%s)
  text=$(clipboard)
  # The short span with seconds, less than a week ahead: days, hours, minutes, seconds.
  seconds=$(python3 - "$text" <<'EOF'
import re, sys
m = re.fullmatch(r"I will quit in ((?:\d+[DhmsYMW] ?)+)\.", sys.argv[1])
if not m:
    print(-1); sys.exit()
scale = {"D": 86400, "h": 3600, "m": 60, "s": 1}
total = 0
for n, unit in re.findall(r"(\d+)([DhmsYMW])", m.group(1)):
    if unit not in scale:
        print(-1); sys.exit()
    total += int(n) * scale[unit]
print(total)
EOF
)
  want=$((ahead_epoch - now))
  if ((seconds >= 0 && seconds - want <= 3 && want - seconds <= 3)); then
    pass "pending quit: $text"
  else
    fail "pending quit text '$text' (expected about $want s)"
  fi
  # File > Exit ends the program with 0.
  w=$(main_window)
  xdotool windowfocus --sync "$w" 2>/dev/null
  xdotool key --delay 150 alt+f x
  if wait_for 30 bash -c "! kill -0 $fumora 2>/dev/null"; then
    wait "$fumora"
    code=$?
    [ "$code" = 0 ] && pass "File > Exit ended with 0" || fail "File > Exit ended with $code"
  else
    fail "File > Exit did not end the program"
  fi
else
  fail "no main window for the pending quit"
fi

# ---- 3. asked to close from outside, and the session ending ----
# taskkill without /f sends WM_CLOSE, as installers and updaters do; an ending
# session asks every window; either ends Fumora with 0 and takes its icon away.
for how in "taskkill:taskkill /im Fumora.exe" "end of session:wineboot --end-session"; do
  seed "$quit_day 0 0" 'Days %D' 0 0
  if start_fumora; then
    xdotool windowfocus --sync "$(main_window)" 2>/dev/null
    xdotool key --delay 200 alt+space n
    wait_for 15 has_tray_window || fail "${how%%:*}: not minimised to the notification area"
    # shellcheck disable=SC2086
    "$WINE" ${how#*:} >/dev/null 2>&1
    if wait_for 30 ended; then
      wait "$fumora"
      code=$?
      [ "$code" = 0 ] && pass "${how%%:*} ended Fumora with 0" || fail "${how%%:*} ended Fumora with $code"
      wait_for 10 no_tray_window && pass "${how%%:*}: icon taken away" || fail "${how%%:*}: icon left behind"
    else
      fail "${how%%:*} did not end Fumora"
    fi
  else
    fail "no main window before ${how%%:*}"
  fi
  wineserver -k 2>/dev/null
  sleep 1
done

echo "$failures failure(s)"
((failures == 0))
