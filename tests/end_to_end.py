#!/usr/bin/env python3
"""End-to-end test of the real Vestrel binary under Xvfb, driven with xdotool: the monitor,
the missing files, the warnings with their sound, the settings dialog, the web link.

usage: end_to_end.py VESTREL_BINARY RESOURCES_DIR"""
import contextlib
import ctypes
import glob
import os
import signal
import struct
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from e2e import (CONTROLS, DEADLINE, DIALOG_BOXES, FOLDED, LOUD, P, SLOW, TESTS, Vestrel, inside, main, program_folder, px, ready, run,  # noqa: E402
                 UNFOLDED, test, wait_for)


def white_text(pixels):
    return pixels if sum(1 for p in pixels if min(p) > 200) > 50 else None


def read_and_closed(path):
    """A function that tells whether the file has been read and closed since this call."""
    libc = ctypes.CDLL(None, use_errno=True)
    watch = libc.inotify_init1(os.O_NONBLOCK | os.O_CLOEXEC)
    libc.inotify_add_watch(watch, os.fsencode(path), 0x10)  # IN_CLOSE_NOWRITE
    seen = []

    def read():
        with contextlib.suppress(BlockingIOError):
            seen.append(os.read(watch, 4096))
        return bool(seen)
    return read


def running(program):
    """Whether any process runs the program at this path."""
    for cmdline in glob.glob("/proc/[0-9]*/cmdline"):
        with contextlib.suppress(OSError), open(cmdline, "rb") as f:
            if f.read().split(b"\0")[0] == os.fsencode(program):
                return True
    return False


def full_screen_message(s):
    """Waits for the full-screen warning, black over the whole screen with white text in its
    message; gives the message's pixels."""
    w, h = s.screen
    full = s.window("Form4")
    assert wait_for(lambda: s.geometry(full) == (0, 0, w, h)), s.geometry(full)
    corners = ((0, 0), (w - 1, h - 1), (600, 400), (w - 1, 0))
    assert wait_for(lambda: all(s.pixels(x, y, 1, 1)[0] == (0, 0, 0) for x, y in corners)), "not black"
    text = wait_for(lambda: white_text(s.pixels(*s.place("Form4", "message"))))
    assert text, "no white text"
    return text


@test(desktops=("xvfb", "wine"))
def monitor_square_in_corner(s):
    with Vestrel(s, name="monitor"):
        wid = s.window("Form3")
        assert s.geometry(wid) == (0, 0, 8, 8), s.geometry(wid)
        assert wait_for(lambda: all(p == (0, 0, 0) for p in s.pixels(0, 0, 8, 8))), set(s.pixels(0, 0, 8, 8))
        assert s.pixels(8, 8, 1, 1)[0] != (0, 0, 0)  # the white root shows beside it
        s.screenshot("monitor")


@test(desktops=("xvfb", "wine"))
def missing_file_reports_and_ends(s):
    for missing in ("data.ini", "s.wav"):
        with Vestrel(s, ini=None if missing == "data.ini" else True, wav=missing != "s.wav",
                     name="missing-" + missing) as app:
            assert app.answer("CHYBA", "missing-" + missing) is not None, "still running after OK"
            assert not os.path.exists(app.ini_path) or app.ini() == P.default_ini


@test(desktops=("xvfb", "wine"))
def warning_with_sound_then_ok_restarts(s):
    ini = P.default_ini.replace(b"1=60", b"1=.16666667")
    # Qt's own options are no options of ours: "-reverse" must not mirror the windows, so
    # "OK" stays where the click below expects it.
    with s.recording("warning") as loudest, Vestrel(s, ini=ini, name="warning", args=["-reverse"]) as app:
        s.window("Form3")
        wid = s.window("Varování!", timeout=15)
        elapsed = time.monotonic() - app.started
        assert 9.0 <= elapsed <= 12.0 * SLOW, elapsed
        assert not s.windows("Form3")
        assert wait_for(lambda: loudest() > LOUD), loudest()
        s.screenshot("warning-standard", wid)
        s.click("Varování!", "OK")
        back = s.window("Form3")
        assert s.geometry(back) == (0, 0, 8, 8)
        assert not s.windows("Varování!")
        assert app.ini() == ini


@test(desktops=("xvfb", "wine"))
def full_screen_warning_and_quit(s):
    ini = P.default_ini.replace(b"2=0", b"2=1")
    with Vestrel(s, ini=ini, name="fullscreen") as app:
        s.click("Form3", "square")  # a click on the square brings the warning at once
        full_screen_message(s)
        s.screenshot("warning-fullscreen")
        s.click("Form4", "Ukončit !")
        ended = app.wait()
        assert ended == 0, ended
        assert app.ini() == ini


