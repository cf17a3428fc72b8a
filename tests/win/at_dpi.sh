#!/bin/bash
# at_dpi.sh TESTENV DPI [SHOTS_DIR] -- program.exe [args]: runs a Windows
# program of the test environment with the prefix's display DPI (LogPixels)
# set to DPI, and sets 96 again afterwards whatever happens, so that the tests
# after it run at 96. With SHOTS_DIR, a NAME.ready file that the program
# writes there (holding "x y width height") is answered with NAME.png, a
# screenshot of that area, and removed.
set -u
export PATH=/usr/lib/wine:$PATH
env_dir=$1 dpi=$2 shots=
shift 2
if [ "$1" != -- ]; then shots=$1; shift; fi
shift
. "$env_dir/env"
export LC_ALL=${LC_ALL:-en_US.UTF-8}

# Sets LogPixels and makes sure the prefix holds it: under load a "reg add"
# started at once after "wineserver -k" reached the server that was going
# away, and a whole suite then ran at 96.
set_dpi() {
  local want
  want=$(printf '%08x' "$1")
  for _ in 1 2 3; do
    wineserver -k 2>/dev/null
    wineserver -w 2>/dev/null
    "$WINE" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1
    # A new server reads the value; the next program starts it.
    wineserver -k 2>/dev/null
    wineserver -w 2>/dev/null
    awk -v want="\"logpixels\"=dword:$want" '
      /^\[/ { desktop = ($0 ~ /^\[Control Panel\\\\Desktop\]/) }
      desktop && tolower($0) == want { found = 1 }
      END { exit !found }' "$WINEPREFIX/user.reg" && return 0
  done
  echo "at_dpi.sh: the prefix's LogPixels did not become $1" >&2
  return 1
}
# Marks the prefix as not at 96 until restored: scripts/test-env sets 96
# again when a killed run left it so.
touch "$env_dir/dpi-changed"
trap 'set_dpi 96 && rm -f "$env_dir/dpi-changed"' EXIT
trap 'exit 1' INT TERM
set_dpi "$dpi" || exit 1

if [ -n "$shots" ]; then
  rm -rf "$shots"
  mkdir -p "$shots"
  export FUMORA_SHOTS="Z:$(realpath "$shots")"
  (
    while sleep 0.2; do
      for ready in "$shots"/*.ready; do
        [ -e "$ready" ] || continue
        read -r x y w h <"$ready"
        sleep 0.3  # what was drawn last reaches the screen
        import -window root -crop "${w}x${h}+${x}+${y}" +repage "${ready%.ready}.png" 2>/dev/null
        rm -f "$ready"
      done
    done
  ) &
  watcher=$!
  trap 'kill $watcher 2>/dev/null; set_dpi 96 && rm -f "$env_dir/dpi-changed"' EXIT
fi

FUMORA_TEST_DPI=$dpi "$WINE" "$@"
