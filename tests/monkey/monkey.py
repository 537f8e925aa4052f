#!/usr/bin/env python3
"""The monkey: a seeded random user for the running program, inside an X server.

Every random number comes from one generator seeded on the command line, and
each step draws the same numbers whatever the program shows, so a seed
replays the same sequence of steps. After every step the program must answer
the window system's ping (_NET_WM_PING, which the toolkit answers from its
event loop) within the limit, must still run, and must have written no
sanitizer report. At the end the window is closed as the window system
would; the program must then end with status 0.

Never sent, so that the monkey cannot leave the test's own folder or end the
program early: Ctrl+O, Ctrl+S, the "Datei" and "Optionen" menus, clicks on the
main window's menu bar.
"""
import argparse
import ctypes
import os
import random
import select
import subprocess
import sys
import time
from collections import deque, namedtuple

# ---- the window system's ping, through libX11 ---------------------------------


class XClientMessageEvent(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("window", ctypes.c_ulong),
                ("message_type", ctypes.c_ulong), ("format", ctypes.c_int),
                ("data", ctypes.c_long * 5)]


class XEvent(ctypes.Union):
    _fields_ = [("type", ctypes.c_int), ("xclient", XClientMessageEvent), ("pad", ctypes.c_long * 24)]


CLIENT_MESSAGE = 33
ROOT_EVENT_MASK = (1 << 17) | (1 << 19)  # StructureNotify, SubstructureNotify: the toolkits differ

# Errors about a window that has gone away must not end the monkey.
ERROR_HANDLER = ctypes.CFUNCTYPE(ctypes.c_int, ctypes.c_void_p, ctypes.c_void_p)(lambda d, e: 0)


class Pinger:
    def __init__(self):
        x = ctypes.cdll.LoadLibrary("libX11.so.6")
        x.XOpenDisplay.restype = ctypes.c_void_p
        x.XOpenDisplay.argtypes = [ctypes.c_char_p]
        x.XDefaultRootWindow.restype = ctypes.c_ulong
        x.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
        x.XInternAtom.restype = ctypes.c_ulong
        x.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
        x.XSelectInput.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_long]
        x.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long,
                                 ctypes.POINTER(XEvent)]
        x.XFlush.argtypes = [ctypes.c_void_p]
        x.XPending.argtypes = [ctypes.c_void_p]
        x.XNextEvent.argtypes = [ctypes.c_void_p, ctypes.POINTER(XEvent)]
        x.XConnectionNumber.argtypes = [ctypes.c_void_p]
        x.XSetErrorHandler(ERROR_HANDLER)
        self.x = x
        self.dpy = x.XOpenDisplay(None)
        if not self.dpy:
            raise RuntimeError("no X display")
        self.root = x.XDefaultRootWindow(self.dpy)
        x.XSelectInput(self.dpy, self.root, ROOT_EVENT_MASK)
        self.protocols = x.XInternAtom(self.dpy, b"WM_PROTOCOLS", 0)
        self.ping_atom = x.XInternAtom(self.dpy, b"_NET_WM_PING", 0)
        self.delete_atom = x.XInternAtom(self.dpy, b"WM_DELETE_WINDOW", 0)
        self.fd = x.XConnectionNumber(self.dpy)
        self.token = 1000

    def _send(self, window, protocol, stamp):
        ev = XEvent()
        ev.xclient.type = CLIENT_MESSAGE
        ev.xclient.window = window
        ev.xclient.message_type = self.protocols
        ev.xclient.format = 32
        ev.xclient.data[0] = protocol
        ev.xclient.data[1] = stamp
        ev.xclient.data[2] = window
        self.x.XSendEvent(self.dpy, window, 0, 0, ctypes.byref(ev))
        self.x.XFlush(self.dpy)

    def ping(self, window, limit):
        """Seconds until the answer, or None when none came within limit."""
        self.token += 1
        start = time.monotonic()
        self._send(window, self.ping_atom, self.token)
        ev = XEvent()
        while True:
            while self.x.XPending(self.dpy):
                self.x.XNextEvent(self.dpy, ctypes.byref(ev))
                c = ev.xclient
                if (ev.type == CLIENT_MESSAGE and c.message_type == self.protocols
                        and c.data[0] == self.ping_atom and c.data[1] == self.token):
                    return time.monotonic() - start
            left = limit - (time.monotonic() - start)
            if left <= 0:
                return None
            select.select([self.fd], [], [], left)

    def close_window(self, window):
        self._send(window, self.delete_atom, 0)


