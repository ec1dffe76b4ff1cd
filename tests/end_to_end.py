#!/usr/bin/env python3
"""End-to-end test of the real Vestrel binary: run from a folder of its own, started from
another working directory, under Xvfb, with a PulseAudio null sink recording what it
plays and a stand-in xdg-open recording the page it opens. Driven with xdotool.

usage: end_to_end.py VESTREL_BINARY RESOURCES_DIR"""
import array
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import traceback
import wave

BINARY, RESOURCES = sys.argv[1], sys.argv[2]
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


# ---------------------------------------------------------------------------------------

TESTS = []
SEEN = {}  # what one test saw that a later one compares with


def test(fn):
    TESTS.append(fn)
    return fn


@test
def monitor_square_in_corner(s):
    app = Vestrel(s, name="monitor")
    try:
        wid = s.window("Form3")
        assert s.geometry(wid) == (0, 0, 8, 8), s.geometry(wid)
        s.screenshot("monitor")
        square = s.pixels(0, 0, 8, 8)
        assert all(p == (0, 0, 0) for p in square), set(square)
        assert s.pixels(8, 8, 1, 1)[0] != (0, 0, 0)  # the white root shows beside it
    finally:
        app.stop()


@test
def missing_file_reports_and_ends(s):
    for missing in ("data.ini", "s.wav"):
        app = Vestrel(s, ini=None if missing == "data.ini" else DEFAULT_INI,
                      wav=missing != "s.wav", name="missing-" + missing)
        try:
            box = s.window("CHYBA")
            s.screenshot("missing-" + missing)
            assert app.process.poll() is None
            s.key(box, "Return")
            assert app.wait(5) is not None, "still running after OK"
            assert not os.path.exists(app.ini_path) or app.ini() == DEFAULT_INI
        finally:
            app.stop()


@test
def warning_with_sound_then_ok_restarts(s):
    ini = DEFAULT_INI.replace(b"1=60", b"1=.16666667")
    recording = os.path.join(WORK, "warning.wav")
    recorder = s.record(recording)
    app = Vestrel(s, ini=ini, name="warning")
    try:
        s.window("Form3")
        wid = s.window("Varování!", timeout=15)
        elapsed = time.monotonic() - app.started
        assert 9.0 <= elapsed <= 12.0, elapsed
        assert not s.windows("Form3")
        time.sleep(1.5)
        s.screenshot("warning-standard")
        recorder.send_signal(signal.SIGINT)
        recorder.wait(5)
        assert loudness(recording) > 1000, loudness(recording)
        s.click(wid, 120, 840, 1095, 375)  # "OK"
        back = s.window("Form3")
        assert s.geometry(back) == (0, 0, 8, 8)
        assert not s.windows("Varování!")
        assert app.ini() == ini
    finally:
        app.stop()


@test
def full_screen_warning_and_quit(s):
    ini = DEFAULT_INI.replace(b"2=0", b"2=1")
    app = Vestrel(s, ini=ini, name="fullscreen")
    try:
        monitor = s.window("Form3")
        s.click(monitor, 60, 60)  # a click on the square brings the warning at once
        wid = s.window("Form4")
        time.sleep(0.5)
        assert s.geometry(wid) == (0, 0, 1024, 768), s.geometry(wid)
        s.screenshot("warning-fullscreen")
        for x, y in ((0, 0), (1023, 767), (600, 400), (1023, 0)):
            assert s.pixels(x, y, 1, 1)[0] == (0, 0, 0), (x, y)
        text = s.pixels(px(960), px(360), px(4200), px(675))
        assert sum(1 for p in text if min(p) > 200) > 50, "no white text"
        SEEN["default message"] = text
        s.click(wid, 4080, 1080, 1095, 375)  # "Ukončit !"
        assert app.wait(5) == 0
        assert app.ini() == ini
    finally:
        app.stop()


