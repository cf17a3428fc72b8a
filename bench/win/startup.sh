#!/bin/bash
# Start-up time to the first paint, idle CPU and size of Fumora.exe, for the
# i686 build (under 32-bit Wine) and the x86_64 one (under 64-bit Wine), each
# against yardsticks built for its own architecture: the skeleton
# (skeleton.exe: the windows Fumora shows at its first paint, made from its
# own resources, with no program logic) and the bare dialogs (a dialog with
# one button, without and with Fumora's manifest). startup_probe.exe starts
# each in turn and times it from its start to the end of its first paint (the
# last of its windows painted once; paint_probe.cpp says how). Prints figures;
# never fails on them (aim: Fumora within 1.10x of the skeleton; targets:
# idle CPU below 0.5% of a core, stripped i686 executable within 150 KB, no
# iostream).
#
#   bench/win/startup.sh            uses build/win32 and build/win64
#   WIN64_DIR=... WIN32_DIR=... ARCHS="i686" RUNS=11 IDLE_SECONDS=60 bench/win/startup.sh
#   TESTENV=build/win64/testenv ARCHS=x86_64 bench/win/startup.sh
#                                   in that test environment, left running
#   SMOKE=1 ...                     one start of each, no idle time, no figures: that it runs
#   CPUS=1 bench/win/startup.sh     runs every process it starts (display,
#                                   wineserver, programs) on the CPUs given
#                                   to taskset
# Start-up under Wine is one wineserver round trip after another. On a
# machine of few CPUs, a round trip that wakes the server on another CPU
# costs several times one on the same CPU, and which one a run gets is
# chance: with CPUS the figures spread less and weigh the programs' own work.
set -u
if [ -n "${CPUS:-}" ] && [ -z "${STARTUP_PINNED:-}" ]; then
  STARTUP_PINNED=1 exec taskset -c "$CPUS" "$0" "$@"
fi
root=$(cd "$(dirname "$0")/../.." && pwd)
win64=${WIN64_DIR:-$root/build/win64}
win32=${WIN32_DIR:-$root/build/win32}
smoke=${SMOKE:-}
runs=${RUNS:-11}
idle_seconds=${IDLE_SECONDS:-60}
[ -n "$smoke" ] && runs=1 idle_seconds=0
archs=${ARCHS:-i686 x86_64}
export PATH=/usr/lib/wine:$PATH LC_ALL=${LC_ALL:-en_US.UTF-8}
programs=(minimal_dialog.exe minimal_dialog_themed.exe skeleton.exe Fumora.exe)

work=$(mktemp -d)
pids=()
env_dir= own_env=
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done
  pids=()
  if [ -n "$env_dir" ]; then
    "$WINE" reg delete 'HKCU\Software\Fumora\Details' /f >/dev/null 2>&1
    if [ -n "$own_env" ]; then "$root/scripts/test-env" stop "$env_dir"; else wineserver -k 2>/dev/null; fi
  fi
  env_dir=
}
trap 'cleanup; rm -rf "$work"' EXIT

# A completed setup, so that the main window comes up at once.
python3 - >"$work/seed.reg" <<'EOF'
import struct
hexes = lambda b: ",".join("%02x" % x for x in b)
prefs = struct.pack("<7I", 20, 5, 0, 0, 0, 1, 1)
prefs += b"I have been quit for %Q.".ljust(512, b"\0") + b"I will quit in %Q.".ljust(512, b"\0")
print("REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Fumora\\Details]")
print('"FirstRun"=dword:00000001\n"QuitName"="Bench"\n"NumCigs"=dword:00000014')
print('"NumPack"=dword:00000014\n"Price"=dword:000001f4')
print('"QuitDate"=hex:' + hexes(struct.pack("<8H", 2024, 1, 0, 15, 10, 0, 0, 0)))
print('"AppColors"=hex:' + hexes(struct.pack("<7I", 0x800000, 0xFFFFFF, 0xA6F4F2, 0xBB928E, 0xF4F4F2, 0, 0)))
print('"GenPrefs"=hex:' + hexes(prefs))
EOF

