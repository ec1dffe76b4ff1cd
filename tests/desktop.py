#!/usr/bin/env python3
"""Vestrel at home on a Linux desktop: one instance per program folder, a stale lock and a
read-only folder, high-density screens, installation with its menu entry, start at login.

usage: desktop.py VESTREL_BINARY RESOURCES_DIR BUILD_DIR SOURCE_DIR"""
import os
import shutil
import signal
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


def lock_file(s, folder):
    """The user's own lock of a program folder, in the runtime folder."""
    info = os.stat(folder)
    return os.path.join(s.runtime, "vestrel-%d-%d.lock" % (info.st_dev, info.st_ino))


@test
def lock_of_a_killed_instance_does_not_block(s):
    with Vestrel(s, name="stale") as killed:
        killed.window("Form3")
    # Killed: the lock file stays behind.
    assert os.path.exists(lock_file(s, killed.folder))
    with Vestrel(s, name="stale-again", folder=killed.folder) as again:
        assert again.running_alone(), "turned away by a dead instance's lock"


@test
def odd_locks(s):
    """A link or a folder in the lock's place is never followed or taken for a lock."""
    folder = program_folder("odd-locks")
    lock, target = lock_file(s, folder), os.path.join(P.work, "lock-target")
    for odd in ("link", "folder"):
        os.symlink(target, lock) if odd == "link" else os.mkdir(lock)
        with Vestrel(s, name="odd-lock-" + odd, folder=folder) as app:
            assert app.running_alone(), odd
            assert not os.path.lexists(target), "the lock followed a link"
        os.unlink(lock) if odd == "link" else os.rmdir(lock)