@test(desktops=("xvfb", "wine"))
def settings_dialog_saves_and_next_cycle_uses_it(s):
    with Vestrel(s, name="settings") as app:
        # The full-screen flag first, so that the default message is seen full screen.
        dialog = s.settings()
        s.screenshot("settings-collapsed", dialog)
        s.click("Nastavení", "Skrýt plochu")
        s.click("Nastavení", "Uložit")
        assert wait_for(lambda: app.ini().endswith(b"2=1\r\n")), app.ini()
        s.click("Nastavení", "Zavřít")  # saved, so no prompt
        assert s.gone("Nastavení")
        s.click("Varování!", "OK")  # the next cycle reads the file
        s.click("Form3", "square")
        default = full_screen_message(s)
        s.click("Form4", "Nastavení")
        dialog = s.window("Nastavení")
        s.click("Nastavení", "Text1")
        s.key(dialog, "ctrl+a")
        s.key(dialog, type="Dost práce, u")
        s.key(dialog, "zcaron")  # "ž": the Czech keyboard has it under this name
        s.click("Nastavení", "slider →")  # the slider takes the focus
        s.key(dialog, "Home")  # 1 minute
        s.click("Nastavení", "slider →")
        s.click("Nastavení", "slider →")  # two steps: 3 minutes
        s.click("Nastavení", "Uložit")
        expected = ("[texts]\r\n1=Dost práce, už\r\n2=Doporučuji práci odložit a protáhnout se."
                    "\r\n[data]\r\n1=3\r\n2=1\r\n").encode("cp1250")
        assert wait_for(lambda: app.ini() == expected), app.ini()
        s.click("Nastavení", "O programu")
        assert wait_for(lambda: s.geometry(dialog)[3] == px(UNFOLDED)), s.geometry(dialog)
        s.screenshot("settings-expanded", dialog)
        s.click("Nastavení", "Zavřít")
        assert s.gone("Nastavení")
        s.click("Form4", "OK")
        s.click("Form3", "square")
        # The message is the saved one: white text, and not the default message's pixels.
        assert wait_for(lambda: full_screen_message(s) != default), "the message did not change"
        s.screenshot("settings-next-warning")
        s.click("Form4", "Ukončit !")
        ended = app.wait()
        assert ended == 0, ended


@test(desktops=("xvfb", "wine"))
def web_link_opens_maker_page(s):
    with Vestrel(s, name="link") as app:
        dialog = s.settings()
        s.click("Nastavení", "O programu")
        assert wait_for(lambda: s.geometry(dialog)[3] == px(UNFOLDED)), s.geometry(dialog)
        s.click("Nastavení", "link")
        assert wait_for(lambda: os.path.exists(s.opened)), "xdg-open was not called"
        with open(s.opened) as f:
            assert f.read().strip() == "https://vestrel.example.org/"
        assert s.gone("Nastavení")
        assert s.windows("Varování!")
        assert app.ini() == P.default_ini


@test
def unplayable_sound_is_reported_and_warning_shown(s):
    """A sound that cannot be played is reported at every warning, in one box at a time that
    does not take the keyboard, and the warning is shown all the same: whatever the file, the
    chime helper or the sound server does, nothing holds the warning up."""
    good = open(os.path.join(P.resources, "s.wav"), "rb").read()
    fmt, data = good[12:36], good[36:]
    riff = lambda body: b"RIFF" + struct.pack("<I", len(body) + 4) + b"WAVE" + body  # noqa: E731
    sparse = {"2 GiB of nothing": 2 << 30, "1.9 GiB wave": 1900 << 20}  # sizes, the rest holes
    for case, wav in (("empty", b""), ("empty, full screen", b""), ("header only", good[:44]), ("cut short", good[:100]),
                      ("no wave", b"this is no wave file"), ("no sound output", good),
                      ("no chime helper", good), ("helper killed", good), ("helper ends silently", good),
                      ("helper writes a 4 MB line", good), ("helper chatters on", good), ("server stopped", good),
                      ("odd chunk without its pad", riff(fmt + b"LIST\3\0\0\0abc" + data)),
                      ("RIFF size 0", good[:4] + bytes(4) + good[8:]),
                      ("16-bit sound of odd length", riff(fmt + b"data\3\0\0\0abc")),
                      ("2 GiB of nothing", good[:12]), ("1.9 GiB wave", good[:40] + struct.pack(
                          "<I", (1900 << 20) - 44)), ("a FIFO", None)):
        env = {"PULSE_SERVER": "unix:" + os.path.join(P.work, "no-sound-server")} \
            if case == "no sound output" else None
        full = case.endswith("full screen")
        warning = "Form4" if full else "Varování!"
        name = "badsound-" + case.replace(" ", "-").replace(",", "")
        folder = program_folder(name, ini=P.default_ini.replace(b"2=0", b"2=1") if full else True)
        loaded = read_and_closed(os.path.join(folder, "data.ini"))
        with Vestrel(s, name=name, env=env, folder=folder) as app:
            assert wait_for(loaded), case  # the files checked: now the square counts
            os.remove(app.path("s.wav"))
            if wav is None:
                os.mkfifo(app.path("s.wav"))  # the next load of the square reports it and ends
            else:
                with open(app.path("s.wav"), "wb") as f:
                    f.write(wav)
                    f.truncate(sparse.get(case, len(wav)))
            if case == "no chime helper":
                os.remove(app.path("vestrel_chime"))
            helpers = {"helper killed": "kill -KILL $$", "helper ends silently": "exit 0",
                       "helper writes a 4 MB line": "head -c 4194304 /dev/zero | tr '\\0' x; echo; exit 1",
                       "helper chatters on": "echo started; exec tr '\\0' x < /dev/zero"}
            if case in helpers:
                with open(app.path("vestrel_chime"), "w") as f:
                    f.write("#!/bin/sh\n%s\n" % helpers[case])
            if case == "server stopped":
                s.sound.send_signal(signal.SIGSTOP)
            try:
                for cycle in (1,) if wav is None else (1, 2):
                    s.click("Form3", "square")
                    s.window(warning)
                    box = s.window("Zvuk")
                    assert len(s.windows("Zvuk")) == 1, (case, "reports stacked")
                    x, y, w, h = s.geometry(box)  # seen, not under the full-screen warning
                    assert y >= s.screen[1] // 2, (case, "the report over the middle", y)
                    assert wait_for(lambda: len(set(s.pixels(x, y, w, h))) > 2), case
                    if case.startswith("empty") and cycle == 1:
                        s.screenshot("sound-error" + "-full" * full, box)
                        s.click(warning, "OK")  # the report left open
                        continue
                    s.key(box, "Return")
                    assert wait_for(lambda: not s.windows("Zvuk")), case
                    assert s.windows(warning) and app.process.poll() is None, case
                    s.click(warning, "OK")  # the next warning reports again
            finally:
                s.sound.send_signal(signal.SIGCONT)
            assert app.running_alone() or wav is None, case


