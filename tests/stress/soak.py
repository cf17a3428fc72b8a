"""The soak's run (tests/stress/soak.sh starts it; see there for why and how)."""

import argparse
import datetime
import os
import sys
import time

import quitmath
import stresslib

# What the month holds. The quit falls on the second day, so the first day
# and a half count down ("pending"); price changes before the quit (ignored),
# inside the month (two on one day: the later holds) and after it; buddies
# whose anniversaries fall in the month by years, months (a 31st), a leap day,
# day counts and a quit date inside the month.
QUIT = datetime.datetime(2026, 3, 2, 21, 17)
PER_DAY, PER_PACK, PRICE = 23, 20, 745
POINTS = [("2026-02-20", 900), ("2026-03-10", 812), ("2026-03-20", 790), ("2026-03-20", 835), ("2026-04-15", 999)]
BUDDIES = [("2005-03-05", "Ann"), ("2009-01-31", "Bo Month"), ("2008-02-29", "Leap"), ("2025-11-25", "Days"),
           ("2026-03-15", "Newcomer"), ("1999-03-31", "Zo\u00eb Old"), ("2010-12-31", "Hogmanay")]
LOOK_AHEAD = 20
# The program's clock may show a moment up to this many real seconds old
# (its 450 ms timer, and the scheduling of a busy machine).
TICK_LAG = 10.0


def parse_day(text):
    return datetime.date.fromisoformat(text)