# ---- formulas -------------------------------------------------------------------

ATOMS = ["x", "t", "pi", "e", "y", "y'", "y''", "y'''", "0", "1", "2", "0.5", "1e300", "1e-300",
         "-1", "123456789", "0.0001", "10^10", "z", "xx", "2x", "3pi"]
FUNCS = ["sin", "cos", "tan", "exp", "ln", "log", "sqrt", "abs", "asin", "acos", "atan", "sinh",
         "cosh", "tanh", "int", "frac", "sgn", "d", "sqr", "foo", "fac", "gamma", "min", "max"]
OPS = ["+", "-", "*", "/", "^", "", ","]
PREFIXES = ["", "", "", "r(t)=", "y'=", "y''=", "y'''=-", "f(x)=", "=", "x=", "y(0)="]
GARBAGE = list("()[]{}^*/+-.,;='!?%&|<>#~ ") + ["\u00e4", "\u00df", "\u20ac"]


def expression(rng, depth):
    roll = rng.random()
    if depth <= 0 or roll < 0.3:
        return rng.choice(ATOMS)
    if roll < 0.6:
        return rng.choice(FUNCS) + "(" + expression(rng, depth - 1) + ")"
    if roll < 0.7:
        return "(" + expression(rng, depth - 1) + ")"
    return expression(rng, depth - 1) + rng.choice(OPS) + expression(rng, depth - 1)


def formula(rng):
    text = rng.choice(PREFIXES) + expression(rng, rng.randint(0, 6))
    if rng.random() < 0.3:
        text += ";" + expression(rng, rng.randint(0, 3))
    for _ in range(rng.choice([0, 0, 0, 1, 2, 4])):  # broken on purpose
        at = rng.randint(0, len(text))
        text = text[:at] + rng.choice(GARBAGE) + text[at + rng.choice([0, 0, 1, 3]):]
    if rng.random() < 0.03:  # beside and beyond the length limit
        text = "+".join(["x"] * rng.choice([255, 256, 257, 300]))
    return text[:700]


# ---- the program's windows --------------------------------------------------------


def xdotool(*args, timeout=30):
    r = subprocess.run(["xdotool", *map(str, args)], stdout=subprocess.PIPE,
                       stderr=subprocess.DEVNULL, text=True, timeout=timeout)
    return r.stdout


def geometry(window_args):
    out = xdotool(*window_args, "getwindowgeometry", "--shell")
    g = {}
    for line in out.splitlines():
        key, _, value = line.partition("=")
        if value.lstrip("-").isdigit():
            g[key] = int(value)
    if {"WINDOW", "X", "Y", "WIDTH", "HEIGHT"} <= g.keys() and g["WIDTH"] > 20 and g["HEIGHT"] > 20:
        return g
    return None


# The numbers one step draws, used or not.
Draw = namedtuple("Draw", "fx fy gx gy main_wanted pick button steps text")


