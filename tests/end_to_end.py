#!/usr/bin/env python3
"""End-to-end test of the real Vestrel binary under Xvfb, driven with xdotool: the monitor,
the missing files, the warnings with their sound, the settings dialog, the web link.

usage: end_to_end.py VESTREL_BINARY RESOURCES_DIR"""
import os
import signal
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from e2e import P, SEEN, TESTS, Vestrel, loudness, main, px, test, wait_for  # noqa: E402



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
        app = Vestrel(s, ini=None if missing == "data.ini" else P.default_ini,
                      wav=missing != "s.wav", name="missing-" + missing)
        try:
            box = s.window("CHYBA")
            s.screenshot("missing-" + missing)
            assert app.process.poll() is None
            s.key(box, "Return")
            assert app.wait(5) is not None, "still running after OK"
            assert not os.path.exists(app.ini_path) or app.ini() == P.default_ini
        finally:
            app.stop()


@test
def warning_with_sound_then_ok_restarts(s):
    ini = P.default_ini.replace(b"1=60", b"1=.16666667")
    recording = os.path.join(P.work, "warning.wav")
    recorder = s.record(recording)
    # Qt's own options are no options of ours: "-reverse" must not mirror the windows, so
    # "OK" stays where the click below expects it.
    app = Vestrel(s, ini=ini, name="warning", args=["-reverse"])
    try:
        s.window("Form3")
        wid = s.window("Varování!", timeout=15)
        elapsed = time.monotonic() - app.started
        assert 9.0 <= elapsed <= 12.0 * float(os.environ.get("VESTREL_TIME_SCALE", "1")), elapsed
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
    ini = P.default_ini.replace(b"2=0", b"2=1")
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
        assert app.ini() == P.default_ini
    finally:
        app.stop()


@test
def unplayable_sound_is_reported_and_warning_shown(s):
    """A sound that cannot be played is reported at every warning, in one box at a time that
    does not take the keyboard, and the warning is shown all the same."""
    good = open(os.path.join(P.resources, "s.wav"), "rb").read()
    for case, wav in (("empty", b""), ("header only", good[:44]), ("cut short", good[:100]),
                      ("no wave", b"this is no wave file"), ("no sound output", good),
                      ("no sound module", good)):
        env = s.env
        if case == "no sound output":
            s.env = dict(env, PULSE_SERVER="unix:" + os.path.join(P.work, "no-sound-server"))
        app = Vestrel(s, name="badsound-" + case.replace(" ", "-"))
        s.env = env
        try:
            with open(os.path.join(app.folder, "s.wav"), "wb") as f:
                f.write(wav)
            if case == "no sound module":
                os.remove(os.path.join(app.folder, "vestrel_sound.so"))
            for cycle in (1, 2):
                s.click(s.window("Form3"), 60, 60)
                warning = s.window("Varování!")
                box = s.window("Zvuk")
                assert len(s.windows("Zvuk")) == 1, (case, "reports stacked")
                if case == "empty" and cycle == 1:
                    s.screenshot("sound-error")
                    s.click(warning, 120, 840, 1095, 375)  # "OK", the report left open
                    continue
                s.key(box, "Return")
                assert wait_for(lambda: not s.windows("Zvuk"), 5), case
                assert s.windows("Varování!") and app.process.poll() is None, case
                s.click(warning, 120, 840, 1095, 375)  # "OK": the next warning reports again
        finally:
            app.stop()


@test
def bad_setting_reports_and_ends(s):
    ini = P.default_ini.replace(b"1=60", b"1=60 minut")
    app = Vestrel(s, ini=ini, name="badsetting")
    try:
        box = s.window("Vestrel")
        s.screenshot("bad-setting")
        s.key(box, "Return")
        assert app.wait(5) == 1
        assert app.ini() == ini
    finally:
        app.stop()