@test
def chime_heard_on_pulseaudio_and_pipewire(s):
    """The chime reaches the sound server, PulseAudio's or PipeWire's, however its wave file
    lays out its chunks; closing the warning or quitting leaves no helper behind."""
    good = open(os.path.join(P.resources, "s.wav"), "rb").read()
    padded = good[:4] + struct.pack("<I", len(good) + 4) + good[8:36] + b"LIST\3\0\0\0abc\0" + good[36:]
    for server, wav in (("PulseAudio", padded), ("PipeWire", good)):
        with s.sound_server(server) as env, s.recording("chime-" + server, env) as loudest, \
                Vestrel(s, name="chime-" + server, env=env) as app:
            with open(app.path("s.wav"), "wb") as f:
                f.write(wav)
            s.click("Form3", "square")
            s.window("Varování!")
            assert wait_for(lambda: loudest() > LOUD), (server, loudest())
            s.click("Varování!", "Ukončit !")  # while the chime plays
            assert app.wait() == 0
            assert wait_for(lambda: not running(app.path("vestrel_chime"))), server
            assert not s.windows("Zvuk"), server


@test(desktops=("xvfb", "wine"))
def bad_setting_reports_and_ends(s):
    ini = P.default_ini.replace(b"1=60", b"1=60 minut")
    with Vestrel(s, ini=ini, name="badsetting") as app:
        assert app.answer("Vestrel", "bad-setting") == 1
        assert app.ini() == ini


@test
def end_requested_during_a_save_waits_for_it(s):
    """A request to end sent to the process while a save is on its way to the disk (its
    fsync held up three seconds) is taken once the save is done: the new file, nothing left."""
    folder = program_folder("ending")
    delay = "inject=fsync:delay_enter=%d" % (3000000 * SLOW)
    traced = subprocess.Popen(["strace", "-qq", "-o", "/dev/null", "-e", "trace=fsync", "-e",
                               delay, inside(folder, "Vestrel")], env=s.env, cwd=P.work)
    try:
        dialog = s.settings()
        s.key(dialog, "End", "Return")  # the slider at 180, "Uložit"
        assert wait_for(lambda: any(n.startswith("data.ini.") for n in os.listdir(folder))), \
            "no save began"
        os.kill(int(s.xdo("getwindowpid", dialog)), signal.SIGTERM)
        assert traced.wait(DEADLINE * SLOW) == -signal.SIGTERM
        with open(inside(folder, "data.ini"), "rb") as f:
            assert b"1=180" in f.read()
        assert sorted(os.listdir(folder)) == ["Vestrel", "data.ini", "s.wav", "vestrel_chime"]
    finally:
        traced.kill()


@test(desktops=("xvfb", "kwin"))
def time_away_is_a_break(s):
    """A warning due while the session is locked waits for the unlock; a lock as long as a
    break drops it and the count starts again; only the screen saver itself says so, and what
    it said ends with it. With 4=1, no input for a break is time away; where no source can see
    all input (an X server without the screen-saver extension, XWayland's) idle is not known."""
    def no_warning_for(seconds):  # real seconds: the tick does not slow down with the build
        return not wait_for(lambda: s.windows("Varování!"), seconds / SLOW)

    def busy_until_warning():  # the user at work: one tick later the warning comes
        assert wait_for(lambda: s.xdo("mousemove_relative", "--", "1", "1") == "" and
                        s.windows("Varování!"), 15 / SLOW, step=0.5), "no warning while at work"
    idle = P.default_ini.replace(b"1=60", b"1=.16666667\r\n3=.1\r\n4=1")  # a tick; 6 s
    blind = s.other_x_server("-extension", "MIT-SCREEN-SAVER") if s.desktop == "xvfb" else contextlib.nullcontext()
    with blind, Vestrel(s, ini=idle, name="idle-unseen") as app:
        s.window("Varování!", timeout=15)
        assert app.process.poll() is None, "ended"
    if s.desktop != "xvfb":
        return
    ini = P.default_ini.replace(b"1=60", b"1=.16666667\r\n3=.25")  # a tick; 15 s
    with s.session_services() as (env, lock, idle_answer), Vestrel(s, ini=ini, env=env, name="locked") as app:
        app.window("Form3")
        lock("logind", True)
        assert no_warning_for(12), "a warning while locked"  # the tick came meanwhile
        lock("logind", False)
        s.click("Varování!", "OK")  # the warning that waited, at once
        app.window("Form3")
        lock("switched", True)  # another user's session, or a text console, in front
        assert no_warning_for(12), "a warning while the session was not in front"
        lock("switched", False)
        s.click("Varování!", "OK")
        app.window("Form3")
        lock("saver", True)
        assert no_warning_for(16), "a warning while locked"
        lock("saver", False)
        assert no_warning_for(3), "a warning after a break"
        s.window("Varování!", timeout=12)  # the count started again: one tick
        s.click("Varování!", "OK")
        lock("stranger")
        s.window("Varování!", timeout=15)  # no lock: one tick
        s.click("Varování!", "OK")
        lock("saver", True)
        assert no_warning_for(12), "a warning while locked"
        lock("crash")
        s.window("Varování!", timeout=15)
    with s.session_services() as (env, lock, idle_answer), Vestrel(s, ini=idle, env=env, name="idle") as app:
        app.window("Form3")
        assert no_warning_for(12), "a warning though nobody touched anything"
        busy_until_warning()  # back at work: the count starts again
        # Idle monitors' answers that are no idle time (microseconds that overflowed, a text).
        for answer in (("t", "dbus.UInt64(4611686018427447904)"), ("s", "'600000'")):
            s.click("Varování!", "OK")
            idle_answer(*answer)
            busy_until_warning()


