"""Measures what orvane.exe costs while it does nothing: starts it under Wine with a
1000 x 800 editor showing a small file, waits for it to settle, and reads the process's CPU
time (user + system, from /proc) over a quiet interval. Prints the share of one core.

Usage (inside scripts/with-wine.sh): python3 bench/idle_cpu.py [EXE] [SECONDS]"""
import os
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "tests", "e2e"))
from harness import Orvane, run  # noqa: E402

TICKS = os.sysconf("SC_CLK_TCK")


def cpu_seconds(pid):
    with open("/proc/%d/stat" % pid) as f:
        fields = f.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / TICKS


def orvane_pid(folder):
    """The Linux process that runs orvane.exe from this folder."""
    out = subprocess.run(["pgrep", "-f", os.path.join(folder, "orvane.exe").replace("/", "\\\\")],
                         capture_output=True, text=True).stdout.split()
    if not out:
        out = subprocess.run(["pgrep", "-f", "orvane.exe"], capture_output=True, text=True).stdout.split()
    return int(out[-1]) if out else None


def wineserver_pid():
    out = subprocess.run(["pgrep", "wineserver"], capture_output=True, text=True).stdout.split()
    return int(out[-1]) if out else None


def main():
    exe = sys.argv[1] if len(sys.argv) > 1 else None
    seconds = float(sys.argv[2]) if len(sys.argv) > 2 else 10.0
    with Orvane() as app:
        if exe:
            import shutil
            shutil.copy(exe, os.path.join(app.exe_folder, "orvane.exe"))
        sample = os.path.join(app.folder, "sample.c")
        with open(sample, "w") as f:
            for i in range(200):
                f.write("int value_%d = compute(%d);\n" % (i, i))
        from harness import wine_path
        app.start(wine_path(sample))
        app.focus()
        # Sized the way the program sizes itself (an X resize of an unmanaged window is not
        # seen by it): the editor then really is about 1000 x 800.
        app.probe("move", app.title(), 50, 50, 1007, 853)
        time.sleep(3)
        pid = orvane_pid(app.exe_folder)
        server = wineserver_pid()
        start = time.time()
        cpu0 = cpu_seconds(pid)
        srv0 = cpu_seconds(server) if server else 0.0
        time.sleep(seconds)
        elapsed = time.time() - start
        cpu1 = cpu_seconds(pid)
        srv1 = cpu_seconds(server) if server else 0.0
        print("orvane.exe at rest: %.2f %% of a core over %.1f s (wineserver %.2f %%)"
              % (100.0 * (cpu1 - cpu0) / elapsed, elapsed, 100.0 * (srv1 - srv0) / elapsed))


if __name__ == "__main__":
    main()
