#!/usr/bin/env python3
"""Measures Vestrel beside a minimal Qt 6 Widgets program (bench/minimal.cpp), on the same
machine in the same run, under Xvfb, and prints the figures and their ratios.

    bench/run.py                 the full run (20 start-ups, 30 s settle, 5 min idle, 60 s punctuality)
    bench/run.py --quick         a short run, for CI
    bench/run.py --check         exit 1 when a target is missed by more than the noise allowance
    bench/run.py --write FILE    also write the figures as Markdown to FILE

Targets: start-up <= 1.05 x the minimal program's; idle PSS <= minimal + 3 MiB; idle CPU time
and voluntary context switches <= the minimal program's; the warning of interval 1 mapped
60 s after the monitor, within 0.5 s; a 20 MB data.ini read or saved in 0.5 s with a peak
memory of at most three times its size; ten warnings with their chime leave the resident
program as the first left it (its written memory within 0.5 MiB, the same threads, no audio
library), each chime on the sound server within 0.1 s of its warning's showing, and with the
sound server stopped the warning as quick as ever (0.2 s) and the server reported after 2 s."""
import argparse
import os
import platform
import queue
import re
import shutil
import signal
import statistics
import subprocess
import sys
import tempfile
import threading
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
BUILD = os.environ.get("BUILD_DIR", os.path.join(ROOT, "build"))
# The Windows build, measured under Wine where it is there.
WINDOWS_BUILD = os.environ.get("WINDOWS_BUILD_DIR", os.path.join(ROOT, "build-windows"))


def sh(*args, **kw):
    return subprocess.run(args, check=True, capture_output=True, text=True, **kw).stdout


def build_tools(out):
    qt = sh("pkg-config", "--cflags", "--libs", "Qt6Widgets").split()
    sh("g++", "-std=c++20", "-O2", "-fPIC", os.path.join(ROOT, "bench", "minimal.cpp"), "-o",
       os.path.join(out, "minimal"), *qt)
    sh("gcc", "-O2", os.path.join(ROOT, "bench", "mapwatch.c"), "-o", os.path.join(out, "mapwatch"),
       "-lX11")


