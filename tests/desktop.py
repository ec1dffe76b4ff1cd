#!/usr/bin/env python3
"""Vestrel at home on a Linux desktop: one instance per program folder, a stale lock and a
read-only folder, high-density screens, installation with its menu entry, start at login.

usage: desktop.py VESTREL_BINARY RESOURCES_DIR BUILD_DIR SOURCE_DIR"""
import os
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from e2e import LOUD, P, TESTS, Skip, Vestrel, main, program_folder, run, test, wait_for  # noqa: E402

BUILD = SOURCE = None  # the build and source folders, from the command line


@test
def second_instance_is_turned_away(s):
    with Vestrel(s, name="single") as first:
        first.window("Form3")
        with Vestrel(s, name="single-second", folder=first.folder) as second:
            assert second.answer("Vestrel", "second-instance") == 0
        assert len(s.windows("Form3")) == 1
        assert first.process.poll() is None


@test
def lock_of_a_killed_instance_does_not_block(s):
    with Vestrel(s, name="stale") as killed:
        killed.window("Form3")
    # Killed: the lock file stays behind.
    assert os.path.exists(killed.path(".vestrel.lock"))
    with Vestrel(s, name="stale-again", folder=killed.folder) as again:
        assert again.running_alone(), "turned away by a dead instance's lock"


@test
def odd_locks(s):
    """A link or a folder in the lock's place is never followed or taken for a lock."""
    folder = program_folder("odd-locks")
    lock, target = os.path.join(folder, ".vestrel.lock"), os.path.join(P.work, "lock-target")
    for odd in ("link", "folder"):
        os.symlink(target, lock) if odd == "link" else os.mkdir(lock)
        with Vestrel(s, name="odd-lock-" + odd, folder=folder) as app:
            assert app.running_alone(), odd
            assert not os.path.lexists(target), "the lock followed a link"
        os.unlink(lock) if odd == "link" else os.rmdir(lock)


@test
def read_only_folder(s):
    """Where no lock can be made Vestrel cannot tell and runs; a lock file that exists in a
    read-only folder still turns a second copy away."""
    if os.geteuid() != 0:
        raise Skip("a read-only folder is made with mount --bind, which needs root")
    folder = program_folder("readonly")
    for existing in (False, True):
        if existing:
            open(os.path.join(folder, ".vestrel.lock"), "w").close()
        assert run("mount", "--bind", folder, folder).returncode == 0, "mount --bind failed"
        try:
            assert run("mount", "-o", "remount,bind,ro", folder).returncode == 0
            with Vestrel(s, name="readonly-%s" % existing, folder=folder) as app:
                assert app.running_alone()
                if existing:
                    with Vestrel(s, name="readonly-second", folder=folder) as second:
                        assert second.answer("Vestrel") == 0, "a second copy ran beside the first"
        finally:
            run("umount", folder)


@test
def folder_name_that_is_no_utf8(s):
    """Unpacked from an old archive into a Latin-1 folder name: the files are found, the
    lock taken, the sound played and the settings saved there."""
    with s.recording("latin1") as loudest, Vestrel(s, name=b"P\xf8est\xe1vky") as app:
        dialog = s.settings()  # no report of a missing file held the warning up
        assert wait_for(lambda: loudest() > LOUD), loudest()
        assert not s.windows("CHYBA") and not s.windows("Zvuk"), "a file was not found"
        assert os.path.exists(app.path(".vestrel.lock"))
        s.key(dialog, "End")  # the slider at 180
        s.key(dialog, "Return")  # "Uložit"
        assert wait_for(lambda: b"1=180" in app.ini()), app.ini()


def scaled(s, factor):
    def grow(n):
        return int(n * factor + 0.5)
    with Vestrel(s, name="scale-%s" % factor, env={"QT_SCALE_FACTOR": str(factor)}):
        monitor = s.window("Form3")
        size = grow(8)
        assert s.geometry(monitor) == (0, 0, size, size), s.geometry(monitor)
        assert wait_for(lambda: all(p == (0, 0, 0) for p in s.pixels(0, 0, size, size)))
        s.click("Form3", "square", factor)
        warning = s.window("Varování!")
        assert s.geometry(warning)[2:] == (grow(339), grow(87)), s.geometry(warning)
        s.screenshot("scale-%s-warning" % factor, warning)
        s.click("Varování!", "Nastavení", factor)
        dialog = s.window("Nastavení")
        assert s.geometry(dialog)[2:] == (grow(384), grow(215)), s.geometry(dialog)
        s.screenshot("scale-%s-settings" % factor, dialog)


@test
def high_density_150(s):
    scaled(s, 1.5)


@test
def high_density_200(s):
    scaled(s, 2)


