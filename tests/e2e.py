"""What the tests of the real Vestrel binary share: Xvfb, a PulseAudio null sink recording
what the program plays, a stand-in xdg-open recording the page it opens, the binary in a
folder of its own started from another working directory, xdotool to drive it."""
import array
import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import traceback
import wave

TWIP = 15


class P:
    """What one run works with, set by main() from its command line: the binary (with its
    sound module beside it), the resources, a scratch folder, where screenshots go, the
    default data.ini."""
    binary = resources = work = shots = default_ini = None

    @classmethod
    def set_up(cls, binary, resources):
        cls.binary, cls.resources = os.path.abspath(binary), os.path.abspath(resources)
        cls.work = tempfile.mkdtemp(prefix="vestrel-e2e-")
        cls.shots = os.environ.get("VESTREL_SHOTS",
                                   os.path.join(os.path.dirname(cls.binary), "screenshots"))
        os.makedirs(cls.shots, exist_ok=True)
        with open(os.path.join(cls.resources, "data.ini"), "rb") as f:
            cls.default_ini = f.read()


def px(twips):
    return (twips + 7) // TWIP


def run(*args, **kw):
    return subprocess.run(args, capture_output=True, text=True, **kw)


def wait_for(predicate, timeout, step=0.05):
    end = time.monotonic() + timeout
    while time.monotonic() < end:
        value = predicate()
        if value:
            return value
        time.sleep(step)
    return predicate()


