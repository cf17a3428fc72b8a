#!/bin/bash
# kill_while_saving.sh [TRIALS]: kills a program that saves the data files
# over and over with the program's own save routine (save_stress.exe), at a
# random moment, TRIALS times per file (100 unless told). After every kill
# the program's own loader must read back one of the two lists it was
# saving, whole. Prints the trials, how many kills left a half-written
# temporary file behind, and the outcome; fails on any damaged file.
# Not part of the test run; builds the win64 preset's save_stress first.
set -u
root=$(cd "$(dirname "$0")/../.." && pwd)
trials=${1:-100}
cd "$root"
cmake --preset win64 >/dev/null && cmake --build --preset win64 --target save_stress >/dev/null || exit 1

env_dir=$root/build/win64/stress-env
work=$(mktemp -d)
cleanup() {
  [ -n "${saver:-}" ] && kill -9 "$saver" 2>/dev/null
  "$root/scripts/test-env" stop "$env_dir"
  rm -rf "$work"
}
trap cleanup EXIT
"$root/scripts/test-env" start "$env_dir" >/dev/null || exit 1
. "$env_dir/env"
export PATH=/usr/lib/wine:$PATH
cp "$root/build/win64/save_stress.exe" "$work/"
stress() { (cd "$work" && exec "$WINE" save_stress.exe "$@" .) >"$work/out.txt" 2>/dev/null; }

failed=0
for file in pp.dat anny.dat; do
  rm -f "$work/$file" "$work/$file.tmp"
  stress init "$file" || { echo "$file: the first list could not be written"; failed=1; continue; }
  first=0 second=0 damaged=0 midway=0
  for trial in $(seq "$trials"); do
    rm -f "$work/$file.saving"
    (cd "$work" && exec "$WINE" save_stress.exe save "$file" .) >/dev/null 2>&1 &
    saver=$!
    for _ in $(seq 1000); do [ -e "$work/$file.saving" ] && break; sleep 0.01; done
    # A random moment within the next quarter second of saving.
    sleep "0.$(printf '%03d' $((RANDOM % 250)))"
    kill -9 "$saver"
    wait "$saver" 2>/dev/null
    saver=
    [ -e "$work/$file.tmp" ] && midway=$((midway + 1))
    stress check "$file"
    case $? in
      0) first=$((first + 1)) ;;
      1) second=$((second + 1)) ;;
      *)
        damaged=$((damaged + 1))
        cp "$work/$file" "$root/build/win64/damaged-$trial-$file" 2>/dev/null
        echo "trial $trial: $file holds neither list ($(tr -d '\r' <"$work/out.txt"))"
        ;;
    esac
  done
  echo "$file: $trials kills while saving ($midway of them with a temporary file half-way);" \
    "after each the loader read the first list $first times, the second $second times, damaged $damaged"
  ((damaged == 0)) || failed=1
done
exit $failed
