#!/bin/bash
# The real Fumora.exe under Wine: Edit > Edit Quit Details opened by keyboard,
# a price change added as a person types it, Change, and the money in the
# copied stats text following the new price at once. pp.dat is written beside
# the executable; then again from a folder the user cannot write to (as
# Program Files is), where it goes to the user's application data folder
# without a word. Needs TESTENV, FUMORA_EXE and ARTEFACTS (ctest).
. "$(dirname "$0")/lib.sh"

# Edit > Edit Quit Details; the focus starts in the name field and Add is the
# seventh stop after it (per day, per pack, price, date, time, list, Add).
add_price_change() {
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
}

# pp.dat $1: one record, the day number of the day the price was added (the
# day the dialog offered, or the next if midnight came between) and 650
# hundredths.
record() {
  python3 -c "import datetime, struct, sys
day = datetime.date.fromisoformat(sys.argv[1]) + datetime.timedelta(int(sys.argv[2]))
print(struct.pack('<II', day.toordinal() + 1721425, 650).hex())" "$added" "$1"
}
expect_price_file() {
  local got
  got=$(od -An -tx1 "$1" 2>/dev/null | tr -d ' \n')
  [ "$got" = "$(record 0)" ] || [ "$got" = "$(record 1)" ] && pass "$1 holds the new price change" ||
    fail "$1 is '$got', expected '$(record 0)'"
}

quit_day=$(date -d '10 days ago' '+%Y %m %d')
seed "$quit_day 0 0" 'money %M' 0 0
start_fumora || fail "no main window within 60 s"
added=$(date '+%Y-%m-%d')
add_price_change
expect_price_file "$work/pp.dat"
[ "$(stored Price)" = 0x1f4 ] && pass "the quit details' own price kept" || fail "Price stored as $(stored Price)"

# The copied money follows the new price at once: the whole days before its
# day at 5.00 (twenty a day, a pack of twenty, quit at 00:00), then the days
# and today's minutes since at 6.50. The minute may turn while the text is
# made: either one counts.
money() {
  python3 - "$quit_day" "$(od -An -tu4 -N4 "$work/pp.dat")" <<'EOF'
import datetime, sys
quit = datetime.date(*(int(x) for x in sys.argv[1].split())).toordinal() + 1721425
change, n = int(sys.argv[2]), datetime.datetime.now()
hundredths = 500 * (change - quit) + 650 * (n.date().toordinal() + 1721425 - change)
print('money $%d.%02d' % divmod(hundredths + 650 * (n.hour * 60 + n.minute) // 1440, 100))
EOF
}
before=$(money)
copy_stats_with alt+e c
text=$(clipboard)
[ "$text" = "$before" ] || [ "$text" = "$(money)" ] && pass "copied: $text" || fail "copied '$text', expected '$before'"
kill "$fumora" 2>/dev/null
wait "$fumora" 2>/dev/null

# ---- a folder Fumora cannot write to, holding no data files ----
protected=$work/protected
mkdir -p "$protected"
cp "$work/Fumora.exe" "$protected/"
chmod a-w "$protected"
[ "$(id -u)" = 0 ] && chattr +i "$protected" 2>/dev/null  # root writes past the mode bits
trap 'chattr -i "$protected" 2>/dev/null; chmod u+w "$protected"; cleanup' EXIT
if touch "$protected/probe" 2>/dev/null; then
  fail "no folder here can be made unwritable (neither the mode bits nor chattr +i hold)"
else
  appdata=$("$WINE" winepath -u "$("$WINE" cmd /c echo %APPDATA% 2>/dev/null | tr -d '\r')" 2>/dev/null)
  [ -d "$appdata" ] || { fail "no application data folder ('$appdata')"; exit 1; }
  rm -rf "$appdata/Fumora"
  start_fumora "$protected" || fail "no main window from the protected folder"
  added=$(date '+%Y-%m-%d')
  add_price_change
  no_window '^Fumora$' && pass "no message box" || fail "a message box: $(xdotool getwindowname "$(find_window '^Fumora$')")"
  expect_price_file "$appdata/Fumora/pp.dat"
  [ -z "$(ls "$protected" | grep -v '^Fumora.exe$')" ] && pass "nothing written beside the executable" ||
    fail "beside the executable: $(ls "$protected")"
  rm -rf "$appdata/Fumora"
fi

echo "$failures failure(s)"
((failures == 0))