class Session:
    """A desktop of the kind VESTREL_DESKTOP names, a sound server with a null sink, a
    stand-in browser opener:
      xvfb     a bare X server (the default)
      openbox  Xvfb with the openbox window manager (LXDE, LXQt)
      mutter   GNOME's compositor, headless, with XWayland and a session bus
      weston   weston's headless back end, Wayland only; weston-xwayland with XWayland"""

    def __init__(self):
        self.desktop = os.environ.get("VESTREL_DESKTOP", "xvfb")
        self.started = []  # what close() ends, last first
        self.runtime = os.path.join(P.work, "runtime")
        os.makedirs(self.runtime, mode=0o700)
        self.env = dict(os.environ, LC_ALL="C.UTF-8", XDG_RUNTIME_DIR=self.runtime, HOME=self.runtime)
        for name in ("DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "XAUTHORITY"):
            self.env.pop(name, None)
        self.screen = (1280, 800) if self.desktop != "xvfb" else (1024, 768)
        # The sound server, private to this test.
        socket = os.path.join(self.runtime, "pulse-native")
        self.env.update(PULSE_SERVER="unix:" + socket, PULSE_RUNTIME_PATH=self.runtime)
        self.start(["pulseaudio", "-n", "--daemonize=no", "--exit-idle-time=-1", "--disallow-exit",
                    "--use-pid-file=no", "--system=false",
                    "-L", "module-null-sink sink_name=vestrel_test",
                    "-L", "module-native-protocol-unix auth-anonymous=1 socket=" + socket,
                    "-L", "module-always-sink"])
        if not wait_for(lambda: run("pactl", "info", env=self.env).returncode == 0, 10):
            raise RuntimeError("the sound server did not start")
        run("pactl", "set-default-sink", "vestrel_test", env=self.env)
        getattr(self, "start_" + self.desktop.replace("-", "_"))()
        # xdg-open stand-in: records the address it was asked to open.
        self.bin = os.path.join(P.work, "bin")
        os.makedirs(self.bin)
        self.opened = os.path.join(P.work, "opened.txt")
        with open(os.path.join(self.bin, "xdg-open"), "w") as f:
            f.write('#!/bin/sh\nprintf "%%s\\n" "$1" >> "%s"\n' % self.opened)
        os.chmod(os.path.join(self.bin, "xdg-open"), 0o755)
        self.env["PATH"] = self.bin + os.pathsep + self.env["PATH"]

    def start(self, command, **kw):
        process = subprocess.Popen(command, env=self.env, stdout=kw.pop("stdout", subprocess.DEVNULL),
                                   stderr=subprocess.STDOUT, start_new_session=True, **kw)
        self.started.append(process)
        return process

    def start_xvfb(self):
        self.display = ":%d" % (80 + os.getpid() % 100)
        self.start(["Xvfb", self.display, "-screen", "0", "%dx%dx24" % self.screen, "-wr",
                    "-noreset", "-nolisten", "tcp"])
        self.env.update(DISPLAY=self.display, QT_QPA_PLATFORM="xcb")
        if not wait_for(lambda: run("xdpyinfo", env=self.env).returncode == 0, 10):
            raise RuntimeError("Xvfb did not start")

    def start_openbox(self):
        self.start_xvfb()
        self.start(["openbox", "--sm-disable"])
        if not wait_for(lambda: "window id" in run("xprop", "-root", "_NET_SUPPORTING_WM_CHECK",
                                                   env=self.env).stdout, 10):
            raise RuntimeError("openbox did not start")

    def start_mutter(self):
        # A GNOME Wayland session: Qt must choose X11 (XWayland) by itself, so nothing forces it.
        self.env["WAYLAND_DISPLAY"] = "vestrel-mutter"
        self.start(["dbus-run-session", "--", "mutter", "--headless", "--wayland", "--wayland-display",
                    "vestrel-mutter", "--virtual-monitor", "%dx%d" % self.screen])
        xwayland = wait_for(lambda: self.xwayland(), 20)
        if not xwayland:
            raise RuntimeError("mutter's XWayland did not start")
        self.display = next(a for a in xwayland if a.startswith(":"))
        self.env.update(DISPLAY=self.display, XAUTHORITY=xwayland[xwayland.index("-auth") + 1])
        if not wait_for(lambda: run("xdpyinfo", env=self.env).returncode == 0, 10):
            raise RuntimeError("mutter's XWayland does not answer")

    def xwayland(self):
        """The command line of the XWayland that our compositor started, if any."""
        for pid in os.listdir("/proc"):
            try:
                with open("/proc/%s/cmdline" % pid, "rb") as f:
                    args = f.read().decode(errors="replace").split("\0")
            except OSError:
                continue
            if args and args[0].endswith("Xwayland") and any(self.runtime in a for a in args):
                return args
        return None

    def start_weston(self, xwayland=False):
        log = os.path.join(P.work, "weston.log")
        self.env["WAYLAND_DISPLAY"] = "vestrel-weston"
        # Pixman and --debug: the screenshooter then works on the headless back end.
        self.start(["weston", "--backend=headless-backend.so", "--use-pixman", "--debug",
                    "--socket=vestrel-weston",
                    "--width=%d" % self.screen[0], "--height=%d" % self.screen[1], "--log=" + log]
                   + (["--xwayland"] if xwayland else []))
        socket = os.path.join(self.runtime, "vestrel-weston")
        if not wait_for(lambda: os.path.exists(socket), 10):
            raise RuntimeError("weston did not start")
        if xwayland:
            found = wait_for(lambda: re.search(r"xserver listening on display (:\d+)",
                                               open(log).read()), 10)
            if not found:
                raise RuntimeError("weston's XWayland did not start: " + open(log).read())
            self.display = found.group(1)
            self.env["DISPLAY"] = self.display

    def start_weston_xwayland(self):
        self.start_weston(xwayland=True)

    def close(self):
        for p in reversed(self.started):
            try:
                os.killpg(p.pid, signal.SIGTERM)
                p.wait(5)
            except (ProcessLookupError, subprocess.TimeoutExpired):
                os.killpg(p.pid, signal.SIGKILL)
                p.wait()

    def xdo(self, *args):
        return run("xdotool", *args, env=self.env).stdout.strip()

    def windows(self, name):
        out = self.xdo("search", "--onlyvisible", "--name", "^%s$" % name)
        return [w for w in out.split() if w]

    def window(self, name, timeout=5):
        found = wait_for(lambda: self.windows(name), timeout)
        if not found:
            raise AssertionError("no visible window %r" % name)
        return found[0]

    def geometry(self, wid):
        out = run("xwininfo", "-id", wid, env=self.env).stdout
        values = {}
        for line in out.splitlines():
            line = line.strip()
            for key in ("Absolute upper-left X", "Absolute upper-left Y", "Width", "Height"):
                if line.startswith(key + ":"):
                    values[key] = int(line.split(":")[1])
        return (values["Absolute upper-left X"], values["Absolute upper-left Y"],
                values["Width"], values["Height"])

    def click(self, wid, x_twips, y_twips, w_twips=0, h_twips=0):
        """Clicks the middle of a control given in twips from the window's client corner."""
        x0, y0, _, _ = self.geometry(wid)
        x = x0 + px(x_twips) + px(w_twips) // 2
        y = y0 + px(y_twips) + px(h_twips) // 2
        self.xdo("mousemove", "--sync", str(x), str(y))
        self.xdo("click", "1")

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

    def key(self, wid, *keys):
        self.xdo("windowfocus", "--sync", wid)
        self.xdo("key", "--clearmodifiers", "--delay", "30", *keys)

    def type(self, wid, text):
        self.xdo("windowfocus", "--sync", wid)
        self.xdo("type", "--delay", "20", text)

    def screenshot(self, name, wid="root"):
        """The screen, or one window where the screen cannot be read (XWayland)."""
        path = os.path.join(P.shots, ("%s-%s" % (self.desktop, name) if self.desktop != "xvfb" else name)
                            + ".png")
        if self.desktop.startswith("weston"):
            shots = os.path.join(P.work, "weston-shots")
            os.makedirs(shots, exist_ok=True)
            run("weston-screenshooter", env=self.env, cwd=shots, timeout=10)
            for made in os.listdir(shots):
                shutil.move(os.path.join(shots, made), path)
        else:
            run("import", "-window", wid if self.desktop == "mutter" else "root", path, env=self.env)
        return path

    def pixels(self, x, y, w, h):
        """RGB triples of a screen rectangle, row by row."""
        out = subprocess.run(["import", "-window", "root", "-crop", "%dx%d+%d+%d" % (w, h, x, y),
                              "-depth", "8", "rgb:-"], capture_output=True, env=self.env).stdout
        return [tuple(out[i:i + 3]) for i in range(0, len(out), 3)]

    def record(self, path):
        return subprocess.Popen(["parec", "-d", "vestrel_test.monitor", "--file-format=wav",
                                 "--format=s16le", "--rate=44100", "--channels=1", path],
                                env=self.env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


class Vestrel:
    """The real binary in a folder of its own, started from another directory."""

    def __init__(self, session, ini=True, wav=True, name="app", args=()):
        """ini: the bytes of data.ini, True for the default, None for no file."""
        self.session = session
        self.folder = os.path.join(P.work, name)
        os.makedirs(self.folder)
        shutil.copy(P.binary, self.folder)
        shutil.copy(os.path.join(os.path.dirname(P.binary), "vestrel_sound.so"), self.folder)
        ini = P.default_ini if ini is True else ini
        if ini is not None:
            with open(self.ini_path, "wb") as f:
                f.write(ini)
        if wav:
            shutil.copy(os.path.join(P.resources, "s.wav"), self.folder)
        cwd = os.path.join(P.work, "elsewhere")
        os.makedirs(cwd, exist_ok=True)
        self.log = open(os.path.join(P.work, name + ".log"), "w")
        self.started = time.monotonic()
        self.process = subprocess.Popen([os.path.join(self.folder, "Vestrel"), *args], cwd=cwd,
                                        env=session.env, stdout=self.log, stderr=self.log)

    @property
    def ini_path(self):
        return os.path.join(self.folder, "data.ini")

    def ini(self):
        with open(self.ini_path, "rb") as f:
            return f.read()

    def wait(self, timeout=5):
        try:
            return self.process.wait(timeout)
        except subprocess.TimeoutExpired:
            return None

    def stop(self):
        if self.process.poll() is None:
            self.process.kill()
            self.process.wait()
        self.log.close()


def loudness(path):
    with wave.open(path) as w:
        samples = array.array("h", w.readframes(w.getnframes()))
    return max((abs(s) for s in samples), default=0)



TESTS = []
SEEN = {}  # what one test saw that a later one compares with


def test(fn=None, desktops=("xvfb",)):
    """Marks a test, run on a bare X server unless it names the desktops it is for."""
    def mark(f):
        f.desktops = desktops
        TESTS.append(f)
        return f
    return mark(fn) if fn else mark


def main(tests):
    """usage: SCRIPT VESTREL_BINARY RESOURCES_DIR [...]"""
    P.set_up(sys.argv[1], sys.argv[2])
    session = Session()
    passed = failed = 0
    try:
        for t in tests:
            if session.desktop not in getattr(t, "desktops", ("xvfb",)):
                continue
            try:
                t(session)
                passed += 1
                print("PASS", t.__name__, flush=True)
            except Exception:
                failed += 1
                print("FAIL", t.__name__, flush=True)
                traceback.print_exc()
    finally:
        session.close()
        if not failed:
            shutil.rmtree(P.work, ignore_errors=True)
        else:
            print("logs kept in", P.work)
    print("%d passed, %d failed" % (passed, failed))
    return 1 if failed else 0

