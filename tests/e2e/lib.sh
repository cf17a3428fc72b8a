# Shared by the end-to-end tests (sourced): the test environment, a work
# directory holding a copy of Fumora.exe, pass/fail counting and polling.
# ctest sets TESTENV, FUMORA_EXE and ARTEFACTS.
set -u
: "${TESTENV:?}" "${FUMORA_EXE:?}"
ARTEFACTS=${ARTEFACTS:-/tmp}
. "$TESTENV/env"
export PATH=/usr/lib/wine:$PATH
export LC_ALL=${LC_ALL:-en_US.UTF-8}
mkdir -p "$ARTEFACTS"

work=$(mktemp -d)
cp "$FUMORA_EXE" "$work/Fumora.exe"
key='HKCU\Software\Fumora\Details'
failures=0

fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}
pass() { echo "ok: $*"; }

# Polls `command` every 0.2 s for up to $1 seconds.
wait_for() {
  local limit=$1
  shift
  local end=$((SECONDS + limit))
  while ((SECONDS < end)); do
    "$@" >/dev/null 2>&1 && return 0
    sleep 0.2
  done
  return 1
}

# Sets X, Y (absolute top-left), WIDTH and HEIGHT of an X window. Under a
# reparenting window manager xdotool's getwindowgeometry adds the frame's
# offset twice; xwininfo's absolute position is the window's own.
window_geometry() {
  read -r X Y WIDTH HEIGHT < <(xwininfo -id "$1" 2>/dev/null | awk '/Absolute upper-left X/ { x = $NF }
    /Absolute upper-left Y/ { y = $NF } /^ *Width:/ { w = $NF } /^ *Height:/ { h = $NF } END { print x, y, w, h }')
  [ -n "$HEIGHT" ]
}

# The first visible window whose title matches $1 (a regular expression).
find_window() { xdotool search --onlyvisible --name "$1" 2>/dev/null | head -1; }
# Whether the window that function $1 finds is there.
shown() { [ -n "$("$1")" ]; }
gone() { [ -z "$("$1")" ]; }
# Whether a window titled $1 (a regular expression) is there.
has_window() { [ -n "$(find_window "$1")" ]; }
no_window() { [ -z "$(find_window "$1")" ]; }

# A screenshot of the screen, once what was drawn last has settled, as artefact $1.
shot() { sleep 0.4; import -window root "$ARTEFACTS/$1" 2>/dev/null; }

# Pixels of one colour (#RRGGBB) in a screenshot.
pixels_of() {
  convert "$1" -format %c histogram:info:- 2>/dev/null | grep -i "$2" | awk '{ sum += $1 } END { print sum + 0 }'
}

# Clicks point (x, y) of a dialog whose client area is `width` x `height`
# dialog units ($4, $5): the X window of a Wine dialog is its client area.
click_in_dialog() {
  local X Y WIDTH HEIGHT
  window_geometry "$1" || return 1
  xdotool mousemove --sync $((X + $2 * WIDTH / $4)) $((Y + $3 * HEIGHT / $5)) click 1
}

# ---- the running program ----

# The programs a script starts, stopped when it ends with the stored settings,
# the wineserver and the work directory (a script may put its own cleanup here).
pids=()

cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done
  "$WINE" reg delete "$key" /f >/dev/null 2>&1
  wineserver -k 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

main_window() { xdotool search --onlyvisible --name '^ Fumora v1\.05b$' | head -1; }
has_main_window() { [ -n "$(main_window)" ]; }
stored() { "$WINE" reg query "$key" /v "$1" 2>/dev/null | tr -d '\r' | awk -v v="$1" '$1 == v { print $3 }'; }

# Settings as the first-run wizard leaves them: $1 the quit moment
# (YYYY MM DD hh mm), $2 the stats template (its characters stored as Latin-1
# bytes, the code page of the test locale), $3 fullDates, $4 includeSeconds;
# then NAME=dword:HEX to store a DWORD, or NAME=KIND to damage a value: missing,
# dword (a REG_DWORD 20), text (a REG_SZ "20"), short (3 bytes), long (5 more),
# random (random bytes of its size), numbers (GenPrefs' numbers random),
# april31 (a QuitDate of 31 April).
seed() {
  python3 - "$@" >"$work/seed.reg" <<'EOF'
import random, struct, sys
random.seed(" ".join(sys.argv[1:]))
y, mo, d, h, mi = (int(x) for x in sys.argv[1].split())
template, full, seconds = sys.argv[2].encode("latin-1"), int(sys.argv[3]), int(sys.argv[4])
prefs = struct.pack("<7I", 20, 5, 0, 0, 0, seconds, full)
prefs += template.ljust(512, b"\0") + b"I will quit in %Q.".ljust(512, b"\0")
dword = lambda n: (4, struct.pack("<I", n))
rand = lambda n: bytes(random.randrange(256) for _ in range(n))
values = {"FirstRun": dword(1), "QuitName": (1, b"Tester\0"), "NumCigs": dword(20), "NumPack": dword(20),
          "Price": dword(500), "QuitDate": (3, struct.pack("<8H", y, mo, 0, d, h, mi, 0, 0)),
          "AppColors": (3, struct.pack("<7I", 0x800000, 0xFFFFFF, 0xA6F4F2, 0xBB928E, 0xF4F4F2, 0, 0)),
          "GenPrefs": (3, prefs), "LastPosX": dword(100), "LastPosY": dword(80)}
for name, kind in (pair.split("=") for pair in sys.argv[5:]):
    kind_type, data = values.pop(name, (4, b""))
    if kind.startswith("dword:"):
        values[name] = dword(int(kind[6:], 16))
    elif kind != "missing":
        values[name] = {"dword": dword(20), "text": (1, b"20\0"), "short": (kind_type, data[:3]),
                        "long": (kind_type, data + b"\x01" * 5), "random": (kind_type, rand(len(data))),
                        "numbers": (kind_type, rand(28) + data[28:]),
                        "april31": (3, struct.pack("<8H", 2024, 4, 0, 31, 10, 0, 0, 0))}[kind]
print("REGEDIT4\n\n[-HKEY_CURRENT_USER\\Software\\Fumora\\Details]\n\n[HKEY_CURRENT_USER\\Software\\Fumora\\Details]")
for name, (kind_type, data) in values.items():
    print('"%s"=hex(%x):%s' % (name, kind_type, ",".join("%02x" % b for b in data)))
EOF
  "$WINE" regedit /S "$work/seed.reg"
}

# Starts the copy in the work directory (or the Fumora.exe in folder $1);
# $fumora is its pid. start_fumora waits for its main window too.
launch() {
  (cd "${1:-$work}" && exec "$WINE" Fumora.exe) >/dev/null 2>&1 &
  fumora=$!
  pids+=("$fumora")
}
start_fumora() {
  launch "$@"
  wait_for 60 has_main_window
}
ended() { ! kill -0 "$fumora" 2>/dev/null; }

clipboard() { xclip -o -selection clipboard 2>/dev/null; }

# Day "YYYY MM DD" as Windows writes its short date in the test locale:
# en_US M/d/yyyy, en_GB dd/MM/yyyy (no zeros added or taken by en_US).
short_date() {
  local y m d
  read -r y m d <<<"$1"
  case ${LC_ALL%%.*} in
  en_US) printf '%d/%d/%d' "$((10#$m))" "$((10#$d))" "$((10#$y))" ;;
  en_GB) printf '%02d/%02d/%04d' "$((10#$d))" "$((10#$m))" "$((10#$y))" ;;
  *) echo "short_date: no short date pattern for $LC_ALL" >&2; return 1 ;;
  esac
}

# Copies the stats text with the keys given (xdotool key arguments) in the
# main window and waits for it on the X clipboard.
copy_stats_with() {
  echo -n "(empty)" | xclip -selection clipboard
  xdotool windowfocus --sync "$(main_window)" 2>/dev/null
  xdotool key --delay 150 "$@"
  wait_for 10 bash -c '[ "$(xclip -o -selection clipboard 2>/dev/null)" != "(empty)" ]'
}
