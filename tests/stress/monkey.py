"""The monkey's run (tests/stress/monkey.sh starts it; see there)."""

import argparse
import collections
import datetime
import os
import random
import re
import subprocess
import sys
import time
import types

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
FIGURES = ("rss_kb", "gdi", "windows", "handles")  # as recorded at each check
MENU_CLASS = "#32768"  # the window of a pop-up menu
Window = collections.namedtuple("Window", "hwnd enabled rect title cls owner")
# An item of a pop-up menu: whether it ends Fumora, its place in the menu's window, its text.
MenuItem = collections.namedtuple("MenuItem", "ends rect text")


def inside(rect, x, y):
    left, top, width, height = rect
    return left <= x < left + width and top <= y < top + height


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
        self.exits_asked = 0
        self.kinds = collections.Counter()
        self.fumora = None
        self.expect_exit = False
        self.exit_asked_by = None  # the action that set expect_exit
        self.figures = []  # (start of Fumora, resources) at each check

    # ---- the program's windows ----

    def windows(self):
        """Fumora's visible top-level windows (its pop-up menus among them),
        its main window (shown or not), whether it tracks a menu (a pop-up,
        or the menu bar alone after Escape closed the bar's pop-up), and the
        count of Wine's crash dialogs."""
        seen = types.SimpleNamespace(shown=[], main=None, menu=False, crash=0)
        for line in self.probe.ask("windows"):
            f = line.split("\t")
            if f[0] == "menu":
                seen.menu = f[1] == "1"
            elif f[0] == "crash":
                seen.crash = int(f[1])
            elif len(f) >= 7:
                window = Window(f[0], f[2] == "1", tuple(map(int, f[6].split(","))), f[5], f[4], f[3])
                if window.title == stresslib.MAIN_TITLE and window.cls == "#32770":
                    seen.main = window.hwnd
                if f[1] == "1":
                    seen.shown.append(window)
        return seen

    def read_menus(self):
        """Fumora's pop-up menus by name: their size and items, as this Wine
        lays them out (the probe shows the same menus for a moment)."""
        menus, items, answer = {}, None, self.probe.ask("menus")
        for line in answer:
            f = line.split("\t")
            if f[0] == "menu" and len(f) == 3:
                items = []
                menus[f[1]] = (tuple(map(int, f[2].split(","))), items)
            elif f[0] == "item" and items is not None and len(f) >= 4:
                items.append(MenuItem(f[1] == "1", tuple(map(int, f[2].split(","))), " ".join(f[3:]).replace("&", "")))
        if not all(menus.get(name, (0, []))[1] for name in ("tray", "file", "system")):
            raise RuntimeError("the probe did not lay out Fumora's menus: %s" % "; ".join(answer))
        return menus

    def shown_menu(self, name, wait=0.0):
        """The window of Fumora's pop-up menu `name` once it is shown (within
        `wait` seconds): a menu of the main window's, of that menu's size."""
        end = time.time() + wait
        while True:
            seen = self.windows()
            for window in seen.shown:
                if window.cls == MENU_CLASS and window.owner == seen.main and window.rect[2:] == self.menus[name][0]:
                    return window
            if time.time() >= end:
                return None
            time.sleep(0.1)

    def menu_item_at(self, menu, x, y):
        """The name of the shown pop-up menu `menu` and its item at screen
        point x,y (None where there is none: a separator, the border)."""
        for name, (size, items) in self.menus.items():
            if size == menu.rect[2:]:
                for item in items:
                    if inside(item.rect, x - menu.rect[0], y - menu.rect[1]):
                        return name, item
                return name, None
        return None, None

    def top_window(self, seen=None):
        """The window the user can act on: an enabled one (a modal dialog
        disables its owners), the last of them (the newest)."""
        seen = seen or self.windows()
        enabled = [w for w in seen.shown if w.enabled and w.rect[2] > 20 and w.rect[3] > 20]
        return enabled[-1] if enabled else None

    def has_keyboard(self):
        """Whether X sends the keys to a window of Fumora's. Wine's foreground
        window is no proof: after a click on the notification icon it is
        Fumora's hidden main window, while X keeps the focus on the tray's
        window (explorer's), where the keys are lost."""
        return stresslib.xdo("getwindowfocus", "getwindowpid") == str(self.fumora.pid)

    def focus_fumora(self):
        """True when a Fumora window has the keyboard and no menu of Fumora's
        is open, activating its top window if needed. Keys into an open menu
        could choose any of its items, Exit among them ("x" in the File menu,
        Up and Return in the tray's): the menu is closed instead, with Escape
        (twice for a pop-up of the menu bar: the first leaves the bar
        tracking), and the action ends there."""
        seen = self.windows()
        if seen.menu:
            if self.has_keyboard():
                for _ in range(2):
                    stresslib.xdo("key", "Escape")
                    time.sleep(0.2)
                    if not self.windows().menu:
                        break
                self.log("keys Escape to close a menu", "menu closed")
            return False
        if self.has_keyboard():
            return True
        window = self.top_window(seen)
        found = window and window.title and self.x_window(window.title)
        if found:
            stresslib.xdo("windowactivate", "--sync", found, timeout=5)
            time.sleep(0.2)
        if self.has_keyboard():
            return True
        self.kinds["no keys (the keyboard elsewhere)"] += 1
        return False

    def x_window(self, title, shown=True):
        """The X window of Fumora's window `title`, only where it is on the
        screen unless told ("" when there is none): xdotool knows X windows,
        not Wine's handles."""
        pattern = "^%s$" % re.sub(r"([][.^$*+?(){}|\\])", r"\\\1", title)
        where = ["--onlyvisible"] if shown else []
        # --all: without it xdotool takes a window of that process or of that name.
        return stresslib.xdo("search", "--all", *where, "--pid", self.fumora.pid, "--name", pattern).split("\n")[0]

    def show_iconified(self):
        """Openbox draws an iconify button on a modal dialog's frame too: a
        click there hides the dialog and the main window in X, while Wine
        keeps both shown (the dialog has no minimise box, the main window is
        disabled). Nothing of Fumora's is on the screen then, and no click or
        key reaches it: the window manager is asked to show the top window
        again, as a user would from a taskbar."""
        top = self.top_window()
        if top and top.title and top.cls != MENU_CLASS and not self.x_window(top.title):
            hidden = self.x_window(top.title, shown=False)
            if hidden:
                stresslib.xdo("windowactivate", "--sync", hidden, timeout=5)
                self.log("'%s' shown again by the window manager" % top.title, "shown again")

    # ---- actions ----

    def log(self, what, kind=None):
        """Records an action; `kind` (its first word unless told) is counted."""
        self.kinds[kind or what.split()[0]] += 1
        self.actions.append(("%.1f" % (time.time() - self.began), what))
        self.action_log.write("%s  %s\n" % self.actions[-1])
        del self.actions[:-40]
        self.done += 1
        if self.expect_exit and not self.exit_asked_by:
            self.exit_asked_by = self.actions[-1]

    def click(self):
        seen = self.windows()
        window = self.top_window(seen)
        if not window:
            return self.tray()
        x, y, w, h = window.rect
        px, py = x + self.random.randrange(w), y + self.random.randrange(h)
        button = self.random.choice((1, 1, 1, 3))
        repeat = self.random.choice((1, 1, 2))
        # A pop-up menu lies above every window: the click goes to it.
        menu = next((m for m in seen.shown if m.cls == MENU_CLASS and inside(m.rect, px, py)), None)
        if menu:
            return self.click_menu(seen, menu, px, py, button, repeat)
        # The caption's close button, or a double click on its system menu,
        # closes the window as Alt+F4 does; a right click on the frame, or a
        # single click on the system menu, opens that menu, whose Close a
        # later key ("c") could choose: it is closed again at once.
        hit = int((self.probe.ask("hit %s %d %d" % (window.hwnd, px, py)) or ["0"])[0])
        closes = (hit == HTCLOSE and button == 1) or (hit == HTSYSMENU and button == 1 and repeat == 2)
        if closes and window.title == stresslib.MAIN_TITLE:
            self.expect_exit = True
        stresslib.xdo("mousemove", px, py, "click", "--repeat", repeat, button)
        if (button == 3 and hit not in (HTCLIENT, HTCLOSE)) or (hit == HTSYSMENU and button == 1 and repeat == 1):
            time.sleep(0.2)
            stresslib.xdo("key", "Escape")
        self.log("click %d x%d at %d,%d (hit %d) in '%s'" % (button, repeat, px, py, hit, window.title))

    def click_menu(self, seen, menu, px, py, button, repeat):
        """A click on an item of a pop-up menu chooses it: with the left
        button, or with either in the tray's menu (shown with TPM_RIGHTBUTTON;
        the others ignore the right one). The File menu's Exit, the tray's Exit
        and the system menu's Close end Fumora when they are the main window's."""
        name, item = self.menu_item_at(menu, px, py)
        if item and item.ends and (button == 1 or name == "tray") and menu.owner == seen.main:
            self.expect_exit = True
        stresslib.xdo("mousemove", px, py, "click", "--repeat", repeat, button)
        self.log("click %d x%d at %d,%d on %s" % (button, repeat, px, py, "'%s' in the %s menu" % (item.text, name)
                                                  if item else "no item of a menu (%s)" % name), "click on a menu")

    def button(self):
        """A click on one of the top window's own buttons, list views or edits."""
        window = self.top_window()
        if not window:
            return self.tray()
        controls = []
        for line in self.probe.ask("controls %s" % window.hwnd):
            f = line.split("\t")
            if len(f) >= 6 and f[3] == "1" and f[4] == "1" and f[2] in ("Button", "Edit", "SysListView32",
                                                                          "SysTabControl32", "Static", "ComboBox"):
                controls.append(f)
        if not controls:
            return self.click()
        f = self.random.choice(controls)
        x, y, w, h = map(int, f[5].split(","))
        stresslib.xdo("mousemove", x + w // 2, y + h // 2, "click", 1)
        self.log("click %s '%s' in '%s'" % (f[2], f[6] if len(f) > 6 else "", window.title), "control click")

    def send_keys(self, keys, same_window=False):
        """Sends `keys` one at a time, each once Fumora has taken the one
        before, and only while X gives them to Fumora; returns those sent.
        A key that closes a dialog ("c" for its Change button, Return,
        Escape) moves the keyboard, and under openbox X may hand it for a
        moment to the window beside, where the rest of a blind batch would
        land. With `same_window` the keys stop where the top window changed
        (random typing); otherwise Fumora's top window is activated again
        (an errand's keys cross its dialogs)."""
        top = self.top_window()
        sent = []
        for key in keys:
            if sent:
                self.probe.ask("idle 2000")
                if same_window:
                    now = self.top_window()
                    if not now or not top or now.hwnd != top.hwnd or not self.has_keyboard():
                        break
                elif not self.focus_fumora():
                    break
            stresslib.xdo("key", key)
            sent.append(key)
        return sent

    def key(self):
        if not self.focus_fumora():
            return
        keys = [self.random.choice(KEYS)]
        if self.random.random() < 0.3:  # a few letters, as a name or price is typed
            keys += [self.random.choice("abcdefghij0123456789.") for _ in range(self.random.randrange(1, 6))]
        if keys[0] == "alt+F4":
            keys = keys[:1]  # what follows a close would reach whatever window is next
            if self.top_window() and self.top_window().title == stresslib.MAIN_TITLE:
                self.expect_exit = True
        sent = self.send_keys(keys, same_window=True)
        self.log("keys " + " ".join(sent))

    def menu(self):
        if not self.focus_fumora():
            return
        top = self.top_window()
        if not top or top.title != stresslib.MAIN_TITLE:
            return self.key()
        menu = self.random.choice(MENUS + [("alt+f", "x")] * (self.random.random() < 0.05))
        if menu == ("alt+f", "x"):
            self.expect_exit = True
        stresslib.xdo("key", "--delay", 150, *menu)
        self.log("menu " + " ".join(menu))

    def tray(self):
        # A menu shown late (after the wait below) is still open: it covers the icon.
        menu = self.shown_menu("tray")
        if not menu:
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
                repeat = self.random.choice((1, 2))  # a double click restores the window
                stresslib.xdo("mousemove", x, y, "click", "--repeat", repeat, 1)
                self.log("tray click x%d" % repeat, "tray click")
                return
            stresslib.xdo("mousemove", x, y, "click", 3)
            menu = self.shown_menu("tray", wait=2.0)
            if not menu:
                self.log("tray menu not up", "tray menu not up")
                return
        items = self.menus["tray"][1]
        number = self.random.randrange(len(items))
        item = items[number]
        # Keys only where they reach the menu (sent blind they reached the
        # window beside). Under openbox they never do: the tray's window
        # keeps the keyboard, and the menu is for the pointer, as for a user.
        if self.has_keyboard():
            stresslib.xdo("key", "--delay", 60, *["Down"] * (number + 1), "Return")
            how = "keys"
            kind = "tray menu by keys"
        else:
            button = self.random.choice((1, 3))
            left, top, width, height = item.rect
            stresslib.xdo("mousemove", menu.rect[0] + left + width // 2, menu.rect[1] + top + height // 2,
                          "click", button)
            how = "button %d" % button
            kind = "tray menu by the pointer"
        if item.ends:
            self.expect_exit = True
        self.log("tray menu item %d '%s' by %s" % (number + 1, item.text, how), kind)

    def minimise(self):
        """The main window's minimise button (openbox draws the caption, so
        the window manager is asked): Fumora goes to the notification area."""
        top = self.top_window()
        if not top or top.title != stresslib.MAIN_TITLE:
            return self.click()
        found = self.x_window(top.title)
        if found:
            stresslib.xdo("windowminimize", found)
            self.log("minimise")

    # Whole errands, so that buddies, price changes and preferences are
    # added, edited and deleted through their dialogs more often than
    # random clicks would.

    def press(self, caption):
        """Clicks the button of the top window whose text (without its '&') is `caption`."""
        window = self.top_window()
        if not window:
            return False
        for line in self.probe.ask("controls %s" % window.hwnd):
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
        self.send_keys([self.random.choice(("Return", "Return", "Escape")) for _ in range(2)])

    def errand(self):
        if not self.focus_fumora() or not self.top_window() or self.top_window().title != stresslib.MAIN_TITLE:
            return self.key()
        kind = self.random.choice(("buddy", "price", "prefs"))
        if kind == "buddy":
            stresslib.xdo("key", "ctrl+b")
            time.sleep(0.3)
            caption = self.random.choice(("New", "Change", "Delete"))
            self.press(caption)
            keys = ["ctrl+a"] + self.typing() + self.random.choice(([], ["Tab", "Up"], ["Tab", "Right", "Down"]))
            if caption != "Delete":
                keys = self.send_keys(keys)
            self.finish()
            self.log("buddy %s %s" % (caption, " ".join(keys)))
        elif kind == "price":
            stresslib.xdo("key", "--delay", 150, "alt+e", "q")
            time.sleep(0.8)
            caption = self.random.choice(("Add", "Edit", "Delete"))
            if caption != "Add":
                self.send_keys(["Tab"] * 6 + ["Down"])  # the price list, a row chosen
            self.press(caption)
            keys = ["Tab"] + ["BackSpace"] * 4 + self.typing()
            if caption != "Delete":
                keys = self.send_keys(keys)
            self.finish()
            time.sleep(0.3)
            self.finish()
            self.log("price %s %s" % (caption, " ".join(keys)))
        else:
            stresslib.xdo("key", "--delay", 150, "alt+e", "p")
            time.sleep(0.8)
            keys = [self.random.choice(("ctrl+Tab", "Tab", "space", "Down", "Up", "Right", "a", "5"))
                    for _ in range(self.random.randrange(1, 10))]
            keys = self.send_keys(keys)
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
            if code < 0:  # no exit of the program's own: a crash of Wine's, or a kill from outside
                self.failure("Fumora's process ended by signal %d" % -code)
            elif not self.expect_exit or code != 0:
                self.failure("Fumora ended with %s" % code)
            else:
                self.exits_asked += 1
                print("exit asked for at %s s: %s" % (self.exit_asked_by or ("?", "?")), flush=True)
            self.launch()
        self.expect_exit, self.exit_asked_by = False, None
        self.record_resources()
        self.show_iconified()
        if self.probe.fields("stats").get("title") == "<no answer>":
            self.failure("Fumora does not answer messages (hung)")
            self.fumora.kill()
            self.fumora.wait()
            self.launch()
        if self.windows().crash:
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

    def record_resources(self):
        """Fumora's memory, GDI objects, windows and kernel handles, with the
        process they belong to (each start is one), also written to
        build/<build>/artefacts/monkey-figures-<build>.tsv."""
        fields = self.probe.fields("resources")
        figures = {name: int(fields.get(name, -1)) for name in ("gdi", "windows", "handles")}
        figures["rss_kb"] = (stresslib.proc_status(self.fumora.pid) or {}).get("rss_kb", -1)
        self.figures.append((self.fumora.pid, figures))
        with open(os.path.join(self.env.artefacts, "monkey-figures-%s.tsv" % self.args.build), "a") as out:
            out.write("%.0f\t%d\t%s\n" % (time.time() - self.began, self.fumora.pid,
                                           "\t".join(str(figures[name]) for name in FIGURES)))

    def resource_lines(self):
        """Each figure's range over the run, and in the longest start the
        least of the first half of its checks against the least of the second
        half (the least: a dialog open at a check holds more for a while; a
        leak raises the second). A start's first two checks are left out:
        the views are made after the first paint."""
        starts = collections.Counter(start for start, _ in self.figures)
        if not starts:
            return []
        longest, checks = starts.most_common(1)[0]
        lines = ["Fumora's figures at the checks (%d starts; the longest, over %d checks: the least of its first "
                 "half -> of its second half):" % (len(starts), checks)]
        for name, label in zip(FIGURES, ("RSS (kB)", "GDI objects", "windows", "kernel handles")):
            values = [figures[name] for _, figures in self.figures if figures[name] >= 0]
            series = [figures[name] for start, figures in self.figures if start == longest and figures[name] >= 0][2:]
            if len(series) >= 2:
                half = len(series) // 2
                lines.append("  %-15s %d..%d; %d -> %d" % (label, min(values), max(values), min(series[:half]),
                                                          min(series[half:])))
        return lines

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
        with open(os.path.join(self.env.artefacts, "monkey-figures-%s.tsv" % self.args.build), "w") as out:
            out.write("seconds\tprocess\t%s\n" % "\t".join(FIGURES))
        self.action_log = open(os.path.join(self.env.artefacts, "monkey-actions-%s.txt" % self.args.build), "w",
                               buffering=1)
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
        self.menus = self.read_menus()
        self.began = time.time()
        try:
            self.start_target()
            self.launch()
            end, next_check = self.began + self.args.seconds, self.began + self.args.every
            acts, weights = zip((self.click, 6), (self.button, 9), (self.key, 6), (self.menu, 3), (self.tray, 3),
                                (self.errand, 6), (self.minimise, 1))
            while time.time() < end:
                self.random.choices(acts, weights)[0]()
                time.sleep(self.random.choice((0.05, 0.2, 0.5)))
                if time.time() >= next_check:
                    self.check()
                    next_check = time.time() + self.args.every
            self.check()
        finally:
            self.probe.close()
            self.action_log.close()
            for process in (self.fumora, getattr(self, "target", None)):
                if process and process.poll() is None:
                    process.kill()
            self.env.stop()
        print("monkey on the %s build: %.0f s, seed %d: %d actions, %d checks, %d exits asked for, %d restarts, "
              "%d failure(s)" % (self.args.build, time.time() - self.began, self.args.seed, self.done, self.checks,
                                 self.exits_asked, self.restarts, self.failures))
        print("actions: " + ", ".join("%s %d" % kind for kind in sorted(self.kinds.items())))
        print("\n".join(self.resource_lines()))


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