class Display:
    def __init__(self):
        self.name = ":%d" % (200 + os.getpid() % 50)
        self.process = subprocess.Popen(["Xvfb", self.name, "-screen", "0", "1024x768x24",
                                         "-noreset", "-nolisten", "tcp"],
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.env = dict(os.environ, DISPLAY=self.name, QT_QPA_PLATFORM="xcb", LC_ALL="C.UTF-8")
        for _ in range(100):
            if subprocess.run(["xdpyinfo"], env=self.env, capture_output=True).returncode == 0:
                break
            time.sleep(0.05)
        # A session bus, as every desktop session has: without one each Qt program's first
        # accessibility or D-Bus call waits for an attempt to start one.
        out = subprocess.run(["dbus-daemon", "--session", "--fork", "--print-address=1",
                              "--print-pid=1"], capture_output=True, text=True).stdout.split()
        self.env["DBUS_SESSION_BUS_ADDRESS"], self.bus = out[0], int(out[1])

    def close(self):
        os.kill(self.bus, 9)
        self.process.terminate()
        self.process.wait()


class SoundServer:
    """A PulseAudio of the benchmark's own with a null sink, as a desktop's sound server."""

    def __init__(self, work, env):
        runtime = os.path.join(work, "pulse")
        os.makedirs(runtime)
        socket = os.path.join(runtime, "native")
        env.update(PULSE_SERVER="unix:" + socket, PULSE_RUNTIME_PATH=runtime)
        self.env = env
        self.process = subprocess.Popen(
            ["pulseaudio", "-n", "--daemonize=no", "--exit-idle-time=-1", "--disallow-exit",
             "--use-pid-file=no", "--system=false", "-L", "module-null-sink sink_name=bench",
             "-L", "module-native-protocol-unix auth-anonymous=1 socket=" + socket],
            env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        for _ in range(200):
            if subprocess.run(["pactl", "info"], env=env, capture_output=True).returncode == 0:
                break
            time.sleep(0.05)
        self.streams = []  # when each playback stream appeared on the server
        self.watch = subprocess.Popen(["stdbuf", "-oL", "pactl", "subscribe"], env=env,
                                      stdout=subprocess.PIPE, text=True)
        threading.Thread(target=self.note_streams, daemon=True).start()

    def note_streams(self):
        for line in self.watch.stdout:
            if "'new' on sink-input" in line:
                self.streams.append(time.monotonic())

    def close(self):
        self.watch.kill()
        self.process.send_signal(signal.SIGCONT)
        self.process.terminate()
        self.process.wait()


def wine(tools, display, work, runs):
    """Vestrel.exe beside a minimal Win32 window (bench/minimal_win32.cpp), both under Wine in a
    warm prefix of the benchmark's own: start-up to the first map, memory after settling, the
    size of the executable as shipped (stripped). None where there is no Windows build."""
    exe = os.path.join(WINDOWS_BUILD, "Vestrel.exe")
    if not os.path.exists(exe) or not shutil.which("wine"):
        return None
    folder = os.path.join(work, "windows")
    os.makedirs(folder)
    shipped = os.path.join(folder, "Vestrel.exe")
    sh("x86_64-w64-mingw32-strip", "-o", shipped, exe)
    for name in ("s.wav", "data.ini"):
        shutil.copy(os.path.join(ROOT, "resources", name), folder)
    # Built as Vestrel.exe is: with its process manifest (each monitor's DPI, long paths), as
    # every current Win32 program carries.
    minimal = os.path.join(tools, "minimal_win32.exe")
    script, manifest = os.path.join(tools, "minimal.rc"), os.path.join(tools, "minimal.res.o")
    with open(script, "w") as f:
        f.write('#include <windows.h>\nCREATEPROCESS_MANIFEST_RESOURCE_ID RT_MANIFEST "%s"\n'
                % os.path.join(ROOT, "windows", "Vestrel.manifest"))
    sh("x86_64-w64-mingw32-windres", script, "-O", "coff", "-o", manifest)
    sh("x86_64-w64-mingw32-g++-posix", "-O2", "-static", "-municode", "-mwindows",
       os.path.join(ROOT, "bench", "minimal_win32.cpp"), manifest, "-o", minimal)
    env = dict(display.env, WINEPREFIX=os.path.join(work, "wine"), WINEDEBUG="-all",
               WINEDLLOVERRIDES="mscoree,mshtml=")
    subprocess.run(["wineboot", "-i"], env=env, capture_output=True, timeout=180)
    programs = {"minimal": minimal, "Vestrel": shipped}
    startup = {name: [] for name in programs}
    pss = {}
    for run in range(runs + 1):  # the first run of each warms the prefix's caches
        for name, program in programs.items():
            out = subprocess.run([os.path.join(tools, "mapwatch"), "1", "30", shutil.which("wine"), program],
                                 env=env, capture_output=True, text=True, cwd="/")
            times, _ = map_times(out.stdout)
            if times and run:
                startup[name].append(times[0])
            # Wine's loader runs the program in a process of its own, named after it.
            found = subprocess.run(["pgrep", "-n", "-f", os.path.basename(program)],
                                   capture_output=True, text=True).stdout.split()
            pid = int(found[0]) if found else None
            if pid and run == runs:
                time.sleep(10)  # settled
                pss[name] = memory(pid)["Pss"]
            if pid:
                kill(pid)
            time.sleep(0.2)
    subprocess.run(["wineserver", "-k"], env=env)
    return {"startup": {n: statistics.median(v) for n, v in startup.items() if v}, "pss": pss,
            "size": os.path.getsize(shipped) / 1024.0}


def vestrel_folder(work, name, interval=None):
    folder = os.path.join(work, name)
    os.makedirs(folder)
    shutil.copy(os.path.join(BUILD, "Vestrel"), folder)
    shutil.copy(os.path.join(BUILD, "vestrel_chime"), folder)
    shutil.copy(os.path.join(ROOT, "resources", "s.wav"), folder)
    ini = open(os.path.join(ROOT, "resources", "data.ini"), "rb").read()
    if interval:
        ini = ini.replace(b"1=60", b"1=" + interval.encode())
    open(os.path.join(folder, "data.ini"), "wb").write(ini)
    return os.path.join(folder, "Vestrel")


def map_times(out):
    """mapwatch's output: the map times after the exec, and the process id."""
    lines = out.splitlines()
    pid = next((int(x.split()[1]) for x in lines if x.startswith("pid")), None)
    return [float(x.split()[0]) for x in lines if x and not x.startswith("pid")], pid


def start(tools, display, command, maps=1, timeout=30):
    """Starts a program through mapwatch; returns (map times, pid)."""
    out = subprocess.run([os.path.join(tools, "mapwatch"), str(maps), str(timeout), command],
                         env=display.env, capture_output=True, text=True, cwd="/")
    return map_times(out.stdout)


def kill(pid):
    try:
        os.kill(pid, 9)
        os.waitpid(pid, 0)
    except (ProcessLookupError, ChildProcessError):
        pass


def memory(pid):
    values = {}
    with open("/proc/%d/smaps_rollup" % pid) as f:
        for line in f:
            key, _, rest = line.partition(":")
            if key in ("Rss", "Pss"):
                values[key] = int(rest.split()[0]) / 1024.0
    return values


def cpu(pid):
    with open("/proc/%d/stat" % pid) as f:
        fields = f.read().rsplit(")", 1)[1].split()
    ticks = int(fields[11]) + int(fields[12])
    switches = 0
    with open("/proc/%d/status" % pid) as f:
        for line in f:
            if line.startswith("voluntary_ctxt_switches"):
                switches = int(line.split()[1])
    return ticks / os.sysconf("SC_CLK_TCK"), switches


def private_memory(pid):
    """USS and its written part (MiB), threads, and the audio libraries mapped. The clean part
    of USS is library code that no other process happens to map at the moment: on a machine
    where other Qt programs come and go it moves by megabytes with them. The written part
    (heap, stacks, buffers) is the program's own."""
    uss = dirty = 0
    with open("/proc/%d/smaps_rollup" % pid) as f:
        for line in f:
            if line.startswith("Private_"):
                uss += int(line.split()[1])
            if line.startswith("Private_Dirty"):
                dirty += int(line.split()[1])
    with open("/proc/%d/status" % pid) as f:
        threads = next(int(x.split()[1]) for x in f if x.startswith("Threads:"))
    with open("/proc/%d/maps" % pid) as f:
        audio = {os.path.basename(x.split()[-1]) for x in f
                 if re.search(r"libpulse|libasound|libpipewire|Multimedia", x)}
    return uss / 1024.0, dirty / 1024.0, threads, sorted(audio)


WARNINGS = 10


def warnings(tools, display, sound, work):
    """Ten warnings, each brought by a click on the square and closed with "OK" after its
    chime: the resident program before and after, how soon each warning and its chime came.
    Then the first warning of another instance with the sound server stopped: how soon it
    came, and when the stopped server was reported."""
    watches, pids = [], []

    def launch(name):
        """Vestrel started in a folder of its own; its process id, and its windows' maps."""
        watch = subprocess.Popen([os.path.join(tools, "mapwatch"), "1000", "600",
                                  vestrel_folder(work, name)],
                                 env=display.env, stdout=subprocess.PIPE, text=True, cwd="/")
        watches.append(watch)
        pid = int(watch.stdout.readline().split()[1])
        pids.append(pid)
        maps = queue.Queue()

        def note_maps():
            for line in watch.stdout:
                maps.put((float(line.split()[1]), line.split()[2]))
        threading.Thread(target=note_maps, daemon=True).start()
        maps.get(timeout=30)  # the square
        return pid, maps

    def xdo(*args):
        subprocess.run(["xdotool", *args], env=display.env, capture_output=True)

    def click_square(maps):
        clicked = time.monotonic()
        xdo("mousemove", "2", "2", "click", "1")
        shown, window = maps.get(timeout=10)
        return shown - clicked, shown, window

    r = {}
    try:
        pid, maps = launch("warnings")
        time.sleep(3)
        r["before"] = private_memory(pid)
        delays, latencies = [], []
        for n in range(WARNINGS):
            if n == 1:  # the first chime ended
                time.sleep(3)
                r["first"] = private_memory(pid)
            heard = len(sound.streams)
            delay, shown, window = click_square(maps)
            delays.append(delay)
            for _ in range(100):
                if len(sound.streams) > heard:
                    break
                time.sleep(0.02)
            latencies.append(sound.streams[heard] - shown if len(sound.streams) > heard else None)
            time.sleep(1.5)  # the chime played through
            # "OK", its middle in pixels from the window's corner; the square comes back.
            xdo("mousemove", "--window", str(int(window, 16)), "44", "68", "click", "1")
            maps.get(timeout=10)
        time.sleep(3)
        r["after"] = private_memory(pid)
        r["delay"], r["latency"] = statistics.median(delays), latencies

        pid, maps = launch("stopped")
        sound.process.send_signal(signal.SIGSTOP)
        r["stopped delay"], shown, _ = click_square(maps)
        try:
            r["report"] = maps.get(timeout=10)[0] - shown
        except queue.Empty:
            r["report"] = None
    finally:
        sound.process.send_signal(signal.SIGCONT)
        for pid in pids:
            kill(pid)
        for watch in watches:
            watch.kill()
    return r


def measured(*command):
    """Wall time (s) and peak resident memory (MiB) of one run of a command."""
    began = time.monotonic()
    child = subprocess.Popen(command, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    _, status, usage = os.wait4(child.pid, 0)
    assert status == 0, command
    return time.monotonic() - began, usage.ru_maxrss / 1024.0


LARGE_MB = 20


def large_file(work):
    """Reading and saving a 20 MB data.ini of every kind of line, as the program does."""
    folder = os.path.join(work, "large")
    os.makedirs(folder)
    lines = b"a=b\r\nplain text without equals\r\n[not a section\r\n; comment\r\n"
    block = lines * 1000
    with open(os.path.join(folder, "data.ini"), "wb") as f:
        # Written piece by piece: a child's peak memory counts its parent's at the fork.
        f.write(b"[texts]\r\n")
        for _ in range(LARGE_MB * 1000 * 1000 // len(block)):
            f.write(block)
        f.write(b"[data]\r\n1=60\r\n2=0\r\n")
    tests = os.path.join(BUILD, "tests")
    # The best of three: a save's flush waits for a disk that other work on the machine shares.
    return {"read": min(measured(os.path.join(tests, "settings_probe"), folder) for _ in range(3)),
            "save": min(measured(os.path.join(tests, "save_loop"), os.path.join(folder, "data.ini"), "1")
                        for _ in range(3))}


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--quick", action="store_true")
    parser.add_argument("--check", action="store_true")
    parser.add_argument("--write")
    args = parser.parse_args()
    runs, settle, idle, punctual_interval, punctual_seconds, cycles = (
        (5, 30, 30, ".16666667", 10.0, 2000) if args.quick else (20, 30, 300, "1", 60.0, 10000))

    work = tempfile.mkdtemp(prefix="vestrel-bench-")
    tools = os.path.join(work, "tools")
    os.makedirs(tools)
    build_tools(tools)
    display = Display()
    sound = SoundServer(work, display.env)
    results = {}
    try:
        vestrel = vestrel_folder(work, "vestrel")
        minimal = os.path.join(tools, "minimal")
        programs = {"minimal": minimal, "Vestrel": vestrel}
        if shutil.which("workrave"):
            programs["workrave"] = shutil.which("workrave")

        # Start-up: exec until the first window is mapped, alternating the programs.
        startup = {name: [] for name in programs}
        for _ in range(runs):
            for name, command in programs.items():
                times, pid = start(tools, display, command)
                if times:
                    startup[name].append(times[0])
                if pid:
                    kill(pid)
                time.sleep(0.2)
        results["startup"] = {n: statistics.median(v) for n, v in startup.items() if v}
        results["startup_spread"] = {n: (min(v), max(v)) for n, v in startup.items() if v}

        # Idle: all at once, then punctuality in parallel (its own instance).
        pids = {}
        for name, command in programs.items():
            _, pids[name] = start(tools, display, command)
        punctual_command = vestrel_folder(work, "punctual", punctual_interval)
        punctual = subprocess.Popen([os.path.join(tools, "mapwatch"), "2",
                                     str(punctual_seconds + 30), punctual_command],
                                    env=display.env, stdout=subprocess.PIPE, text=True, cwd="/")
        time.sleep(settle)
        results["memory"] = {n: memory(p) for n, p in pids.items()}
        before = {n: cpu(p) for n, p in pids.items()}
        time.sleep(idle)
        after = {n: cpu(p) for n, p in pids.items()}
        results["idle"] = {n: (after[n][0] - before[n][0], after[n][1] - before[n][1]) for n in pids}
        for p in pids.values():
            kill(p)
        out, _ = punctual.communicate(timeout=punctual_seconds + 60)
        maps, punctual_pid = map_times(out)
        results["punctuality"] = maps[1] - maps[0] if len(maps) == 2 else None
        if punctual_pid:
            kill(punctual_pid)

        # One warning cycle in process, and its growth.
        soak = subprocess.run([os.path.join(BUILD, "tests", "test_soak")],
                              capture_output=True,
                              text=True, env=dict(os.environ, QT_QPA_PLATFORM="offscreen",
                                                  VESTREL_SOAK_CYCLES=str(cycles)))
        line = next((x for x in soak.stdout.splitlines() if "ms a cycle" in x), "")
        results["cycle"] = line.split(": ", 1)[1] if line else "not measured"
        results["large file"] = large_file(work)
        results["warnings"] = warnings(tools, display, sound, work)
        results["wine"] = wine(tools, display, work, runs)
    finally:
        sound.close()
        display.close()
        shutil.rmtree(work, ignore_errors=True)

    report, failures = report_of(results, idle, punctual_seconds, runs, args.quick)
    print(report)
    if args.write:
        write(args.write, report, args.quick)
    if args.check and failures:
        print("missed: " + "; ".join(failures))
        return 1
    return 0


def report_of(r, idle, punctual_seconds, runs, quick):
    lines = []
    failures = []
    s = r["startup"]
    ratio = s["Vestrel"] / s["minimal"]
    lines.append("| figure | minimal Qt | Vestrel | ratio / difference | target |")
    lines.append("|---|---|---|---|---|")
    lines.append("| start-up to the first map, median of %d (s) | %.3f | %.3f | %.2f x | <= 1.05 x |"
                 % (runs, s["minimal"], s["Vestrel"], ratio))
    m = r["memory"]
    lines.append("| RSS after settling (MiB) | %.1f | %.1f | %+.1f MiB | |"
                 % (m["minimal"]["Rss"], m["Vestrel"]["Rss"], m["Vestrel"]["Rss"] - m["minimal"]["Rss"]))
    pss = m["Vestrel"]["Pss"] - m["minimal"]["Pss"]
    lines.append("| PSS after settling (MiB) | %.1f | %.1f | %+.1f MiB | <= +3 MiB |"
                 % (m["minimal"]["Pss"], m["Vestrel"]["Pss"], pss))
    i = r["idle"]
    lines.append("| CPU time over %d s idle (s) | %.2f | %.2f | %+.2f s | <= minimal |"
                 % (idle, i["minimal"][0], i["Vestrel"][0], i["Vestrel"][0] - i["minimal"][0]))
    lines.append("| voluntary context switches over %d s idle | %d | %d | %+d | <= minimal |"
                 % (idle, i["minimal"][1], i["Vestrel"][1], i["Vestrel"][1] - i["minimal"][1]))
    p = r["punctuality"]
    lines.append("| warning after the monitor, interval %s (s) | | %s | %s | %.0f +- 0.5 s |"
                 % ("10 s" if quick else "1 min", "%.3f" % p if p else "not seen",
                    "%+.3f s" % (p - punctual_seconds) if p else "", punctual_seconds))
    lines.append("| one warning cycle in process | | %s | | |" % r["cycle"])
    for what, (seconds, peak) in r["large file"].items():
        lines.append("| %s a %d MB data.ini: time (s), peak memory (MiB) | | %.2f s, %.0f MiB | | "
                     "<= 0.5 s, <= 3 x the file |" % (what, LARGE_MB, seconds, peak))
        if seconds > 0.5 or peak > 3 * LARGE_MB * 1.05:
            failures.append("%s of a %d MB file: %.2f s, %.0f MiB" % (what, LARGE_MB, seconds, peak))
    w = r["warnings"]
    (uss0, dirty0, threads0, _), (uss1, dirty1, threads1, audio) = w["before"], w["after"]
    lines.append("| USS (written part) before the first warning, after it, after %d (MiB) | | "
                 "%.1f (%.1f), %.1f (%.1f), %.1f (%.1f) | %+.1f (%+.1f) MiB after the first | "
                 "written part <= +0.5 MiB after the first |"
                 % (WARNINGS, uss0, dirty0, w["first"][0], w["first"][1], uss1, dirty1,
                    uss1 - w["first"][0], dirty1 - w["first"][1]))
    lines.append("| threads before the first warning and after %d; audio libraries mapped | | "
                 "%d, %d; %s | | the same; none |"
                 % (WARNINGS, threads0, threads1, ", ".join(audio) or "none"))
    heard = [x for x in w["latency"] if x is not None]
    lines.append("| warning shown to its chime's stream on the server: first, median, worst of %d "
                 "(ms) | | %s | | <= 100 ms |"
                 % (WARNINGS, ", ".join("%.0f" % (x * 1000) for x in (
                     w["latency"][0], statistics.median(heard), max(heard))) if heard and
                    w["latency"][0] is not None else "not heard"))
    lines.append("| click to the warning, sound server running / stopped (s) | | %.3f / %.3f | | "
                 "< 0.2 s |" % (w["delay"], w["stopped delay"]))
    lines.append("| stopped sound server reported after the warning (s) | | %s | | 2 s |"
                 % ("%.2f" % w["report"] if w["report"] is not None else "not reported"))
    wn = r.get("wine")
    if wn and {"minimal", "Vestrel"} <= wn["startup"].keys():
        ws = wn["startup"]
        wine_ratio = ws["Vestrel"] / ws["minimal"]
        lines.append("| Wine: start-up to the first map, median of %d (s), minimal Win32 window / "
                     "Vestrel.exe | %.3f | %.3f | %.2f x | <= 1.05 x |"
                     % (runs, ws["minimal"], ws["Vestrel"], wine_ratio))
        lines.append("| Wine: PSS after settling (MiB) | %.1f | %.1f | %+.1f MiB | <= +1.5 MiB |"
                     % (wn["pss"].get("minimal", 0), wn["pss"].get("Vestrel", 0),
                        wn["pss"].get("Vestrel", 0) - wn["pss"].get("minimal", 0)))
        lines.append("| Wine: Vestrel.exe as shipped (KiB) | | %.0f | | |" % wn["size"])
        # Not held against the run: under Wine on a busy machine the figure moves by tens of
        # per cent from run to run (see docs/performance.md).
    else:
        lines.append("| Wine | no Windows build or no Wine: not measured | | | |")
    if "workrave" in s:
        lines.append("| workrave: start-up %.3f s, PSS %.1f MiB, %d wake-ups over %d s | | | | |"
                     % (s["workrave"], m["workrave"]["Pss"], i["workrave"][1], idle))
    else:
        lines.append("| workrave | not installed: not measured | | | |")
    # Allowances for noise, from repeated runs on this machine (see docs/performance.md).
    if ratio > 1.05 + 0.15:
        failures.append("start-up ratio %.2f" % ratio)
    if pss > 3 + 0.5:
        failures.append("PSS +%.1f MiB" % pss)
    if i["Vestrel"][0] > i["minimal"][0] + 0.05:
        failures.append("idle CPU %.2f s" % i["Vestrel"][0])
    if i["Vestrel"][1] > i["minimal"][1] + 3:
        failures.append("idle context switches %d" % i["Vestrel"][1])
    if p is None or abs(p - punctual_seconds) > 0.5:
        failures.append("punctuality %s" % p)
    if dirty1 - w["first"][1] > 0.5 + 0.3:
        failures.append("written memory +%.1f MiB after %d warnings" % (dirty1 - w["first"][1],
                                                                       WARNINGS))
    if threads1 != threads0 or audio:
        failures.append("threads %d -> %d, audio libraries %s" % (threads0, threads1, audio))
    if len(heard) < WARNINGS or max(heard) > 0.1 + 0.05:
        failures.append("chime latencies %s" % w["latency"])
    if w["stopped delay"] > 0.2 + 0.1 or w["report"] is None or not 1.5 < w["report"] < 3:
        failures.append("stopped sound server: warning after %.3f s, report after %s"
                        % (w["stopped delay"], w["report"]))
    return "\n".join(lines), failures


def write(path, report, quick):
    cpu_model = ""
    with open("/proc/cpuinfo") as f:
        for line in f:
            if line.startswith("model name"):
                cpu_model = line.split(":", 1)[1].strip()
                break
    with open(path, "w") as f:
        f.write("Measured %s on %s, %d cores, %s, Qt %s; %s run.\n\n" % (
            time.strftime("%Y-%m-%d"), cpu_model, os.cpu_count(), platform.platform(),
            sh("pkg-config", "--modversion", "Qt6Core").strip(), "quick" if quick else "full"))
        f.write(report + "\n")


if __name__ == "__main__":
    sys.exit(main())