@test(desktops=("openbox", "mutter"))
def warning_waits_while_another_program_fills_the_screen(s):
    """A warning that falls due while another program is full screen in front (a slideshow)
    waits until it leaves full screen, then comes with its chime."""
    xev = s.start(["xev", "-name", "vestrel-slides", "-geometry", "300x200+200+200", "-event", "keyboard"])
    slides = s.window("vestrel-slides")
    s.xdo("windowactivate", "--sync", slides)
    ini = P.default_ini.replace(b"1=60", b"1=.16666667")  # a tick

    def fills_the_screen(on):
        s.full_screen(slides, on)
        assert wait_for(lambda: s.geometry(slides)[2:] == (s.screen if on else (300, 200))), s.geometry(slides)

    try:
        fills_the_screen(True)
        with s.recording("slides") as loudest, Vestrel(s, ini=ini, name="slides") as app:
            app.window("Form3")
            assert not wait_for(lambda: s.windows("Varování!"), 14 / SLOW), "a warning over the slides"
            fills_the_screen(False)
            s.window("Varování!", timeout=15)  # at the next tick
            assert wait_for(lambda: loudest() > LOUD), loudest()
    finally:
        xev.terminate()  # reaped with the session's other programs
        assert s.gone("vestrel-slides")


@test()
def warning_waits_while_the_desktop_says_do_not_disturb(s):
    """KDE Plasma's notifications inhibited, or GNOME's banners off: a warning due meanwhile
    waits, and comes at the next tick once the service that said so goes, or the banners are
    back."""
    ini = P.default_ini.replace(b"1=60", b"1=.16666667")  # a tick

    def no_warning_for(seconds):
        return not wait_for(lambda: s.windows("Varování!"), seconds / SLOW)

    with s.session_services() as (env, _, _):
        notifications = ("org.freedesktop.Notifications", "/org/freedesktop/Notifications")
        service = s.start(["/usr/bin/python3", "-m", "dbusmock", *notifications, notifications[0]],
                          env=dict(s.env, **env))

        def call(method, *args):
            return run("gdbus", "call", "--address", env["DBUS_SESSION_BUS_ADDRESS"], "--dest",
                       notifications[0], "--object-path", notifications[1], "--method", method,
                       *args).returncode == 0
        ready(lambda: call("org.freedesktop.DBus.Mock.AddProperty", notifications[0], "Inhibited",
                           "<true>"), "no stand-in notification service")
        with Vestrel(s, ini=ini, env=env, name="inhibited") as app:
            app.window("Form3")
            assert no_warning_for(14), "a warning while notifications were inhibited"
            s.end([service])  # gone while it inhibited
            s.window("Varování!", timeout=15)  # at the next tick
    settings = os.path.join(P.work, "gnome", "glib-2.0", "settings")
    os.makedirs(settings)

    def banners(shown):
        with open(os.path.join(settings, "keyfile"), "w") as f:
            f.write("[org/gnome/desktop/notifications]\nshow-banners=%s\n" % ("true" if shown else "false"))
    banners(False)
    gnome = {"XDG_CURRENT_DESKTOP": "GNOME", "GSETTINGS_BACKEND": "keyfile",
             "XDG_CONFIG_HOME": os.path.join(P.work, "gnome")}
    with Vestrel(s, ini=ini, env=gnome, name="banners-off") as app:
        app.window("Form3")
        assert no_warning_for(14), "a warning while GNOME's banners were off"
        banners(True)
        s.window("Varování!", timeout=15)


