#!/bin/bash
# The Windows Installer package made from this build (scripts/package), as a
# user meets it, under this build's Wine: an older package installed (files,
# shortcut, Programs and Features); Fumora started from the install folder
# (the first-run wizard, then the main window; with the folder unwritable, a
# new buddy lands in %APPDATA%\Fumora); this build's package installed over it
# (the older product gone, its program replaced; the settings and both data
# files kept); then removed (program, shortcut and start-with-Windows value
# gone, the user's data kept).
# Needs TESTENV, FUMORA_EXE and ARTEFACTS (ctest).
. "$(dirname "$0")/../e2e/lib.sh"
. "$(dirname "$0")/lib.sh"

# ---- the packages: this build's, and an older one ----
# The older one holds the same program with other bytes (its DOS stub's text)
# but the same file version, which the upgrade must replace all the same.
mkdir -p "$work/old"
python3 -c 'import sys; data = open(sys.argv[1], "rb").read(); assert b"DOS mode" in data
open(sys.argv[2], "wb").write(data.replace(b"DOS mode", b"dos mode", 1))' "$FUMORA_EXE" "$work/old/Fumora.exe"
old_msi=$("$top/scripts/package" msi "$work/old/Fumora.exe" "$work/packages" --version 0.01 0.1.0) || abort "no older package"
new_msi=$("$top/scripts/package" msi "$FUMORA_EXE" "$work/packages") || abort "no package of this build"
old_code=$(product_code "$old_msi")
new_code=$(product_code "$new_msi")
read -r version numbers < <(sed -n 's/^#define FUMORA_\(VERSION\|PRODUCT_VERSION\) "\(.*\)"$/\2/p' \
  "$(dirname "$FUMORA_EXE")/generated/version.h" | paste -sd ' ')
suffix=""
[ "$arch" = x64 ] && suffix=" (64-bit)"

exe_win="$installdir_win\\Fumora.exe"
run_value=$exe_win  # as Fumora writes it: quoted only when the path holds a space
[[ $run_value == *" "* ]] && run_value="\"$run_value\""

remove_leftovers "$old_msi" "$new_msi"
uninstall_at_exit=("$old_msi" "$new_msi")

# ---- the older package ----
msiexec_quiet /i "$old_msi" || abort "msiexec /i of the older package failed"
export_registry installed
[ -f "$installdir/Fumora.exe" ] && cmp -s "$installdir/Fumora.exe" "$work/old/Fumora.exe" &&
  pass "Fumora.exe in $installdir_win" || fail "no Fumora.exe (the older package's) in $installdir"
expect_shortcut installed
expect_entry installed "$old_code" "Fumora 0.01$suffix" 0.1.0

# ---- started from the install folder, unwritable: the wizard, the main window, data in %APPDATA% ----
chmod a-w "$installdir"
[ "$(id -u)" = 0 ] && chattr +i "$installdir" 2>/dev/null  # root writes past the mode bits
touch "$installdir/probe" 2>/dev/null && abort "the install folder cannot be made unwritable here"
rm -rf "$appdata/Fumora"
"$WINE" reg delete "$key" /f >/dev/null 2>&1
launch "$installdir"
wait_for 90 has_window '^ Fumora - First Run$' && pass "first start: the first-run wizard" || fail "no first-run wizard"
shot install_first_run.png
kill "$fumora" 2>/dev/null
wait "$fumora" 2>/dev/null
seed "2020 01 01 0 0" "%D days" 0 0
start_fumora "$installdir" && pass "once set up: the main window" || abort "no main window from the install folder"
add_buddy
wait_for 20 cmp -s "$appdata/Fumora/anny.dat" "$work/buddy.dat" &&
  pass "unwritable install folder: anny.dat in %APPDATA%\\Fumora" || fail "no anny.dat with the new buddy in $appdata/Fumora"
[ "$(ls -A "$installdir")" = Fumora.exe ] && pass "nothing written beside the installed Fumora.exe" ||
  fail "beside the installed Fumora.exe: $(ls -A "$installdir")"
