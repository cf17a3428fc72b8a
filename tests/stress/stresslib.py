"""What the soak and the monkey share: a test environment of their own (Xvfb,
openbox and a Wine prefix under build/<build>/stress-env), the probe
(stress_probe.exe, a second Windows process that reads Fumora's windows,
lists, resources, files and registry), starting Fumora.exe, seeding its
settings and data files, X input through xdotool, and screenshots."""

import os
import select
import shutil
import struct
import subprocess
import time

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
KEY = r"HKEY_CURRENT_USER\Software\Fumora\Details"
MAIN_TITLE = " Fumora v1.05b"
DEFAULT_TEMPLATE = ("I have been quit for %Q (%D days). I have saved %M by not smoking %C cigarettes. "
                    "I have saved %L of my life. My Quit Date: %X")
COLOURS = (0x800000, 0xFFFFFF, 0xA6F4F2, 0xBB928E, 0xF4F4F2, 0, 0)


class Env:
    """The build's executables and a private display and prefix for them."""

    def __init__(self, build, name="stress-env"):
        self.build = build  # "win64" or "win32"
        self.arch = build
        self.build_dir = os.path.join(ROOT, "build", build)
        self.dir = os.path.join(self.build_dir, name)
        self.fumora_exe = os.environ.get("FUMORA_EXE") or os.path.join(self.build_dir, "Fumora.exe")
        self.probe_exe = os.path.join(self.build_dir, "stress_probe.exe")
        self.type_target_exe = os.path.join(self.build_dir, "type_target.exe")
        self.artefacts = os.path.join(self.build_dir, "artefacts")
        os.makedirs(self.artefacts, exist_ok=True)

    def start(self):
        subprocess.run([os.path.join(ROOT, "scripts", "test-env"), "start", self.dir, self.arch], check=True,
                       stdout=subprocess.DEVNULL)
        with open(os.path.join(self.dir, "env")) as env_file:
            for line in env_file:
                name, _, value = line.strip().removeprefix("export ").partition("=")
                os.environ[name] = value.strip('"')
        os.environ["PATH"] = "/usr/lib/wine:" + os.environ["PATH"]
        os.environ["LC_ALL"] = "en_US.UTF-8"
        os.environ["TZ"] = "UTC"
        self.wine = os.environ["WINE"]
        # A wineserver of its own clock, started before any program with a
        # fast one: the server runs every program's timers.
        subprocess.run(["wineserver", "-k"], stderr=subprocess.DEVNULL)
        subprocess.run(["wineserver", "-p"], check=True)

    def stop(self):
        subprocess.run(["wineserver", "-k"], stderr=subprocess.DEVNULL)
        subprocess.run([os.path.join(ROOT, "scripts", "test-env"), "stop", self.dir], stdout=subprocess.DEVNULL)

    def run(self, *args, cwd=None):
        return subprocess.run([self.wine, *args], cwd=cwd, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def fast_clock(self, start, speed):
        """The variables that make a process's wall clock start at `start`
        (a datetime, UTC) and run `speed` times as fast, its monotonic clock
        left real. libfaketime for the x86_64 Wine; for the 32-bit one, whose
        64-bit time_t calls libfaketime 0.9.10 does not wrap, fastclock.so."""
        fake_time = "@%s x%s" % (start.strftime("%Y-%m-%d %H:%M:%S"), speed)
        if self.build == "win32":
            return {"LD_PRELOAD": os.path.join(self.build_dir, "fastclock.so"), "FAKETIME": fake_time}
        return {"LD_PRELOAD": "/usr/lib/x86_64-linux-gnu/faketime/libfaketime.so.1", "FAKETIME": fake_time,
                "FAKETIME_DONT_FAKE_MONOTONIC": "1"}

    def launch(self, work, program="Fumora.exe", args=(), extra=None):
        """Starts a program of the work directory; its pid is the Unix
        process of the Windows one (the loader replaces itself)."""
        env = dict(os.environ, **(extra or {}))
        return subprocess.Popen([self.wine, program, *args], cwd=work, env=env, stdout=subprocess.DEVNULL,
                                stderr=subprocess.DEVNULL)


class Probe:
    """stress_probe.exe serving commands: ask() returns the answer's lines."""

    def __init__(self, env, cwd):
        self.process = subprocess.Popen([env.wine, env.probe_exe, "serve"], cwd=cwd, stdin=subprocess.PIPE,
                                        stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
        self.pending = b""

    def ask(self, command, timeout=60):
        self.process.stdin.write((command + "\n").encode("latin-1"))
        self.process.stdin.flush()
        end = time.time() + timeout
        while b"\n.\n" not in b"\n" + self.pending:
            left = end - time.time()
            if left <= 0 or not select.select([self.process.stdout], [], [], left)[0]:
                raise TimeoutError("the probe did not answer '%s'" % command)
            chunk = os.read(self.process.stdout.fileno(), 65536)
            if not chunk:
                raise EOFError("the probe ended")
            # The probe's text-mode stdout ends its lines with CR LF.
            self.pending += chunk.replace(b"\r\n", b"\n")
        text, _, self.pending = (b"\n" + self.pending).partition(b"\n.\n")
        return [line.rstrip("\r") for line in text.decode("latin-1").split("\n")[1:]]

    def fields(self, command):
        """The answer as {first field: the rest of the line}."""
        return {line.split("\t", 1)[0]: line.split("\t", 1)[1] if "\t" in line else "" for line in self.ask(command)}

    def rows(self, list_id):
        lines = self.ask("list %d" % list_id)
        if not lines or not lines[0].startswith("rows\t"):
            return None
        return [tuple(line.split("\t")) for line in lines[1:]]

    def close(self):
        try:
            self.process.stdin.close()
            self.process.wait(10)
        except (OSError, subprocess.TimeoutExpired):
            self.process.kill()


def seed_settings(env, work, quit, per_day=20, per_pack=20, price=500, template=DEFAULT_TEMPLATE,
                  look_ahead=20, startup_view=0, include_seconds=1, full_dates=1, extra=None):
    """The settings of a finished first run, in a registry of its own."""
    prefs = struct.pack("<7I", look_ahead, 5, 0, startup_view, 0, include_seconds, full_dates)
    prefs += template.encode("latin-1").ljust(512, b"\0") + b"I will quit in %Q.".ljust(512, b"\0")
    dword = lambda n: (4, struct.pack("<I", n))
    values = {"FirstRun": dword(1), "QuitName": (1, b"Tester\0"), "NumCigs": dword(per_day),
              "NumPack": dword(per_pack), "Price": dword(price),
              "QuitDate": (3, struct.pack("<8H", quit.year, quit.month, 0, quit.day, quit.hour, quit.minute, 0, 0)),
              "AppColors": (3, struct.pack("<7I", *COLOURS)), "GenPrefs": (3, prefs)}
    values.update(extra or {})
    lines = ["REGEDIT4", "", "[-%s]" % KEY, "",
             r"[-HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Run]", "", "[%s]" % KEY]
    lines += ['"%s"=hex(%x):%s' % (name, kind, ",".join("%02x" % b for b in data))
              for name, (kind, data) in values.items()]
    with open(os.path.join(work, "seed.reg"), "w") as reg:
        reg.write("\n".join(lines) + "\n")
    env.run("regedit", "/S", "seed.reg", cwd=work)


def write_buddies(path, buddies):
    """anny.dat for (date, name) pairs."""
    with open(path, "wb") as out:
        for day, name in buddies:
            out.write(day.strftime("%Y%m%d").encode() + name.encode("latin-1") + b"\x1e")
        out.write(b"\x1c")


def write_price_points(path, points):
    with open(path, "wb") as out:
        for day, price in points:
            out.write(struct.pack("<II", day, price))


def fresh_work_dir(env, name):
    work = os.path.join(env.build_dir, name)
    shutil.rmtree(work, ignore_errors=True)
    os.makedirs(work)
    shutil.copy(env.fumora_exe, os.path.join(work, "Fumora.exe"))
    return work


def xdo(*args, timeout=20):
    """xdotool's output, or "" when it failed."""
    try:
        done = subprocess.run(["xdotool", *map(str, args)], capture_output=True, text=True, timeout=timeout)
        return done.stdout.strip() if done.returncode == 0 else ""
    except subprocess.TimeoutExpired:
        return ""


def screenshot(path):
    subprocess.run(["import", "-window", "root", path], stderr=subprocess.DEVNULL, timeout=30)


def proc_status(pid):
    """VmRSS in kB, threads and open file descriptors of a Unix process."""
    status = {}
    try:
        with open("/proc/%d/status" % pid) as f:
            for line in f:
                name, _, value = line.partition(":")
                status[name] = value.split()[0] if value.split() else ""
        fds = len(os.listdir("/proc/%d/fd" % pid))
    except OSError:
        return None
    return {"rss_kb": int(status.get("VmRSS", 0)), "threads": int(status.get("Threads", 0)), "fds": fds}
