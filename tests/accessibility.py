#!/usr/bin/python3
"""Reads the accessibility tree that Vestrel publishes over AT-SPI, as a screen reader
would, and checks that every window has a sensible name and every control its role and
text. Runs with the system's Python (pyatspi comes from Debian).

usage: accessibility.py VESTREL_BINARY RESOURCES_DIR"""
import os
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from e2e import TESTS, P, Vestrel, main, run, test, wait_for  # noqa: E402


def start_buses(s):
    """A session bus and the accessibility bus, both ended with the session."""
    bus = s.start(["dbus-daemon", "--session", "--nofork", "--print-address=1"],
                  stdout=subprocess.PIPE)
    address = bus.stdout.readline().decode().strip()
    os.environ["DBUS_SESSION_BUS_ADDRESS"] = address
    s.env["DBUS_SESSION_BUS_ADDRESS"] = address
    s.env["QT_LINUX_ACCESSIBILITY_ALWAYS_ON"] = "1"
    # The launcher starts a bus daemon of its own, in the launcher's process group.
    s.start(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"])
    asked = ["dbus-send", "--session", "--print-reply", "--dest=org.freedesktop.DBus",
             "/org/freedesktop/DBus", "org.freedesktop.DBus.NameHasOwner", "string:org.a11y.Bus"]
    assert wait_for(lambda: "true" in run(*asked, env=s.env).stdout), "no accessibility bus"


def tree(node):
    """(role, name) of the node and everything below it, but for what closes while it is read."""
    try:
        return [(node.getRoleName(), node.name or "")] + [
            n for i in range(node.childCount) for n in tree(node.getChildAtIndex(i))]
    except Exception:
        return []


def vestrel_tree():
    import pyatspi
    desktop = pyatspi.Registry.getDesktop(0)
    apps = (desktop.getChildAtIndex(i) for i in range(desktop.childCount))
    return sum((tree(app) for app in apps if app is not None and app.name == "Vestrel"), [])


@test
def every_window_names_itself_and_its_controls(s):
    start_buses(s)
    with Vestrel(s, name="a11y"):
        s.window("Form3")
        monitor = "Vestrel – počítadlo přestávky"
        nodes = wait_for(lambda: [n for n in vestrel_tree() if n[1] == monitor])
        assert nodes and nodes[0][0] in ("frame", "filler", "window"), vestrel_tree()

        s.click("Form3", "square")
        nodes = wait_for(lambda: [n for n in vestrel_tree() if n[1] == "Ukončit !"] and vestrel_tree())
        for role, name in (("push button", "OK"), ("push button", "Nastavení"),
                           ("push button", "Ukončit !"), ("image", "Výstraha")):
            assert (role, name) in nodes, (role, name, nodes)
        assert any(r == "label" and name.startswith("U počítače už sedíte") for r, name in nodes), nodes

        s.click("Varování!", "Nastavení")
        s.window("Nastavení")
        nodes = wait_for(lambda: [n for n in vestrel_tree() if n[1] == "Skrýt plochu"] and vestrel_tree())
        expected = [("push button", "Uložit"), ("push button", "Zavřít"), ("push button", "Původní"),
                    ("push button", "O programu"), ("check box", "Skrýt plochu"),
                    ("scroll bar", "Interval v minutách"), ("text", "Text zprávy před počtem minut"),
                    ("text", "Text zprávy za počtem minut"), ("image", "Výstraha"),
                    ("label", "Text zprávy :"), ("label", "Ukázka zprávy :")]
        for role, name in expected:
            assert (role, name) in nodes, (role, name, sorted(set(nodes)))
        windows = ("dialog", "frame", "window", "filler")
        assert any(role in windows and name == "Nastavení" for role, name in nodes), nodes
        assert any(role in windows and name == "Varování!" for role, name in nodes), nodes
        unnamed = [n for n in nodes if not n[1] and n[0] != "application"]
        assert not unnamed, unnamed

    # The interval with the locale's own decimal separator: Pashto's is no ASCII character.
    run("localedef", "-i", "ps_AF", "-f", "UTF-8", os.path.join(P.work, "ps_AF.UTF-8"))
    assert os.path.isdir(os.path.join(P.work, "ps_AF.UTF-8")), "no Pashto locale"
    ini = P.default_ini.decode("cp1250").replace("1=60", "1=2\u066b5").encode()
    with Vestrel(s, name="a11y-pashto", ini=ini, env={"LOCPATH": P.work, "LC_ALL": "ps_AF.UTF-8"}):
        s.click("Form3", "square")
        text = "U počítače už sedíte déle jak 2\u066b5 minut. Doporučuji práci odložit a protáhnout se."
        assert wait_for(lambda: ("label", text) in vestrel_tree()), [n for n in vestrel_tree() if n[0] == "label"]


if __name__ == "__main__":
    sys.exit(main(TESTS))
