"""What the tests of the real Vestrel binary share: a desktop, a PulseAudio null sink recording
what the program plays, a stand-in xdg-open recording the page it opens, the binary in a
folder of its own started from another working directory, xdotool to drive it."""
import array
import contextlib
import ctypes
import glob
import json
import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import traceback

TWIP = 15
# The sanitized build runs several times slower: every deadline grows with it.
SLOW = float(os.environ.get("VESTREL_TIME_SCALE", "1"))
DEADLINE = 10  # seconds for what should happen at once, on a busy machine
LOUD = 1000  # a sample this loud is the chime, not silence

def _layout():
    """The forms' controls in twips from tests/Geometry.h, where each window's layout is written
    once: the warning's and the dialog's boxes by the forms' names, the self-sizing labels'
    corners, how far the full-screen warning's controls sit from the standard one's, and the
    dialog's height folded and unfolded."""
    with open(os.path.join(os.path.dirname(os.path.abspath(__file__)), "Geometry.h")) as f:
        source = f.read()

    def boxes(function):
        body = source[source.index(function):]
        body = body[:body.index("\n}\n")]
        return {name: tuple(int(n) for n in numbers.split(","))
                for name, numbers in re.findall(r"\{\w\.(\w+), (?:at\(|\{)([\d, ]+)[)}]\}", body)}
    number = lambda name: int(re.search(name + r" = (\d+)", source).group(1))  # noqa: E731
    return (boxes("warning(WarningForm"), boxes("dialog(Form2"), boxes("dialogCorners("),
            number("Form4Offset"), number("DialogHeight"), number("DialogExpandedHeight"))


WARNING_BOXES, DIALOG_BOXES, DIALOG_CORNERS, FORM4_OFFSET, FOLDED, UNFOLDED = _layout()
# Each control's rectangle in twips from its window's client corner, by window title (the
# warning "Varování!" is Form1, the dialog "Nastavení" Form2) and a name of the test's.
WARNING = {"OK": WARNING_BOXES["Command1"], "Nastavení": WARNING_BOXES["Command2"],
           "Ukončit !": WARNING_BOXES["Command3"], "message": WARNING_BOXES["Label1"]}
_bar = DIALOG_BOXES["HScroll1"]
CONTROLS = {
    "Form3": {"square": (0, 0, 120, 120)},
    "Varování!": WARNING,
    "Form4": {name: (x + FORM4_OFFSET, y + FORM4_OFFSET, w, h) for name, (x, y, w, h) in WARNING.items()},
    "Nastavení": {"slider →": (_bar[0] + _bar[2] - 240, _bar[1], 240, _bar[3]),  # its right arrow
                  "Text1": DIALOG_BOXES["Text1"], "Skrýt plochu": DIALOG_BOXES["Check1"],
                  "Uložit": DIALOG_BOXES["Command1"], "Zavřít": DIALOG_BOXES["Command2"],
                  "Původní": DIALOG_BOXES["Command4"], "O programu": DIALOG_BOXES["Command3"],
                  "link": DIALOG_CORNERS["Label8"] + (600, 240)},  # the start of the address
    "Zvuk": {"margin": (0, 0, 240, 120)},  # the sound's report, its corner clear of the text
}


class P:
    """What one run works with, set by main() from its command line: the binary (with its
    chime helper beside it), the resources, a scratch folder and a folder in it to start
    the program from, where screenshots go, the default data.ini."""
    binary = resources = work = elsewhere = shots = default_ini = None
    windows = False  # the binary is Vestrel.exe, run under Wine
    probe = os.environ.get("VESTREL_PROBE")  # the Windows probe, for the Wine desktop


