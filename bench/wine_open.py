"""Measures orvane.exe under Wine on a big file, beside the tools a user would otherwise pick,
in the same run (the machine is shared and busy, so only side-by-side ratios mean much):

- open: start -> whole text loaded and painted, beside native Vim loading the same file
  (vim -u NONE -es -c q!). The title shows the file's name once the whole text is in (it
  is set at the end of the load); the first paint follows, and is done when the process
  falls idle after the title;
- save: Ctrl+S -> the file replaced on the disk (its new copy written, synced and renamed
  into place), beside cp + sync of the same file right after it. Both start just after a
  file's worth of the system's cache was given back (the save's replace frees the old copy
  before the cp; a cp + sync whose copy is removed runs before the save), since on this
  virtual machine writing into memory the system has not used lately costs up to ten times
  more than into memory just freed;
- the process's peak resident memory against the file's size.

Wine's own server is kept running through the runs, as it is while a user works with Windows
programs under Wine: otherwise every start would also count Wine booting its services (1.3 to
2.2 s on this machine before the program's first instruction), which is not the program's
cost. ORVANE_BENCH_COLD_WINE=1 lets it stop between runs, to see that cost too.

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
        time.sleep(0.02)
        now = cpu_seconds(processes_of(folder))
        if now > used + 0.02:
            used = now
            last_busy = time.perf_counter()
        elif time.perf_counter() - last_busy > quiet:
            break
    return max(last_busy - start, 0.0)


def timed(*command):
    start = time.perf_counter()
    subprocess.run(command, check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    return time.perf_counter() - start


def vim_load(path):
    return timed("vim", "-u", "NONE", "-i", "NONE", "-es", "-c", "q!", path)


def cp_sync(path):
    copy = path + ".cp"
    try:
        return timed("bash", "-c", 'cp "$1" "$2" && sync "$2"', "bash", path, copy)
    finally:
        os.remove(copy)


def wait_replaced(path, inode, start, limit=120):
    """Seconds from start until a new file takes path's place."""
    while time.perf_counter() - start < limit:
        try:
            if os.stat(path).st_ino != inode:
                return time.perf_counter() - start
        except FileNotFoundError:
            pass
        time.sleep(0.005)
    return None


def loaded_and_painted(app, name, start, quiet=0.5, limit=120):
    """(seconds to the title showing the file, seconds to the last use of the processor before
    a quiet spell after it), or None. The processor use is read from /proc every 20 ms, which
    costs the machine next to nothing; the title is asked of the X server (a process each
    time) only every 250 ms and the process list once a second, so the measure does not slow
    the load it measures."""
    titled = None
    last_busy = time.perf_counter()
    used = 0.0
    next_look = start
    # The process list is looked up once a second (pgrep reads all of /proc); in between, only
    # the known processes' own counters are read.
    pids, next_pids = [], start
    while time.perf_counter() - start < limit:
        time.sleep(0.02)
        now = time.perf_counter()
        if now >= next_pids:
            pids, next_pids = processes_of(app.exe_folder), now + 1.0
        cpu = cpu_seconds(pids)
        if cpu > used + 0.01:
            used = cpu
            last_busy = now
        if titled is None and now >= next_look:
            next_look = now + 0.25
            if title_shows(name):
                titled = now - start
        if titled is not None and now - last_busy > quiet:
            return titled, max(last_busy - start, 0.0)
    return None


def one_run(path, exe, with_save):
    name = os.path.basename(path)
    with Orvane() as app:
        if exe:
            shutil.copy(exe, os.path.join(app.exe_folder, "orvane.exe"))
        start = time.perf_counter()
        app.start(wine_path(path), wait_title=None)
        timing = loaded_and_painted(app, name, start)
        if timing is None:
            return None
        loaded, painted = timing
        painted = max(painted, loaded - 0.25)
        peak = max((status_kb(pid, "VmHWM") for pid in processes_of(app.exe_folder)), default=0)
        saved = copy_before = None
        if with_save:
            app.window = title_shows(name)[0]
            app.focus()
            # LF line ends, as the file has: the save then writes it back byte for byte.
            app.key("F9")
            # cp + sync right before, its copy removed: the save then starts, as the cp + sync
            # after it does, just after a file's worth of the system's cache was given back.
            copy_before = cp_sync(path)
            inode = os.stat(path).st_ino
            start = time.perf_counter()
            run("xdotool", "key", "ctrl+s")
            saved = wait_replaced(path, inode, start)
            peak = max([peak] + [status_kb(pid, "VmHWM") for pid in processes_of(app.exe_folder)])
        return loaded, painted, peak, saved, copy_before


def main():
    path = sys.argv[1]
    runs = int(sys.argv[2]) if len(sys.argv) > 2 else 3
    exe = sys.argv[3] if len(sys.argv) > 3 else None
    with_save = os.environ.get("ORVANE_BENCH_SAVE", "1") != "0"
    size = os.path.getsize(path)
    print("file: %s, %.1f MB" % (path, size / 1e6))
    subprocess.run(["cat", path], stdout=subprocess.DEVNULL, check=True)
    if os.environ.get("ORVANE_BENCH_COLD_WINE") != "1":
        # Stays until scripts/with-wine.sh stops it at the end.
        subprocess.run(["wineserver", "-p"], check=True)
    # A first start, not counted, brings Wine's own files and the file into the cache.
    one_run(path, exe, False)
    vim_load(path)
    ratios_open, ratios_save, ratios_memory = [], [], []
    for r in range(1, runs + 1):
        vim = vim_load(path)
        result = one_run(path, exe, with_save)
        if result is None:
            # Now and then a start under Wine never shows its window; that run is tried again.
            print("run %d: the title never showed %s within 120 s; trying again" % (r, os.path.basename(path)))
            result = one_run(path, exe, with_save)
        if result is None:
            raise SystemExit("wine_open: the title never showed the file")
        loaded, painted, peak, saved, copy_before = result
        vim_after = vim_load(path)
        vim = min(vim, vim_after)
        ratios_open.append(painted / vim)
        ratios_memory.append(peak * 1024 / size)
        line = ("run %d: start -> title %.2f s (+/- 0.25), -> loaded and painted %.2f s; Vim %.2f s: %.2f x Vim"
                " (goal <= 1.0)"
                "   peak memory %.1f MB = %.2f x file (goal <= 1.3)"
                % (r, loaded, painted, vim, painted / vim, peak * 1024 / 1e6, peak * 1024 / size))
        if with_save:
            copy = cp_sync(path)
            if saved is None:
                line += "   save: not seen within 120 s"
            else:
                ratios_save.append(saved / copy)
                line += "   Ctrl+S -> saved %.2f s; cp + sync %.2f s: %.2f x (goal <= 2) (cp + sync just before: %.2f s)" % (
                    saved, copy, saved / copy, copy_before)
        print(line, flush=True)
    print("median: open %.2f x Vim, memory %.2f x file%s" % (
        sorted(ratios_open)[len(ratios_open) // 2], sorted(ratios_memory)[len(ratios_memory) // 2],
        ", save %.2f x cp + sync" % sorted(ratios_save)[len(ratios_save) // 2] if ratios_save else ""))


if __name__ == "__main__":
    main()
