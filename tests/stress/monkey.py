"""The monkey's run (tests/stress/monkey.sh starts it; see there)."""

import argparse
import datetime
import os
import random
import re
import subprocess
import sys
import time

import stresslib

KEYS = (list("abcxyz") + list("0479") + ["Return", "Escape", "Tab", "shift+Tab", "Delete", "BackSpace", "space",
        "Up", "Down", "Left", "Right", "ctrl+s", "ctrl+m", "ctrl+b", "ctrl+d", "ctrl+c", "alt+F4"])
# Menu commands by their access keys: the views, Copy Stats, Preferences,
# Edit Quit Details, About, and File > Exit (rarely).
MENUS = [("alt+v", "s"), ("alt+v", "m"), ("alt+v", "b"), ("alt+v", "d"), ("alt+e", "c"), ("alt+e", "p"),
         ("alt+e", "q"), ("alt+h", "a")]
TARGET_TITLE = "Fumora typing target"
# WM_NCHITTEST's answers
HTCLIENT, HTSYSMENU, HTCLOSE = 1, 3, 20


class Monkey:
    def __init__(self, args):
        self.args = args
        self.random = random.Random(args.seed)
        self.env = stresslib.Env(args.build, "monkey-env")
        self.actions = []  # (seconds into the run, what)
        self.done = 0
        self.checks = 0
        self.failures = 0
        self.restarts = 0
        self.fumora = None
        self.expect_exit = False

    # ---- the program's windows ----

    def windows(self):
        """Fumora's visible top-level windows (hwnd, enabled, rect) and the
        foreground's process, Fumora's process and the crash dialogs."""
        shown, front, crash = [], (None, None), 0
        for line in self.probe.ask("windows"):
            f = line.split("\t")
            if f[0] == "foreground":
                front = (f[2], f[3])
            elif f[0] == "crash":
                crash = int(f[1])
            elif len(f) >= 7 and f[1] == "1":
                x, y, w, h = map(int, f[6].split(","))
                shown.append((f[0], f[2] == "1", (x, y, w, h), f[5]))
        return shown, front[0] == front[1] and front[1] not in (None, "0"), crash

    def menu_has_keyboard(self, wait=2.0):
        end = time.time() + wait
        while time.time() < end:
            menus = [line for line in self.probe.ask("windows") if line.split("\t")[1:2] == ["1"]
                     and line.split("\t")[4:5] == ["#32768"]]
            if menus and self.windows()[1]:
                return True
            time.sleep(0.1)
        return False

    def top_window(self):
        """The window the user can act on: an enabled one (a modal dialog
        disables its owners), the last of them (the newest)."""
        shown, _, _ = self.windows()
        enabled = [w for w in shown if w[1] and w[2][2] > 20 and w[2][3] > 20]
        return enabled[-1] if enabled else None

    def focus_fumora(self):
        """True when a Fumora window has the keyboard, activating one if needed."""
        if self.windows()[1]:
            return True
        window = self.top_window()
        if window:
            stresslib.xdo("windowactivate", "--sync", int(window[0], 16), timeout=5)
            time.sleep(0.2)
        return self.windows()[1]

    # ---- actions ----

    def log(self, what):
        self.actions.append(("%.1f" % (time.time() - self.began), what))
        del self.actions[:-40]
        self.done += 1

    def click(self):
        window = self.top_window()
        if not window:
            return self.tray()
        x, y, w, h = window[2]
        px, py = x + self.random.randrange(w), y + self.random.randrange(h)
        button = self.random.choice((1, 1, 1, 3))
        repeat = self.random.choice((1, 1, 2))
        # The caption's close button, or a double click on its system menu,
        # closes the window as Alt+F4 does; a right click on the frame, or a
        # single click on the system menu, opens that menu, whose Close a
        # later key ("c") could choose: it is closed again at once.
        hit = int((self.probe.ask("hit %s %d %d" % (window[0], px, py)) or ["0"])[0])
        closes = (hit == HTCLOSE and button == 1) or (hit == HTSYSMENU and button == 1 and repeat == 2)
        if closes and window[3] == stresslib.MAIN_TITLE:
            self.expect_exit = True
        stresslib.xdo("mousemove", px, py, "click", "--repeat", repeat, button)
        if (button == 3 and hit not in (HTCLIENT, HTCLOSE)) or (hit == HTSYSMENU and button == 1 and repeat == 1):
            time.sleep(0.2)
            stresslib.xdo("key", "Escape")
        self.log("click %d x%d at %d,%d (hit %d) in '%s'" % (button, repeat, px, py, hit, window[3]))

    def button(self):
        """A click on one of the top window's own buttons, list views or edits."""
        window = self.top_window()
        if not window:
            return self.tray()
        controls = []
        for line in self.probe.ask("controls %s" % window[0]):
            f = line.split("\t")
            if len(f) >= 6 and f[3] == "1" and f[4] == "1" and f[2] in ("Button", "Edit", "SysListView32",
                                                                          "SysTabControl32", "Static", "ComboBox"):
                controls.append(f)
        if not controls:
            return self.click()
        f = self.random.choice(controls)
        x, y, w, h = map(int, f[5].split(","))
        stresslib.xdo("mousemove", x + w // 2, y + h // 2, "click", 1)
        self.log("click %s '%s' in '%s'" % (f[2], f[6] if len(f) > 6 else "", window[3]))

    def key(self):
        if not self.focus_fumora():
            return
        keys = [self.random.choice(KEYS)]
        if self.random.random() < 0.3:  # a few letters, as a name or price is typed
            keys += [self.random.choice("abcdefghij0123456789.") for _ in range(self.random.randrange(1, 6))]
        if keys[0] == "alt+F4":
            keys = keys[:1]  # what follows a close would reach whatever window is next
            if self.top_window() and self.top_window()[3] == stresslib.MAIN_TITLE:
                self.expect_exit = True
        stresslib.xdo("key", "--delay", 30, *keys)
        self.log("keys " + " ".join(keys))

    def menu(self):
        if not self.focus_fumora():
            return
        top = self.top_window()
        if not top or top[3] != stresslib.MAIN_TITLE:
            return self.key()
        menu = self.random.choice(MENUS + [("alt+f", "x")] * (self.random.random() < 0.05))
        if menu == ("alt+f", "x"):
            self.expect_exit = True
        stresslib.xdo("key", "--delay", 150, *menu)
        self.log("menu " + " ".join(menu))

    def tray(self):
        tray = stresslib.xdo("search", "--onlyvisible", "--name", "^Wine System Tray$").split("\n")[0]
        if not tray:
            return
        # xdotool's geometry of a framed window counts the frame twice (the
        # point fell below the tray, on the window manager's root menu);
        # xwininfo gives the client area's place on the screen.
        info = subprocess.run(["xwininfo", "-id", tray], capture_output=True, text=True, timeout=10).stdout
        place = dict(re.findall(r"Absolute upper-left (X|Y):\s+(-?\d+)", info))
        x, y = int(place.get("X", 0)) + 8, int(place.get("Y", 0)) + 8
        if self.random.random() < 0.5:
            stresslib.xdo("mousemove", x, y, "click", 1)
            self.log("tray click")
        else:
            stresslib.xdo("mousemove", x, y, "click", 3)
            downs = self.random.randrange(1, 7)
            # Keys go to the menu only once it is up and Fumora has the
            # keyboard; sent blind, under load, they reached the window beside.
            if not self.menu_has_keyboard():
                self.log("tray menu not up for item %d" % downs)
                return
            keys = ["Down"] * downs + ["Return"]
            if downs == 6:
                self.expect_exit = True  # the last item is Exit
            stresslib.xdo("key", "--delay", 60, *keys)
            self.log("tray menu item %d" % downs)

    # Whole errands, so that buddies, price changes and preferences are
    # added, edited and deleted through their dialogs more often than
    # random clicks would.

    def press(self, caption):
        """Clicks the button of the top window whose text (without its '&') is `caption`."""
        window = self.top_window()
        if not window:
            return False
        for line in self.probe.ask("controls %s" % window[0]):
            f = line.split("\t")
            if len(f) >= 7 and f[2] == "Button" and f[3] == "1" and f[6].replace("&", "") == caption:
                x, y, w, h = map(int, f[5].split(","))
                stresslib.xdo("mousemove", x + w // 2, y + h // 2, "click", 1)
                time.sleep(0.5)
                return True
        return False

    def typing(self):
        return [self.random.choice("abcdefghij0123456789.") for _ in range(self.random.randrange(0, 8))]

    def finish(self):
        """Enter or Escape, then the same for a message box it may have raised."""
        stresslib.xdo("key", "--delay", 300, *[self.random.choice(("Return", "Return", "Escape")) for _ in range(2)])

    def errand(self):
        if not self.focus_fumora() or not self.top_window() or self.top_window()[3] != stresslib.MAIN_TITLE:
            return self.key()
        kind = self.random.choice(("buddy", "price", "prefs"))
        if kind == "buddy":
            stresslib.xdo("key", "ctrl+b")
            time.sleep(0.3)
            caption = self.random.choice(("New", "Change", "Delete"))
            self.press(caption)
            keys = ["ctrl+a"] + self.typing() + self.random.choice(([], ["Tab", "Up"], ["Tab", "Right", "Down"]))
            if caption != "Delete":
                stresslib.xdo("key", "--delay", 40, *keys)
            self.finish()
            self.log("buddy %s %s" % (caption, " ".join(keys)))
        elif kind == "price":
            stresslib.xdo("key", "--delay", 150, "alt+e", "q")
            time.sleep(0.8)
            caption = self.random.choice(("Add", "Edit", "Delete"))
            if caption != "Add":
                stresslib.xdo("key", "--delay", 100, *["Tab"] * 6, "Down")  # the price list, a row chosen
            self.press(caption)
            keys = ["Tab"] + ["BackSpace"] * 4 + self.typing()
            if caption != "Delete":
                stresslib.xdo("key", "--delay", 40, *keys)
            self.finish()
            time.sleep(0.3)
            self.finish()
            self.log("price %s %s" % (caption, " ".join(keys)))
        else:
            stresslib.xdo("key", "--delay", 150, "alt+e", "p")
            time.sleep(0.8)
            keys = [self.random.choice(("ctrl+Tab", "Tab", "space", "Down", "Up", "Right", "a", "5"))
                    for _ in range(self.random.randrange(1, 10))]
            stresslib.xdo("key", "--delay", 80, *keys)
            self.finish()
            self.log("prefs %s" % " ".join(keys))

    # ---- checks ----

    def failure(self, what):
        self.failures += 1
        stamp = "%s-%d" % (self.args.build, self.failures)
        shot = os.path.join(self.env.artefacts, "monkey-fail-%s.png" % stamp)
        stresslib.screenshot(shot)
        with open(os.path.join(self.env.artefacts, "monkey-fail-%s.txt" % stamp), "w") as out:
            out.write("seed %d, build %s, %.0f s into the run: %s\n" % (self.args.seed, self.args.build,
                                                                      time.time() - self.began, what))
            out.writelines("%s  %s\n" % action for action in self.actions)
        print("FAIL (seed %d, %.0f s): %s; last actions and %s saved" % (self.args.seed, time.time() - self.began,
                                                                         what, shot), flush=True)

    def check(self):
        self.checks += 1
        if self.fumora.poll() is not None:
            code = self.fumora.returncode
            if not self.expect_exit or code != 0:
                self.failure("Fumora ended with %s" % code)
            self.launch()
        self.expect_exit = False
        if self.probe.fields("stats").get("title") == "<no answer>":
            self.failure("Fumora does not answer messages (hung)")
            self.fumora.kill()
            self.fumora.wait()
            self.launch()
        _, _, crash = self.windows()
        if crash:
            self.failure("Wine's crash dialog is up")
        for what in ("files " + self.work_windows, "registry"):
            bad = [line for line in self.probe.ask(what) if line.startswith("bad")]
            if bad:
                self.failure("%s: %s" % (what.split()[0], "; ".join(bad)))
        try:
            with open(os.path.join(self.work, "typed.txt"), "rb") as typed:
                text = typed.read().split(b"\n", 1)[1:]
        except OSError:
            text = []
        if text and text[0]:
            self.failure("typed outside Fumora: %r" % text[0][:80])
            self.start_target()

    # ---- the run ----

    def start_target(self):
        """A window of another program that nothing may type into."""
        if getattr(self, "target", None) and self.target.poll() is None:
            self.target.kill()
        try:
            os.remove(os.path.join(self.work, "typed.txt"))
        except OSError:
            pass
        self.target = self.env.launch(self.work, "type_target.exe", ["typed.txt"])
        for _ in range(100):
            found = stresslib.xdo("search", "--onlyvisible", "--name", "^%s$" % TARGET_TITLE).split("\n")[0]
            if found:
                stresslib.xdo("windowmove", found, 700, 560)
                stresslib.xdo("windowsize", found, 300, 180)
                return
            time.sleep(0.3)

    def launch(self):
        self.restarts += self.fumora is not None
        self.fumora = self.env.launch(self.work)
        for _ in range(200):
            if stresslib.xdo("search", "--onlyvisible", "--name", "^ Fumora v1\\.05b$"):
                return
            # "Start Fumora Minimized", chosen in the Preferences: the icon only.
            if stresslib.xdo("search", "--onlyvisible", "--name", "^Wine System Tray$") and self.fumora.poll() is None:
                return
            time.sleep(0.3)
        self.failure("no main window or icon within 60 s of a start")

    def run(self):
        self.env.start()
        self.work = stresslib.fresh_work_dir(self.env, "monkey-work")
        self.work_windows = "Z:" + self.work.replace("/", "\\")
        day = datetime.date.today()
        stresslib.write_buddies(os.path.join(self.work, "anny.dat"),
                                [(day.replace(year=day.year - 1), "Ann"), (datetime.date(2008, 2, 29), "Leap"),
                                 (day - datetime.timedelta(days=3), "Bo")])
        stresslib.write_price_points(os.path.join(self.work, "pp.dat"), [(2461000, 810), (2461100, 905)])
        stresslib.seed_settings(self.env, self.work, datetime.datetime(2025, 6, 1, 8, 30))
        import shutil
        shutil.copy(self.env.type_target_exe, self.work)
        self.probe = stresslib.Probe(self.env, self.work)
        self.began = time.time()
        try:
            self.start_target()
            self.launch()
            end, next_check = self.began + self.args.seconds, self.began + self.args.every
            acts = (self.click, self.click, self.button, self.button, self.button, self.key, self.key, self.menu,
                    self.tray, self.errand, self.errand)
            while time.time() < end:
                self.random.choice(acts)()
                time.sleep(self.random.choice((0.05, 0.2, 0.5)))
                if time.time() >= next_check:
                    self.check()
                    next_check = time.time() + self.args.every
            self.check()
        finally:
            self.probe.close()
            for process in (self.fumora, getattr(self, "target", None)):
                if process and process.poll() is None:
                    process.kill()
            self.env.stop()
        print("monkey on the %s build: %.0f s, seed %d: %d actions, %d checks, %d restarts after an exit asked for, "
              "%d failure(s)" % (self.args.build, time.time() - self.began, self.args.seed, self.done, self.checks,
                                 self.restarts, self.failures))


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--build", default="win32", choices=("win32", "win64"))
    parser.add_argument("--seconds", type=float, default=1800)
    parser.add_argument("--seed", type=int, default=None)
    parser.add_argument("--every", type=float, default=5.0, help="real seconds between checks")
    args = parser.parse_args()
    if args.seed is None:
        args.seed = random.SystemRandom().randrange(1 << 31)
    monkey = Monkey(args)
    monkey.run()
    sys.exit(1 if monkey.failures else 0)


if __name__ == "__main__":
    main()