@test
def install_update_uninstall_and_autostart(s):
    prefix = os.path.join(P.work, ".prefix")  # a dot: a pattern would match any character
    home = os.path.join(P.work, "home")
    os.makedirs(home)
    env = dict(os.environ, HOME=home)
    env.pop("XDG_CONFIG_HOME", None)

    def install():
        out = run("cmake", "--install", BUILD, "--prefix", prefix, env=env)
        assert out.returncode == 0, out.stderr
    install()
    folder = os.path.join(prefix, "opt", "vestrel")
    for name in ("Vestrel", "vestrel_sound.so", "s.wav", "data.ini"):
        assert os.path.isfile(os.path.join(folder, name)), name
    menu = os.path.join(prefix, "share", "applications", "vestrel.desktop")
    entry = open(menu).read()
    assert run("desktop-file-validate", menu).stdout == "", run("desktop-file-validate", menu).stdout
    assert 'Exec="%s/Vestrel"' % folder in entry and "Icon=vestrel" in entry, entry
    assert os.path.isfile(os.path.join(prefix, "share", "icons", "hicolor", "32x32", "apps", "vestrel.png"))
    # An update keeps the user's settings.
    with open(os.path.join(folder, "data.ini"), "ab") as f:
        f.write(b"; mine\r\n")
    mine = open(os.path.join(folder, "data.ini"), "rb").read()
    install()
    assert open(os.path.join(folder, "data.ini"), "rb").read() == mine
    # The installed program runs from its folder.
    app = subprocess.Popen([os.path.join(folder, "Vestrel")], env=s.env, cwd=P.work,
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        s.window("Form3")
    finally:
        app.kill()
        app.wait()
    # Start at login, and no more.
    autostart = os.path.join(home, ".config", "autostart", "vestrel.desktop")
    out = run(os.path.join(SOURCE, "scripts", "autostart.sh"), "on", folder, env=env)
    assert out.returncode == 0, out.stderr
    assert 'Exec="%s/Vestrel"' % folder in open(autostart).read()
    assert run(os.path.join(SOURCE, "scripts", "autostart.sh"), "off", env=env).returncode == 0
    assert not os.path.exists(autostart)
    odd_folder_names_in_entries(env, autostart)
    # Uninstall keeps the settings unless asked, and touches no other installation's entries.
    run(os.path.join(SOURCE, "scripts", "autostart.sh"), "on", folder, env=env)
    out = run(os.path.join(SOURCE, "scripts", "uninstall.sh"), "--prefix", prefix + "/", env=env)
    assert out.returncode == 0, out.stderr
    assert sorted(os.listdir(folder)) == ["data.ini"], os.listdir(folder)
    assert not os.path.exists(os.path.join(prefix, "share", "applications", "vestrel.desktop"))
    assert not os.path.exists(autostart)
    run(os.path.join(SOURCE, "scripts", "uninstall.sh"), "--prefix", prefix, "--purge", env=env)
    assert not os.path.exists(folder)
    install()
    other = os.path.join(P.work, "Xprefix", "opt", "vestrel")
    stub_program(other)
    run(os.path.join(SOURCE, "scripts", "autostart.sh"), "on", other, env=env)
    run(os.path.join(SOURCE, "scripts", "uninstall.sh"), "--dir", "/Xprefix/opt/vestrel", env=env)
    assert os.path.exists(autostart), "another installation's autostart entry was removed"
    run(os.path.join(SOURCE, "scripts", "uninstall.sh"), "--prefix", prefix, "--purge", env=env)
    assert os.path.exists(autostart), "another installation's autostart entry was removed"


def stub_program(folder):
    """A stand-in Vestrel that says where it was started from."""
    os.makedirs(folder, exist_ok=True)
    program = os.path.join(folder, b"Vestrel" if isinstance(folder, bytes) else "Vestrel")
    with open(program, "w") as f:
        f.write('#!/bin/sh\npwd > "$(dirname "$0")/started"\n')
    os.chmod(program, 0o755)


def odd_folder_names_in_entries(env, entry):
    """Whatever the folder's name, the autostart entry is valid and a desktop's launcher
    (GLib's) starts exactly that folder's program; a name the format cannot carry is refused
    and no entry is written."""
    script = os.path.join(SOURCE, "scripts", "autostart.sh")
    launch = ("import sys, gi; gi.require_version('Gio', '2.0'); from gi.repository import Gio;"
              "Gio.DesktopAppInfo.new_from_filename(sys.argv[1]).launch([], None)")
    for name in ('say "hi"', "back\\slash", "100%done", "%d %%", "$HOME `id` 'x'", "Přestávky"):
        folder = os.path.join(P.work, "odd", name)
        stub_program(folder)
        out = run(script, "on", folder, env=env)
        assert out.returncode == 0, (name, out.stderr)
        valid = run("desktop-file-validate", entry)
        assert valid.returncode == 0 and valid.stdout == "", (name, valid.stdout)
        if "%" in name:
            # GLib looks for the program before it expands %%, and so cannot load such an
            # entry; the format itself is checked above.
            assert 'Exec="%s/Vestrel"' % folder.replace("%", "%%") in open(entry).read()
            continue
        assert run("/usr/bin/python3", "-c", launch, entry, env=env).returncode == 0, name
        started = os.path.join(folder, "started")
        assert wait_for(lambda: os.path.exists(started) and open(started).read().strip(), 5), name
        assert open(started).read().strip() == folder, (name, open(started).read())
    for name in (b"new\nExec=touch INJECTED", b"tab\there", b"Latin-1 \xe9"):
        folder = os.path.join(P.work.encode(), b"refused", name)
        stub_program(folder)
        run(script, "off", env=env)
        out = subprocess.run([script, "on", folder], capture_output=True, env=env)
        assert out.returncode != 0 and b"cannot" in out.stderr, (name, out.stderr)
        assert not os.path.exists(entry), name


if __name__ == "__main__":
    BUILD, SOURCE = os.path.abspath(sys.argv[3]), os.path.abspath(sys.argv[4])
    sys.exit(main(TESTS))
