"""A file of about 4 GB in orvane.exe under Wine: start -> loaded (the title shows the file),
Ctrl+End and one typed character at its end, Ctrl+S -> replaced on the disk, then the saved
bytes against the expected ones (md5: the file with the character before its last line feed)
and the process's peak memory against the file's size (goal <= 1.3).

Usage (inside scripts/with-wine.sh): python3 bench/wine_big4g.py FILE [EXE]"""
import hashlib
import os
import shutil
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
sys.path.insert(0, os.path.join(HERE, "..", "tests", "e2e"))
from harness import Orvane, run, wine_path  # noqa: E402
from wine_open import processes_of, status_kb, title_shows, wait_replaced  # noqa: E402

LIMIT = 600


def expected_md5(path, size):
    """md5 of the file with "x" put before its final line feed."""
    digest = hashlib.md5()
    with open(path, "rb") as f:
        left = size - 1
        while left > 0:
            piece = f.read(min(left, 64 << 20))
            digest.update(piece)
            left -= len(piece)
        last = f.read()
    assert last == b"\n", "the file must end in a line feed"
    digest.update(b"x\n")
    return digest.hexdigest()


def file_md5(path):
    digest = hashlib.md5()
    with open(path, "rb") as f:
        for piece in iter(lambda: f.read(64 << 20), b""):
            digest.update(piece)
    return digest.hexdigest()


def peak_kb(app):
    return max((status_kb(pid, "VmHWM") for pid in processes_of(app.exe_folder)), default=0)


def main():
    path = sys.argv[1]
    exe = sys.argv[2] if len(sys.argv) > 2 else None
    size = os.path.getsize(path)
    name = os.path.basename(path)
    print("file: %s, %.2f GB" % (path, size / 1e9), flush=True)
    wanted = expected_md5(path, size)
    with Orvane() as app:
        if exe:
            shutil.copy(exe, os.path.join(app.exe_folder, "orvane.exe"))
        start = time.perf_counter()
        app.start(wine_path(path), wait_title=None)
        loaded = None
        while time.perf_counter() - start < LIMIT:
            time.sleep(0.25)
            if title_shows(name):
                loaded = time.perf_counter() - start
                break
        if loaded is None:
            raise SystemExit("wine_big4g: the title never showed the file within %d s" % LIMIT)
        print("start -> loaded %.1f s, peak memory so far %.2f GB" % (loaded, peak_kb(app) * 1024 / 1e9), flush=True)
        app.window = title_shows(name)[0]
        app.focus()
        # LF line ends, as the file has; the edit goes at the very end of the text.
        app.key("F9")
        app.key("ctrl+End")
        app.type("x")
        inode = os.stat(path).st_ino
        start = time.perf_counter()
        run("xdotool", "key", "ctrl+s")
        saved = wait_replaced(path, inode, start, limit=LIMIT)
        peak = peak_kb(app)
        if saved is None:
            raise SystemExit("wine_big4g: the save was not seen within %d s" % LIMIT)
        # The replaced file must be complete before it is read: the program has closed it.
        time.sleep(1.0)
    got = file_md5(path)
    ratio = peak * 1024 / size
    print("Ctrl+S -> saved %.1f s; md5 %s (%s); peak memory %.2f GB = %.2f x file (goal <= 1.3)" % (
        saved, got, "as expected" if got == wanted else "EXPECTED " + wanted, peak * 1024 / 1e9, ratio))
    if got != wanted:
        raise SystemExit(1)


if __name__ == "__main__":
    main()