class Monkey:
    # Keys with a meaning in the main window, its dialogs or calculators.
    KEYS = ["ctrl+f", "ctrl+i", "ctrl+d", "ctrl+g", "ctrl+t", "ctrl+x", "ctrl+y", "ctrl+q",
            "ctrl+m", "ctrl+z", "ctrl+c", "ctrl+p", "ctrl+a", "F1", "F2", "F11", "plus", "minus",
            "Left", "Right", "Up", "Down", "1", "2", "3", "Return", "Escape", "Escape", "Tab",
            "shift+Tab", "space", "ctrl+shift+alt+l", "ctrl+shift+alt+i", "Delete", "BackSpace",
            "Home", "End", "Page_Up", "Page_Down", "ctrl+v", "ctrl+Return", "shift+Return"]
    # Buttons of the dialogs and calculators, by their Alt letters.
    DIALOG_ALTS = ["u", "h", "g", "i", "a", "b", "s", "k", "n", "d", "e", "t", "w", "x", "y"]
    # Menus of the main window and letters that run one of their items, so
    # that no menu is left open for the next step's arrow keys.
    MENUS = {"g": "fid", "r": "te", "h": "h", "z": "hwlroza", "f": "vq", "a": "wsomcbexyt",
             "b": "rkv"}

    def __init__(self, args):
        self.args = args
        self.rng = random.Random(args.seed)
        self.log = open(args.log, "w")
        self.proc = None
        self.wm = None
        self.main = None
        self.history = deque(maxlen=int(os.environ.get("KV_MONKEY_HISTORY", "25")))
        self.step = 0
        self.slowest = 0.0
        self.seen = {}  # window titles that had the focus, every tenth step

    def fail(self, why):
        print(f"FAIL (seed {self.args.seed}, step {self.step}): {why}")
        print("last steps:")
        for h in self.history:
            print("  " + h)
        for name in self.reports():
            print(f"---- {name}")
            with open(os.path.join(self.args.sanitizer_logs, name), errors="replace") as f:
                print("".join(f.readlines()[:80]))
        # The same seed replays the same steps; up to this one, however fast
        # the machine runs them.
        print(f"replay: {self.args.replay} {max(self.step, 1)}")
        if self.proc and self.proc.poll() is None:
            self.proc.kill()
        self.end_wm()
        sys.exit(1)

    def end_wm(self):
        if self.wm and self.wm.poll() is None:
            self.wm.terminate()
            self.wm.wait()

    def start(self):
        if self.args.wm:
            # Focus, activation and full screen as a desktop does them.
            self.wm = subprocess.Popen([self.args.wm], stdout=subprocess.DEVNULL,
                                       stderr=subprocess.DEVNULL)
            time.sleep(1)
        self.proc = subprocess.Popen([self.args.bin], stdout=self.log, stderr=subprocess.STDOUT)
        deadline = time.monotonic() + 60
        while time.monotonic() < deadline:
            if self.proc.poll() is not None:
                self.fail(f"the program ended at start with status {self.proc.returncode}")
            out = xdotool("search", "--onlyvisible", "--name", "^Kurvaline$").split()
            if out:
                self.main = int(out[0])
                return
            time.sleep(0.2)
        self.fail("no main window within 60 s")

    # The window the keys go to, and where clicks land in it: below the main
    # window's menu bar, anywhere in the others.
    def target(self, fx, fy, main_wanted):
        g = None if main_wanted else geometry(["getwindowfocus"])
        if g is None or g["WINDOW"] == self.main:
            g = geometry([self.main])
            if g is None:
                return None
            top = min(40, g["HEIGHT"] - 1)
            return g["X"] + int(fx * (g["WIDTH"] - 1)), g["Y"] + top + int(fy * (g["HEIGHT"] - 1 - top))
        return g["X"] + int(fx * (g["WIDTH"] - 1)), g["Y"] + int(fy * (g["HEIGHT"] - 1))

    # Under a window manager a step may leave the focus on none of the
    # program's windows (a click on the desktop, the frame's iconify button);
    # the main window is activated again, or the run would drive the manager.
    def keep_focus(self):
        focus = xdotool("getwindowfocus").strip()
        if focus not in {str(w) for w, _title in self.windows()}:
            xdotool("windowactivate", self.main)
            self.history.append(f"step {self.step}: the focus back on the main window")

    def focus_is_main(self):
        g = geometry(["getwindowfocus"])
        return g is None or g["WINDOW"] == self.main

    def act(self):
        r = self.rng
        kind = r.choices(["key", "type", "click", "drag", "gesture", "wheel", "context", "menu",
                          "alt", "calculator", "escape"],
                         weights=[26, 10, 12, 6, 7, 8, 4, 6, 5, 3, 6])[0]
        # Drawn whatever the kind, so that every step takes as many numbers.
        fx, fy, gx, gy = r.random(), r.random(), r.random(), r.random()
        main_wanted = r.random() < 0.3
        d = Draw(fx, fy, gx, gy, main_wanted, r.random(), r.choice([1, 1, 1, 2, 3]),
                 r.randint(2, 12), formula(r))
        if kind in ("click", "drag", "gesture", "context", "wheel"):
            at = self.target(d.fx, d.fy, d.main_wanted)
            if at is not None:
                (self.wheel if kind == "wheel" else self.pointer)(kind, d, *at)
        else:
            getattr(self, "act_" + kind)(d)

    def act_key(self, d):
        keys = self.KEYS[int(d.pick * len(self.KEYS))]
        self.history.append(f"key {keys}")
        xdotool("key", keys)

    def act_type(self, d):
        self.history.append(f"type {d.text!r}")
        if d.pick < 0.5:
            xdotool("key", "ctrl+a")  # select a field's text first (or the about box)
        # In bursts a fast typist could make, each answered before the next:
        # a flood of hundreds of zoom keys in a second is no fault of the program.
        for at in range(0, len(d.text), 16):
            xdotool("type", "--delay", "5", d.text[at:at + 16])
            self.check()
        if d.pick < 0.3:
            xdotool("key", "Return")

    def pointer(self, kind, d, x, y):
        if kind == "click":
            count = 2 if d.pick < 0.2 else 1
            self.history.append(f"click {d.button} x{count} at {x},{y}")
            xdotool("mousemove", x, y, "click", "--repeat", count, d.button)
            return
        if kind == "context":
            self.history.append(f"context menu at {x},{y}")
            xdotool("mousemove", x, y, "click", 3)
            return
        b = 1 if kind == "drag" else 3
        span = 40 + int(d.pick * 300)
        dx, dy = int((d.gx - 0.5) * 2 * span), int((d.gy - 0.5) * 2 * span)
        if kind == "gesture" and d.pick < 0.6:  # mostly straight: the gestures proper
            dx, dy = (dx, 0) if abs(dx) > abs(dy) else (0, dy)
        self.history.append(f"{kind} button {b} from {x},{y} by {dx},{dy}")
        cmd = ["mousemove", x, y, "mousedown", b]
        for i in range(1, d.steps + 1):
            cmd += ["mousemove", x + dx * i // d.steps, y + dy * i // d.steps, "sleep", "0.01"]
        xdotool(*cmd, "mouseup", b)

    def wheel(self, _kind, d, x, y):
        wheel = [4, 5, 4, 5, 6, 7][int(d.gx * 6)]
        mods = ["", "", "ctrl", "shift"][int(d.gy * 4)]
        count = 1 + int(d.pick * 5)
        self.history.append(f"wheel {wheel} x{count} {mods} at {x},{y}")
        cmd = ["mousemove", x, y]
        cmd += ["keydown", mods] if mods else []
        cmd += ["click", "--repeat", count, "--delay", "20", wheel]
        cmd += ["keyup", mods] if mods else []
        xdotool(*cmd)

    def act_menu(self, d):
        menu = sorted(self.MENUS)[int(d.pick * len(self.MENUS))]
        item = self.MENUS[menu][int(d.gx * len(self.MENUS[menu]))]
        if self.focus_is_main():
            self.history.append(f"menu alt+{menu} {item}")
            xdotool("key", f"alt+{menu}", "sleep", "0.05", item)
        else:
            self.history.append("menu skipped: a dialog has the focus")

    def act_alt(self, d):
        letter = self.DIALOG_ALTS[int(d.pick * len(self.DIALOG_ALTS))]
        if not self.focus_is_main():
            self.history.append(f"key alt+{letter}")
            xdotool("key", f"alt+{letter}")
        else:
            self.history.append("alt skipped: the main window has the focus")

    def act_calculator(self, d):
        item = "te"[int(d.pick * 2)]
        if self.focus_is_main():
            self.history.append(f"calculator alt+r {item}")
            xdotool("key", "alt+r", "sleep", "0.05", item)
        else:
            self.history.append("calculator skipped: a dialog has the focus")

    def act_escape(self, d):
        count = 1 + int(d.pick * 3)
        self.history.append(f"escape x{count}")
        xdotool("key", "--delay", "30", *["Escape"] * count)

    def reports(self):
        """The sanitizer logs that report a fault (the leak check also lists
        the suppressions it used, which is none)."""
        found = []
        for name in sorted(os.listdir(self.args.sanitizer_logs)):
            with open(os.path.join(self.args.sanitizer_logs, name), errors="replace") as f:
                text = f.read()
            if "ERROR:" in text or "runtime error" in text or "SUMMARY:" in text:
                found.append(name)
        return found

    def check(self):
        pinger = self.pinger
        if self.proc.poll() is not None:
            self.fail(f"the program ended with status {self.proc.returncode}")
        answer = pinger.ping(self.main, self.args.ping_limit)
        if answer is None:
            if self.proc.poll() is not None:
                self.fail(f"the program ended with status {self.proc.returncode}")
            # How long it takes after all tells a slow step from a hang.
            late = pinger.ping(self.main, 30)
            after = "not within 30 s more" if late is None else f"{self.args.ping_limit + late:.1f} s"
            focus = xdotool("getwindowfocus", "getwindowname").strip()
            self.fail(f"the main window did not answer the ping within {self.args.ping_limit} s "
                      f"(answered after {after}; focus on {focus!r})")
        self.slowest = max(self.slowest, answer)
        if self.reports():
            self.fail("sanitizer report")

    def windows(self):
        """The program's visible windows: id and title."""
        ids = xdotool("search", "--onlyvisible", "--pid", self.proc.pid).split()
        return [(int(w), xdotool("getwindowname", w).strip()) for w in ids]

    def finish(self, pinger):
        # Menus closed, then every window as the window system's close button
        # closes it (without a window manager the focus may rest on none of
        # them, so keys alone would not reach a dialog), the main window last.
        for _ in range(8):
            xdotool("key", "--delay", "50", "Escape", "Escape", "Escape")
            for window, _title in self.windows():
                if window != self.main:
                    pinger.close_window(window)
            time.sleep(0.5)
            pinger.close_window(self.main)
            try:
                self.proc.wait(timeout=15)
                break
            except subprocess.TimeoutExpired:
                pass
        if self.proc.poll() is None:
            left = []
            for window, title in self.windows():
                g = geometry([window]) or {}
                left.append(f"{title!r} {g.get('WIDTH')}x{g.get('HEIGHT')}+{g.get('X')}+{g.get('Y')}")
            answer = pinger.ping(self.main, self.args.ping_limit)
            alive = "answers" if answer is not None else "does not answer"
            self.fail(f"the program did not end when its windows were closed; its main window "
                      f"{alive} the ping; open: {', '.join(left)}")
        if self.proc.returncode != 0:
            self.fail(f"the program ended with status {self.proc.returncode} after closing")
        if self.reports():
            self.fail("sanitizer report at the end")

    def run(self):
        self.pinger = pinger = Pinger()
        self.start()
        time.sleep(1)
        self.check()
        begin = time.monotonic()
        end = begin + self.args.seconds
        while (self.step < self.args.steps if self.args.steps else time.monotonic() < end):
            self.step += 1
            if self.args.wm and self.step % 5 == 0:
                self.keep_focus()
            self.act()
            self.check()
            if self.step % 10 == 0:
                title = xdotool("getwindowfocus", "getwindowname").strip() or "?"
                self.seen[title] = self.seen.get(title, 0) + 1
        self.history.append("closing the window")
        self.finish(pinger)
        self.end_wm()
        print(f"monkey: seed {self.args.seed}, {self.step} steps in {time.monotonic() - begin:.0f} s, "
              f"slowest ping answer {self.slowest:.2f} s, program ended cleanly")
        print("focused windows (every tenth step): " +
              ", ".join(f"{t!r} {n}" for t, n in sorted(self.seen.items(), key=lambda i: -i[1])))


def main():
    p = argparse.ArgumentParser()
    p.add_argument("--bin", required=True)
    p.add_argument("--seed", type=int, required=True)
    p.add_argument("--seconds", type=float, default=60)
    p.add_argument("--steps", type=int, default=0, help="this many steps instead of --seconds")
    p.add_argument("--ping-limit", type=float, default=2.0)
    p.add_argument("--log", required=True)
    p.add_argument("--sanitizer-logs", required=True)
    p.add_argument("--replay", default="")
    p.add_argument("--wm", default="", help="a window manager to run first, e.g. openbox")
    Monkey(p.parse_args()).run()


if __name__ == "__main__":
    main()
