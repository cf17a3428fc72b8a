#!/bin/bash
# Time from a hotkey press (xdotool) to the last character of a 511-character
# stats text arriving in another program's edit box (type_target.exe), under
# Wine, for the i686 build (32-bit Wine) and the x86_64 one, each typing into
# a target built for its own architecture. Prints the figures of each run and
# their median; never fails on them.
#
#   bench/win/hotkey_typing.sh            uses build/win32 and build/win64
#   WIN64_DIR=... WIN32_DIR=... ARCHS=i686 RUNS=9 bench/win/hotkey_typing.sh
set -u
root=$(cd "$(dirname "$0")/../.." && pwd)
runs=${RUNS:-9}

# One build: $1 the architecture, $2 its build directory, $3 its Wine (win32
# or win64). Run in a subshell: the end-to-end library sets its own traps.
measure() (
  local arch=$1 dir=$2
  export TESTENV=$dir/bench-env FUMORA_EXE=$dir/Fumora.exe
  for f in "$FUMORA_EXE" "$dir/type_target.exe"; do
    [ -f "$f" ] || { echo "$arch: missing $f (build its preset first)"; exit 1; }
  done
  "$root/scripts/test-env" start "$TESTENV" "$3" >/dev/null || exit 1
  . "$root/tests/e2e/lib.sh"
  trap 'cleanup; "$root/scripts/test-env" stop "$TESTENV"' EXIT
  cp "$dir/type_target.exe" "$work/"
  echo "== $arch ($3 prefix)"

  # Plain text, capitals, digits, punctuation that Wine's US layout has no key
  # for (brackets), a pound sign and line breaks: 511 characters, no placeholder.
  template=$(python3 -c '
  line = "Day 12 (of many): I SAVED \u00a3 3.50 today, and I am not smoking again! Quit = freedom.\r\n"
  print((line * 8)[:511], end="")')
  [ ${#template} = 511 ] || { echo "template of ${#template} characters"; exit 1; }
  seed "2024 01 15 10 0" "$template" 0 0 '"HKEnabled"=dword:00000001' '"AppHKey"=dword:00000751'
  start_fumora || { echo "no main window"; exit 1; }
  (cd "$work" && exec "$WINE" type_target.exe typed.txt) >/dev/null 2>&1 &
  pids+=("$!")
  target() { xdotool search --onlyvisible --name '^Fumora typing target$' | head -1; }
  wait_for 30 bash -c "[ -n \"\$(xdotool search --onlyvisible --name '^Fumora typing target\$')\" ]" || exit 1
  xdotool windowactivate --sync "$(target)" 2>/dev/null

  # Whether the edit box holds $1 characters (the file's head line aside).
  holds() { [ "$(tail -n +2 "$work/typed.txt" 2>/dev/null | wc -c)" = "$1" ]; }
  results=()
  for run in $(seq "$runs"); do
    pressed=$(date +%s%3N)
    xdotool key ctrl+alt+shift+q
    if ! wait_for 30 holds $((run * 511)); then
      echo "run $run: the text did not arrive whole"
      exit 1
    fi
    arrived=$(head -c 13 "$work/typed.txt")
    results+=($((arrived - pressed)))
    echo "run $run: $((arrived - pressed)) ms"
    sleep 0.3
  done
  sorted=($(printf '%s\n' "${results[@]}" | sort -n))
  echo "$arch: hotkey press to last of 511 characters: median ${sorted[$((runs / 2))]} ms" \
    "(min ${sorted[0]}, max ${sorted[$((runs - 1))]}, $runs runs)"
)

for a in ${ARCHS:-i686 x86_64}; do
  case $a in
  i686) measure i686 "${WIN32_DIR:-$root/build/win32}" win32 ;;
  x86_64) measure x86_64 "${WIN64_DIR:-$root/build/win64}" win64 ;;
  esac
done
