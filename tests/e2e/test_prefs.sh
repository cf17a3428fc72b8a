#!/bin/bash
# Preferences end to end: Edit > Preferences by keyboard, the pages switched
# with Ctrl+Tab, a template typed with placeholder buttons pressed by their
# mnemonics, Apply clicked, and Copy Stats giving the new text; then the
# keys that move through the dialog, pressed on the format page, change
# nothing that OK stores. A screenshot
# of each page is kept. A RichEd20.dll planted beside Fumora.exe is never
# loaded, even where Wine prefers one beside the program as Windows does.
# Needs TESTENV, FUMORA_EXE, PLANTED_DLL and ARTEFACTS (ctest).
. "$(dirname "$0")/lib.sh"
: "${PLANTED_DLL:?}"
cp "$PLANTED_DLL" "$work/RichEd20.dll"
export WINEDLLOVERRIDES="$WINEDLLOVERRIDES;riched20=n,b"

press() { xdotool key --delay 120 "$@"; }

# A quit ten days and an hour ago: ten days for the next 23 hours, midnight or not.
seed "$(date -d '10 days ago 1 hour ago' '+%Y %m %d %H %M')" 'Days %D' 0 0
start_fumora || fail "no main window within 60 s"
xdotool windowfocus --sync "$(main_window)" 2>/dev/null
press alt+e p
if wait_for 15 has_window '^Fumora Preferences$'; then
  dialog=$(find_window '^Fumora Preferences$')
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
  wait_for 10 no_window '^Fumora Preferences$' && pass "Escape closed the dialog" || fail "the dialog stayed open"
else
  fail "no Preferences dialog"
fi

[ -e "$work/planted.txt" ] && fail "the RichEd20.dll beside Fumora.exe was loaded" ||
  pass "the rich edit came from the system folder"

copy_stats_with alt+e c
text=$(clipboard)
# Zero hours and minutes are left out of the span (at midnight, on the hour).
typed='^Days 10, span 1W 3D( [0-9]+h)?( [0-9]+m)? \(100\)$'
[[ "$text" =~ $typed ]] &&
  pass "Copy Stats gives the new template: $text" || fail "Copy Stats gave '$text'"

# Preferences opened on the format page (Right on the tabs), keys $2...
# pressed, OK clicked: the stored template must be as it was. $1 names the walk.
keys_keep_template() {
  local name=$1 before
  shift
  before=$(stored GenPrefs)
  xdotool windowfocus --sync "$(main_window)" 2>/dev/null
  press alt+e p
  wait_for 15 has_window '^Fumora Preferences$' || { fail "$name: no Preferences dialog"; return; }
  dialog=$(find_window '^Fumora Preferences$')
  xdotool windowfocus --sync "$dialog" 2>/dev/null
  press Right
  sleep 0.3
  "$@"
  click_in_dialog "$dialog" 159 233 300 246  # OK
  wait_for 10 no_window '^Fumora Preferences$' || { fail "$name: OK left the dialog open"; press Escape; return; }
  [ "$(stored GenPrefs)" = "$before" ] && pass "$name: the template is kept" ||
    fail "$name: GenPrefs changed to $(stored GenPrefs | cut -c 57-80)..."
}
# A click into the editor's text, then Tab and Shift+Tab there.
click_tab() { click_in_dialog "$dialog" 150 50 300 246 && press Tab shift+Tab shift+Tab Tab shift+Tab; }
keys_keep_template "Tab from a click into the editor" click_tab
# Round the dialog and back, Tab by Tab.
tab_round() { press Tab Tab Tab Tab Tab Tab Tab Tab Tab Tab Tab Tab Tab Tab shift+Tab shift+Tab shift+Tab shift+Tab; }
keys_keep_template "Tab through the dialog" tab_round
# Tab goes from the tabs into the page: Down there picks 6 mins of life.
prefs_keys() {
  xdotool windowfocus --sync "$(main_window)" 2>/dev/null
  press alt+e p
  wait_for 15 has_window '^Fumora Preferences$' || { fail "no Preferences dialog for $*"; return 1; }
  dialog=$(find_window '^Fumora Preferences$')
  xdotool windowfocus --sync "$dialog" 2>/dev/null
  press "$@"
  click_in_dialog "$dialog" 159 233 300 246  # OK
  wait_for 10 no_window '^Fumora Preferences$' || { fail "OK left the dialog open after $*"; press Escape; }
}
genprefs_hex() { stored GenPrefs | cut -c "$1"; }
prefs_keys Tab Down && [ "$(genprefs_hex 9-16)" = 06000000 ] && pass "Tab from the tabs leads into the page" ||
  fail "Tab, Down stored life minutes $(genprefs_hex 9-16)"
# Ctrl+PageDown twice and Ctrl+PageUp once: the format page, whose Alt+D inserts %D.
prefs_keys ctrl+Next ctrl+Next ctrl+Prior alt+d && [ "$(genprefs_hex 57-60)" = 2544 ] &&
  pass "Ctrl+PageDown and Ctrl+PageUp switch the tabs" || fail "template after Ctrl+PageDown: $(genprefs_hex 57-80)"
copy_stats_with alt+e c
[[ "$(clipboard)" =~ ^10Days\ 10,\ span ]] && pass "Copy Stats gives the template with its %D" || fail "Copy Stats gave '$(clipboard)'"

echo "$failures failure(s)"
((failures == 0))