load() { uptime | sed 's/.*load/load/'; }
# The figures of the rounds in file $1: for each program, its median and best
# times and its median processor time to the first paint; then Fumora's
# against the skeleton's and the bare dialogs'. Each Fumora start is also set
# against the skeleton started just before it in the same round: the pairs
# share the load of the moment, so their ratios spread less than the times.
summary() {
  python3 - "$1" "${programs[@]}" <<'EOF'
import sys
rounds = [[float(x) for x in line.split()] for line in open(sys.argv[1]) if line.strip()]
names = {"minimal_dialog.exe": "bare dialog", "minimal_dialog_themed.exe": "themed bare dialog",
         "skeleton.exe": "skeleton", "Fumora.exe": "Fumora"}
wall = {names[p]: [r[2 * i] for r in rounds] for i, p in enumerate(sys.argv[2:])}
cpu = {names[p]: [r[2 * i + 1] for r in rounds] for i, p in enumerate(sys.argv[2:])}
med = lambda v: sorted(v)[(len(v) - 1) // 2]
print("start-up to the end of the first paint over %d rounds (ms): median, best; the program's processor time by then"
      % len(rounds))
for name in wall:
    print("  %-19s %7.1f %7.1f   cpu %6.1f" % (name, med(wall[name]), min(wall[name]), med(cpu[name])))
pairs = sorted(f / k for f, k in zip(wall["Fumora"], wall["skeleton"]))
quartile = lambda q: pairs[int(q * (len(pairs) - 1) + 0.5)]
print("  Fumora/skeleton (aim <= 1.10x): medians %.2fx, best runs %.2fx, paired %.2fx (quartiles %.2fx..%.2fx),"
      " processor time %.2fx" % (med(wall["Fumora"]) / med(wall["skeleton"]), min(wall["Fumora"]) / min(wall["skeleton"]),
                                 med(pairs), quartile(0.25), quartile(0.75), med(cpu["Fumora"]) / med(cpu["skeleton"])))
print("  Fumora/bare dialog %.2fx, Fumora/themed bare dialog %.2fx (medians; no target)"
      % (med(wall["Fumora"]) / med(wall["bare dialog"]), med(wall["Fumora"]) / med(wall["themed bare dialog"])))
print("  rounds (ms, cpu ms of: %s):" % ", ".join(wall))
for r in rounds:
    print("    " + "  ".join("%.0f %.0f" % (r[i], r[i + 1]) for i in range(0, len(r), 2)))
EOF
}

# Start-up and idle CPU of one build: $1 the architecture, $2 its build
# directory, $3 its test environment's Wine (win32 or win64).
measure() {
  local arch=$1 dir=$2 f how=
  for f in "${programs[@]}" startup_probe.exe paint_probe.dll; do
    [ -f "$dir/$f" ] || { echo "$arch: missing $dir/$f (build its preset first)"; return 1; }
  done
  mkdir -p "$work/$arch"
  for f in "${programs[@]}" startup_probe.exe paint_probe.dll; do cp "$dir/$f" "$work/$arch/"; done
  : >"$work/$arch/pp.dat"
  env_dir=${TESTENV:-$dir/bench-env} own_env=
  [ -n "${TESTENV:-}" ] || own_env=1
  "$root/scripts/test-env" start "$env_dir" "$3" >/dev/null || { echo "$arch: no test environment"; env_dir=; return 1; }
  . "$env_dir/env"
  "$WINE" regedit /S "$work/seed.reg"
  [ "$3" = win32 ] && [ "$("$root/scripts/wine32" --how)" = qemu ] &&
    how=", emulated under qemu: not the figures of a 32-bit machine"

  echo "== $arch ($3 prefix$how${CPUS:+, every process on CPUs $CPUS}${smoke:+; smoke run: one start each, no figures}); $(load)"
  # One round to warm up the prefix and the page cache, left out; then the
  # rounds, each starting every program once.
  local rounds=$work/$arch/rounds warm=1
  [ -n "$smoke" ] && warm=0
  if ! (cd "$work/$arch" && "$WINE" startup_probe.exe $((runs + warm)) 120 "${programs[@]}") \
    >"$work/$arch/probe.out" 2>"$work/$arch/probe.err"; then
    echo "$arch: a program did not paint within 120 s (milliseconds to the first paint of ${programs[*]}):"
    cat "$work/$arch/probe.out" "$work/$arch/probe.err"
    cleanup
    return 1
  fi
  tr -d '\r' <"$work/$arch/probe.out" | tail -n "$runs" >"$rounds"
  if [ -z "$smoke" ]; then
    summary "$rounds"
    echo "  $(load)"
  fi
  ((idle_seconds > 0)) && idle_cpu
  cleanup
}

# Idle CPU: the window shown, nothing touched, for $idle_seconds.
idle_cpu() {
  local ticks pid server_dir server= candidate p0 p1 s0 s1
  ticks=$(getconf CLK_TCK)
  cpu_ticks() { awk '{ print $14 + $15 }' "/proc/${1:-0}/stat" 2>/dev/null || echo 0; }
  (cd "$work/$arch" && exec "$WINE" Fumora.exe) >/dev/null 2>&1 &
  pid=$!
  pids+=("$pid")
  for _ in $(seq 300); do
    [ -n "$(xdotool search --onlyvisible --name '^ Fumora v1\.05b$' 2>/dev/null)" ] && break
    sleep 0.1
  done
  sleep 2
  # This prefix's server runs in /tmp/.wine-UID/server-DEV-INODE of the prefix.
  server_dir=/tmp/.wine-$(id -u)/server-$(stat -c '%d %i' "$WINEPREFIX" | awk '{ printf "%x-%x", $1, $2 }')
  for candidate in $(pgrep -x 'wineserver(64)?'); do
    [ "$(readlink "/proc/$candidate/cwd")" = "$server_dir" ] && server=$candidate
  done
  p0=$(cpu_ticks "$pid")
  s0=$(cpu_ticks "$server")
  sleep "$idle_seconds"
  p1=$(cpu_ticks "$pid")
  s1=$(cpu_ticks "$server")
  awk -v d=$((p1 - p0)) -v s=$((s1 - s0)) -v t="$ticks" -v n="$idle_seconds" 'BEGIN {
    printf "idle CPU over %d s: Fumora %.3f%% of a core, wineserver %.3f%% (target < 0.5%%)\n",
           n, 100 * d / t / n, 100 * s / t / n }'
}

status=0
for a in $archs; do
  case $a in
  i686) measure i686 "$win32" win32 || status=1 ;;
  x86_64) measure x86_64 "$win64" win64 || status=1 ;;
  esac
done
[ -n "$smoke" ] && exit $status

# Sizes of the stripped executables.
echo "== sizes"
for pair in "i686:$win32:i686-w64-mingw32-strip" "x86_64:$win64:x86_64-w64-mingw32-strip"; do
  IFS=: read -r arch dir strip <<<"$pair"
  exe=$dir/Fumora.exe
  if [ ! -f "$exe" ]; then
    echo "$arch: no $exe"
    continue
  fi
  "$strip" -o "$work/stripped.exe" "$exe"
  size=$(stat -c %s "$work/stripped.exe")
  iostream=$(grep -c -a -E 'basic_ostream|ios_base' "$work/stripped.exe")
  echo "$arch Fumora.exe stripped: $size bytes ($((size / 1024)) KB, target 150 KB = 153,600 bytes); iostream traces: $iostream"
done
exit $status
