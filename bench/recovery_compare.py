"""The recovery record's costs on the standard 425 MB file (../shared/bench/gen_big.py): a key
typed at 10 million lines with and without a record kept (the writes after each pause
included), the time from the last key until the record is on the disk, and the restore of
the file with 1,000 edits beside a plain load of it and Vim's load of it.

Usage: python3 bench/recovery_compare.py RECOVERY_BENCH BIG_FILE [RUNS]"""
import shutil
import subprocess
import sys
import tempfile
import time


def run_core(bench, *args):
    folder = tempfile.mkdtemp(prefix="orvane-recovery-bench-")
    try:
        out = subprocess.run([bench] + [str(a) for a in args] + [folder], check=True, capture_output=True, text=True).stdout
    finally:
        shutil.rmtree(folder, ignore_errors=True)
    return {name: float(value) for name, value in (line.split() for line in out.splitlines())}


def vim_load(big):
    start = time.perf_counter()
    subprocess.run(["vim", "-u", "NONE", "-es", "-c", "q!", big], stdin=subprocess.DEVNULL,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    return time.perf_counter() - start


def main(bench, big, runs):
    for r in range(1, runs + 1):
        print("run %d" % r)
        keys = run_core(bench, "keystrokes", big)
        print("  key at 10M lines: %.1f us with a record, %.1f us without: ratio %.2f (goal <= 1.10)"
              % (keys["key_with_record_s"] * 1e6, keys["key_without_record_s"] * 1e6,
                 keys["key_with_record_s"] / keys["key_without_record_s"]))
        disk = run_core(bench, "to-disk")
        print("  last key -> record on the disk: mean %.3f s, worst %.3f s (goal <= 1 s)"
              % (disk["to_disk_mean_s"], disk["to_disk_worst_s"]))
        restore = run_core(bench, "restore", big)
        vim_s = vim_load(big)
        print("  restore of 1,000 edits (record %.0f KB): %.3f s; plain load %.3f s (ratio %.2f); vim load %.3f s (ratio %.2f)"
              % (restore["record_kb"], restore["restore_s"], restore["load_s"], restore["restore_s"] / restore["load_s"],
                 vim_s, restore["restore_s"] / vim_s))


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2], int(sys.argv[3]) if len(sys.argv) > 3 else 2)