@test(desktops=("openbox", "mutter"))
def windows_on_a_real_desktop(s):
    """Under a window manager, read from the X server: where each window is, its frame and
    title-bar actions, task-bar state, stacking and who has the keyboard; the keys through
    the X keyboard."""
    typed = os.path.join(P.work, "typed.txt")
    with open(typed, "w") as out:  # the window the user is typing in
        typing = subprocess.Popen(["xev", "-name", "vestrel-typing", "-geometry", "500x400+300+200",
                                   "-event", "keyboard"], env=s.env, stdout=out)
    ini = P.default_ini.replace(b"1=60", b"1=.16666667")
    app = Vestrel(s, ini=ini, name="desktop-" + s.desktop)
    # On mutter the title bar offers none of these; openbox keeps a close button on purpose.
    forbidden = ("CLOSE", "MINIMIZE", "MAXIMIZE_HORZ", "MAXIMIZE_VERT", "RESIZE")
    title_bar_checked = s.desktop == "mutter"

    def off_taskbar(wid):
        states = s.prop(wid, "_NET_WM_STATE")
        assert "SKIP_TASKBAR" in states and "SKIP_PAGER" in states, states

    def framed_without_actions(wid):
        assert s.frame(wid)[2] > 0, "no title bar"
        actions = s.prop(wid, "_NET_WM_ALLOWED_ACTIONS")
        if title_bar_checked:
            assert not any("_NET_WM_ACTION_" + a + "," in actions + "," for a in forbidden), actions

    try:
        monitor = s.window("Form3")
        assert s.geometry(monitor) == (0, 0, 8, 8) and s.frame(monitor) == (0, 0, 0, 0)
        off_taskbar(monitor)
        user = s.window("vestrel-typing")
        s.xdo("windowactivate", "--sync", user)
        warning = s.window("Varování!", timeout=20)
        time.sleep(1)
        s.screenshot("warning-over-typing", warning)
        off_taskbar(warning)
        framed_without_actions(warning)
        stack = s.stacking()
        assert stack.index(warning) > stack.index(user), "the warning is below the user's window"
        assert s.active() == user, "the warning took the keyboard"
        assert not s.windows("Zvuk"), "the sound was reported unplayable"
        s.xdo("key", "--delay", "50", "a", "Return", "KP_Enter", "space")
        assert wait_for(lambda: open(typed).read().count("KeyRelease") >= 4, 5), open(typed).read()
        assert s.windows("Varování!") and not s.windows("Form3"), "a key meant elsewhere acted"

        s.click(warning, 1320, 840, 1095, 375)  # "Nastavení"
        dialog = s.window("Nastavení")
        assert wait_for(lambda: s.active() == dialog, 5), "the dialog opened by a click is not active"
        off_taskbar(dialog)
        framed_without_actions(dialog)
        s.screenshot("settings", dialog)
        # The slider has the keyboard: each key from where the last left it, then Enter or the
        # keypad's Enter saves. It opens at 1: a ten-second interval is less than a minute.
        for keys, minutes in ((["Right"], 2), (["Right", "Right", "Left"], 3), (["End"], 180),
                              (["Page_Up"], 179), (["Page_Down"], 180), (["Up"], 179),
                              (["Down"], 180), (["Home"], 1)):
            for enter in ("Return", "KP_Enter"):
                s.xdo("key", "--delay", "30", *keys, enter)
                assert wait_for(lambda: b"1=%d\r\n" % minutes in app.ini(), 3), (keys, app.ini())
                keys = []
        x, y, w, h = s.geometry(dialog)
        s.xdo("key", "Escape")
        assert wait_for(lambda: s.geometry(dialog)[3] == px(4935), 3), "Escape opened no panel"
        s.xdo("key", "Escape")
        assert wait_for(lambda: s.geometry(dialog)[3] == px(3225), 3)
        # Tab order: slider, the two texts, Uložit, Zavřít, O programu, Původní, Skrýt plochu.
        s.xdo("key", "--delay", "30", *["Tab"] * 7, "space", "Return")
        assert wait_for(lambda: app.ini().endswith(b"2=1\r\n"), 3), app.ini()
        s.click(dialog, 1440, 2760, 1215, 375)  # "Zavřít": saved, so no prompt
        assert wait_for(lambda: not s.windows("Nastavení"), 5)

        s.click(warning, 2400, 120, 1000, 200)  # the message: the warning takes the keyboard
        assert wait_for(lambda: s.active() == warning, 5)
        s.xdo("key", "--delay", "30", "shift+Tab", "KP_Enter")  # from "Nastavení" back to "OK"
        monitor = s.window("Form3")
        s.click(monitor, 60, 60)  # the full-screen warning now
        full = s.window("Form4")
        time.sleep(0.5)
        assert s.geometry(full) == (0, 0) + s.screen and s.frame(full) == (0, 0, 0, 0), \
            s.geometry(full)
        off_taskbar(full)
        s.screenshot("warning-fullscreen", full)
        s.click(full, 4080, 1080, 1095, 375)  # "Ukončit !"
        assert app.wait(5) == 0
    finally:
        app.stop()
        typing.kill()
        typing.wait()


@test(desktops=("weston", "weston-xwayland"))
def starts_under_weston(s):
    """With XWayland at hand Vestrel chooses X11, where its windows may place themselves;
    without it, it runs on Wayland itself."""
    xwayland = "DISPLAY" in s.env
    env = s.env
    s.env = dict(env, WAYLAND_DEBUG="client")  # its Wayland requests, into its log
    app = Vestrel(s, name="weston")
    s.env = env
    try:
        if xwayland:  # an X11 window (weston's own X window manager decides where it goes)
            monitor = s.window("Form3", timeout=10)
            assert s.geometry(monitor)[2:] == (8, 8), s.geometry(monitor)
        time.sleep(3)
        s.screenshot("running")
        assert app.process.poll() is None, "Vestrel ended"
        made_toplevel = "xdg_surface" in open(app.log.name).read()
        assert made_toplevel != xwayland, "native Wayland: %s" % made_toplevel
    finally:
        app.stop()


if __name__ == "__main__":
    sys.exit(main(TESTS))
