#!/bin/bash
# The real Fumora.exe over a seeded anny.dat: the Buddies view at start-up, a
# buddy added through "Add New Buddy" by keyboard, anny.dat read back, and the
# Days Ahead view. Screenshots of both views go to $ARTEFACTS. Needs TESTENV,
# FUMORA_EXE and ARTEFACTS (ctest).
. "$(dirname "$0")/lib.sh"
fumora=

cleanup() {
  [ -n "$fumora" ] && kill "$fumora" 2>/dev/null
  wine64 reg delete "$key" /f >/dev/null 2>&1
  wineserver -k 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

find_window() { xdotool search --onlyvisible --name "$1" 2>/dev/null | head -1; }
main_window() { find_window '^ Fumora v1\.05b$'; }
add_dialog() { find_window '^Add New Buddy$'; }
shown() { [ -n "$("$1")" ]; }
gone() { [ -z "$("$1")" ]; }
pixels_of() {
  convert "$1" -format %c histogram:info:- 2>/dev/null | grep -i "$2" | awk '{ sum += $1 } END { print sum + 0 }'
}
# YYYYMMDD of today plus $1 days.
day() { date -d "$1 days" +%Y%m%d; }

# Settings as the wizard leaves them, the Buddies view at start-up, 20 days ahead.
python3 - >"$work/seed.reg" <<'PY'
import struct
hexes = lambda b: ",".join("%02x" % x for x in b)
prefs = struct.pack("<7I", 20, 5, 0, 2, 0, 0, 0) + b"%D days".ljust(512, b"\0") + bytes(512)
print("REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Fumora\\Details]")
print('"FirstRun"=dword:00000001\n"QuitName"="Tester"\n"NumCigs"=dword:00000014\n"NumPack"=dword:00000014')
print('"Price"=dword:000001f4\n"QuitDate"=hex:' + hexes(struct.pack("<8H", 2020, 1, 0, 1, 0, 0, 0, 0)))
print('"AppColors"=hex:' + hexes(struct.pack("<7I", 0x800000, 0xFFFFFF, 0xA6F4F2, 0xBB928E, 0xF4F4F2, 0, 0)))
print('"GenPrefs"=hex:' + hexes(prefs))
PY
wine64 regedit /S "$work/seed.reg"
# Ann quit a week ago (an anniversary today), Bob quits tomorrow.
printf '%sAnn\x1e%sBob\x1e\x1c' "$(day -7)" "$(day 1)" >"$work/anny.dat"

(cd "$work" && exec wine64 Fumora.exe) >/dev/null 2>&1 &
fumora=$!
wait_for 60 shown main_window && pass "main window shown" || fail "no main window within 60 s"
xdotool windowfocus --sync "$(main_window)" 2>/dev/null
sleep 0.5
xdotool key --delay 150 alt+n
if wait_for 15 shown add_dialog; then
  pass "Add New Buddy opened with Alt+N"
  xdotool windowfocus --sync "$(add_dialog)" 2>/dev/null
  xdotool type --delay 60 "Cy Keys"
  # The picker (Wine selects its first field on the first Right): month, day, year.
  xdotool key --delay 120 Tab Right 0 3 Right 0 5 Right 2 0 0 2
  sleep 0.3
  import -window root "$ARTEFACTS/buddies_add.png" 2>/dev/null
  xdotool key --delay 120 Return
  wait_for 15 gone add_dialog && pass "Add closed the dialog" || fail "the dialog stayed open"
else
  fail "no Add New Buddy dialog"
fi
expected="$(day -7)Ann\x1e$(day 1)Bob\x1e20020305Cy Keys\x1e\x1c"
wait_for 10 bash -c "cmp -s <(printf '$expected') '$work/anny.dat'" &&
  pass "anny.dat holds the new buddy last" ||
  fail "anny.dat is $(od -c "$work/anny.dat" | head -3)"
sleep 0.5
import -window root "$ARTEFACTS/buddies.png" 2>/dev/null
navy=$(pixels_of "$ARTEFACTS/buddies.png" '#000080')
((navy > 500)) && pass "Ann's row in the anniversary colours" || fail "no anniversary row on screen ($navy pixels)"

xdotool key --delay 150 alt+v d
sleep 1
import -window root "$ARTEFACTS/days_ahead.png" 2>/dev/null
today=$(pixels_of "$ARTEFACTS/days_ahead.png" '#F2F4A6')
tomorrow=$(pixels_of "$ARTEFACTS/days_ahead.png" '#8E92BB')
((today > 500)) && pass "today's row in its colour" || fail "no row for today ($today pixels)"
((tomorrow > 500)) && pass "tomorrow's row in its colour" || fail "no row for tomorrow ($tomorrow pixels)"

echo "$failures failure(s)"
((failures == 0))