def px(twips, scale=1):
    """Pixels as the program computes them, then as Qt scales them."""
    return int((twips + 7) // TWIP * scale + 0.5)


def run(*args, **kw):
    return subprocess.run(args, capture_output=True, text=True, **kw)


def wait_for(predicate, timeout=DEADLINE, step=0.05):
    """The predicate's first true value, or its last one after the deadline."""
    end = time.monotonic() + timeout * SLOW
    while time.monotonic() < end:
        value = predicate()
        if value:
            return value
        time.sleep(step)
    return predicate()


def ready(predicate, what, timeout=DEADLINE):
    value = wait_for(predicate, timeout)
    if not value:
        raise RuntimeError(what)
    return value


def inside(folder, name):
    """A file's path in a folder whose name may be bytes."""
    return os.path.join(folder, os.fsencode(name) if isinstance(folder, bytes) else name)


def loudness(path):
    """The loudest sample so far of a recording that may still be growing."""
    data = open(path, "rb").read() if os.path.exists(path) else b""
    data = data[data.find(b"data") + 8:] if b"data" in data else b""
    return max(map(abs, array.array("h", data[:len(data) // 2 * 2])), default=0)


class Session:
    """A desktop of the kind VESTREL_DESKTOP names (start_<name> starts it), a sound server
    with a null sink, a stand-in browser opener:
      xvfb     a bare X server (the default)
      openbox  Xvfb with the openbox window manager (LXDE, LXQt); xfwm4 (Xfce), icewm, fluxbox
      mutter   GNOME's compositor, headless, with XWayland and a session bus
      kwin     KDE Plasma's compositor, virtual, with XWayland and the Breeze title bars
      weston   weston's headless back end, Wayland only; weston-xwayland with XWayland
      wine     Xvfb with Vestrel.exe under Wine"""

    def __init__(self):
        self.desktop = os.environ.get("VESTREL_DESKTOP", "xvfb")
        self.started = []  # what close() ends, last first
        self.runtime = os.path.join(P.work, "runtime")
        os.makedirs(self.runtime, mode=0o700)
        self.env = {k: v for k, v in os.environ.items()
                    if k not in ("DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "XAUTHORITY")}
        self.env.update(LC_ALL="C.UTF-8", XDG_RUNTIME_DIR=self.runtime, HOME=self.runtime)
        self.screen = (1280, 800) if self.desktop != "xvfb" else (1024, 768)
        # The sound server, private to this test.
        socket = os.path.join(self.runtime, "pulse-native")
        self.env.update(PULSE_SERVER="unix:" + socket, PULSE_RUNTIME_PATH=self.runtime)
        self.sound = self.start(["pulseaudio", "-n", "--daemonize=no", "--exit-idle-time=-1",
                                 "--disallow-exit", "--use-pid-file=no", "--system=false",
                                 "-L", "module-null-sink sink_name=vestrel_test",
                                 "-L", "module-native-protocol-unix auth-anonymous=1 socket=" + socket,
                                 "-L", "module-always-sink"])
        ready(lambda: run("pactl", "info", env=self.env).returncode == 0, "the sound server did not start")
        run("pactl", "set-default-sink", "vestrel_test", env=self.env)
        getattr(self, "start_" + self.desktop.replace("-", "_"))()
        # xdg-open stand-in: records the address it was asked to open.
        self.opened = os.path.join(P.work, "opened.txt")
        opener = os.path.join(P.work, "bin", "xdg-open")
        os.makedirs(os.path.dirname(opener))
        with open(opener, "w") as f:
            f.write('#!/bin/sh\nprintf "%%s\\n" "$1" >> "%s"\n' % self.opened)
        os.chmod(opener, 0o755)
        self.env["PATH"] = os.path.dirname(opener) + os.pathsep + self.env["PATH"]

    def start(self, command, **kw):
        process = subprocess.Popen(command, env=kw.pop("env", self.env),
                                   stdout=kw.pop("stdout", subprocess.DEVNULL),
                                   stderr=subprocess.STDOUT, start_new_session=True, **kw)
        self.started.append(process)
        return process

    def start_xvfb(self, *more):
        # Xvfb picks a free display (suites may run side by side) and names it once it answers.
        read, write = os.pipe()
        self.start(["Xvfb", "-displayfd", str(write), "-screen", "0", "%dx%dx24" % self.screen, "-wr",
                    "-noreset", "-nolisten", "tcp", *more], pass_fds=(write,))
        os.close(write)
        with os.fdopen(read) as f:
            self.env.update(DISPLAY=":" + f.readline().strip(), QT_QPA_PLATFORM="xcb")
        # A Czech keyboard, as the program's users have: xdotool then types Czech letters with
        # keys that are there, not with a key it maps for a moment, which a busy program reads
        # only once the mapping is gone.
        assert run("setxkbmap", "-layout", "cz", env=self.env).returncode == 0, "Xvfb does not answer"

    @contextlib.contextmanager
    def other_x_server(self, *more):
        """A bare X server of its own, started with more arguments, for the block."""
        display, before = self.env["DISPLAY"], len(self.started)
        self.start_xvfb(*more)
        try:
            yield
        finally:
            self.end(self.started[before:])
            self.env["DISPLAY"] = display

    def start_window_manager(self, *command):
        """A window manager on Xvfb, ready when it names itself on the root window."""
        self.start_xvfb()
        self.start(command)
        ready(lambda: "window id" in run("xprop", "-root", "_NET_SUPPORTING_WM_CHECK", env=self.env).stdout,
              command[0] + " did not start")

    def start_openbox(self):
        # It names itself before it has done starting, and loses a window mapped meanwhile:
        # ready once it runs what it was given to run after starting.
        started = os.path.join(P.work, "openbox-started")
        self.start_window_manager("openbox", "--sm-disable", "--startup", "touch " + started)
        ready(lambda: os.path.exists(started), "openbox did not finish starting")

    def start_xfwm4(self):
        self.start_window_manager("dbus-run-session", "--", "xfwm4", "--compositor=off", "--sm-client-disable")

    def start_icewm(self):
        self.start_window_manager("icewm")

    def start_fluxbox(self):
        # No wallpaper from the default style: its helper, finding no program to set one, says
        # so in a window that takes the keyboard.
        os.makedirs(os.path.join(self.runtime, ".fluxbox"))
        with open(os.path.join(self.runtime, ".fluxbox", "overlay"), "w") as f:
            f.write("background: none\n")
        self.start_window_manager("fluxbox")

    def start_kwin(self):
        # A copy of the binary, without the file capability that a sandbox may refuse to run. It
        # starts a program of ours once its XWayland is up, which writes down the display.
        kwin, told = os.path.join(P.work, "kwin", "kwin_wayland"), os.path.join(P.work, "kwin", "display")
        os.makedirs(os.path.dirname(kwin))
        shutil.copy("/usr/bin/kwin_wayland", kwin)
        self.env["WAYLAND_DISPLAY"] = "vestrel-kwin"
        self.start(["dbus-run-session", "--", kwin, "--virtual", "--xwayland", "--socket", "vestrel-kwin",
                    "--no-lockscreen", "--width", str(self.screen[0]), "--height", str(self.screen[1]),
                    "sh -c 'echo $DISPLAY $XAUTHORITY > %s.new && mv %s.new %s'" % (told, told, told)])
        display = ready(lambda: os.path.exists(told) and open(told).read().split(), "KWin's XWayland did not start", 30)
        self.env.update(dict(zip(("DISPLAY", "XAUTHORITY"), display)))
        ready(lambda: run("xdpyinfo", env=self.env).returncode == 0, "KWin's XWayland does not answer")

    # A second monitor right of the first where the desktop can have one.
    SECOND_SCREEN = (800, 600)

    def start_mutter(self):
        # A GNOME Wayland session: Qt must choose X11 (XWayland) by itself, so nothing forces it.
        self.env["WAYLAND_DISPLAY"] = "vestrel-mutter"
        self.start(["dbus-run-session", "--", "mutter", "--headless", "--wayland", "--wayland-display",
                    "vestrel-mutter", "--virtual-monitor", "%dx%d" % self.screen,
                    "--virtual-monitor", "%dx%d" % self.SECOND_SCREEN])
        # The XWayland it starts, with our runtime folder on its command line.
        mine = r"Xwayland .*%s.*" % re.escape(self.runtime)
        found = lambda: re.search(mine, run("pgrep", "-a", "Xwayland").stdout)
        xwayland = ready(found, "mutter's XWayland did not start", 20).group(0).split()
        self.env.update(DISPLAY=next(a for a in xwayland if a.startswith(":")),
                        XAUTHORITY=xwayland[xwayland.index("-auth") + 1])
        ready(lambda: run("xdpyinfo", env=self.env).returncode == 0, "mutter's XWayland does not answer")

    def start_weston(self, *more):
        log = os.path.join(P.work, "weston.log")
        self.env["WAYLAND_DISPLAY"] = "vestrel-weston"
        # Pixman and --debug: the screenshooter then works on the headless back end.
        self.start(["weston", "--backend=headless-backend.so", "--use-pixman", "--debug",
                    "--socket=vestrel-weston", "--width=%d" % self.screen[0], "--height=%d" % self.screen[1],
                    "--log=" + log, *more], cwd=P.work)
        ready(lambda: os.path.exists(os.path.join(self.runtime, "vestrel-weston")), "weston did not start")
        if more:
            found = lambda: re.search(r"xserver listening on display (:\d+)", open(log).read())
            self.env["DISPLAY"] = ready(found, "weston's XWayland did not start").group(1)

    def start_weston_xwayland(self):
        self.start_weston("--xwayland")

    def start_wine(self):
        """Vestrel.exe under Wine on Xvfb and openbox, in a prefix of the test's own: made without fetching
        anything (no .NET, no Gecko), Arial served by Liberation Sans, its sound through the
        null sink (winepulse reads the same PULSE_SERVER) and its web link through the shell's
        browser, which calls the stand-in xdg-open. A window manager (openbox) passes the
        keyboard between the windows, as on any desktop: Wine leaves that to one."""
        self.start_openbox()
        self.env.update(WINEPREFIX=os.path.join(P.work, "wine"), WINEDEBUG="-all",
                        WINEDLLOVERRIDES="mscoree,mshtml=")
        assert run("wineboot", "-i", env=self.env, timeout=180).returncode == 0, "no Wine prefix"
        run("wine", "reg", "add", r"HKCU\Software\Wine\Fonts\Replacements", "/v", "Arial", "/t",
            "REG_SZ", "/d", "Liberation Sans", "/f", env=self.env)
        # A stand-in of Windows' session service, for programs whose WINEDLLOVERRIDES asks for it.
        shutil.copy(os.environ["VESTREL_WTSAPI32"], os.path.join(self.env["WINEPREFIX"], "drive_c",
                                                                 "windows", "system32", "wtsapi32.dll"))

    def probe(self):
        """What the Windows probe reads of the program's windows: for each visible one, its
        class, text, rectangle on the screen, styles and child controls, as the system says."""
        out = run("wine", P.probe, env=self.env).stdout
        return [json.loads(line) for line in out.splitlines() if line.startswith("{")]

    def post(self, name, message, w=0):
        """Posts a message to the program's top-level windows of that class or title, as any
        other Windows program can."""
        assert run("wine", P.probe, "post", name, str(message), str(w), env=self.env).returncode == 0, name

    def end(self, processes):
        """Ends what start() started for a while, before the session's end."""
        for process in reversed(processes):
            os.killpg(process.pid, signal.SIGKILL)
            process.wait()
            self.started.remove(process)

    def close(self):
        if self.desktop == "wine":  # Wine's own processes, which outlive ours
            run("wineserver", "-k", env=self.env)
        for p in reversed(self.started):
            try:
                os.killpg(p.pid, signal.SIGTERM)
                p.wait(5)
            except (ProcessLookupError, subprocess.TimeoutExpired):
                os.killpg(p.pid, signal.SIGKILL)
                p.wait()

    def xdo(self, *args):
        return run("xdotool", *args, env=self.env).stdout.strip()

    def windows(self, name, pid=None):
        """The visible windows of that title, of one process if given."""
        by_pid = ["--all", "--pid", str(pid)] if pid else []
        return self.xdo("search", "--onlyvisible", *by_pid, "--name", "^%s$" % name).split()

    def window(self, name, timeout=DEADLINE, pid=None):
        found = wait_for(lambda: self.windows(name, pid), timeout)
        assert found, "no visible window %r" % name
        return found[0]

    def gone(self, name):
        return wait_for(lambda: not self.windows(name))

    def geometry(self, wid):
        out = run("xwininfo", "-id", wid, env=self.env).stdout
        return tuple(int(re.search(key + r":\s*(-?\d+)", out).group(1))
                     for key in ("Absolute upper-left X", "Absolute upper-left Y", "Width", "Height"))

    def place(self, window, control, scale=1):
        """Where a control of the visible window of that title is on the screen, in pixels."""
        x0, y0, _, _ = self.geometry(self.window(window))
        x, y, w, h = (px(t, scale) for t in CONTROLS[window][control])
        return x0 + x, y0 + y, w, h

    def click(self, window, control, scale=1):
        """Clicks the middle of a control, by the title of its window and its name."""
        x, y, w, h = self.place(window, control, scale)
        # No --sync: it waits its full time when the pointer is there already. The server
        # takes the move before the click all the same.
        # Wine takes a click only where it has seen the pointer come first.
        pause = ("sleep", "0.2") if self.desktop == "wine" else ()
        self.xdo("mousemove", str(x + w // 2), str(y + h // 2), *pause, "click", "1")

    def settings(self):
        """The settings dialog, opened from the warning that a click on the square brings."""
        self.click("Form3", "square")
        self.click("Varování!", "Nastavení")
        return self.window("Nastavení")

    def full_screen(self, wid, on):
        """Asks the window manager to make a window full screen, or no longer, as a program's
        own request does (a _NET_WM_STATE message to the root window)."""
        x = ctypes.CDLL("libX11.so.6")
        x.XOpenDisplay.restype = x.XInternAtom.restype = x.XDefaultRootWindow.restype = ctypes.c_void_p
        x.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
        x.XDefaultRootWindow.argtypes = x.XFlush.argtypes = x.XCloseDisplay.argtypes = [ctypes.c_void_p]
        x.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long, ctypes.c_void_p]

        class Message(ctypes.Structure):
            _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                        ("display", ctypes.c_void_p), ("window", ctypes.c_ulong), ("message_type", ctypes.c_ulong),
                        ("format", ctypes.c_int), ("data", ctypes.c_long * 5), ("pad", ctypes.c_long * 12)]
        for name in ("XAUTHORITY", "DISPLAY"):  # the session's, which Xlib reads from the process
            if name in self.env:
                os.environ[name] = self.env[name]
        display = x.XOpenDisplay(self.env["DISPLAY"].encode())
        assert display, "no connection to the X server"
        state = Message(type=33, window=int(wid), format=32,  # ClientMessage
                        message_type=x.XInternAtom(display, b"_NET_WM_STATE", 0))
        state.data[:] = [int(on), x.XInternAtom(display, b"_NET_WM_STATE_FULLSCREEN", 0), 0, 1, 0]
        x.XSendEvent(display, x.XDefaultRootWindow(display), 0, (1 << 19) | (1 << 20), ctypes.byref(state))
        x.XFlush(display)
        x.XCloseDisplay(display)

    def prop(self, wid, name):
        """What the X server holds of a window property, as xprop prints it."""
        return run("xprop", "-id", wid, name, env=self.env).stdout

    def frame(self, wid):
        """The window manager's frame around a window: left, right, top, bottom."""
        out = self.prop(wid, "_NET_FRAME_EXTENTS")
        return tuple(int(x) for x in out.split("=")[1].split(",")) if "=" in out else (0, 0, 0, 0)

    def stacking(self):
        """The managed windows from bottom to top."""
        out = run("xprop", "-root", "_NET_CLIENT_LIST_STACKING", env=self.env).stdout
        return [str(int(w, 16)) for w in re.findall(r"0x[0-9a-f]+", out)]

    def active(self):
        return self.xdo("getactivewindow")

    def key(self, wid, *keys, type=None):
        """Keys, or with type= a text, into a window."""
        self.xdo("windowfocus", "--sync", wid)
        if type:
            self.xdo("type", "--delay", "20", type)
        else:
            self.xdo("key", "--clearmodifiers", "--delay", "30", *keys)

    def pixels(self, x, y, w, h, wid="root"):
        """RGB triples of a rectangle of the screen or of a window, row by row."""
        out = subprocess.run(["import", "-window", wid, "-crop", "%dx%d+%d+%d" % (w, h, x, y),
                              "-depth", "8", "rgb:-"], capture_output=True, env=self.env).stdout
        return [tuple(out[i:i + 3]) for i in range(0, len(out), 3)]

    def painted(self, wid):
        """Whether a window shows more than one colour, the same twice in a row."""
        first = self.pixels(0, 0, 9999, 9999, wid)
        return len(set(first)) > 1 and first == self.pixels(0, 0, 9999, 9999, wid)

    def readable(self, wid):
        """The screen, where it can be read (Xvfb); else (XWayland) the window given."""
        return wid if self.desktop in ("mutter", "kwin") else "root"

    def screenshot(self, name, wid=None):
        """The screen, or one window where the screen cannot be read (XWayland), once painted:
        the window given, or weston's screen (it fades in from black at its start)."""
        path = os.path.join(P.shots, ("%s-%s" % (self.desktop, name) if self.desktop != "xvfb" else name)
                            + ".png")
        assert not wid or wait_for(lambda: self.painted(wid)), "window %s was not painted" % wid
        if self.desktop.startswith("weston"):
            shots = [None]  # the same picture twice in a row

            def settled():
                shots.append(self.weston_screen())
                return shots[-1] is not None and shots[-1] == shots[-2]
            assert wait_for(settled), "weston's screen did not settle"
            with open(path, "wb") as f:
                f.write(shots[-1])
        else:
            run("import", "-window", self.readable(wid), path, env=self.env)
        return path

    def weston_screen(self):
        """weston's screen as a PNG, if it shows more than one colour. The screenshooter writes
        where XDG_PICTURES_DIR says, else where it runs: in the scratch folder both."""
        shots = tempfile.mkdtemp(dir=P.work)
        run("weston-screenshooter", env=dict(self.env, XDG_PICTURES_DIR=shots), cwd=shots,
            timeout=DEADLINE * SLOW)
        for made in glob.glob(os.path.join(shots, "*.png")):
            if run("identify", "-format", "%k", made).stdout.strip() != "1":
                with open(made, "rb") as f:
                    return f.read()
        return None

    @contextlib.contextmanager
    def sound_server(self, name):
        """More environment for a sound server with the null sink: the session's PulseAudio, or
        a PipeWire with its session manager and PulseAudio service, for the time of the block."""
        if name == "PulseAudio":
            yield {}
            return
        runtime = os.path.join(P.work, "pipewire")
        os.makedirs(runtime, mode=0o700)
        bus = "unix:path=" + os.path.join(runtime, "bus")
        more = {"XDG_RUNTIME_DIR": runtime, "PULSE_RUNTIME_PATH": os.path.join(runtime, "pulse"),
                "PULSE_SERVER": "unix:" + os.path.join(runtime, "pulse", "native"),
                "DBUS_SESSION_BUS_ADDRESS": bus}
        env = dict(self.env, **more)
        servers = [self.start(["dbus-daemon", "--session", "--nofork", "--address=" + bus], env=env)]
        ready(lambda: os.path.exists(os.path.join(runtime, "bus")), "no bus for PipeWire")
        servers.append(self.start(["pipewire"], env=env))
        ready(lambda: os.path.exists(os.path.join(runtime, "pipewire-0")), "PipeWire did not start")
        servers += [self.start(["wireplumber"], env=env), self.start(["pipewire-pulse"], env=env)]
        try:
            ready(lambda: run("pactl", "info", env=env).returncode == 0, "no PulseAudio on PipeWire")
            run("pactl", "load-module", "module-null-sink", "sink_name=vestrel_test", env=env)
            run("pactl", "set-default-sink", "vestrel_test", env=env)
            yield more
        finally:
            self.end(servers)

    @contextlib.contextmanager
    def session_services(self):
        """A system bus with a stand-in logind (our session "c1") and a session bus with a
        stand-in screen saver and idle monitor; gives more environment, a function that locks or
        unlocks the session as logind ("logind"), the screen saver ("saver") or another program
        ("stranger") says it, or puts another session in front ("switched"), or ends the screen
        saver ("crash"), and one that has the idle monitor answer with a D-Bus type and a value."""
        buses, more, servers, sockets = {}, {"XDG_SESSION_ID": "c1"}, [], tempfile.mkdtemp(dir=P.work)
        for bus in ("system", "session"):  # in a folder of each block's own: no socket of the last
            buses[bus] = "unix:path=" + os.path.join(sockets, bus + "-bus")
            more["DBUS_%s_BUS_ADDRESS" % bus.upper()] = buses[bus]
            servers.append(self.start(["dbus-daemon", "--session", "--nofork",
                                       "--address=" + buses[bus]]))
        env = dict(self.env, **more)
        ready(lambda: all(os.path.exists(b[len("unix:path="):]) for b in buses.values()), "no buses")
        servers.append(self.start(["/usr/bin/python3", "-m", "dbusmock", "--system", "--template",
                                   "logind"], env=env))
        mock = lambda *service: self.start(["/usr/bin/python3", "-m", "dbusmock", *service], env=env)  # noqa: E731
        servers.append(mock("org.freedesktop.ScreenSaver", "/org/freedesktop/ScreenSaver",
                            "org.freedesktop.ScreenSaver"))
        monitor = ("org.gnome.Mutter.IdleMonitor", "/org/gnome/Mutter/IdleMonitor/Core")
        servers.append(mock(*monitor, monitor[0]))

        def call(bus, name, path, method, *args):
            return run("gdbus", "call", "--address", buses[bus], "--dest", name, "--object-path",
                       path, "--method", method, *args).returncode == 0
        login = ("system", "org.freedesktop.login1", "/org/freedesktop/login1")
        ready(lambda: call(*login, "org.freedesktop.DBus.Mock.AddSession", "c1", "seat0", "0",
                           "root", "true"), "no stand-in logind")
        saver = ("session", "org.freedesktop.ScreenSaver", "/org/freedesktop/ScreenSaver")
        for service in (saver[1:], monitor):
            ready(lambda: call("session", *service, "org.freedesktop.DBus.Introspectable.Introspect"), service)

        def lock(how, locked=True):
            state = "true" if locked else "false"
            if how == "crash":
                self.end(servers[3:4])
            elif how == "switched":  # another session in front of the seat: ours not active
                assert call(*login[:2], login[2] + "/session/c1", "org.freedesktop.DBus.Properties.Set",
                            "org.freedesktop.login1.Session", "Active", "<%s>" % ("false" if locked else "true"))
            elif how == "stranger":  # --session: through --address it would not be the bus's client
                assert run("gdbus", "emit", "--session", "--object-path", saver[2], "--signal",
                           saver[1] + ".ActiveChanged", state, env=env).returncode == 0
            else:
                assert call(*login[:2], login[2] + "/session/c1",
                            "org.freedesktop.login1.Session.SetLockedHint", state) if how == "logind" \
                    else call(*saver, "org.freedesktop.DBus.Mock.EmitSignal", "org.freedesktop.ScreenSaver",
                              "ActiveChanged", "b", "[<%s>]" % state), how

        def idle_answer(signature, value):
            assert call("session", *monitor, "org.freedesktop.DBus.Mock.AddMethod", monitor[0], "GetIdletime",
                        "", signature, "ret = " + value)
        try:
            yield more, lock, idle_answer
        finally:
            self.end([p for p in servers if p in self.started])

    @contextlib.contextmanager
    def recording(self, name, env=None):
        """Records what the null sink plays; gives a function that tells the loudest sample so far."""
        path = os.path.join(P.work, name + ".wav")
        parec = subprocess.Popen(["parec", "-d", "vestrel_test.monitor", "--file-format=wav",
                                  "--format=s16le", "--rate=44100", "--channels=1", path],
                                 env=dict(self.env, **(env or {})), stdout=subprocess.DEVNULL,
                                 stderr=subprocess.DEVNULL)
        try:
            yield lambda: loudness(path)
        finally:
            parec.terminate()
            parec.wait()


def program_folder(name, ini=True, wav=True):
    """A new folder P.work/name (bytes for a name that is no text) holding the binary and its
    chime helper; data.ini: the default for True, the bytes given, none for None; the chime
    unless wav is false."""
    folder = os.path.join(os.fsencode(P.work) if isinstance(name, bytes) else P.work, name)
    os.makedirs(folder)
    for file in ("Vestrel.exe",) if P.windows else ("Vestrel", "vestrel_chime"):
        shutil.copy(os.path.join(os.path.dirname(P.binary), file), inside(folder, file))
    if ini is not None:
        with open(inside(folder, "data.ini"), "wb") as f:
            f.write(P.default_ini if ini is True else ini)
    if wav:
        shutil.copy(os.path.join(P.resources, "s.wav"), inside(folder, "s.wav"))
    return folder


class Vestrel(contextlib.AbstractContextManager):
    """The real binary started from another directory, in a new program_folder or in the folder
    given, with more environment if given; `with Vestrel(...) as app:` ends it at the end."""

    def __init__(self, session, name="app", ini=True, wav=True, args=(), env=None, folder=None):
        self.session = session
        self.folder = folder or program_folder(name, ini, wav)
        self.ini_path = self.path("data.ini")
        self.log = open(os.path.join(P.work, os.fsdecode(name) + ".log"), "w")
        self.started = time.monotonic()
        command = ["wine", self.path("Vestrel.exe")] if P.windows else [self.path("Vestrel")]
        self.process = subprocess.Popen([*command, *args], cwd=P.elsewhere, stdout=self.log,
                                        stderr=self.log, env=dict(session.env, **(env or {})))

    def __exit__(self, *error):
        self.stop()

    def path(self, name):
        return inside(self.folder, name)

    def ini(self):
        with open(self.ini_path, "rb") as f:
            return f.read()

    def window(self, name):
        """A visible window of this process."""
        return self.session.window(name, pid=self.process.pid)

    def answer(self, title, shot=None):
        """Answers this process's box of that title with Enter, after a screenshot if named;
        gives the exit status that follows."""
        box = self.window(title)
        if shot:
            self.session.screenshot(shot, box)
        assert self.process.poll() is None, "ended before its box %r was answered" % title
        self.session.key(box, "Return")
        return self.wait()

    def running_alone(self):
        """Started, not turned away by another instance's lock (its report comes before any
        window), still running."""
        shown = wait_for(lambda: self.session.windows("Form3", self.process.pid))
        return shown and self.process.poll() is None

    def wait(self, timeout=DEADLINE):
        try:
            return self.process.wait(timeout * SLOW)
        except subprocess.TimeoutExpired:
            return None

    def stop(self):
        if self.process.poll() is None:
            self.process.kill()
            self.process.wait()
        self.log.close()


class Skip(Exception):
    """Raised by a test that cannot run here, with the reason."""


TESTS = []


def test(fn=None, desktops=("xvfb",)):
    """Marks a test, run on a bare X server unless it names the desktops it is for."""
    if fn is None:
        return lambda f: test(f, desktops)
    fn.desktops = desktops
    TESTS.append(fn)
    return fn


def main(tests):
    """usage: SCRIPT VESTREL_BINARY RESOURCES_DIR [...]"""
    P.binary, P.resources = map(os.path.abspath, sys.argv[1:3])
    P.windows = P.binary.endswith(".exe")
    P.work = tempfile.mkdtemp(prefix="vestrel-e2e-")
    P.elsewhere = os.path.join(P.work, "elsewhere")
    os.makedirs(P.elsewhere)
    P.shots = os.environ.get("VESTREL_SHOTS", os.path.join(os.path.dirname(P.binary), "screenshots"))
    os.makedirs(P.shots, exist_ok=True)
    with open(os.path.join(P.resources, "data.ini"), "rb") as f:
        P.default_ini = f.read()
    session = Session()
    results = []
    try:
        for t in (t for t in tests if session.desktop in getattr(t, "desktops", ("xvfb",))):
            try:
                t(session)
                results.append("PASS")
                print("PASS", t.__name__, flush=True)
            except Skip as why:
                results.append("SKIP")
                print("SKIP %s: %s" % (t.__name__, why), flush=True)
            except Exception:
                results.append("FAIL")
                print("FAIL", t.__name__, flush=True)
                traceback.print_exc()
    finally:
        session.close()
        if "FAIL" in results:
            print("logs kept in", P.work)
        else:
            shutil.rmtree(P.work, ignore_errors=True)
    print("%d passed, %d failed, %d skipped" % tuple(map(results.count, ("PASS", "FAIL", "SKIP"))))
    return 1 if "FAIL" in results else 0
