#!/bin/bash
# The real Fumora.exe over a seeded anny.dat: the Buddies view, a buddy added
# through "Add New Buddy" by keyboard, anny.dat read back, and the Days Ahead
# view. Screenshots of both views go to $ARTEFACTS (buddies.png,
# days_ahead.png). Needs TESTENV, FUMORA_EXE and ARTEFACTS (ctest).
. "$(dirname "$0")/lib.sh"

add_dialog() { find_window '^Add New Buddy$'; }
# YYYYMMDD of today plus $1 days.
day() { date -d "$1 days" +%Y%m%d; }

seed "2020 01 01 0 0" "%D days" 0 0
# Ann quit a week ago (an anniversary today), Bob quits tomorrow.
printf '%sAnn\x1e%sBob\x1e\x1c' "$(day -7)" "$(day 1)" >"$work/anny.dat"

start_fumora && pass "main window shown" || fail "no main window within 60 s"
xdotool windowfocus --sync "$(main_window)" 2>/dev/null
xdotool key --delay 150 alt+v b alt+n
if wait_for 15 shown add_dialog; then
  pass "Add New Buddy opened with Alt+N in the Buddies view"
  xdotool windowfocus --sync "$(add_dialog)" 2>/dev/null
  xdotool type --delay 60 "Cy Keys"
  # The picker (Wine selects its first field on the first Right): month, day, year.
  xdotool key --delay 120 Tab Right 0 3 Right 0 5 Right 2 0 0 2 Return
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
for colour in "today:#F2F4A6" "tomorrow:#8E92BB"; do
  count=$(pixels_of "$ARTEFACTS/days_ahead.png" "${colour#*:}")
  ((count > 500)) && pass "${colour%%:*}'s row in its colour" || fail "no row for ${colour%%:*} ($count pixels)"
done

echo "$failures failure(s)"
((failures == 0))
