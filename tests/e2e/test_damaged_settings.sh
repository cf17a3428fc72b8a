#!/bin/bash
# The real Fumora.exe started on damaged settings: values of the wrong type,
# the wrong size or random bytes. With a sound quit date it starts, its stats
# text holds sound figures, and it rewrites nothing; with a damaged quit date
# the first-run wizard comes up, and closing it stores nothing.
# Needs TESTENV, FUMORA_EXE and ARTEFACTS (ctest).
. "$(dirname "$0")/lib.sh"

wizard() { xdotool search --onlyvisible --name '^ Fumora - First Run$' 2>/dev/null | head -1; }
has_wizard() { [ -n "$(wizard)" ]; }
ended() { ! kill -0 "$fumora" 2>/dev/null; }

quit_day=$(date -d '10 days ago' '+%Y %m %d')

# Sound settings as the wizard leaves them (a quit ten days ago at 00:00,
# short span texts without seconds), then the damage: NAME=KIND pairs, KIND
# one of missing, dword (a REG_DWORD 20), text (a REG_SZ "20"), short (3
# bytes), long (the right size plus 5), random (random bytes of the right
# size), numbers (GenPrefs with random numbers and a sound template).
seed_damaged() {
  python3 - "$quit_day" "$@" >"$work/seed.reg" <<'EOF'
import random, struct, sys
random.seed(" ".join(sys.argv[1:]))
y, mo, d = (int(x) for x in sys.argv[1].split())
template = b"Q=%Q|D=%D|C=%C|M=%M|L=%L|X=%X"
prefs = struct.pack("<7I", 20, 5, 0, 0, 0, 0, 0)
prefs += template.ljust(512, b"\0") + b"I will quit in %Q.".ljust(512, b"\0")
values = {
    "FirstRun": (4, struct.pack("<I", 1)),
    "QuitName": (1, b"Tester\0"),
    "NumCigs": (4, struct.pack("<I", 20)),
    "NumPack": (4, struct.pack("<I", 20)),
    "Price": (4, struct.pack("<I", 500)),
    "QuitDate": (3, struct.pack("<8H", y, mo, 0, d, 0, 0, 0, 0)),
    "AppColors": (3, struct.pack("<7I", 0x800000, 0xFFFFFF, 0xA6F4F2, 0xBB928E, 0xF4F4F2, 0, 0)),
    "GenPrefs": (3, prefs),
    "HKEnabled": (4, struct.pack("<I", 1)),
    "AppHKey": (4, struct.pack("<I", 0x0651)),
    "LastPosX": (4, struct.pack("<i", 100)),
    "LastPosY": (4, struct.pack("<i", 80)),
}
rand = lambda n: bytes(random.randrange(256) for _ in range(n))
for pair in sys.argv[2:]:
    name, kind = pair.split("=")
    kind_type, data = values[name]
    if kind == "missing":
        del values[name]
        continue
    values[name] = {
        "dword": (4, struct.pack("<I", 20)),
        "text": (1, b"20\0"),
        "short": (kind_type, data[:3]),
        "long": (kind_type, data + b"\x01" * 5),
        "random": (kind_type, rand(len(data))),
        "numbers": (kind_type, rand(28) + data[28:]),
        "april31": (3, struct.pack("<8H", 2024, 4, 0, 31, 10, 0, 0, 0)),
    }[kind]
print("REGEDIT4\n\n[-HKEY_CURRENT_USER\\Software\\Fumora\\Details]\n\n[HKEY_CURRENT_USER\\Software\\Fumora\\Details]")
for name, (kind_type, data) in values.items():
    print('"%s"=hex(%x):%s' % (name, kind_type, ",".join("%02x" % b for b in data)))
EOF
  wine64 regedit /S "$work/seed.reg"
}

snapshot() { wine64 reg export "$key" "$work/$1.reg" /y >/dev/null 2>&1; }
unchanged() { cmp -s "$work/before.reg" "$work/after.reg"; }

# Started without waiting: the main window or the wizard may come up.
start() {
  (cd "$work" && exec wine64 Fumora.exe) >/dev/null 2>&1 &
  fumora=$!
  pids+=("$fumora")
}

