"""Commands over a big file inside orvane.exe under Wine, each beside the editor core's own
time for the same command on the same file, measured natively in the same run
(build/native/core_bench commands FILE). Each command is sent as a user sends it (its keys)
and timed from the key to the last use of the processor before the program falls quiet, so
the window's paint after it is counted too; times below about 0.05 s are the measure's own
resolution.

Usage (inside scripts/with-wine.sh): python3 bench/wine_commands.py FILE CORE_BENCH [RUNS]"""
import os
import re
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "tests", "e2e"))
from harness import Orvane, run, wine_path  # noqa: E402
from wine_open import settle  # noqa: E402

# (name in core_bench's figures, keys sent to the program), in core_bench's order.
COMMANDS = [
    ("document_end", ["ctrl+End"]),
    ("document_start", ["ctrl+Home"]),
    ("select_all_copy", ["ctrl+a", "ctrl+c"]),
    ("indent_all", ["Tab"]),
    ("undo_indent", ["ctrl+z"]),
    ("unindent_all", ["shift+Tab"]),
    ("undo_unindent", ["ctrl+z"]),
    ("crlf_toggle", ["F9"]),
]

# Below this, both sides are within the measure's resolution and the ratio means nothing.
RESOLUTION_S = 0.05


def native(core_bench, path):
    out = subprocess.run([core_bench, "commands", path], check=True, capture_output=True, text=True).stdout
    return {name[:-2]: float(value) for name, value in (line.split() for line in out.splitlines())
            if name.endswith("_s")}


def in_orvane(path):
    times = {}
    with Orvane() as app:
        start = time.perf_counter()
        app.start(wine_path(path), wait_title="^Orvane - " + re.escape(os.path.basename(path)) + "$")
        settle(app.exe_folder, start)
        app.focus()
        for name, keys in COMMANDS:
            start = time.perf_counter()
            run("xdotool", "key", *keys)
            times[name] = settle(app.exe_folder, start)
    return times


def main():
    path, core_bench = sys.argv[1], sys.argv[2]
    runs = int(sys.argv[3]) if len(sys.argv) > 3 else 2
    print("file: %s, %.1f MB" % (path, os.path.getsize(path) / 1e6))
    worst = {}
    for r in range(1, runs + 1):
        core = native(core_bench, path)
        wine = in_orvane(path)
        for name, _ in COMMANDS:
            ours, theirs = wine[name], core[name]
            if max(ours, theirs) < RESOLUTION_S:
                verdict = "both under %.2f s" % RESOLUTION_S
            else:
                ratio = ours / max(theirs, RESOLUTION_S)
                worst[name] = max(worst.get(name, 0.0), ratio)
                verdict = "%.2f x (goal <= 2)" % ratio
            print("run %d: %-16s orvane.exe under Wine %.2f s; the core natively %.3f s: %s"
                  % (r, name, ours, theirs, verdict), flush=True)
    if worst:
        print("worst ratio: " + ", ".join("%s %.2f x" % item for item in sorted(worst.items())))


if __name__ == "__main__":
    main()
