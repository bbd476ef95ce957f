"""Measures orvane.exe under Wine opening a big file: the time from starting the process to
the main window's title showing the file's name (which is set as the load begins), the time
until the process falls idle (the file read and the first paint done), and the process's
peak resident memory.
Starts it several times on the same file (page cache warm) and prints each run.

Usage (inside scripts/with-wine.sh): python3 bench/wine_open.py FILE [RUNS] [EXE]"""
import os
import re
import shutil
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "tests", "e2e"))
from harness import Orvane, run, wine_path  # noqa: E402


def processes_of(folder):
    """The Linux processes that run orvane.exe from this folder."""
    pattern = os.path.join(folder, "orvane.exe").replace("/", "\\\\")
    out = subprocess.run(["pgrep", "-f", pattern], capture_output=True, text=True).stdout.split()
    return [int(p) for p in out]


def status_kb(pid, field):
    try:
        with open("/proc/%d/status" % pid) as f:
            for line in f:
                if line.startswith(field + ":"):
                    return int(line.split()[1])
    except OSError:
        pass
    return 0


def title_shows(name):
    out = run("xdotool", "search", "--onlyvisible", "--name", "^Orvane - " + re.escape(name) + "$", check=False)
    return out.split()


def one_run(path, exe):
    name = os.path.basename(path)
    with Orvane() as app:
        if exe:
            shutil.copy(exe, os.path.join(app.exe_folder, "orvane.exe"))
        start = time.perf_counter()
        app.start(wine_path(path), wait_title=None)
        shown = None
        while time.perf_counter() - start < 120:
            if title_shows(name):
                shown = time.perf_counter() - start
                break
            time.sleep(0.01)
        if shown is None:
            return None
        # The title is set when the load starts; the load and the first paint are done when
        # the process stops using the processor.
        settled = settle(app.exe_folder, start)
        peak = max((status_kb(pid, "VmHWM") for pid in processes_of(app.exe_folder)), default=0)
        now = max((status_kb(pid, "VmRSS") for pid in processes_of(app.exe_folder)), default=0)
        return shown, settled, peak, now


TICKS = os.sysconf("SC_CLK_TCK")


def cpu_seconds(pids):
    total = 0.0
    for pid in pids:
        try:
            with open("/proc/%d/stat" % pid) as f:
                fields = f.read().rsplit(")", 1)[1].split()
            total += (int(fields[11]) + int(fields[12])) / TICKS
        except OSError:
            pass
    return total


def settle(folder, start, quiet=0.5):
    """Seconds from start until the process last used the processor before a quiet spell."""
    last_busy = time.perf_counter()
    used = cpu_seconds(processes_of(folder))
    while time.perf_counter() - start < 120:
        time.sleep(0.05)
        now = cpu_seconds(processes_of(folder))
        if now > used + 0.02:
            used = now
            last_busy = time.perf_counter()
        elif time.perf_counter() - last_busy > quiet:
            break
    return last_busy - start


def main():
    path = sys.argv[1]
    runs = int(sys.argv[2]) if len(sys.argv) > 2 else 3
    exe = sys.argv[3] if len(sys.argv) > 3 else None
    size = os.path.getsize(path)
    print("file: %s, %.1f MB" % (path, size / 1e6))
    subprocess.run(["cat", path], stdout=subprocess.DEVNULL, check=True)
    # A first start, not counted, brings Wine's own files and the file into the cache.
    one_run(path, exe)
    for r in range(1, runs + 1):
        result = one_run(path, exe)
        if result is None:
            # Now and then a start under Wine never shows its window; that run is tried again.
            print("run %d: the title never showed %s within 120 s; trying again" % (r, os.path.basename(path)))
            result = one_run(path, exe)
        if result is None:
            raise SystemExit("wine_open: the title never showed the file")
        shown, settled, peak, now = result
        print("run %d: start -> title %.2f s, -> loaded and painted (idle) %.2f s (goal <= 1.2 s)   peak memory"
              " %.1f MB (%.2f x file, goal <= 1.3 x)   resident after the first paint %.1f MB"
              % (r, shown, settled, peak * 1024 / 1e6, peak * 1024 / size, now * 1024 / 1e6))


if __name__ == "__main__":
    main()
