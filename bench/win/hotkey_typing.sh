#!/bin/bash
# Time from a hotkey press (xdotool) to the last character of a 511-character
# text arriving in another program's edit box (type_target.exe), under Wine,
# for the i686 build (32-bit Wine) and the x86_64 one, each typing into a
# target built for its own architecture: Fumora typing its stats text against
# the bare typer (bare_typer.exe: the same hotkey, the same text, one
# SendInput per character, nothing else). The two take turns in rounds, so
# that both meet the same load. Prints every run, the medians and their
# ratio (target: Fumora within 1.2x of the bare typer); never fails on them.
#
#   bench/win/hotkey_typing.sh            uses build/win32 and build/win64
#   WIN64_DIR=... WIN32_DIR=... ARCHS=i686 ROUNDS=3 RUNS=3 bench/win/hotkey_typing.sh
#                                         RUNS presses of each program per round
#   TESTENV=build/win64/testenv ARCHS=x86_64 bench/win/hotkey_typing.sh
#                                         in that test environment, left running
#   SMOKE=1 ...                           one press of each, of the first 100
#                                         characters, no figures: that it runs
set -u
root=$(cd "$(dirname "$0")/../.." && pwd)
smoke=${SMOKE:-}
rounds=${ROUNDS:-3} runs=${RUNS:-3} length=511
[ -n "$smoke" ] && rounds=1 runs=1 length=100

# One build: $1 the architecture, $2 its build directory, $3 its Wine (win32
# or win64). Run in a subshell: the end-to-end library sets its own traps.
measure() (
  local arch=$1 dir=$2 own_env=
  if [ -z "${TESTENV:-}" ]; then
    export TESTENV=$dir/bench-env
    own_env=1
  fi
  export FUMORA_EXE=$dir/Fumora.exe ARTEFACTS=${ARTEFACTS:-$dir/artefacts}
  for f in "$FUMORA_EXE" "$dir/type_target.exe" "$dir/bare_typer.exe"; do
    [ -f "$f" ] || { echo "$arch: missing $f (build its preset first)"; exit 1; }
  done
  "$root/scripts/test-env" start "$TESTENV" "$3" >/dev/null || exit 1
  . "$root/tests/e2e/lib.sh"
  trap 'cleanup; [ -z "$own_env" ] || "$root/scripts/test-env" stop "$TESTENV"' EXIT
  cp "$dir/type_target.exe" "$dir/bare_typer.exe" "$work/"
  local how=
  [ "$3" = win32 ] && [ "$("$root/scripts/wine32" --how)" = qemu ] &&
    how=", emulated under qemu: not the figures of a 32-bit machine"
  echo "== $arch ($3 prefix$how${smoke:+; smoke run: one press each, no figures}); $(uptime | sed 's/.*load/load/')"

  # Plain text, capitals, digits, punctuation, a pound sign (no key on Wine's
  # US layout: Unicode input) and line breaks: 511 characters (the first 100
  # in a smoke run), no placeholder.
  template=$(python3 -c '
import sys
line = "Day 12 (of many): I SAVED \u00a3 3.50 today, and I am not smoking again! Quit = freedom.\r\n"
print((line * 8)[:int(sys.argv[1])], end="")' $length)
  [ ${#template} = $length ] || { echo "template of ${#template} characters"; exit 1; }
  # As the target holds it: one Latin-1 byte a character, the test locale's code page.
  printf '%s' "$template" | iconv -f UTF-8 -t LATIN1 >"$work/text.txt"
  seed "2024 01 15 10 0" "$template" 0 0 HKEnabled=dword:1 AppHKey=dword:751

  target_window() { find_window '^Fumora typing target$'; }
  focused() { [ "$(xdotool getwindowfocus 2>/dev/null)" = "$("$1")" ]; }
  # Whether the target's edit box holds the text $1 times (its file's head line aside).
  holds() { cmp -s <(tail -n +2 "$work/typed.txt") <(for ((i = 0; i < $1; i++)); do cat "$work/text.txt"; done); }
  typed=0

  # RUNS presses of the hotkey; each run's milliseconds go to the array $1.
  presses() {
    local -n times=$1
    local run pressed arrived
    xdotool windowactivate --sync "$(target_window)" 2>/dev/null
    wait_for 10 focused target_window || { echo "the target did not get the keyboard"; return 1; }
    for ((run = 0; run < runs; run++)); do
      pressed=$(date +%s%3N)
      xdotool key ctrl+alt+shift+q
      typed=$((typed + 1))
      if ! wait_for 60 holds $typed; then
        echo "${1%_times} press $((run + 1)): the text did not arrive whole; the target holds $(tail -n +2 "$work/typed.txt" 2>/dev/null | wc -c) bytes (of $((typed * length)))"
        shot hotkey_typing_failed.png
        return 1
      fi
      arrived=$(head -c 13 "$work/typed.txt")
      times+=($((arrived - pressed)))
      sleep 0.3
    done
  }

  local fumora_times=() bare_times=() round
  for ((round = 1; round <= rounds; round++)); do
    # Fumora takes the keyboard a moment after its window shows: the target
    # is activated only after that, or Fumora would take it back.
    start_fumora || { echo "no main window"; exit 1; }
    wait_for 10 focused main_window || { echo "Fumora did not take the keyboard as it started"; exit 1; }
    if ! shown target_window; then
      (cd "$work" && exec "$WINE" type_target.exe typed.txt) >/dev/null 2>&1 &
      pids+=("$!")
      wait_for 30 shown target_window || { echo "no target window"; exit 1; }
    fi
    presses fumora_times || exit 1
    kill "$fumora"
    wait "$fumora" 2>/dev/null
    wait_for 10 bash -c '! xdotool search --onlyvisible --name "^ Fumora v1\\.05b\$"' || { echo "Fumora did not end"; exit 1; }

    # The bare typer writes `ready` once it holds the hotkey.
    rm -f "$work/ready"
    (cd "$work" && exec "$WINE" bare_typer.exe text.txt) >/dev/null 2>&1 &
    local bare=$!
    pids+=("$bare")
    wait_for 30 test -f "$work/ready" || { echo "the bare typer did not take the hotkey"; exit 1; }
    presses bare_times || exit 1
    kill "$bare"
    wait "$bare" 2>/dev/null
    [ -n "$smoke" ] || echo "round $round: Fumora ${fumora_times[*]: -runs} ms, bare typer ${bare_times[*]: -runs} ms"
  done
  if [ -n "$smoke" ]; then
    echo "Fumora and the bare typer each typed the text whole"
    exit 0
  fi

  median() { printf '%s\n' "$@" | sort -n | awk '{ a[NR] = $1 } END { print a[int((NR + 1) / 2)] }'; }
  local f b
  f=$(median "${fumora_times[@]}")
  b=$(median "${bare_times[@]}")
  awk -v arch="$arch" -v f="$f" -v b="$b" -v n=$((rounds * runs)) 'BEGIN {
    printf "%s: hotkey press to last of 511 characters, median of %d: Fumora %d ms, bare typer %d ms, ratio %.2fx (target <= 1.2x)\n",
      arch, n, f, b, f / b }'
  echo "  load after: $(uptime | sed 's/.*load/load/')"
)

status=0
for a in ${ARCHS:-i686 x86_64}; do
  case $a in
  i686) measure i686 "${WIN32_DIR:-$root/build/win32}" win32 || status=1 ;;
  x86_64) measure x86_64 "${WIN64_DIR:-$root/build/win64}" win64 || status=1 ;;
  esac
done
exit $status