@test(desktops=("mutter",))
def full_screen_warning_covers_every_screen(s):
    """With two monitors the full-screen warning blacks out both; "OK" takes all of it away."""
    with Vestrel(s, ini=P.default_ini.replace(b"2=0", b"2=1"), name="two-screens") as app:
        s.click("Form3", "square")
        full, cover = s.window("Form4"), s.window("Zakrytá obrazovka")
        second = (s.screen[0], 0) + s.SECOND_SCREEN
        assert wait_for(lambda: s.geometry(full) == (0, 0) + s.screen), s.geometry(full)
        assert wait_for(lambda: s.geometry(cover) == second), s.geometry(cover)
        assert wait_for(lambda: set(s.pixels(0, 0, 9999, 9999, cover)) == {(0, 0, 0)}), "not black"
        s.click("Form4", "OK")
        assert s.gone("Form4") and s.gone("Zakrytá obrazovka")
        app.window("Form3")


@test(desktops=("openbox", "mutter", "xfwm4", "icewm", "fluxbox", "kwin"))
def windows_on_a_real_desktop(s):
    """Under a window manager, read from the X server: where each window is, its frame and
    title-bar actions, task-bar state, stacking and who has the keyboard: the program the user
    types in keeps it through the square, the warnings and "OK" until the user clicks into a
    warning. A minimised window comes back. The keys through the X keyboard."""
    typed = os.path.join(P.work, "typed.txt")
    with open(typed, "w") as out:  # the window the user is typing in, ended with the session
        s.start(["xev", "-name", "vestrel-typing", "-geometry", "500x400+300+200", "-event", "keyboard"],
                stdout=out)
    user = s.window("vestrel-typing")
    s.xdo("windowactivate", "--sync", user)
    ini = P.default_ini.replace(b"1=60", b"1=.16666667")
    # On mutter and KWin the title bar offers none of these; openbox keeps a close button.
    forbidden = ("CLOSE", "MINIMIZE", "MAXIMIZE_HORZ", "MAXIMIZE_VERT", "RESIZE")

    def off_taskbar(wid):
        skips = lambda: all(state in s.prop(wid, "_NET_WM_STATE") for state in ("SKIP_TASKBAR", "SKIP_PAGER"))
        assert wait_for(skips), s.prop(wid, "_NET_WM_STATE")

    def framed_without_actions(wid):
        assert wait_for(lambda: s.frame(wid)[2] > 0), "no title bar"
        actions = s.prop(wid, "_NET_WM_ALLOWED_ACTIONS")
        if s.desktop in ("mutter", "kwin"):
            assert not any("_NET_WM_ACTION_" + a + "," in actions + "," for a in forbidden), actions

    def reach_user(*keys):
        before = open(typed).read().count("KeyRelease")
        s.xdo("key", "--delay", "50", *keys)
        assert wait_for(lambda: open(typed).read().count("KeyRelease") >= before + len(keys)), \
            "a window of ours took the keyboard"

    def comes_back(wid, title):
        """Minimised, it is back at once (where the window manager minimises it at all): the
        window manager has had the request once it has resized the user's window, asked after."""
        height = s.geometry(user)[3] + 1
        s.xdo("windowminimize", wid)
        s.xdo("windowsize", user, "500", str(height))
        assert wait_for(lambda: s.geometry(user)[3] == height), "the window manager does not answer"
        assert wait_for(lambda: wid in s.windows(title) and "HIDDEN" not in s.prop(wid, "_NET_WM_STATE")), \
            title + " stayed minimised"

    with s.recording("desktop") as loudest, Vestrel(s, ini=ini, name="desktop-" + s.desktop) as app:
        monitor = s.window("Form3")
        assert s.geometry(monitor) == (0, 0, 8, 8) and s.frame(monitor) == (0, 0, 0, 0)
        off_taskbar(monitor)
        reach_user("a")
        warning = s.window("Varování!", timeout=20)
        s.screenshot("warning-over-typing", warning)
        off_taskbar(warning)
        framed_without_actions(warning)
        assert wait_for(lambda: s.stacking().index(warning) > s.stacking().index(user)), \
            "the warning is below the user's window"
        assert s.active() == user, "the warning took the keyboard"
        assert wait_for(lambda: loudest() > LOUD), loudest()
        assert not s.windows("Zvuk"), "the sound was reported unplayable"
        reach_user("a", "Return", "KP_Enter", "space")
        assert s.windows("Varování!") and not s.windows("Form3"), "a key meant elsewhere acted"
        comes_back(warning, "Varování!")
        s.click("Varování!", "OK")
        s.window("Form3")
        reach_user("a", "Return")
        with open(app.path("s.wav"), "r+b") as f:
            good = f.read()
            f.truncate(44)  # cut after its header: the sound's report comes with the warning
        s.click("Form3", "square")
        warning = s.window("Varování!")
        s.window("Zvuk")
        reach_user("Return")
        s.click("Zvuk", "margin")  # the report takes the keyboard when clicked
        s.xdo("key", "Return")
        assert s.gone("Zvuk")
        with open(app.path("s.wav"), "wb") as f:
            f.write(good)

        s.click("Varování!", "Nastavení")
        dialog = s.window("Nastavení")
        assert wait_for(lambda: s.active() == dialog), "the dialog opened by a click is not active"
        off_taskbar(dialog)
        framed_without_actions(dialog)
        s.screenshot("settings", dialog)
        comes_back(dialog, "Nastavení")
        assert wait_for(lambda: s.active() == dialog), "the dialog came back without the keyboard"
        # The slider has the keyboard: each key from where the last left it, then Enter or the
        # keypad's Enter saves. It opens at 1: a ten-second interval is less than a minute.
        for keys, minutes in ((["Right"], 2), (["Right", "Right", "Left"], 3), (["End"], 180),
                              (["Page_Up"], 179), (["Page_Down"], 180), (["Up"], 179),
                              (["Down"], 180), (["Home"], 1)):
            for enter in ("Return", "KP_Enter"):
                s.xdo("key", "--delay", "30", *keys, enter)
                assert wait_for(lambda: b"1=%d\r\n" % minutes in app.ini()), (keys, app.ini())
                keys = []
        s.xdo("key", "Escape")
        assert wait_for(lambda: s.geometry(dialog)[3] == px(UNFOLDED)), "Escape opened no panel"
        s.xdo("key", "Escape")
        assert wait_for(lambda: s.geometry(dialog)[3] == px(FOLDED))
        # Tab order: slider, the two texts, Uložit, Zavřít, O programu, Původní, Skrýt plochu.
        s.xdo("key", "--delay", "30", *["Tab"] * 7, "space", "Return")
        assert wait_for(lambda: app.ini().endswith(b"2=1\r\n")), app.ini()
        s.click("Nastavení", "Zavřít")  # saved, so no prompt
        assert s.gone("Nastavení")

        s.xdo("windowactivate", "--sync", user)
        if s.desktop == "icewm":  # the only switcher that offers it the keyboard
            s.xdo("key", "alt+Tab")
        else:
            s.click("Varování!", "message")  # the warning takes the keyboard
        assert wait_for(lambda: s.active() == warning)
        s.xdo("key", "--delay", "30", "shift+Tab", "KP_Enter")  # from "Nastavení" back to "OK"
        assert s.window("Form3") and not s.windows("Varování!")
        s.xdo("windowactivate", "--sync", user)
        s.click("Form3", "square")  # the full-screen warning now
        full = s.window("Form4")
        reach_user("Return")
        assert wait_for(lambda: s.geometry(full) == (0, 0) + s.screen and s.frame(full) == (0, 0, 0, 0)), \
            s.geometry(full)
        off_taskbar(full)
        s.screenshot("warning-fullscreen", full)
        bottom = s.pixels(0, s.screen[1] - 1, s.screen[0], 1, s.readable(full))  # no task bar above
        assert set(bottom) == {(0, 0, 0)}, set(bottom)
        comes_back(full, "Form4")
        s.click("Form4", "Ukončit !")
        assert app.wait() == 0


