#!/bin/bash
# The portable zip made from this build (scripts/package), as a user meets it
# under this build's Wine: unpacked into a folder, it holds Fumora.exe and a
# README.txt for Windows' Notepad; started there with settings stored, a new
# buddy lands in anny.dat beside Fumora.exe, not in %APPDATA%\Fumora; with
# the settings gone (another PC), the wizard asks again.
# Needs TESTENV, FUMORA_EXE and ARTEFACTS (ctest).
. "$(dirname "$0")/../e2e/lib.sh"
. "$(dirname "$0")/lib.sh"

zip=$("$top/scripts/package" zip "$FUMORA_EXE" "$work/dist") || abort "no zip of this build"
version=$(sed -n 's/^#define FUMORA_VERSION "\(.*\)"$/\1/p' "$(dirname "$FUMORA_EXE")/generated/version.h")
[ "$(basename "$zip")" = "Fumora-$version-$arch.zip" ] && pass "named $(basename "$zip")" ||
  fail "named $(basename "$zip")"
folder="$work/USB stick/Fumora"
mkdir -p "$folder"
members=$(inspect unpack "$zip" "$folder" | paste -sd ' ')
[ "$members" = "Fumora.exe README.txt" ] && pass "holds Fumora.exe and README.txt" || fail "holds: $members"
cmp -s "$folder/Fumora.exe" "$FUMORA_EXE" && pass "this build's Fumora.exe" || fail "not this build's Fumora.exe"
if head -1 "$folder/README.txt" | grep -q "^Fumora $version, .*"$'\r'"$" && ! grep -q $'[^\r]$' "$folder/README.txt"; then
  pass "README.txt names the version, with Windows line ends"
else
  fail "README.txt: $(head -1 "$folder/README.txt" | od -c | head -2)"
fi

remove_leftovers
seed "2020 01 01 0 0" "%D days" 0 0
start_fumora "$folder" && pass "started from the unpacked folder" || abort "no main window from the unpacked folder"
add_buddy
wait_for 20 cmp -s "$folder/anny.dat" "$work/buddy.dat" && pass "anny.dat beside Fumora.exe" ||
  fail "no anny.dat with the new buddy beside Fumora.exe"
[ ! -e "$appdata/Fumora" ] && pass "nothing in %APPDATA%\\Fumora" || fail "in %APPDATA%\\Fumora: $(ls -A "$appdata/Fumora")"
kill "$fumora" 2>/dev/null
wait "$fumora" 2>/dev/null

# The copy on another PC: its data files with it, the registry not.
"$WINE" reg delete "$key" /f >/dev/null 2>&1
launch "$folder"
wait_for 90 has_window '^ Fumora - First Run$' && pass "with no settings, the first-run wizard asks again" ||
  fail "no first-run wizard without settings"
cmp -s "$folder/anny.dat" "$work/buddy.dat" && pass "anny.dat still beside it" || fail "anny.dat changed"

echo "$failures failure(s)"
((failures == 0))
