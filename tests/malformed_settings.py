#!/usr/bin/env python3
"""Settings files that users and editors really produce, fed to the real binary under Xvfb.
Each must give the expected result — the program runs with the values the file holds or
the defaults, or it reports a missing file or a bad value and ends in order — within a
second, without a crash, and without changing a byte of the file. What the program read
is checked with settings_probe, which reads the folder with the program's own code.

usage: malformed_settings.py VESTREL_BINARY RESOURCES_DIR SETTINGS_PROBE"""
import os
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from e2e import SLOW, Vestrel, main, program_folder, wait_for  # noqa: E402

PROBE = None  # settings_probe, from the command line
TIME_LIMIT = 1.0 * SLOW
DEFAULT_TEXT1 = "U počítače už sedíte déle jak"
DEFAULT_TEXT2 = "Doporučuji práci odložit a protáhnout se."


def ini(data=b"1=60\r\n2=0\r\n", texts=b"1=A\r\n2=B\r\n"):
    return b"[texts]\r\n" + texts + b"[data]\r\n" + data


def runs(text1="A", text2="B", flag="0", interval="60"):
    return {"text1": text1, "text2": text2, "flag": flag, "interval": interval}


# The shipped default, from the source tree beside this file.
with open(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "resources", "data.ini"),
          "rb") as f:
    DEFAULT_INI = f.read()
DEFAULTS = runs("...", "...", "0", "3600")
STANDARD = runs(DEFAULT_TEXT1, DEFAULT_TEXT2, "0", "60")

# name, what to put in the folder (bytes, or a special), what the program must make of it
CASES = [
    ("empty file", b"", DEFAULTS),
    ("only a BOM", b"\xef\xbb\xbf", DEFAULTS),
    ("CRLF line ends", DEFAULT_INI, STANDARD),
    ("LF line ends", DEFAULT_INI.replace(b"\r\n", b"\n"), STANDARD),
    ("CR-only line ends", DEFAULT_INI.replace(b"\r\n", b"\r"), STANDARD),
    ("no final line end", DEFAULT_INI.rstrip(b"\r\n"), STANDARD),
    ("UTF-8 with BOM", b"\xef\xbb\xbf" + DEFAULT_INI.decode("cp1250").encode("utf-8"), STANDARD),
    ("duplicate sections", ini() + b"[data]\r\n1=7\r\n", runs()),
    ("duplicate keys", ini(b"1=5\r\n1=7\r\n"), runs(interval="5")),
    ("keys before any section", b"1=9\r\n2=1\r\n[data]\r\n2=0\r\n", runs("...", "...", "0", "3600")),
    ("[data without its bracket", b"[texts]\r\n1=A\r\n2=B\r\n[data\r\n1=5\r\n", runs(interval="3600")),
    ("values with quotes", ini(b'1="45"\r\n2=\'1\'\r\n', b'1="Ahoj"\r\n2=\'B\'\r\n'),
     runs("Ahoj", "B", "-1", "45")),
    ("blanks around names and values", ini(b"  1  =  45  \r\n 2 = 1 \r\n"), runs(flag="-1", interval="45")),
    ("= inside a text", ini(texts=b"1=a=b\r\n2==\r\n"), runs("a=b", "=")),
    ("tabs", ini(b"\t1\t=\t45\t\r\n"), runs(interval="45")),
    ("100 000-character line", ini(texts=b"1=" + b"x" * 100000 + b"\r\n2=B\r\n"), runs("x" * 99)),
    ("NUL bytes", ini(b"1=4\x005\r\n2=0\r\n", b"1=A\x00Z\r\n2=B\r\n"), runs(interval="4")),
    ("invalid UTF-8 reads as Windows-1250", ini(texts=b"1=\xc3\x28\r\n2=\xe8aj\r\n"), runs("Ă(", "čaj")),
    ("20 MB file", b"; padding padding padding padding\r\n" * 600000 + ini(), runs()),
    ("2 GiB file: refused with a message, the defaults", "huge", DEFAULTS),
    ("directory named data.ini", "directory", "missing"),
    ("dangling symlink", "dangling", "missing"),
    ("flag 1.0", ini(b"1=60\r\n2=1.0\r\n"), runs(flag="-1")),
    ("flag -1", ini(b"1=60\r\n2=-1\r\n"), runs(flag="0")),
    ("flag 1e0", ini(b"1=60\r\n2=1e0\r\n"), runs(flag="-1")),
    ("interval -0", ini(b"1=-0\r\n"), runs(interval="0")),
    ("interval 1e40", ini(b"1=1e40\r\n"), ("error", 6)),
    ("interval NaN", ini(b"1=NaN\r\n"), ("error", 13)),
    ("interval 0x10", ini(b"1=0x10\r\n"), ("error", 13)),
    ("interval 60 minut", ini(b"1=60 minut\r\n"), ("error", 13)),
    ("empty flag", ini(b"1=60\r\n2=\r\n"), ("error", 13)),
]