@test(desktops=("weston", "weston-xwayland"))
def starts_under_weston(s):
    """With XWayland at hand Vestrel chooses X11, where its windows may place themselves;
    without it, it runs on Wayland itself."""
    xwayland = "DISPLAY" in s.env
    # Its Wayland requests, into its log.
    with Vestrel(s, name="weston", env={"WAYLAND_DEBUG": "client"}) as app:
        def log():
            with open(app.log.name) as f:
                return f.read()
        if xwayland:  # an X11 window (weston's own X window manager decides where it goes)
            monitor = s.window("Form3")
            assert s.geometry(monitor)[2:] == (8, 8), s.geometry(monitor)
        else:  # the square's surface, with its picture
            assert wait_for(lambda: "xdg_surface" in log() and ".attach(" in log()), log()[-2000:]
        s.screenshot("running")
        assert app.process.poll() is None, "Vestrel ended"
        made_toplevel = "xdg_surface" in log()
        assert made_toplevel != xwayland, "native Wayland: %s" % made_toplevel


WM_CLOSE, WM_COMMAND, WM_WTSSESSION_CHANGE = 0x10, 0x111, 0x2B1
CONNECT, DISCONNECT, LOCK, UNLOCK = 1, 2, 7, 8  # the session's changes, as the system says them


def boxes(s, title):
    return [w for w in s.probe() if w["class"] == "#32770" and w["text"] == title]


# What the Win32 API says of the windows: styles, and each dialog control's place in twips.
WS_SYSMENU, WS_MINIMIZEBOX, WS_MAXIMIZEBOX, BS_DEFPUSHBUTTON = 0x80000, 0x20000, 0x10000, 1
WS_EX_TOPMOST, WS_EX_TOOLWINDOW, WS_EX_NOACTIVATE = 0x8, 0x80, 0x8000000
DIALOG = {"ScrollBar": DIALOG_BOXES["HScroll1"], "Edit": DIALOG_BOXES["Text1"],
          "Uložit": DIALOG_BOXES["Command1"], "Zavřít": DIALOG_BOXES["Command2"],
          "Původní": DIALOG_BOXES["Command4"], "O programu": DIALOG_BOXES["Command3"],
          "Skrýt plochu": DIALOG_BOXES["Check1"], "Text zprávy :": DIALOG_BOXES["Label2"]}


