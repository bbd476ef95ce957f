"""Commands over a big file inside orvane.exe under Wine, each beside the editor core's own
time for the same command on the same file, measured natively in the same run
(build/native/core_bench commands FILE). Each command is sent as a user sends it (its keys)
and timed two ways: from the key to the last use of the processor by the program and Wine's
server before they fall quiet (everything the command caused: the paint, the clipboard, the
recovery record written in the background), and, for a command that marks the document
changed or unchanged, from the key to the title showing it (when the window answers again).
Times below about 0.05 s are the measure's own resolution.

Usage (inside scripts/with-wine.sh): python3 bench/wine_commands.py FILE CORE_BENCH [RUNS]"""
import os
import re
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "tests", "e2e"))
from harness import Orvane, run, wine_path  # noqa: E402
from wine_open import cpu_seconds, processes_of  # noqa: E402

# (name in core_bench's figures, keys sent to the program, whether the title then shows the
# document changed: True, unchanged: False, or no change to see: None), in core_bench's order.
COMMANDS = [
    ("document_end", ["ctrl+End"], None),
    ("document_start", ["ctrl+Home"], None),
    ("select_all_copy", ["ctrl+a", "ctrl+c"], None),
    ("indent_all", ["Tab"], True),
    ("undo_indent", ["ctrl+z"], False),
    ("unindent_all", ["shift+Tab"], True),
    ("undo_unindent", ["ctrl+z"], False),
    ("crlf_toggle", ["F9"], None),
]


def wine_processes(folder):
    server = subprocess.run(["pgrep", "-x", "wineserver"], capture_output=True, text=True).stdout.split()
    return processes_of(folder) + [int(p) for p in server]


def quiet_after(folder, start, quiet=0.5, limit=300):
    """Seconds from start to the last use of the processor before a quiet spell."""
    pids = wine_processes(folder)
    last_busy, used = time.perf_counter(), cpu_seconds(pids)
    while time.perf_counter() - start < limit:
        time.sleep(0.02)
        now = cpu_seconds(pids)
        if now > used + 0.02:
            used, last_busy = now, time.perf_counter()
        elif time.perf_counter() - last_busy > quiet:
            break
    return max(last_busy - start, 0.0)


def title_after(name, changed, start, limit=300):
    wanted = "^Orvane - " + ("\\*" if changed else "") + re.escape(name) + "$"
    while time.perf_counter() - start < limit:
        if run("xdotool", "search", "--onlyvisible", "--name", wanted, check=False).split():
            return time.perf_counter() - start
        time.sleep(0.02)
    return None

# Below this, both sides are within the measure's resolution and the ratio means nothing.
RESOLUTION_S = 0.05


def native(core_bench, path):
    out = subprocess.run([core_bench, "commands", path], check=True, capture_output=True, text=True).stdout
    return {name[:-2]: float(value) for name, value in (line.split() for line in out.splitlines())
            if name.endswith("_s")}


def in_orvane(path):
    times = {}
    # An earlier run's program can take a while to go (it owned a clipboard of the whole
    # file); keys and titles must reach this run's window only.
    deadline = time.perf_counter() + 120
    while subprocess.run(["pgrep", "-f", "orvane.exe"], capture_output=True).returncode == 0:
        if time.perf_counter() > deadline:
            raise SystemExit("wine_commands: an earlier orvane.exe is still running")
        time.sleep(0.5)
    with Orvane() as app:
        start = time.perf_counter()
        app.start(wine_path(path), wait_title="^Orvane - " + re.escape(os.path.basename(path)) + "$")
        quiet_after(app.exe_folder, start)
        app.focus()
        for name, keys, changed in COMMANDS:
            start = time.perf_counter()
            run("xdotool", "key", *keys)
            titled = None if changed is None else title_after(os.path.basename(path), changed, start)
            times[name] = (quiet_after(app.exe_folder, start), titled)
        # Back to the text as loaded, so no recovery record of this run is restored in the next.
        run("xdotool", "key", "F9")
        title_after(os.path.basename(path), False, time.perf_counter())
        quiet_after(app.exe_folder, time.perf_counter())
    return times


def main():
    path, core_bench = sys.argv[1], sys.argv[2]
    runs = int(sys.argv[3]) if len(sys.argv) > 3 else 2
    print("file: %s, %.1f MB" % (path, os.path.getsize(path) / 1e6))
    worst = {}
    for r in range(1, runs + 1):
        core = native(core_bench, path)
        wine = in_orvane(path)
        for name, _, _ in COMMANDS:
            (ours, titled), theirs = wine[name], core[name]
            if max(ours, theirs) < RESOLUTION_S:
                verdict = "both under %.2f s" % RESOLUTION_S
            else:
                ratio = ours / max(theirs, RESOLUTION_S)
                worst[name] = max(worst.get(name, 0.0), ratio)
                verdict = "%.2f x (goal <= 2)" % ratio
            answered = "" if titled is None else " (answered, title shown: %.2f s = %.2f x)" % (
                titled, titled / max(theirs, RESOLUTION_S))
            print("run %d: %-16s orvane.exe under Wine %.2f s; the core natively %.3f s: %s%s"
                  % (r, name, ours, theirs, verdict, answered), flush=True)
    if worst:
        print("worst ratio: " + ", ".join("%s %.2f x" % item for item in sorted(worst.items())))


if __name__ == "__main__":
    main()
