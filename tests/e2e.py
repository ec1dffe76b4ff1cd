"""What the tests of the real Vestrel binary share: Xvfb, a PulseAudio null sink recording
what the program plays, a stand-in xdg-open recording the page it opens, the binary in a
folder of its own started from another working directory, xdotool to drive it."""
import array
import os
import shutil
import subprocess
import sys
import tempfile
import time
import traceback
import wave

BINARY, RESOURCES = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])
# The executable's folder holds the sound module beside it.
SOUND_MODULE = os.path.join(os.path.dirname(BINARY), "vestrel_sound.so")
WORK = tempfile.mkdtemp(prefix="vestrel-e2e-")
SHOTS = os.environ.get("VESTREL_SHOTS", os.path.join(os.path.dirname(os.path.abspath(BINARY)), "screenshots"))
os.makedirs(SHOTS, exist_ok=True)
DEFAULT_INI = open(os.path.join(RESOURCES, "data.ini"), "rb").read()
TWIP = 15


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
    """Xvfb, a sound server with a null sink, a stand-in browser opener."""

    def __init__(self):
        self.display = ":%d" % (80 + os.getpid() % 100)
        self.xvfb = subprocess.Popen(["Xvfb", self.display, "-screen", "0", "1024x768x24", "-wr", "-noreset",
                                      "-nolisten", "tcp"], stdout=subprocess.DEVNULL,
                                     stderr=subprocess.DEVNULL)
        self.env = dict(os.environ, DISPLAY=self.display, LC_ALL="C.UTF-8", QT_QPA_PLATFORM="xcb")
        self.env.pop("WAYLAND_DISPLAY", None)
        if not wait_for(lambda: run("xdpyinfo", env=self.env).returncode == 0, 10):
            raise RuntimeError("Xvfb did not start")
        # The sound server, private to this test.
        self.pulse_dir = os.path.join(WORK, "pulse")
        os.makedirs(self.pulse_dir)
        socket = os.path.join(self.pulse_dir, "native")
        self.env.update(PULSE_SERVER="unix:" + socket, PULSE_RUNTIME_PATH=self.pulse_dir,
                        XDG_RUNTIME_DIR=self.pulse_dir, HOME=self.pulse_dir)
        self.pulse = subprocess.Popen(
            ["pulseaudio", "-n", "--daemonize=no", "--exit-idle-time=-1", "--disallow-exit",
             "--use-pid-file=no", "--system=false",
             "-L", "module-null-sink sink_name=vestrel_test",
             "-L", "module-native-protocol-unix auth-anonymous=1 socket=" + socket,
             "-L", "module-always-sink"],
            env=self.env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        if not wait_for(lambda: run("pactl", "info", env=self.env).returncode == 0, 10):
            raise RuntimeError("the sound server did not start")
        run("pactl", "set-default-sink", "vestrel_test", env=self.env)
        # xdg-open stand-in: records the address it was asked to open.
        self.bin = os.path.join(WORK, "bin")
        os.makedirs(self.bin)
        self.opened = os.path.join(WORK, "opened.txt")
        with open(os.path.join(self.bin, "xdg-open"), "w") as f:
            f.write('#!/bin/sh\nprintf "%%s\\n" "$1" >> "%s"\n' % self.opened)
        os.chmod(os.path.join(self.bin, "xdg-open"), 0o755)
        self.env["PATH"] = self.bin + os.pathsep + self.env["PATH"]

    def close(self):
        for p in (self.pulse, self.xvfb):
            p.terminate()
            try:
                p.wait(5)
            except subprocess.TimeoutExpired:
                p.kill()

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

    def key(self, wid, *keys):
        self.xdo("windowfocus", "--sync", wid)
        self.xdo("key", "--clearmodifiers", "--delay", "30", *keys)

    def type(self, wid, text):
        self.xdo("windowfocus", "--sync", wid)
        self.xdo("type", "--delay", "20", text)

    def screenshot(self, name):
        path = os.path.join(SHOTS, name + ".png")
        run("import", "-window", "root", path, env=self.env)
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

    def __init__(self, session, ini=DEFAULT_INI, wav=True, name="app"):
        self.session = session
        self.folder = os.path.join(WORK, name)
        os.makedirs(self.folder)
        shutil.copy(BINARY, self.folder)
        shutil.copy(SOUND_MODULE, self.folder)
        if ini is not None:
            with open(self.ini_path, "wb") as f:
                f.write(ini)
        if wav:
            shutil.copy(os.path.join(RESOURCES, "s.wav"), self.folder)
        cwd = os.path.join(WORK, "elsewhere")
        os.makedirs(cwd, exist_ok=True)
        self.log = open(os.path.join(WORK, name + ".log"), "w")
        self.started = time.monotonic()
        self.process = subprocess.Popen([os.path.join(self.folder, "Vestrel")], cwd=cwd,
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


def test(fn):
    TESTS.append(fn)
    return fn


def main(tests):
    session = Session()
    passed = failed = 0
    try:
        for t in tests:
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
            shutil.rmtree(WORK, ignore_errors=True)
        else:
            print("logs kept in", WORK)
    print("%d passed, %d failed" % (passed, failed))
    return 1 if failed else 0