@test(desktops=("wine",))
def windows_as_windows_sees_them(s):
    def form(title):
        return wait_for(lambda: next((w for w in s.probe() if w["text"] == title), None))

    def control(window, text):
        return next(c for c in window["children"] if text in (c["text"], c["class"]))
    typed = os.path.join(P.work, "typed-wine.txt")
    with open(typed, "w") as out:  # the window the user is typing in
        s.start(["xev", "-name", "vestrel-typing", "-geometry", "300x200+600+500", "-event", "keyboard"],
                stdout=out)
    user = s.window("vestrel-typing")
    s.xdo("windowfocus", "--sync", user)
    focus = lambda: s.xdo("getwindowfocus")  # noqa: E731
    with Vestrel(s, name="probe") as app:
        s.window("Form3")
        square = form("Form3")
        assert square["rect"] == [0, 0, 8, 8], square["rect"]
        assert square["exstyle"] & (WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE) == 0x8000080, square
        s.click("Form3", "square")
        warning_x = s.window("Varování!")
        warning = form("Varování!")
        assert warning["owned"] and not warning["style"] & (WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX)
        assert warning["exstyle"] & WS_EX_TOPMOST, warning
        x, y, w, h = warning["rect"]  # where the system puts a new window, not in the middle
        assert abs(x + w // 2 - s.screen[0] // 2) > 20 or abs(y + h // 2 - s.screen[1] // 2) > 20, warning
        assert control(warning, "OK")["rect"] == [px(t) for t in CONTROLS["Varování!"]["OK"]]
        assert wait_for(lambda: focus() == user), "the warning took the keyboard"
        s.xdo("key", "Return")  # meant for the user's program: no button pressed
        x, y, _, _ = s.geometry(warning_x)
        s.xdo("mousemove", str(x + 200), str(y + 70), "sleep", "0.2", "click", "1")  # its bare area
        assert wait_for(lambda: focus() == warning_x), "a click did not give it the keyboard"
        s.xdo("key", "Return")  # the focused "OK"
        assert s.gone("Varování!") and s.window("Form3")
        dialog_x = s.settings()
        dialog = form("Nastavení")
        for name, box in DIALOG.items():
            assert control(dialog, name)["rect"] == [px(t) for t in box], (name, control(dialog, name))
        assert control(dialog, "Uložit")["style"] & BS_DEFPUSHBUTTON
        assert not form("Varování!")["enabled"], "the warning took input beside the modal dialog"
        s.key(dialog_x, "Escape")  # the cancel button, "O programu", opens the about panel
        assert wait_for(lambda: s.geometry(dialog_x)[3] == px(UNFOLDED)), s.geometry(dialog_x)
        s.click("Nastavení", "Text1")
        s.key(dialog_x, "End")
        s.key(dialog_x, type="!")
        s.key(dialog_x, "alt+F4")  # asks first, in Czech
        prompt = wait_for(lambda: next((w for w in s.probe() if w["class"] == "#32770"), None))
        assert {"Ano", "Ne"} <= {c["text"] for c in prompt["children"]}, prompt
        s.key(s.window("Varování"), "Escape")  # answers nothing, as on Linux: the edits stay
        assert not wait_for(lambda: not boxes(s, "Varování"), 2), "Escape answered the question"
        # What other programs post meanwhile: clicks to the blocked warning, close requests.
        for posted in ("Varování!/Nastavení", "Varování!/OK", "Nastavení", "Nastavení"):
            s.post(posted, WM_COMMAND if "/" in posted else WM_CLOSE)
        assert not wait_for(lambda: len(boxes(s, "Varování")) > 1, 3), "a second prompt"
        assert len(s.windows("Nastavení")) == 1, "a second dialog"
        s.key(s.window("Varování"), "Return")  # "Ano"
        assert s.gone("Nastavení")
        saved = P.default_ini.replace(b"jak\r\n", b"jak!\r\n")
        assert app.ini() == saved, app.ini()
        s.click("Varování!", "Nastavení")
        dialog_x = s.window("Nastavení")
        s.click("Nastavení", "Text1")
        s.key(dialog_x, "End")
        s.key(dialog_x, type="?")
        s.key(dialog_x, "Return")  # the default button, "Uložit"
        saved = saved.replace(b"jak!", b"jak!?")
        assert wait_for(lambda: app.ini() == saved), app.ini()
        s.key(dialog_x, "alt+F4")  # saved: closes without asking
        assert s.gone("Nastavení")
        s.click("Varování!", "Ukončit !")
        assert app.wait() == 0
        assert app.ini() == saved
    with open(typed) as f:
        assert "Return" in f.read(), "the user's program did not get its key"


@test(desktops=("wine",))
def other_programs_messages_on_windows(s):
    """taskkill ends it, nothing written; folder claims (a trailing blank, another user's); a
    posted lock or unlock counts as the session's state (a stand-in of its service) confirms."""
    with Vestrel(s, name="posted") as app:
        s.settings()
        assert run("wine", "taskkill", "/im", "Vestrel.exe", env=s.env).returncode == 0
        assert app.wait() == 0 and app.ini() == P.default_ini
    claimed = program_folder("claimed")
    s.start(["wine", P.probe, "hold", "Z:" + claimed.replace("/", "\\")], stdout=open(claimed + ".txt", "w"))
    assert wait_for(lambda: "held" in open(claimed + ".txt").read()), "no claim held"
    with Vestrel(s, name="w") as first:
        for folder in (app.folder, claimed, program_folder("w ")):
            with Vestrel(s, name=os.path.basename(folder) + "-again", folder=folder) as again:
                assert first.running_alone() and again.running_alone(), folder
    state = os.path.join(P.work, "session")
    env = {"VESTREL_SESSION_STATE": state, "WINEDLLOVERRIDES": s.env["WINEDLLOVERRIDES"] + ";wtsapi32=n"}
    tick = P.default_ini.replace(b"1=60", b"1=.16666667\r\n3=.5")  # one tick; 30 s
    open(state, "w").write("locked")  # as it starts: it counts nothing until the session is back
    with Vestrel(s, ini=tick, env=env, name="notices") as app:
        app.window("Form3")  # the tick after it, and after "OK", falls within the lock that follows
        assert not wait_for(lambda: s.windows("Varování!"), 12), "a warning in a locked session"
        for said, event, warns, seconds in (("unlocked", LOCK, True, 15), ("locked", LOCK, False, 12),
                                            ("locked", UNLOCK, False, 3), ("unlocked", UNLOCK, True, 5)):
            open(state, "w").write(said)
            s.post("VestrelOwner", WM_WTSSESSION_CHANGE, event)
            assert bool(wait_for(lambda: s.windows("Varování!"), seconds)) == warns, (said, event)
            if event == LOCK and warns:
                s.click("Varování!", "OK")
                app.window("Form3")


@test(desktops=("wine",))
def unplayable_chime_reported_on_windows(s):
    """A chime that is no whole wave file, or no device plays, is reported in Czech."""
    good = open(os.path.join(P.resources, "s.wav"), "rb").read()
    rate = lambda hz: good[:24] + struct.pack("<I", hz) + good[28:]  # noqa: E731
    for case, wav, said in ((4, good[:4] + struct.pack("<I", 4) + good[8:], "není platný"),
                            (0xFFFFFFFF, good[:4] + b"\xff" * 4 + good[8:], "neúplný"),
                            ("1 Hz", rate(1), "neumí přehrát"), ("4 GHz", rate(4000000000), "neumí přehrát"),
                            ("16 MiB", good + bytes((16 << 20) + 1 - len(good)), "je větší než 16 MB")):
        with Vestrel(s, name="chime-%s" % case) as app:
            open(app.path("s.wav"), "wb").write(wav)
            for cycle in (1, 2) if case == 4 else (1,):  # left open, the next failure raises it
                s.click("Form3", "square")
                s.window("Varování!")
                assert wait_for(lambda: s.windows("Zvuk")), case
                assert said in " ".join(c["text"] for b in boxes(s, "Zvuk") for c in b["children"]), case
                # Above the warning, in the system's order of the windows (the top one first).
                order = lambda: [w["text"] for w in s.probe() if w["text"] in ("Zvuk", "Varování!")]  # noqa: E731
                assert wait_for(lambda: order() == ["Zvuk", "Varování!"]), (case, cycle, order())
                assert s.geometry(s.window("Zvuk"))[1] >= s.screen[1] // 2, (case, "over the middle")
                if cycle == 1 and case == 4:  # the warning's keys work beside it: Enter, "OK"
                    warning = s.window("Varování!")
                    x, y, _, _ = s.geometry(warning)
                    s.xdo("mousemove", str(x + 200), str(y + 70), "sleep", "0.2", "click", "1")
                    s.key(warning, "Return")
                    assert s.gone("Varování!"), "Enter did not press the warning's OK"
            assert len(boxes(s, "Zvuk")) == 1, (case, "reports stacked")
            s.key(s.window("Zvuk"), "Return")
            assert s.gone("Zvuk") and app.process.poll() is None and s.windows("Varování!"), case


@test(desktops=("wine",))
def time_away_on_windows(s):
    """With 4=1 no input is time away, until the user types into notepad; locks and disconnections
    (posted: Wine sends none) shorter than a break let a due warning come, longer ones restart."""
    def no_warning_for(seconds):
        return not wait_for(lambda: s.windows("Varování!"), seconds / SLOW)
    s.start(["wine", "notepad"])
    notepad = s.window(".*Notepad.*", timeout=60)
    two_ticks = P.default_ini.replace(b"1=60", b"1=.33333334\r\n3=.1\r\n4=1")  # 20 s; 6 s
    with Vestrel(s, ini=two_ticks, name="idle-win") as app:
        app.window("Form3")
        assert no_warning_for(24), "a warning though nobody touched anything"
        returned = time.monotonic()
        assert wait_for(lambda: s.key(notepad, type="a") or s.windows("Varování!"), 30 / SLOW, step=0.5)
        assert time.monotonic() - returned > 9, "the count did not start again"
    with Vestrel(s, ini=P.default_ini.replace(b"1=60", b"1=.16666667\r\n3=.25"), name="locks-win") as app:
        s.window("Varování!", timeout=15)  # on time: one tick
        for away, back, seconds in ((LOCK, UNLOCK, 12), (DISCONNECT, CONNECT, 12), (LOCK, UNLOCK, 20)):
            s.click("Varování!", "OK")
            app.window("Form3")
            since = time.monotonic()  # the square's ticks from here: 10 s, 20 s, 30 s
            s.post("VestrelOwner", WM_WTSSESSION_CHANGE, away)
            assert no_warning_for(seconds - (time.monotonic() - since)), "a warning while away"
            s.post("VestrelOwner", WM_WTSSESSION_CHANGE, back)
            assert no_warning_for(3) == (seconds > 15), "a warning waited, or came after a break"
            s.window("Varování!", timeout=12)  # at once, or at the next tick


if __name__ == "__main__":
    sys.exit(main(TESTS))
