"""Replace-all of "buf" by "buffer" inside orvane.exe under Wine, through the Replace dialog
as a user runs it (Ctrl+R, the two texts, Ctrl+Enter), timed from the key to the dialog
closing once the command is done; printed beside the editor core's own time for the same
file, measured natively in the same run (build/native/core_bench replace).

Usage (inside scripts/with-wine.sh): python3 bench/wine_replace.py FILE CORE_BENCH [RUNS]"""
import os
import re
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "tests", "e2e"))
from harness import Orvane, run, wait_until, wine_path  # noqa: E402
from wine_open import settle  # noqa: E402


def native(core_bench, path):
    out = subprocess.run([core_bench, "replace", path, "buf", "buffer"], check=True, capture_output=True,
                         text=True).stdout
    figures = dict(line.split() for line in out.splitlines() if len(line.split()) == 2)
    return float(figures["replace_file_s"]), int(float(figures["host_questions"]))


def in_orvane(path):
    with Orvane() as app:
        start = time.perf_counter()
        app.start(wine_path(path), wait_title="^Orvane - " + re.escape(os.path.basename(path)) + "$")
        settle(app.exe_folder, start)
        app.focus()
        app.key("ctrl+r")
        box = app.wait_window("^Replace$")
        app.focus(box)
        app.type("buf")
        app.key("Tab")
        app.type("buffer")
        start = time.perf_counter()
        run("xdotool", "key", "ctrl+Return")
        if not wait_until(lambda: not app.windows("^Replace$"), 1800, 0.02):
            return None
        return time.perf_counter() - start


def main():
    path, core_bench = sys.argv[1], sys.argv[2]
    runs = int(sys.argv[3]) if len(sys.argv) > 3 else 3
    with open(path, "rb") as f:
        data = f.read()
    print("file: %s, %.1f MB, %d lines, %d hits" % (path, len(data) / 1e6, data.count(b"\n"), data.count(b"buf")))
    for r in range(1, runs + 1):
        core, questions = native(core_bench, path)
        wine = in_orvane(path)
        if wine is None:
            print("run %d: the replace did not finish" % r)
            continue
        print("run %d: orvane.exe under Wine %.2f s (goal <= 1 s); the core natively %.2f s (%d questions to the"
              " window): %.1f x" % (r, wine, core, questions, wine / core), flush=True)


if __name__ == "__main__":
    main()
