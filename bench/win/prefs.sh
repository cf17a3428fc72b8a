#!/bin/bash
# The preferences dialog's opening and keystroke costs under Wine (figures
# printed by prefs_bench.exe; never fails on them). Uses build/win64.
set -u
root=$(cd "$(dirname "$0")/../.." && pwd)
env_dir=${BENCH_ENV:-$root/build/win64/bench-env}
exe=$root/build/win64/prefs_bench.exe
[ -f "$exe" ] || { echo "missing $exe (build the win64 preset first)"; exit 1; }
"$root/scripts/test-env" start "$env_dir" >/dev/null || exit 1
trap '"$root/scripts/test-env" stop "$env_dir"' EXIT
"$root/scripts/wine-run" "$env_dir" "$exe"
