"""Side-by-side measures of the editor core (bench/core_bench) against Vim, cp and grep -F on
the same generated file, and against Vim and iconv on a UTF-16 copy of part of it, plus the
growth rows (two sizes each). Called by bench/compare.sh.

Usage: python3 bench/compare.py CORE_BENCH BIG_FILE WORK_DIR RUNS"""
import os
import subprocess
import sys
import time

MISSING = "orvane_missing_needle_7"


def run_peer(args, stdin=subprocess.DEVNULL):
    """Wall seconds and peak resident KiB of one peer process."""
    start = time.perf_counter()
    proc = subprocess.Popen(args, stdin=stdin, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    _, status, usage = os.wait4(proc.pid, 0)
    elapsed = time.perf_counter() - start
    proc.returncode = os.waitstatus_to_exitcode(status)
    return elapsed, usage.ru_maxrss


def run_core(bench, *args):
    """The driver's own figures ("name value" lines) plus its wall seconds."""
    start = time.perf_counter()
    out = subprocess.run([bench] + [str(a) for a in args], check=True, capture_output=True, text=True).stdout
    figures = {"wall_s": time.perf_counter() - start}
    for line in out.splitlines():
        name, value = line.split()
        figures[name] = float(value)
    return figures


def mb(kib):
    return kib * 1024 / 1e6


def pair(label, ours, peer_name, peer, goal):
    ratio = ours / peer if peer > 0 else float("inf")
    print("  %-22s orvane %7.3f s   %-14s %7.3f s   ratio %5.2f  (goal %s)" % (label, ours, peer_name, peer, ratio, goal))
    return ratio


def side_by_side(bench, big, work, runs):
    size = os.path.getsize(big)
    print("file: %s, %.1f MB" % (big, size / 1e6))
    out_ours = os.path.join(work, "saved-orvane.txt")
    out_cp = os.path.join(work, "saved-cp.txt")
    for r in range(1, runs + 1):
        print("run %d" % r)
        load = run_core(bench, "load", big)
        vim_s, vim_kb = run_peer(["vim", "-u", "NONE", "-es", "-c", "q!", big])
        pair("load", load["load_s"], "vim", vim_s, "<= 0.30")
        print("  %-22s orvane %7.1f MB (%.2f x file)   vim %7.1f MB (%.2f x file)   (goal <= 1.20 x)"
              % ("peak memory", mb(load["peak_kb"]), mb(load["peak_kb"]) * 1e6 / size, mb(vim_kb),
                 mb(vim_kb) * 1e6 / size))
        print("  %-22s orvane load process %.3f s wall" % ("", load["wall_s"]))
        for f in (out_ours, out_cp):
            if os.path.exists(f):
                os.remove(f)
        save = run_core(bench, "save", big, out_ours)
        cp_s, _ = run_peer(["cp", big, out_cp])
        pair("save (CR LF)", save["save_s"], "cp", cp_s, "<= 1.50")
        # A save waits until the new text is on the disk before it replaces the file; cp
        # leaves its copy in the cache. The same wait for cp shows the cost of that safety.
        os.remove(out_cp)
        cp_sync_s, _ = run_peer(["sh", "-c", 'cp "$0" "$1" && sync "$1"', big, out_cp])
        pair("save (CR LF)", save["save_s"], "cp + sync", cp_sync_s, "<= 1.50")
        for f in (out_ours, out_cp):
            os.remove(f)
        find = run_core(bench, "find", big, MISSING)
        grep_s, _ = run_peer(["grep", "-F", "-c", MISSING, big])
        pair("find a missing string", find["find_s"], "grep -F", grep_s, "<= 2.00")
        utf16_rows(bench, big, work)


def utf16_rows(bench, big, work):
    """The first 100 MB of the file as UTF-16 with its mark (200 MB): decoded on load, encoded on
    save, beside Vim loading the same file and iconv converting it each way."""
    sample = os.path.join(work, "sample-utf8.txt")
    big16 = os.path.join(work, "sample-utf16.txt")
    if not os.path.exists(big16):
        with open(big, "rb") as f:
            head = f.read(100_000_000)
        with open(sample, "wb") as f:
            f.write(head[:head.rfind(b"\n") + 1])
        with open(big16, "wb") as f:
            subprocess.run(["iconv", "-f", "UTF-8", "-t", "UTF-16", sample], stdout=f, check=True)
    size = os.path.getsize(big16)
    load = run_core(bench, "load", big16)
    vim_s, _ = run_peer(["vim", "-u", "NONE", "-es", "-c", "q!", big16])
    pair("load UTF-16", load["load_s"], "vim", vim_s, "<= 1.00")
    iconv_s, _ = run_peer(["sh", "-c", 'iconv -f UTF-16 -t UTF-8 "$0" >/dev/null', big16])
    pair("load UTF-16", load["load_s"], "iconv to UTF-8", iconv_s, "<= 3.00")
    print("  %-22s orvane %7.1f MB (%.2f x file)   (goal <= 1.60 x)"
          % ("peak memory UTF-16", mb(load["peak_kb"]), mb(load["peak_kb"]) * 1e6 / size))
    out16 = os.path.join(work, "saved-utf16.txt")
    save = run_core(bench, "save", big16, out16)
    iconv_back_s, _ = run_peer(["sh", "-c", 'iconv -f UTF-8 -t UTF-16 "$0" >"$1"', sample, out16 + ".iconv"])
    pair("save UTF-16 (CR LF)", save["save_s"], "iconv from UTF-8", iconv_back_s, "<= 1.50")
    for f in (out16, out16 + ".iconv"):
        os.remove(f)


def growth(bench, work):
    print("growth (each at two sizes)")

    def row(label, command, sizes, key, unit_label):
        figures = []
        for n in sizes:
            figures.append(run_core(bench, command, n)[key])
        print("  %-34s " % label + "   ".join("%s %s: %.4f s" % (unit_label, n, t) for n, t in zip(sizes, figures))
              + "   (x%.2f for x%.1f)" % (figures[1] / max(figures[0], 1e-9), sizes[1] / sizes[0]))

    row("replace-all a -> bb, 6 hits/line", "replace-all", (40000, 80000), "replace_all_s", "lines")
    row("replace-all in one line", "replace-line", (8000, 16000), "replace_line_s", "hits")
    row("block indent (Tab)", "indent", (40000, 80000), "indent_s", "lines")
    row("block unindent (Shift+Tab)", "unindent", (40000, 80000), "unindent_s", "lines")
    row("paste into 200,000 lines", "paste", (40000, 80000), "paste_s", "lines")
    row("cut of many lines", "cut", (40000, 80000), "cut_s", "lines")
    for size in (100_000_000, 200_000_000):
        k = run_core(bench, "keystroke", size)
        names = [("first edit", "first_type_s"), ("type", "type_s"), ("paint", "paint_s"), ("Backspace", "backspace_s"), ("Right", "right_s"),
                 ("Delete", "delete_s"), ("Ctrl+Left", "word_left_s"), ("find", "find_in_line_s"),
                 ("End", "end_s"), ("Home", "home_s"), ("Ctrl+Right", "word_right_s"), ("Enter", "enter_s"),
                 ("join", "join_s")]
        print("  one %d MB line (goal <= 0.050 s each): " % (size // 1_000_000)
              + ", ".join("%s %.4f s" % (label, k[key]) for label, key in names if key in k))
    for size in (500_000_000, 1_000_000_000):
        path = os.path.join(work, "one-line-%d.txt" % size)
        with open(path, "wb") as f:
            chunk = b"x" * (1 << 20)
            left = size
            while left > 0:
                f.write(chunk[:min(left, len(chunk))])
                left -= len(chunk)
        subprocess.run(["cat", path], stdout=subprocess.DEVNULL, check=True)
        load = run_core(bench, "load", path, "--edit")
        print("  load of one %d MB line: %.3f s, peak %.1f MB (%.2f x line)   (goal about 1.5 x)"
              % (size // 1_000_000, load["load_s"], mb(load["peak_kb"]), mb(load["peak_kb"]) * 1e6 / size))
        if "edit_middle_s" in load:
            print("    then a character typed in its middle %.4f s, End %.4f s, one typed at its end %.4f s;"
                  " peak %.1f MB (%.2f x line)" % (load["edit_middle_s"], load["end_s"], load["edit_end_s"],
                                                   mb(load["edited_peak_kb"]), mb(load["edited_peak_kb"]) * 1e6 / size))
        os.remove(path)


def main():
    bench, big, work, runs = sys.argv[1], sys.argv[2], sys.argv[3], int(sys.argv[4])
    only = os.environ.get("ORVANE_COMPARE_ONLY", "")
    if only in ("", "side"):
        side_by_side(bench, big, work, runs)
    if only in ("", "growth"):
        growth(bench, work)


if __name__ == "__main__":
    main()
