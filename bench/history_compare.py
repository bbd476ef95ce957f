"""Undo and redo side by side with Vim on the standard 425 MB file (../shared/bench/gen_big.py):
a replace-all, its undo and its redo, each beside Vim's :substitute and :undo of the same
text; a word typed mid-file and its undo and redo; the history's memory after 100,000 typed
characters.

Usage: python3 bench/history_compare.py HISTORY_BENCH BIG_FILE [RUNS]"""
import subprocess
import sys
import time

FIND, CHANGE = "beta", "BETA"


def run_core(bench, *args):
    out = subprocess.run([bench] + [str(a) for a in args], check=True, capture_output=True, text=True).stdout
    return {name: float(value) for name, value in (line.split() for line in out.splitlines())}


def vim_seconds(big, *commands):
    args = ["vim", "-u", "NONE", "-es"]
    for c in commands:
        args += ["-c", c]
    args += ["-c", "q!", big]
    start = time.perf_counter()
    subprocess.run(args, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    return time.perf_counter() - start


def pair(label, ours, peer_label, peer, goal):
    ratio = ours / peer if peer > 0 else float("inf")
    print("  %-24s orvane %8.3f s   %-16s %8.3f s   ratio %6.2f  (goal %s)" % (label, ours, peer_label, peer, ratio, goal))


def main(bench, big, runs):
    for r in range(1, runs + 1):
        print("run %d" % r)
        ours = run_core(bench, "replace-all", big, FIND, CHANGE)
        load = vim_seconds(big)
        substituted = vim_seconds(big, "%s/" + FIND + "/" + CHANGE + "/g")
        undone = vim_seconds(big, "%s/" + FIND + "/" + CHANGE + "/g", "undo")
        pair("replace all", ours["replace_all_s"], "vim :s", substituted - load, "-")
        pair("undo of it", ours["undo_s"], "vim :undo", undone - substituted, "-")
        print("  %-24s undo / replace all = %.2f (goal <= 2.00), redo / replace all = %.2f, history %.1f MB"
              % ("", ours["undo_s"] / ours["replace_all_s"], ours["redo_s"] / ours["replace_all_s"], ours["history_mb"]))
        typing = run_core(bench, "typing", big)
        print("  %-24s key mean %.4f ms, max %.4f ms; undo %.4f ms; redo %.4f ms at %d lines (goal < 1 ms each)"
              % ("typed word", typing["key_mean_s"] * 1e3, typing["key_max_s"] * 1e3, typing["undo_word_s"] * 1e3,
                 typing["redo_word_s"] * 1e3, typing["lines"]))
    memory = run_core(bench, "typing-memory", 100000)
    print("history after 100,000 typed characters: %.2f MB in %d steps (goal < 4 MB)"
          % (memory["history_mb"], memory["steps"]))


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2], int(sys.argv[3]) if len(sys.argv) > 3 else 2)