kill "$fumora" 2>/dev/null
wait "$fumora" 2>/dev/null
chattr -i "$installdir" 2>/dev/null
chmod u+w "$installdir"

# ---- this build's package over it, with data beside the program ----
mv "$appdata/Fumora/anny.dat" "$installdir/"
rmdir "$appdata/Fumora"
printf '\xe2\x84\x25\x00\x8a\x02\x00\x00' >"$installdir/pp.dat"  # 1 January 2020 at 6.50
cp "$installdir/pp.dat" "$installdir/anny.dat" "$work/"
export_registry before
msiexec_quiet /i "$new_msi" && pass "msiexec /i of this build's package over the older one" ||
  abort "msiexec /i of this build's package failed"
export_registry upgraded
cmp -s "$installdir/Fumora.exe" "$FUMORA_EXE" && pass "upgrade: Fumora.exe replaced by this build's" ||
  fail "upgrade: the installed Fumora.exe is not this build's"
expect_shortcut upgraded
expect_entry upgraded "$new_code" "Fumora $version$suffix" "$numbers"
! entry upgraded "$old_code" >/dev/null && pass "upgrade: the older product is gone" ||
  fail "upgrade: the older product is still in Programs and Features"
same_key before upgraded "$settings_key" && pass "upgrade: the settings kept" || fail "upgrade: the settings changed"
for file in pp.dat anny.dat; do
  cmp -s "$installdir/$file" "$work/$file" && pass "upgrade: $file kept" || fail "upgrade: $file changed or gone"
done
start_fumora "$installdir" && pass "upgraded: straight to the main window" || fail "upgraded: no main window"
no_window '^ Fumora - First Run$' || fail "upgraded: the first-run wizard came up"
no_window '^Fumora$' && pass "upgraded: the data files read without complaint" || fail "upgraded: a message box"
shot install_upgraded.png
kill "$fumora" 2>/dev/null
wait "$fumora" 2>/dev/null

# ---- removed, with start with Windows on ----
# (Set only now: Wine's RemoveExistingProducts removes the older product as a
# plain uninstall, without the UPGRADINGPRODUCTCODE that Windows sets, so under
# Wine an upgrade takes the value away too.)
"$WINE" reg add "HKCU\\$run_key" /v Fumora /d "$run_value" /f >/dev/null
"$WINE" reg add "HKCU\\$run_key" /v FumoraTestNeighbour /d 'C:\elsewhere\other.exe' /f >/dev/null
export_registry before_removal
[ "$(value before_removal "HKEY_CURRENT_USER\\$run_key" Fumora)" = "$run_value" ] || abort "the start-with-Windows value was not set"
msiexec_quiet /x "$new_msi" && pass "msiexec /x" || fail "msiexec /x failed"
uninstall_at_exit=()
export_registry removed
[ "$(ls -A "$installdir" | paste -sd ' ')" = "anny.dat pp.dat" ] && pass "removed: the program; the data files left" ||
  fail "removed: the install folder holds $(ls -A "$installdir")"
[ ! -e "$shortcut" ] && pass "removed: the Start-menu shortcut" || fail "removed: the shortcut is still there"
! entry removed "$new_code" >/dev/null && pass "removed: the Programs and Features entry" ||
  fail "removed: still in Programs and Features"
value removed "HKEY_CURRENT_USER\\$run_key" Fumora >/dev/null && fail "removed: the start-with-Windows value is left" ||
  pass "removed: the start-with-Windows value"
[ "$(value removed "HKEY_CURRENT_USER\\$run_key" FumoraTestNeighbour)" = 'C:\elsewhere\other.exe' ] &&
  pass "removed: the other programs' start-with-Windows values kept" || fail "removed: another program's Run value went too"
same_key before removed "$settings_key" && pass "removed: the settings kept" || fail "removed: the settings changed"
for file in pp.dat anny.dat; do
  cmp -s "$installdir/$file" "$work/$file" && pass "removed: $file kept" || fail "removed: $file changed or gone"
done

echo "$failures failure(s)"
((failures == 0))