def probe(folder):
    out = subprocess.run([PROBE, folder], capture_output=True, text=True,
                         env=dict(os.environ, LC_ALL="C.UTF-8")).stdout
    values = dict(line.split("=", 1) for line in out.splitlines() if "=" in line)
    if "error" in values:
        return ("error", int(values["error"]))
    if "missing" in values:
        return "missing"
    return values


def make_case(name, content, expected):
    reported = expected == "missing" or isinstance(expected, tuple)
    title = ("CHYBA" if expected == "missing" else "Vestrel") if reported else "Form3"

    def case(s):
        # The machine's other work only ever adds time: a start that took too long is made
        # again, up to three starts in all.
        for attempt in (1, 2, 3):
            named = "case-%d-%s" % (attempt, "".join(c if c.isalnum() else "-" for c in name))
            folder = program_folder(named, ini=content if isinstance(content, bytes) else None)
            if content == "huge":
                with open(os.path.join(folder, "data.ini"), "wb") as f:
                    f.truncate(2 << 30)
            if content == "directory":
                os.mkdir(os.path.join(folder, "data.ini"))
            elif content == "dangling":
                os.symlink(os.path.join(folder, "nowhere.ini"), os.path.join(folder, "data.ini"))
            app = Vestrel(s, name=named, folder=folder)
            app.window(title)
            elapsed = time.monotonic() - app.started
            if elapsed < TIME_LIMIT or attempt == 3:
                break
            app.stop()
        with app:
            if content == "huge":  # said, and the program goes on
                s.key(app.window("Vestrel"), "Return")
            if not reported:
                # Running, and no report of any kind: a report would hold up the square's warning.
                s.click("Form3", "square")
                assert wait_for(lambda: s.windows("Varování!") or s.windows("Form4")), "no warning came"
                assert not s.windows("CHYBA") and not s.windows("Vestrel"), "a message appeared"
                assert app.process.poll() is None, "ended: %r" % app.process.poll()
            else:  # a missing file ends in order, a bad value with status 1
                status = app.answer(title)
                assert status == (0 if title == "CHYBA" else 1), "ended by signal or hung: %r" % status
            assert elapsed < TIME_LIMIT, "took %.2f s" % elapsed
            assert probe(app.folder) == expected, probe(app.folder)
            if isinstance(content, bytes) or content == "huge":
                assert content == "huge" and os.path.getsize(app.ini_path) == 2 << 30 or \
                    app.ini() == content, "the file changed"
            elif content == "directory":
                assert os.path.isdir(app.ini_path)
            else:
                assert os.path.islink(app.ini_path) and not os.path.exists(app.ini_path)
    case.__name__ = name
    return case


if __name__ == "__main__":
    PROBE = os.path.abspath(sys.argv[3])
    sys.exit(main([make_case(*c) for c in CASES]))