@test
def settings_dialog_saves_and_next_cycle_uses_it(s):
    app = Vestrel(s, name="settings")
    try:
        s.click(s.window("Form3"), 60, 60)
        warning = s.window("Varování!")
        s.click(warning, 1320, 840, 1095, 375)  # "Nastavení"
        dialog = s.window("Nastavení")
        time.sleep(0.3)
        s.screenshot("settings-collapsed")
        s.click(dialog, 240, 1080, 5415, 285)  # Text1
        s.key(dialog, "ctrl+a")
        s.type(dialog, "Dost práce, už")
        right_arrow = (120 + 5535 - 120, 360, 0, 255)
        s.click(dialog, *right_arrow)  # the slider takes the focus
        s.key(dialog, "Home")  # 1 minute
        s.click(dialog, *right_arrow)
        s.click(dialog, *right_arrow)  # two steps: 3 minutes
        s.click(dialog, 4560, 2040, 1095, 495)  # "Skrýt plochu"
        s.click(dialog, 120, 2760, 1215, 375)  # "Uložit"
        time.sleep(0.3)
        expected = ("[texts]\r\n1=Dost práce, už\r\n2=Doporučuji práci odložit a protáhnout se."
                    "\r\n[data]\r\n1=3\r\n2=1\r\n").encode("cp1250")
        assert app.ini() == expected, app.ini()
        s.click(dialog, 4440, 2760, 1215, 375)  # "O programu"
        time.sleep(0.3)
        s.screenshot("settings-expanded")
        x, y, w, h = s.geometry(dialog)
        assert h == px(4935), h
        s.click(dialog, 1440, 2760, 1215, 375)  # "Zavřít": saved, so no prompt
        assert wait_for(lambda: not s.windows("Nastavení"), 5)
        s.click(warning, 120, 840, 1095, 375)  # "OK": the next cycle reads the file
        s.click(s.window("Form3"), 60, 60)
        full = s.window("Form4")
        time.sleep(0.5)
        s.screenshot("settings-next-warning")
        # The message is the saved one: white text, and not the default message's pixels.
        text = s.pixels(px(960), px(360), px(4200), px(675))
        assert sum(1 for p in text if min(p) > 200) > 50
        assert text != SEEN.get("default message"), "the message did not change"
        s.click(full, 4080, 1080, 1095, 375)
        assert app.wait(5) == 0
    finally:
        app.stop()


@test
def web_link_opens_maker_page(s):
    app = Vestrel(s, name="link")
    try:
        s.click(s.window("Form3"), 60, 60)
        warning = s.window("Varování!")
        s.click(warning, 1320, 840, 1095, 375)
        dialog = s.window("Nastavení")
        s.click(dialog, 4440, 2760, 1215, 375)  # "O programu"
        time.sleep(0.3)
        s.click(dialog, 840, 4320, 600, 240)  # the link
        assert wait_for(lambda: os.path.exists(s.opened), 5), "xdg-open was not called"
        with open(s.opened) as f:
            assert f.read().strip() == "https://vestrel.example.org/"
        assert wait_for(lambda: not s.windows("Nastavení"), 5)
        assert s.windows("Varování!")
        assert app.ini() == DEFAULT_INI
    finally:
        app.stop()


@test
def unplayable_sound_is_reported_and_warning_shown(s):
    app = Vestrel(s, name="badsound")
    try:
        with open(os.path.join(app.folder, "s.wav"), "w") as f:
            f.write("this is no wave file")
        s.click(s.window("Form3"), 60, 60)
        assert s.window("Varování!")
        box = s.window("Zvuk")
        s.screenshot("sound-error")
        s.key(box, "Return")
        assert wait_for(lambda: not s.windows("Zvuk"), 5)
        assert s.windows("Varování!") and app.process.poll() is None
    finally:
        app.stop()


@test
def bad_setting_reports_and_ends(s):
    ini = DEFAULT_INI.replace(b"1=60", b"1=60 minut")
    app = Vestrel(s, ini=ini, name="badsetting")
    try:
        box = s.window("Vestrel")
        s.screenshot("bad-setting")
        s.key(box, "Return")
        assert app.wait(5) == 1
        assert app.ini() == ini
    finally:
        app.stop()


def main():
    session = Session()
    passed = failed = 0
    try:
        for t in TESTS:
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


if __name__ == "__main__":
    sys.exit(main())
