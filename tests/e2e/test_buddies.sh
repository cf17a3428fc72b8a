#!/bin/bash
# The real Fumora.exe over a seeded anny.dat: the Buddies view, a buddy added
# through "Add New Buddy" by keyboard, anny.dat read back, and the Days Ahead
# view. Screenshots of both views go to $ARTEFACTS (buddies.png,
# days_ahead.png). Needs TESTENV, FUMORA_EXE and ARTEFACTS (ctest).
. "$(dirname "$0")/lib.sh"

day() { date -d "$1 days" +%Y%m%d; }  # YYYYMMDD of today plus $1 days
# More than 500 pixels of colour $2 in screenshot $1, or $3 fails.
has_pixels() {
  local count
  count=$(pixels_of "$ARTEFACTS/$1" "$2")
  ((count > 500)) && pass "$3" || fail "$3 ($count pixels of $2)"
}

seed "2020 01 01 0 0" "%D days" 0 0
# Ann quit a week ago (an anniversary today), Bob quits tomorrow.
printf '%sAnn\x1e%sBob\x1e\x1c' "$(day -7)" "$(day 1)" >"$work/anny.dat"
start_fumora || fail "no main window within 60 s"
xdotool windowfocus --sync "$(main_window)" 2>/dev/null
xdotool key --delay 150 alt+v b alt+n
if wait_for 15 has_window '^Add New Buddy$'; then
  xdotool windowfocus --sync "$(find_window '^Add New Buddy$')" 2>/dev/null
  xdotool type --delay 60 "Cy Keys"
  # The picker (Wine selects its first field on the first Right): month, day, year.
  xdotool key --delay 120 Tab Right 0 3 Right 0 5 Right 2 0 0 2 Return
  wait_for 15 no_window '^Add New Buddy$' || fail "the dialog stayed open"
else
  fail "no Add New Buddy dialog from Alt+N in the Buddies view"
fi
expected="$(day -7)Ann\x1e$(day 1)Bob\x1e20020305Cy Keys\x1e\x1c"
wait_for 10 bash -c "cmp -s <(printf '$expected') '$work/anny.dat'" && pass "anny.dat holds the new buddy last" ||
  fail "anny.dat is $(od -c "$work/anny.dat" | head -3)"
shot buddies.png
has_pixels buddies.png '#000080' "Ann's row in the anniversary colours"
xdotool key --delay 150 alt+v d
shot days_ahead.png
has_pixels days_ahead.png '#F2F4A6' "today's row in its colour"
has_pixels days_ahead.png '#8E92BB' "tomorrow's row in its colour"

echo "$failures failure(s)"
((failures == 0))