@test
def lock_is_the_users_own(s):
    """Another user who can read the program folder cannot stop Vestrel by locking a file
    there, and a read-only folder still turns a second copy away."""
    if os.geteuid() != 0:
        raise Skip("another user and a read-only folder (mount --bind) need root")
    folder = program_folder("readonly")
    os.chmod(P.work, 0o755)
    old = os.path.join(folder, ".vestrel.lock")
    open(old, "w").close()
    other = subprocess.Popen(["setpriv", "--reuid=65534", "--regid=65534", "--clear-groups",
                              "flock", old, "sleep", "600"], start_new_session=True,
                             stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    assert wait_for(lambda: run("flock", "-n", old, "true").returncode == 1), "no lock taken"
    assert run("mount", "--bind", folder, folder).returncode == 0, "mount --bind failed"
    try:
        assert run("mount", "-o", "remount,bind,ro", folder).returncode == 0
        with Vestrel(s, name="readonly", folder=folder) as app:
            assert app.running_alone(), "another user's lock stopped Vestrel"
            with Vestrel(s, name="readonly-second", folder=folder) as second:
                assert second.answer("Vestrel") == 0, "a second copy ran beside the first"
    finally:
        run("umount", folder)
        os.killpg(other.pid, signal.SIGKILL)


@test
def folder_name_that_is_no_utf8(s):
    """Unpacked from an old archive into a Latin-1 folder name: the files are found, the
    lock taken, the sound played and the settings saved there."""
    with s.recording("latin1") as loudest, Vestrel(s, name=b"P\xf8est\xe1vky") as app:
        dialog = s.settings()  # no report of a missing file held the warning up
        assert wait_for(lambda: loudest() > LOUD), loudest()
        assert not s.windows("CHYBA") and not s.windows("Zvuk"), "a file was not found"
        assert os.path.exists(lock_file(s, app.folder))
        s.key(dialog, "End")  # the slider at 180
        s.key(dialog, "Return")  # "Uložit"
        assert wait_for(lambda: b"1=180" in app.ini()), app.ini()


@test
def folder_path_longer_than_a_path_may_be(s):
    """Eighteen levels of 240-character names, more than PATH_MAX: started from inside, Vestrel
    finds its files and runs."""
    names = ["%02d" % level + "x" * 238 for level in range(18)]
    fd = os.open(P.work, os.O_RDONLY | os.O_DIRECTORY)
    for name in names:
        os.mkdir(name, dir_fd=fd)
        fd, parent = os.open(name, os.O_RDONLY | os.O_DIRECTORY, dir_fd=fd), fd
        os.close(parent)
    for source in (BUILD + "/Vestrel", BUILD + "/vestrel_chime", SOURCE + "/resources/s.wav",
                   SOURCE + "/resources/data.ini"):
        opener = lambda name, flags: os.open(name, flags, 0o755, dir_fd=fd)  # noqa: E731
        with open(source, "rb") as f, open(os.path.basename(source), "wb", opener=opener) as out:
            out.write(f.read())
    os.close(fd)
    inside_it = lambda: [os.chdir(P.work)] + [os.chdir(name) for name in names]  # noqa: E731
    app = subprocess.Popen(["./Vestrel"], env=s.env, preexec_fn=inside_it)
    try:
        assert wait_for(lambda: s.windows("Form3", app.pid)), "not started"
        assert not s.windows("CHYBA") and app.poll() is None, "a file was not found"
    finally:
        app.kill()
        app.wait()


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
    home, data = os.path.join(P.work, "home"), os.path.join(P.work, "data")
    os.makedirs(home)
    os.symlink(".", os.path.join(P.work, "via"))
    # A relative XDG folder is to be ignored.
    env = dict(os.environ, HOME=home, XDG_CONFIG_HOME="config", XDG_DATA_HOME=data)

    def script(name, *args):
        return run(os.path.join(SOURCE, "scripts", name), *args, cwd=P.work, env=env)

    def install(where="via/.prefix"):  # relative, through a link
        out = run("cmake", "--install", BUILD, "--prefix", where, cwd=P.work, env=env)
        assert out.returncode == 0, out.stderr

    def icons(share):
        return [os.path.join(share, "icons", "hicolor", size, "apps", "vestrel" + ext) for size, ext in
                [("%dx%d" % (n, n), ".png") for n in (16, 24, 32, 48, 64, 128, 256)] + [("scalable", ".svg")]]
    install()
    folder = os.path.join(prefix, "opt", "vestrel")
    for name in ("Vestrel", "vestrel_chime", "s.wav", "data.ini"):
        assert os.path.isfile(os.path.join(folder, name)), name
    menu = os.path.join(prefix, "share", "applications", "vestrel.desktop")
    entry = open(menu).read()
    assert run("desktop-file-validate", menu).stdout == "", run("desktop-file-validate", menu).stdout
    assert 'Exec="%s/Vestrel"' % os.path.join(P.work, "via", ".prefix", "opt", "vestrel") in entry, entry
    assert "Icon=vestrel" in entry and all(map(os.path.isfile, icons(prefix + "/share"))), entry
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
    out = script("autostart.sh", "on", folder)
    assert out.returncode == 0, out.stderr
    assert 'Exec="%s/Vestrel"' % folder in open(autostart).read()
    assert script("autostart.sh", "off").returncode == 0
    assert not os.path.exists(autostart)
    odd_folder_names_in_entries(env, autostart)
    # Uninstall keeps the settings unless asked, and touches no other installation's entries.
    script("autostart.sh", "on", folder)
    out = script("uninstall.sh", "--prefix", prefix + "/")
    assert out.returncode == 0, out.stderr
    assert sorted(os.listdir(folder)) == ["data.ini"], os.listdir(folder)
    assert not os.path.exists(menu) and not any(map(os.path.exists, icons(prefix + "/share")))
    assert not os.path.exists(autostart)
    script("uninstall.sh", "--prefix", prefix, "--purge")
    assert not os.path.exists(folder)
    out = script("uninstall.sh", "--prefix", prefix)
    assert out.returncode == 0 and "Removed" not in out.stdout, out.stdout
    assert "usage" in script("uninstall.sh", "--prefix").stderr
    # A data.ini that cannot be removed: the entries go all the same, and the script says so.
    install()
    script("autostart.sh", "on", folder)
    os.remove(os.path.join(folder, "data.ini"))
    os.makedirs(os.path.join(folder, "data.ini", "x"))
    out = script("uninstall.sh", "--prefix", prefix, "--purge")
    assert out.returncode != 0 and "Not removed:" in out.stderr, out.stderr
    assert not os.path.exists(menu) and not os.path.exists(autostart)
    shutil.rmtree(folder)
    install()
    other = os.path.join(P.work, "Xprefix", "opt", "vestrel")
    stub_program(other)
    script("autostart.sh", "on", other)
    script("uninstall.sh", "--dir", "/Xprefix/opt/vestrel")
    assert os.path.exists(autostart), "another installation's autostart entry was removed"
    script("uninstall.sh", "--prefix", prefix, "--purge")
    assert os.path.exists(autostart), "another installation's autostart entry was removed"
    # A per-user install puts its menu entry and icons where the desktop looks for them.
    install(os.path.join(home, ".local"))
    mine = icons(data) + [os.path.join(data, "applications", "vestrel.desktop")]
    assert all(map(os.path.isfile, mine))
    script("uninstall.sh", "--purge")
    assert not any(map(os.path.exists, mine))
    for bad in ("a\\b", 'a"b', "a${b}"):  # the install code could not carry these
        out = run("cmake", "-S", SOURCE, "-B", os.path.join(P.work, "bad"), "-DVESTREL_INSTALL_DIR=" + bad)
        assert out.returncode != 0 and "VESTREL_INSTALL_DIR cannot" in out.stderr, (bad, out.stderr)


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
    odd = os.path.join(P.work, "odd")
    for name in ('say "hi"', "back\\slash", "100%done", "%d %%", "$HOME `id` 'x'", "Přestávky", "-d"):
        folder = os.path.join(odd, name)
        stub_program(folder)
        out = run(script, "on", name, cwd=odd, env=dict(env, CDPATH=odd))  # relative
        assert out.returncode == 0, (name, out.stderr)
        valid = run("desktop-file-validate", entry)
        assert valid.returncode == 0 and valid.stdout == "", (name, valid.stdout)
        if "%" in name:
            # GLib looks for the program before it expands %%, and so cannot load such an
            # entry; the format itself is checked above.
            assert 'Exec="%s/Vestrel"' % folder.replace("%", "%%") in open(entry).read()
            assert "will not start" in out.stderr, out.stderr
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
