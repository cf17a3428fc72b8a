#!/bin/bash
# The real Fumora.exe under Wine: Edit > Edit Quit Details opened by keyboard,
# a price change added as a person types it, Change, and the money in the
# copied stats text following the new price at once. Needs TESTENV, FUMORA_EXE
# and ARTEFACTS (ctest).
. "$(dirname "$0")/lib.sh"

dialog() { xdotool search --onlyvisible --name "^$1\$" | head -1; }
has_dialog() { [ -n "$(dialog "$1")" ]; }
no_dialog() { [ -z "$(dialog "$1")" ]; }

# Twenty a day at 5.00 a pack of twenty, quit ten days ago at 00:00: ten whole
# days at 5.00, then today's minutes at the price in force today ($1 hundredths).
expected_money() {
  python3 - "$1" <<'EOF'
import datetime, sys
price = int(sys.argv[1])
now = datetime.datetime.now()
hundredths = 500 * 10 + (price * 20 * (now.hour * 60 + now.minute)) // (1440 * 20)
print("money $%d.%02d" % (hundredths // 100, hundredths % 100))
EOF
}

seed "$(date -d '10 days ago' '+%Y %m %d') 0 0" 'money %M' 0 0
if ! start_fumora; then
  fail "no main window within 60 s"
  exit 1
fi
# Edit > Edit Quit Details; the focus starts in the name field and Add is the
# seventh stop after it (per day, per pack, price, date, time, list, Add).
xdotool windowfocus --sync "$(main_window)" 2>/dev/null
xdotool key --delay 150 alt+e q
if wait_for 15 has_dialog 'Edit Quit Details'; then
  pass "Edit Quit Details opened from the menu"
  xdotool key --delay 80 Tab Tab Tab Tab Tab Tab Tab space
  if wait_for 10 has_dialog 'Add Price Point'; then
    # Today's date is already chosen; the focus is in the price.
    xdotool type --delay 80 '6.50'
    import -window root "$ARTEFACTS/price_point.png" 2>/dev/null
    xdotool key --delay 80 Return
    wait_for 10 no_dialog 'Add Price Point' && pass "price change added" || fail "Add Price Point stayed open"
  else
    fail "Add did not open the price point dialog"
  fi
  sleep 0.5
  import -window root "$ARTEFACTS/quit_details.png" 2>/dev/null
  xdotool key --delay 150 alt+c
  wait_for 10 no_dialog 'Edit Quit Details' && pass "Change closed the dialog" || fail "Change left the dialog open"
else
  fail "no Edit Quit Details dialog"
fi

# pp.dat: one record, today's day number and 650 hundredths.
want=$(python3 -c "import datetime, struct; print(struct.pack('<II', datetime.date.today().toordinal() + 1721425, 650).hex())")
got=$(python3 -c "import sys; print(open(sys.argv[1], 'rb').read().hex())" "$work/pp.dat" 2>/dev/null)
[ "$got" = "$want" ] && pass "pp.dat holds the new price change" || fail "pp.dat is '$got', expected '$want'"
[ "$(stored Price)" = 0x1f4 ] && pass "the quit details' own price kept" || fail "Price stored as $(stored Price)"

# The copied text follows the new price at once: today's minutes at 6.50.
# The minute may turn while the text is made: either one counts.
before=$(expected_money 650)
copy_stats_with alt+e c
text=$(clipboard)
if [ "$text" = "$before" ] || [ "$text" = "$(expected_money 650)" ]; then
  pass "copied: $text"
else
  fail "copied '$text', expected '$before'"
fi

echo "$failures failure(s)"
((failures == 0))