# Sound figures: the days and the quit date exact, every span field in its
# range and the quit span within two minutes of the true time, counts and
# money well formed. With `exact` the cigarettes and money of twenty a day at
# 5.00 a pack of twenty are checked too.
check_figures() {
  python3 - "$quit_day" "$1" "$2" <<'EOF'
import datetime, re, sys
y, mo, d = (int(x) for x in sys.argv[1].split())
text, exact = sys.argv[2], sys.argv[3] == "exact"
m = re.fullmatch(r"Q=(.*)\|D=(.*)\|C=(.*)\|M=(.*)\|L=(.*)\|X=(.*)", text)
if not m:
    sys.exit("not the template's shape: " + text)
q, days, cigs, money, life, date = m.groups()
now = datetime.datetime.now()
quit = datetime.datetime(y, mo, d)
faults = []
if days not in (str((now.date() - quit.date()).days), str((now.date() - quit.date()).days - 1)):
    faults.append("days " + days)
if date != "%02d/%02d/%04d" % (mo, d, y):
    faults.append("quit date " + date)
units = {"Y": (9999, 31557600), "Year": (9999, 31557600), "M": (11, 2629800), "Month": (11, 2629800),
         "W": (4, 604800), "Week": (4, 604800), "D": (6, 86400), "Day": (6, 86400), "h": (23, 3600),
         "hour": (23, 3600), "m": (59, 60), "minute": (59, 60), "s": (59, 1), "second": (59, 1)}
def span_seconds(span):
    items = re.findall(r"(\d+) ?([A-Za-z]+?)s?\b", span)
    if not items or re.sub(r"[\d ,]|and|[A-Za-z]", "", span):
        faults.append("span " + span)
    total = 0
    for n, unit in items:
        if unit not in units or int(n) > units[unit][0]:
            faults.append("span item %s%s" % (n, unit))
        else:
            total += int(n) * units[unit][1]
    return total
if abs(span_seconds(q) - (now - quit).total_seconds()) > 120:
    faults.append("quit span " + q)
span_seconds(life)
if not re.fullmatch(r"\d{1,3}(,\d{3})*", cigs):
    faults.append("cigarettes " + cigs)
# Wine groups amounts over a million as "$250230,867.98" (one group of three).
if not re.fullmatch(r"\$\d+(,\d{3})*\.\d\d", money):
    faults.append("money " + money)
if exact:
    n = (now.date() - quit.date()).days
    minute = now.hour * 60 + now.minute
    # Twenty a day at 5.00 a pack of twenty, quit at 00:00; the minute may
    # turn while the text is made.
    want_cigs, want_money = [], []
    for mm in (minute, minute - 1):
        want_cigs.append("{:,}".format(20 * n + 20 * ((1000 * (mm * 60)) // 86400) // 1000))
        hundredths = 500 * n + (500 * 20 * mm) // (1440 * 20)
        want_money.append("${:,}.{:02d}".format(hundredths // 100, hundredths % 100))
    if cigs not in want_cigs or money not in want_money:
        faults.append("expected cigarettes %s and money %s" % (want_cigs, want_money))
if faults:
    sys.exit("; ".join(faults) + " in " + text)
EOF
}

# A sound quit date: the main window, sound figures, nothing rewritten.
expect_running() {
  local name=$1 figures=$2
  shift 2
  seed_damaged "$@"
  snapshot before
  start
  if ! wait_for 60 has_main_window; then
    fail "$name: no main window"
    import -window root "$ARTEFACTS/damaged_$name.png" 2>/dev/null
    kill "$fumora" 2>/dev/null
    return
  fi
  pass "$name: started"
  if copy_stats_with ctrl+c; then
    local text
    text=$(clipboard)
    if [ "$figures" = any ]; then
      pass "$name: stats text copied"
    elif problem=$(check_figures "$text" "$figures" 2>&1); then
      pass "$name: $text"
    else
      fail "$name: $problem"
    fi
  else
    fail "$name: no stats text copied"
  fi
  window_geometry "$(main_window)"
  ((X >= 0 && Y >= 0 && X < 1024 && Y < 768)) && pass "$name: window on screen" || fail "$name: window at $X,$Y"
  xdotool windowfocus --sync "$(main_window)" 2>/dev/null
  xdotool key --delay 150 alt+f x
  wait_for 30 ended || fail "$name: File > Exit did not end the program"
  snapshot after
  unchanged && pass "$name: nothing rewritten" || fail "$name: the settings changed: $(diff "$work/before.reg" "$work/after.reg" | head -5)"
}

# A damaged quit date: the wizard; closing it ends the program and stores nothing.
expect_wizard() {
  local name=$1
  shift
  seed_damaged "$@"
  snapshot before
  start
  if wait_for 60 has_wizard; then
    pass "$name: first-run wizard shown"
    has_main_window && fail "$name: the main window opened too"
    xdotool windowfocus --sync "$(wizard)" 2>/dev/null
    xdotool key --delay 150 alt+F4
    wait_for 30 ended && pass "$name: closing the wizard ended the program" || fail "$name: still running"
  else
    fail "$name: no wizard"
    import -window root "$ARTEFACTS/damaged_$name.png" 2>/dev/null
    kill "$fumora" 2>/dev/null
  fi
  snapshot after
  unchanged && pass "$name: nothing stored" || fail "$name: the settings changed"
}

expect_running wrong_types exact QuitName=dword AppColors=dword HKEnabled=text AppHKey=text LastPosX=text \
  LastPosY=text
expect_running wrong_sizes exact QuitName=long AppColors=short HKEnabled=short LastPosX=long
expect_running numbers_wrong_type sound NumCigs=text NumPack=text Price=text
expect_running numbers_wrong_size sound NumCigs=long NumPack=short Price=missing
expect_running random_values sound QuitName=random NumCigs=random NumPack=random Price=random AppColors=random \
  GenPrefs=numbers AppHKey=random LastPosX=random LastPosY=random
# Without a sound GenPrefs there is no template to read the figures through.
expect_running prefs_wrong_size any GenPrefs=long
expect_running prefs_random any GenPrefs=random

expect_wizard quit_date_random QuitDate=random
expect_wizard quit_date_wrong_type QuitDate=dword
expect_wizard quit_date_wrong_size QuitDate=long
expect_wizard quit_date_not_a_date QuitDate=april31
expect_wizard quit_date_missing QuitDate=missing

echo "$failures failure(s)"
((failures == 0))
