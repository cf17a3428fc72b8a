#!/bin/bash
# First run of the real Fumora.exe under Wine: with no stored settings the
# wizard comes up; a check refuses a missing price; the details typed with
# xdotool are stored on Continue and the main window opens; View > Milestones shows the
# milestones with today's quit marked. Needs TESTENV, FUMORA_EXE, ARTEFACTS.
. "$(dirname "$0")/lib.sh"
fumora=

cleanup() {
  [ -n "$fumora" ] && kill "$fumora" 2>/dev/null
  "$WINE" reg delete 'HKCU\Software\Fumora' /f >/dev/null 2>&1
  wineserver -k 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

# A step without which the rest cannot run.
abort() {
  fail "$*"
  import -window root "$ARTEFACTS/first_run_failure.png" 2>/dev/null
  echo "$failures failure(s)"
  exit 1
}

wizard() { find_window '^ Fumora - First Run$'; }
message_box() { find_window '^Fumora$'; }
main_window() { find_window '^ Fumora v1\.05b$'; }

# `reg query` line of a value: "NAME TYPE DATA", or nothing.
stored() { "$WINE" reg query "$key" /v "$1" 2>/dev/null | tr -d '\r' | awk -v v="$1" '$1 == v { $1 = ""; print substr($0, 2) }'; }

type_text() { xdotool type --delay 60 "$1"; }
press() { xdotool key --delay 120 "$@"; }

# ---- a fresh profile: no settings at all ----
"$WINE" reg delete 'HKCU\Software\Fumora' /f >/dev/null 2>&1
if [ -n "$(stored FirstRun)" ]; then abort "settings still stored before the first run"; fi

started_day=$(date '+%Y %m %d')  # the wizard's date, unless midnight passes
(cd "$work" && exec "$WINE" Fumora.exe) >/dev/null 2>&1 &
fumora=$!
wait_for 60 shown wizard || abort "no first-run wizard within 60 s"
pass "first-run wizard shown"
shown main_window && fail "the main window opened before the wizard ended"
w=$(wizard)
xdotool windowfocus --sync "$w" 2>/dev/null
sleep 0.5
import -window root "$ARTEFACTS/first_run_wizard_empty.png" 2>/dev/null

# The name field has the focus. Enter and Escape do nothing.
type_text "E2E Tester"
press Return Escape
sleep 1
shown wizard && pass "Enter and Escape leave the wizard open" || abort "Enter or Escape ended the wizard"

# Per day (a letter typed there is swallowed), per pack, then Continue
# (Alt+C) with the price still empty: refused with its message.
press Tab
type_text "2x0"
press Tab
type_text "25"
press Tab
press alt+c
if wait_for 10 shown message_box; then
  pass "a missing price is reported in a box titled Fumora"
  sleep 0.3
  import -window root "$ARTEFACTS/first_run_wizard_message.png" 2>/dev/null
  xdotool windowfocus --sync "$(message_box)" 2>/dev/null
  press Return
  wait_for 10 gone message_box || abort "the message box did not close"
else
  abort "no message for the missing price"
fi
shown wizard || abort "the wizard closed after a failed check"
[ -z "$(stored FirstRun)" ] && pass "nothing stored after a failed check" || fail "settings stored after a failed check"

# Into the price field (template position 200, 104, 40 x 12).
w=$(wizard)
xdotool windowfocus --sync "$w" 2>/dev/null
click_in_dialog "$w" 220 110 254 174  # the 254 x 174 template
sleep 0.3
type_text "4.50"
sleep 0.3
import -window root "$ARTEFACTS/first_run_wizard_filled.png" 2>/dev/null
press alt+c
wait_for 20 gone wizard || abort "the wizard did not end on Continue"
pass "Continue ended the wizard"
wait_for 60 shown main_window || abort "no main window after the wizard"
pass "main window opened"

# ---- the stored values ----
expect_value() {
  local got
  got=$(stored "$1")
  if [ "$got" = "$2" ]; then pass "$1 = $2"; else fail "$1: expected '$2', found '$got'"; fi
}
expect_value QuitName "REG_SZ E2E Tester"
expect_value NumCigs "REG_DWORD 0x14"
expect_value NumPack "REG_DWORD 0x19"
expect_value Price "REG_DWORD 0x1c2"
expect_value FirstRun "REG_DWORD 0x1"
for name in QuitDate AppColors GenPrefs; do
  case $(stored "$name") in
    REG_BINARY*) pass "$name stored" ;;
    *) fail "$name not stored as binary" ;;
  esac
done
today=$(date '+%Y %m %d')
quit=$(stored QuitDate | awk '{ print $2 }')
# Year, month, day of week, day, hour, minute, second, milliseconds (LE 16-bit).
read -r qy qm qdow qd qh qmi qs qms < <(python3 -c "import struct,sys; print(*struct.unpack('<8H', bytes.fromhex(sys.argv[1])))" "$quit" 2>/dev/null)
quit_day="${qy:-} $(printf %02d "${qm:-0}") $(printf %02d "${qd:-0}")"
if { [ "$quit_day" = "$started_day" ] || [ "$quit_day" = "$today" ]; } && [ "${qs:-1}${qms:-1}${qdow:-1}" = "000" ]; then
  pass "QuitDate is today ($qh:$qmi) with no seconds"
else
  fail "QuitDate '$quit' is not today with zero seconds"
fi
for name in HKEnabled AppHKey LastPosX LastPosY; do
  [ -z "$(stored "$name")" ] && pass "$name not stored" || fail "$name stored by the first run"
done

# ---- the milestones view: the quit date (today) is the next milestone ----
m=$(main_window)
xdotool windowfocus --sync "$m" 2>/dev/null
sleep 0.5
import -window root "$ARTEFACTS/first_run_main_window.png" 2>/dev/null
before=$(pixels_of "$ARTEFACTS/first_run_main_window.png" '#000080')
press alt+v m  # View > Milestones
sleep 1
import -window root "$ARTEFACTS/milestones_view.png" 2>/dev/null
after=$(pixels_of "$ARTEFACTS/milestones_view.png" '#000080')
# The marked row is navy (anniversary background 0x800000).
if ((after > before + 500)); then
  pass "milestones view shows the marked row ($after navy pixels)"
else
  fail "no marked milestone row on screen ($before navy pixels before, $after after View > Milestones)"
fi

# ---- a second start skips the wizard ----
kill "$fumora" 2>/dev/null
wineserver -k 2>/dev/null
fumora=
(cd "$work" && exec "$WINE" Fumora.exe) >/dev/null 2>&1 &
fumora=$!
if wait_for 60 shown main_window; then
  gone wizard && pass "second start goes straight to the main window" || fail "wizard shown again"
else
  fail "no main window on the second start"
fi

echo "$failures failure(s)"
((failures == 0))
