# Shared by the install walks (sourced after tests/e2e/lib.sh): where a
# per-user install lands, msiexec, the registry as exported by reg.exe (one
# Wine process per look: under the emulated 32-bit Wine each start costs
# seconds), and what the walks leave behind removed again.
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
inspect() { python3 "$top/tests/install/inspect.py" "$@"; }
# No menu entries on the Linux desktop for the shortcuts made here.
export WINEDLLOVERRIDES="$WINEDLLOVERRIDES;winemenubuilder.exe=d"
# Wine's own processes stay up between the walk's commands.
wineserver -p

# A step without which the rest cannot run.
abort() {
  fail "$*"
  shot "install_failure_$(basename "$0" .sh).png"
  echo "$failures failure(s)"
  exit 1
}

# The package's architecture: that of the build under test (the prefix may
# be a 64-bit one for the i686 build too, as on 64-bit Windows).
arch=$(inspect arch "$FUMORA_EXE")

# The folders of a per-user install, as README.md names them.
# (Into a file: the first Wine command's output may stay open in the desktop
# processes it starts.)
"$WINE" cmd /c 'echo %LOCALAPPDATA% %APPDATA%' >"$work/folders.txt" 2>/dev/null
read -r localappdata_win appdata_win < <(tr -d '\r' <"$work/folders.txt")
unix_path() { local path=${1//\\//}; echo "$WINEPREFIX/drive_c/${path#[Cc]:/}"; }
[ -n "$appdata_win" ] || abort "no %LOCALAPPDATA% and %APPDATA% from Wine"
installdir_win="$localappdata_win\\Programs\\Fumora"
installdir=$(unix_path "$installdir_win")
appdata=$(unix_path "$appdata_win")
shortcut="$appdata/Microsoft/Windows/Start Menu/Programs/Fumora.lnk"
run_key='Software\Microsoft\Windows\CurrentVersion\Run'
settings_key="HKEY_CURRENT_USER\\Software\\Fumora\\Details"
# Programs and Features: a 32-bit package's entry in a 64-bit prefix is in
# the 32-bit view.
uninstall_keys=('HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\Uninstall'
  'HKEY_LOCAL_MACHINE\Software\Wow6432Node\Microsoft\Windows\CurrentVersion\Uninstall')

product_code() { msiinfo export "$1" Property | tr -d '\r' | awk '$1 == "ProductCode" { print $2 }'; }

# msiexec $1 (/i or /x) of package $2, quietly, its log in the artefacts.
msiexec_quiet() {
  local log
  log="$ARTEFACTS/msiexec_${1#/}_$(basename "$2" .msi).log"
  "$WINE" msiexec "$1" "Z:${2//\//\\}" /qn /l*v "Z:${log//\//\\}" >/dev/null 2>&1
}

# The user's software settings and the installed products, as they are now,
# saved under the name $1 for the look-ups below.
export_registry() {
  rm -f "$work/$1".*.reg
  "$WINE" reg export 'HKCU\Software' "Z:${work//\//\\}\\$1.user.reg" /y >/dev/null 2>&1
  local view
  for view in 0 1; do
    "$WINE" reg export "${uninstall_keys[view]}" "Z:${work//\//\\}\\$1.products$view.reg" /y >/dev/null 2>&1
  done
  cat "$work/$1".products?.reg >"$work/$1.products.reg" 2>/dev/null
}
# Value $3 of key $2 in export $1 (REG_SZ as text); fails when it is not there.
value() {
  local file=$work/$1.user.reg
  [[ $2 == HKEY_LOCAL_MACHINE* ]] && file=$work/$1.products.reg
  [ -f "$file" ] && inspect value "$file" "$2" "$3"
}
# The key of product $2's entry in Programs and Features in export $1; fails
# when it has none.
entry() {
  local key
  for key in "${uninstall_keys[@]}"; do
    key="$key\\$2"
    inspect key "$work/$1.products.reg" "$key" >/dev/null 2>&1 && echo "$key" && return 0
  done
  return 1
}
# Whether key $3 holds the same values in exports $1 and $2 (and is there).
same_key() {
  local a b
  a=$(inspect key "$work/$1.user.reg" "$3") && b=$(inspect key "$work/$2.user.reg" "$3") && [ -n "$a" ] && [ "$a" = "$b" ]
}

# The Start-menu shortcut starts the installed Fumora.exe in its folder, with
# the program's icon as Windows Installer keeps it for the product ($1 the export).
expect_shortcut() {
  local target folder icon
  if [ ! -f "$shortcut" ]; then
    fail "$1: no Start-menu shortcut $shortcut"
    return
  fi
  { read -r target; read -r folder; read -r icon; } < <(inspect shortcut "$shortcut")
  [ "$target" = "$installdir_win\\Fumora.exe" ] && pass "$1: the shortcut starts $target" ||
    fail "$1: the shortcut starts '$target'"
  [ "${folder%\\}" = "$installdir_win" ] && pass "$1: in the install folder" || fail "$1: the shortcut starts in '$folder'"
  shortcut_icon=$icon
}

# Programs and Features has product $2 as $3, version $4, with the program's
# icon (the one the shortcut shows); $1 the export.
expect_entry() {
  local entry icon
  entry=$(entry "$1" "$2") || { fail "$1: product $2 is not in Programs and Features"; return; }
  [ "$(value "$1" "$entry" DisplayName)" = "$3" ] && pass "$1: Programs and Features lists '$3'" ||
    fail "$1: Programs and Features name '$(value "$1" "$entry" DisplayName)', expected '$3'"
  [ "$(value "$1" "$entry" DisplayVersion)" = "$4" ] && pass "$1: version $4" ||
    fail "$1: version '$(value "$1" "$entry" DisplayVersion)', expected $4"
  [ "$(value "$1" "$entry" Publisher)" = "The Fumora developers" ] && pass "$1: publisher" ||
    fail "$1: publisher '$(value "$1" "$entry" Publisher)'"
  icon=$(value "$1" "HKEY_CURRENT_USER\\Software\\Microsoft\\Installer\\Products\\$(inspect squished "$2")" ProductIcon)
  if [ -n "$icon" ] && python3 -c 'import sys; sys.exit(open(sys.argv[1], "rb").read() not in open(sys.argv[2], "rb").read())' \
    "$top/res/icons/fumora_32.dib" "$(unix_path "$icon")" 2>/dev/null; then
    pass "$1: the product's icon is the program's"
  else
    fail "$1: the product's icon '$icon' is not the program's"
  fi
  [ "${shortcut_icon:-}" = "$icon" ] && pass "$1: the shortcut shows it" || fail "$1: the shortcut's icon is '${shortcut_icon:-}'"
}

# Adds the buddy "Cy Keys" (5 March 2002) in the running Fumora's Buddies
# view, by keyboard; anny.dat then holds what buddy.dat holds.
printf '20020305Cy Keys\x1e\x1c' >"$work/buddy.dat"
add_buddy() {
  xdotool windowfocus --sync "$(main_window)" 2>/dev/null
  xdotool key --delay 150 alt+v b alt+n
  if ! wait_for 30 has_window '^Add New Buddy$'; then
    fail "no Add New Buddy dialog from Alt+N in the Buddies view"
    return
  fi
  xdotool windowfocus --sync "$(find_window '^Add New Buddy$')" 2>/dev/null
  xdotool type --delay 60 "Cy Keys"
  # The picker (Wine selects its first field on the first Right): month, day, year.
  xdotool key --delay 120 Tab Right 0 3 Right 0 5 Right 2 0 0 2 Return
  wait_for 30 no_window '^Add New Buddy$' || fail "the Add New Buddy dialog stayed open"
}

# What an earlier walk, stopped half-way, may have left: the products of
# packages $@ and the files and registry values the walks make.
remove_leftovers() {
  local msi
  if [ $# -gt 0 ]; then
    export_registry leftovers
    for msi in "$@"; do
      entry leftovers "$(product_code "$msi")" >/dev/null && msiexec_quiet /x "$msi"
    done
  fi
  chattr -i "$installdir" 2>/dev/null
  chmod -R u+w "$installdir" 2>/dev/null
  rm -rf "$installdir" "$appdata/Fumora" "$shortcut"
  printf 'REGEDIT4\n\n[-HKEY_CURRENT_USER\\Software\\Fumora]\n\n[HKEY_CURRENT_USER\\%s]\n"Fumora"=-\n"FumoraTestNeighbour"=-\n' \
    "$run_key" >"$work/leftovers.reg"
  "$WINE" regedit /S "$work/leftovers.reg"
}
fumora=
uninstall_at_exit=()
install_cleanup() {
  [ -n "$fumora" ] && kill "$fumora" 2>/dev/null
  remove_leftovers "${uninstall_at_exit[@]}"
  cleanup
}
trap install_cleanup EXIT
# Packages that the walk installed, removed again if it stops early.
