#!/bin/bash
# Preferences end to end: Edit > Preferences by keyboard, the pages switched
# with Ctrl+Tab, a template typed with placeholder buttons pressed by their
# mnemonics, Apply clicked, and Copy Stats giving the new text. A screenshot
# of each page is kept. Needs TESTENV, FUMORA_EXE and ARTEFACTS (ctest).
. "$(dirname "$0")/lib.sh"

prefs_window() { find_window '^Fumora Preferences$'; }
press() { xdotool key --delay 120 "$@"; }
shot() { sleep 0.4; import -window root "$ARTEFACTS/$1" 2>/dev/null; }

quit_day=$(date -d '10 days ago' '+%Y %m %d')
seed "$quit_day 0 0" 'Days %D' 0 0
start_fumora || { fail "no main window within 60 s"; echo "$failures failure(s)"; exit 1; }

xdotool windowfocus --sync "$(main_window)" 2>/dev/null
press alt+e p
if wait_for 15 shown prefs_window; then
  pass "Edit > Preferences opened the dialog"
  dialog=$(prefs_window)
  xdotool windowfocus --sync "$dialog" 2>/dev/null
  shot prefs_general.png

  # The format page; Alt+Q (Quit Length) puts the caret in the editor. The
  # whole text is replaced, a typed "%" is discarded.
  press ctrl+Tab alt+q ctrl+a Delete
  xdotool type --delay 60 "Days "
  press alt+d
  xdotool type --delay 60 ", span "
  press alt+q
  xdotool type --delay 60 " (100%)"
  shot prefs_format.png

  # Apply (244, 226, 50 x 14 in the 300 x 246 template), then the colours page.
  click_in_dialog "$dialog" 269 233 300 246
  sleep 0.5
  press ctrl+Tab
  shot prefs_colours.png
  press Escape
  wait_for 10 gone prefs_window && pass "Escape closed the dialog" || fail "the dialog stayed open"
else
  fail "no Preferences dialog"
fi

copy_stats_with alt+e c
text=$(clipboard)
if [[ "$text" =~ ^Days\ 10,\ span\ 1W\ 3D\ [0-9]+h\ [0-9]+m\ \(100\)$ ]]; then
  pass "Copy Stats gives the new template: $text"
else
  fail "Copy Stats gave '$text'"
fi

echo "$failures failure(s)"
((failures == 0))
