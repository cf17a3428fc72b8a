#!/bin/bash
# The real Fumora.exe started on damaged settings: values of the wrong type,
# the wrong size or random bytes. With a sound quit date it starts, its stats
# text holds sound figures, and it rewrites nothing; with a damaged quit date
# the first-run wizard comes up, and closing it stores nothing.
# Needs TESTENV, FUMORA_EXE and ARTEFACTS (ctest).
. "$(dirname "$0")/lib.sh"

wizard() { find_window '^ Fumora - First Run$'; }
snapshot() { "$WINE" reg export "$key" "$work/$1.reg" /y >/dev/null 2>&1; }
quit_day=$(date -d '10 days ago' '+%Y %m %d')

# Sound figures: the days and the quit date exact, every span field in its
# range and the quit span within two minutes of the true time, counts and
# money well formed; with `exact`, the cigarettes and money of twenty a day
# at 5.00 a pack of twenty (the minute may turn while the text is made).
check_figures() {
  python3 - "$quit_day" "$1" "$2" "$(short_date "$quit_day")" <<'EOF'
import datetime, re, sys
y, mo, d = (int(x) for x in sys.argv[1].split())
m = re.fullmatch(r"Q=(.*)\|D=(.*)\|C=(.*)\|M=(.*)\|L=(.*)\|X=(.*)", sys.argv[2])
if not m:
    sys.exit("not the template's shape: " + sys.argv[2])
q, days, cigs, money, life, date = m.groups()
now, quit = datetime.datetime.now(), datetime.datetime(y, mo, d)
n = (now.date() - quit.date()).days
faults = [] if days in (str(n), str(n - 1)) else ["days " + days]
if date != sys.argv[4]:
    faults.append("quit date " + date)
# Largest value and seconds of each span unit, by its first letter.
units = {"Y": (9999, 31557600), "M": (11, 2629800), "W": (4, 604800), "D": (6, 86400), "h": (23, 3600),
         "m": (59, 60), "s": (59, 1)}
names = {"Y", "Year", "M", "Month", "W", "Week", "D", "Day", "h", "hour", "m", "minute", "s", "second"}
def span_seconds(span):
    items = re.findall(r"(\d+) ?([A-Za-z]+?)s?\b", span)
    if not items or re.sub(r"[\d ,]|and|[A-Za-z]", "", span):
        faults.append("span " + span)
    bad = [n + u for n, u in items if u not in names or int(n) > units[u[0]][0]]
    faults.extend("span item " + b for b in bad)
    return 0 if bad else sum(int(n) * units[u[0]][1] for n, u in items)
if abs(span_seconds(q) - (now - quit).total_seconds()) > 120:
    faults.append("quit span " + q)
span_seconds(life)
if not re.fullmatch(r"\d{1,3}(,\d{3})*", cigs):
    faults.append("cigarettes " + cigs)
# Wine groups amounts over a million as "$250230,867.98" (one group of three).
if not re.fullmatch(r"\$\d+(,\d{3})*\.\d\d", money):
    faults.append("money " + money)
minutes = [now.hour * 60 + now.minute - turn for turn in (0, 1)]
want = [("{:,}".format(20 * n + 20 * ((1000 * mm * 60) // 86400) // 1000),
         "${:,}.{:02d}".format(*divmod(500 * n + (500 * 20 * mm) // (1440 * 20), 100))) for mm in minutes]
if sys.argv[3] == "exact" and (cigs, money) not in want:
    faults.append("expected cigarettes and money of %s" % want)
if faults:
    sys.exit("; ".join(faults) + " in " + sys.argv[2])
EOF
}

# Sound settings (a quit ten days ago at 00:00, short spans without seconds,
# the hotkey on) damaged by the NAME=KIND pairs after $1 and $2; Fumora
# started on them until the window that function $2 finds comes up.
start_damaged() {
  local name=$1 window=$2
  shift 2
  seed "$quit_day 0 0" 'Q=%Q|D=%D|C=%C|M=%M|L=%L|X=%X' 0 0 HKEnabled=dword:1 AppHKey=dword:651 "$@"
  snapshot before
  launch
  wait_for 60 shown "$window" && return 0
  fail "$name: no $window"
  import -window root "$ARTEFACTS/damaged_$name.png" 2>/dev/null
  kill "$fumora" 2>/dev/null
  return 1
}

# Ends the program with the keys $2 in the window $3; nothing may have changed.
finish() {
  xdotool windowfocus --sync "$3" 2>/dev/null
  xdotool key --delay 150 $2
  wait_for 30 ended || fail "$1: $2 did not end the program"
  snapshot after
  cmp -s "$work/before.reg" "$work/after.reg" && pass "$1: nothing stored" ||
    fail "$1: the settings changed: $(diff "$work/before.reg" "$work/after.reg" | head -5)"
}

# A sound quit date: the main window on screen, sound figures (`any`: some text).
expect_running() {
  local name=$1 figures=$2 problem
  shift 2
  start_damaged "$name" main_window "$@" || return
  copy_stats_with ctrl+c || fail "$name: no stats text copied"
  if [ "$figures" = any ] || problem=$(check_figures "$(clipboard)" "$figures" 2>&1); then
    pass "$name: $(clipboard | head -c 100)"
  else
    fail "$name: $problem"
  fi
  window_geometry "$(main_window)"
  ((X >= 0 && Y >= 0 && X < 1024 && Y < 768)) || fail "$name: window at $X,$Y"
  finish "$name" "alt+f x" "$(main_window)"
}

# A damaged quit date: the wizard alone; closing it ends the program.
expect_wizard() {
  local name=$1
  shift
  start_damaged "$name" wizard "$@" || return
  has_main_window && fail "$name: the main window opened too"
  finish "$name" alt+F4 "$(wizard)"
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
