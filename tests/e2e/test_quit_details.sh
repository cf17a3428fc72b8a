#!/bin/bash
# The real Fumora.exe under Wine: Edit > Edit Quit Details opened by keyboard,
# a price change added as a person types it, Change, and the money in the
# copied stats text following the new price at once. Needs TESTENV, FUMORA_EXE
# and ARTEFACTS (ctest).
. "$(dirname "$0")/lib.sh"

seed "$(date -d '10 days ago' '+%Y %m %d') 0 0" 'money %M' 0 0
start_fumora || fail "no main window within 60 s"
# Edit > Edit Quit Details; the focus starts in the name field and Add is the
# seventh stop after it (per day, per pack, price, date, time, list, Add).
xdotool windowfocus --sync "$(main_window)" 2>/dev/null
xdotool key --delay 150 alt+e q
wait_for 15 has_window '^Edit Quit Details$' && pass "Edit Quit Details opened from the menu" || fail "no dialog"
xdotool key --delay 80 Tab Tab Tab Tab Tab Tab Tab space
if wait_for 10 has_window '^Add Price Point$'; then
  # Today's date is already chosen; the focus is in the price.
  xdotool type --delay 80 '6.50'
  import -window root "$ARTEFACTS/price_point.png" 2>/dev/null
  xdotool key --delay 80 Return
  wait_for 10 no_window '^Add Price Point$' && pass "price change added" || fail "Add Price Point stayed open"
else
  fail "Add did not open the price point dialog"
fi
sleep 0.5
import -window root "$ARTEFACTS/quit_details.png" 2>/dev/null
xdotool key --delay 150 alt+c
wait_for 10 no_window '^Edit Quit Details$' && pass "Change closed the dialog" || fail "Change left the dialog open"

# pp.dat: one record, today's day number and 650 hundredths; the quit details' own price kept.
want=$(python3 -c "import datetime, struct
print(struct.pack('<II', datetime.date.today().toordinal() + 1721425, 650).hex())")
got=$(od -An -tx1 "$work/pp.dat" 2>/dev/null | tr -d ' \n')
[ "$got" = "$want" ] && pass "pp.dat holds the new price change" || fail "pp.dat is '$got', expected '$want'"
[ "$(stored Price)" = 0x1f4 ] && pass "the quit details' own price kept" || fail "Price stored as $(stored Price)"

# The copied money follows the new price at once: ten whole days at 5.00 (twenty
# a day, a pack of twenty, quit at 00:00), then today's minutes at 6.50. The
# minute may turn while the text is made: either one counts.
money() {
  python3 -c "import datetime; n = datetime.datetime.now()
print('money \$%d.%02d' % divmod(5000 + 650 * (n.hour * 60 + n.minute) // 1440, 100))"
}
before=$(money)
copy_stats_with alt+e c
text=$(clipboard)
[ "$text" = "$before" ] || [ "$text" = "$(money)" ] && pass "copied: $text" || fail "copied '$text', expected '$before'"

echo "$failures failure(s)"
((failures == 0))