class Soak:
    def __init__(self, args):
        self.args = args
        self.env = stresslib.Env(args.build)
        self.start = datetime.datetime.fromisoformat(args.start)
        self.end = self.start + datetime.timedelta(days=args.days)
        self.speed = args.speed
        self.points = [(quitmath.day_number(parse_day(d)), p) for d, p in POINTS]
        self.buddies = [(parse_day(d), n) for d, n in BUDDIES]
        self.quitter = quitmath.Quitter(QUIT, PER_DAY, PER_PACK, PRICE, self.points)
        self.failures = []
        self.checks = 0
        self.samples = 0
        self.days_verified = set()
        self.figures = []  # one dict per full check

    def fail(self, what):
        print("FAIL:", what, flush=True)
        self.failures.append(what)

    # ---- the program's clock, located ----

    def locate(self, values, r0, r1, narrow=True):
        """The fake moment (to the second) whose quit time the view shows,
        among the moments the real reading time allows; narrows what is
        known of the clock's origin. None when no moment there fits. A
        count-down and a count-up read alike ("43m" before and after the
        quit): of such moments the one whose other values agree is taken."""
        lo_o, hi_o = self.origin
        first = self.start + datetime.timedelta(seconds=(r0 - TICK_LAG - hi_o) * self.speed)
        last = self.start + datetime.timedelta(seconds=(r1 - lo_o) * self.speed)
        moment = first.replace(microsecond=0)
        matches = []
        while moment <= last:
            if quitmath.short_span_text(self.quitter.quit_span(moment), True) == values["quit"]:
                matches.append(moment)
            moment += datetime.timedelta(seconds=1)
        if not matches:
            return None
        agreeing = [m for m in matches if all(values.get(k) == v for k, v in self.quitter.view_texts(m).items())]
        found = (agreeing or matches)[0]
        fake = (found - self.start).total_seconds()
        # The tick that showed `found` ran after r0 - TICK_LAG and before r1.
        lo = max(lo_o, r0 - TICK_LAG - (fake + 1) / self.speed)
        hi = min(hi_o, r1 - fake / self.speed)
        if not narrow:
            pass
        elif lo > hi:
            self.fail("the clock shows %s at real %.1f: not on a clock %d times as fast" % (found, r0, self.speed))
        else:
            self.origin = (lo, hi)
        return found

    def sample(self):
        """A reading: the values (two reads in a row alike: no tick between
        them), the moment they belong to, and both lists when the statistics
        read after them still shows that day (else None: a midnight or a slow
        machine came between)."""
        for _ in range(8):
            r0 = time.time()
            values = self.probe.fields("stats")
            again = self.probe.fields("stats")
            r1 = time.time()
            if "quit" not in values or values != again:
                continue
            moment = self.locate(values, r0, r1)
            if not moment:
                self.fail("the quit time '%s' fits no moment of the fast clock near real %.1f" % (values["quit"], r0))
                return None
            days_ahead = self.probe.rows(3002)
            buddies = self.probe.rows(2002)
            r2 = time.time()
            after = self.probe.fields("stats")
            later = self.locate(after, r2, time.time(), narrow=False) if "quit" in after else None
            if later and later.date() == moment.date():
                return moment, values, days_ahead, buddies
            return moment, values, None, None
        self.fail("no steady reading of the statistics view in 8 tries")
        return None

    # ---- checks ----

    def check_sample(self, moment, values, days_ahead, buddies):
        self.samples += 1
        want = self.quitter.view_texts(moment)
        for name, text in want.items():
            if values.get(name) != text:
                self.fail("%s: %s shows '%s', the engine says '%s'" % (moment, name, values.get(name), text))
        if values.get("title") != "Next %d Days" % LOOK_AHEAD:
            self.fail("%s: the title line reads '%s'" % (moment, values.get("title")))
        today = moment.date()
        if days_ahead is None:
            return
        want_ahead = quitmath.days_ahead_rows(self.buddies, today, LOOK_AHEAD)
        shown_ahead = [row[:4] for row in days_ahead or []]
        ok = True
        if sorted(shown_ahead) != sorted(want_ahead) or [r[0] for r in shown_ahead] != sorted(r[0] for r in shown_ahead):
            self.fail("%s: the Days Ahead list is not the one for %s: %s (expected %s)" %
                      (moment, today, shown_ahead, want_ahead))
            ok = False
        want_buddies = quitmath.buddy_rows(self.buddies, today)
        shown_buddies = [row[:5] for row in buddies or []]
        if sorted(shown_buddies) != sorted(want_buddies):
            self.fail("%s: the Buddies list's anniversaries are not those of %s: %s (expected %s)" %
                      (moment, today, shown_buddies, want_buddies))
            ok = False
        if ok:
            self.days_verified.add(today)

    def resources(self):
        """The smallest of three readings (a paint may hold a DC for a moment)."""
        readings = []
        for _ in range(3):
            fields = self.probe.fields("resources")
            readings.append({k: int(fields.get(k, -1)) for k in ("gdi", "windows", "handles")})
            time.sleep(0.2)
        unix = stresslib.proc_status(self.fumora.pid) or {}
        figures = {k: min(r[k] for r in readings) for k in readings[0]}
        figures.update(unix)
        return figures

    def full_check(self, moment):
        self.checks += 1
        alive = self.fumora.poll() is None
        if not alive:
            self.fail("%s: Fumora has ended (exit code %s)" % (moment, self.fumora.returncode))
            return False
        figures = self.resources()
        figures["day"] = (moment - self.start).total_seconds() / 86400
        figures["moment"] = moment
        self.figures.append(figures)
        print("day %5.2f  %s  RSS %6d kB  threads %d  fds %3d  GDI %4d  windows %3d  handles %3d" %
              (figures["day"], moment, figures.get("rss_kb", 0), figures.get("threads", 0), figures.get("fds", 0),
               figures["gdi"], figures["windows"], figures["handles"]), flush=True)
        if self.baseline:
            if figures["rss_kb"] > self.baseline["rss_kb"] * 1.10:
                self.fail("%s: RSS %d kB, more than 10%% above the %d kB after the first day" %
                          (moment, figures["rss_kb"], self.baseline["rss_kb"]))
            for name in ("gdi", "windows", "handles", "fds", "threads"):
                if figures[name] > self.baseline[name]:
                    self.fail("%s: %s grew from %d to %d" % (moment, name, self.baseline[name], figures[name]))
        elif figures["day"] >= 1:
            self.baseline = figures
        return True

    # ---- the run ----

    def prepare(self):
        self.env.start()
        self.work = stresslib.fresh_work_dir(self.env, "soak-work")
        stresslib.write_buddies(os.path.join(self.work, "anny.dat"), self.buddies)
        stresslib.write_price_points(os.path.join(self.work, "pp.dat"), self.points)
        # The Days Ahead view on show: its title line is the one rebuilt.
        stresslib.seed_settings(self.env, self.work, QUIT, PER_DAY, PER_PACK, PRICE, look_ahead=LOOK_AHEAD,
                                startup_view=3)
        self.probe = stresslib.Probe(self.env, self.work)
        self.probe.ask("pid")

    def launch(self):
        launched = time.time()
        self.fumora = self.env.launch(self.work, extra=self.env.fast_clock(self.start, self.speed))
        end = time.time() + 60
        while time.time() < end and not self.probe.fields("stats").get("quit"):
            time.sleep(0.2)
        # The fast clock starts when the library is loaded: after the launch,
        # before the window shows.
        self.origin = (launched, time.time())

    def measure_timer(self):
        """Ticks seen in 5 real seconds: the 450 ms timer at its real pace."""
        seen, last, end = 0, None, time.time() + 5
        while time.time() < end:
            text = self.probe.fields("stats").get("quit")
            if text != last:
                seen, last = seen + 1, text
            time.sleep(0.05)
        return seen - 1

    def run(self):
        self.fumora = None
        try:
            self.prepare()
            self.launch()
            if self.fumora.poll() is not None:
                self.fail("Fumora did not start")
                return
            ticks = self.measure_timer()
            print("the statistics clock ticked %d times in 5 real seconds (450 ms: 11)" % ticks, flush=True)
            if not 8 <= ticks <= 12:
                self.fail("%d ticks in 5 s: the timer does not keep its real pace" % ticks)
            self.baseline = None
            # Full checks at the start, after the first day (the baseline),
            # every few days and at the end.
            checkpoints = sorted({0, 1, *range(self.args.every, self.args.days, self.args.every)})
            moment = self.start
            while moment < self.end and self.fumora.poll() is None:
                taken = self.sample()
                if taken:
                    moment = taken[0]
                    self.check_sample(*taken)
                    if checkpoints and moment >= self.start + datetime.timedelta(days=checkpoints[0]):
                        self.full_check(moment)
                        while checkpoints and moment >= self.start + datetime.timedelta(days=checkpoints[0]):
                            checkpoints.pop(0)
                time.sleep(self.args.interval)
            self.full_check(moment)
            self.close_fumora()
        finally:
            stresslib.screenshot(os.path.join(self.env.artefacts, "soak_end.png"))
            if getattr(self, "probe", None):
                self.probe.close()
            if self.fumora and self.fumora.poll() is None:
                self.fumora.kill()
            self.env.stop()
        self.report()

    def close_fumora(self):
        window = stresslib.xdo("search", "--onlyvisible", "--name", "^ Fumora v1\\.05b$").split("\n")[0]
        if window:
            stresslib.xdo("windowactivate", "--sync", window)
            stresslib.xdo("key", "--delay", "200", "alt+f", "x")
        try:
            code = self.fumora.wait(30)
            if code != 0:
                self.fail("File > Exit ended Fumora with %d" % code)
        except Exception:
            self.fail("File > Exit did not end Fumora")

    def report(self):
        days = [self.start.date() + datetime.timedelta(days=i) for i in range(self.args.days + 1)]
        missed = [d for d in days if d not in self.days_verified]
        for day in missed:
            self.fail("%s: no reading showed both lists rebuilt for the day" % day)
        verified = [d for d in days if d in self.days_verified]
        midnights = sum(1 for a, b in zip(days, days[1:]) if a in self.days_verified and b in self.days_verified)
        base, last = self.baseline or {}, self.figures[-1] if self.figures else {}
        print("\nsoak of the %s build: %d simulated days (%s to %s) at x%d" %
              (self.args.build, self.args.days, self.start, self.end, self.speed))
        print("  readings checked against the engine: %d; full checks: %d" % (self.samples, self.checks))
        print("  days whose Days Ahead and Buddies lists were right: %d of %d; midnights passed with both rebuilt: %d"
              % (len(verified), len(days), midnights))
        for name, unit in (("rss_kb", " kB"), ("threads", ""), ("fds", ""), ("gdi", ""), ("windows", ""),
                           ("handles", "")):
            values = [f[name] for f in self.figures if name in f]
            if values:
                print("  %-8s after day 1: %s%s, at the end: %s%s, range %s..%s" %
                      (name, base.get(name, "?"), unit, last.get(name, "?"), unit, min(values), max(values)))
        print("  %d failure(s)" % len(self.failures))


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--build", default="win32", choices=("win32", "win64"))
    parser.add_argument("--days", type=int, default=31)
    parser.add_argument("--speed", type=int, default=2400)
    parser.add_argument("--start", default="2026-03-01 00:00:00")
    parser.add_argument("--every", type=int, default=3, help="simulated days between full checks")
    parser.add_argument("--interval", type=float, default=1.0, help="real seconds between readings")
    soak = Soak(parser.parse_args())
    soak.run()
    sys.exit(1 if soak.failures else 0)


if __name__ == "__main__":
    main()
