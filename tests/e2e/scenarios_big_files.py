"""A file that takes a while to load: the window shows how far the load has come in its status
text and keeps answering, and Esc stops the load with the earlier document as it was."""
import os
import time

from harness import Orvane, start_on, wait_until
from scenarios_desktop import drop
from scenarios_editor import quit_with_ctrl_q, wait_bytes

ACCENT = 0x8080FF  # the status text's colour


def write_big_file(path, megabytes):
    """Lines of text, quickly: one block written again and again."""
    block = b"".join(b"a line of text in a big file, number %07d\n" % i for i in range(20000))
    with open(path, "wb") as f:
        for _ in range(megabytes * 1000000 // len(block) + 1):
            f.write(block)


def status_pixels(app):
    """Pixels in the status text's colour along the bottom of the window."""
    x, y, w, h = app.geometry()
    return app.screenshot().count(x, y + h - 40, x + w, y + h, lambda p: p == ACCENT)


def scenario_big_files_a_long_load_shows_progress_and_esc_leaves_the_earlier_text():
    with Orvane() as app:
        earlier = start_on(app, "earlier.txt", b"earlier\r\n")
        app.type("X")
        app.wait_title(r"^Orvane - \*earlier\.txt$")
        big = os.path.join(app.folder, "big.txt")
        try:
            write_big_file(big, 700)
            subprocess_cat(big)
            plain = status_pixels(app)
            assert plain > 0, "no status text to compare with"
            drop(app, big)
            # The progress text is longer than the caret's place and the modes.
            assert wait_until(lambda: status_pixels(app) > plain * 1.4, 10, 0.05), "no progress in the status text"
            app.key("Escape", delay_ms=10)
            # The load stops: the earlier document, still changed, and its status text again.
            assert wait_until(lambda: status_pixels(app) <= plain * 1.2, 10), "the progress text stayed"
            assert app.title() == "Orvane - *earlier.txt", app.title()
        finally:
            os.remove(big)
        app.key("ctrl+s")
        wait_bytes(app, earlier, b"Xearlier\r\n")
        quit_with_ctrl_q(app)


def subprocess_cat(path):
    """Brings the file into the page cache, so that the load's pace is Orvane's own."""
    with open(path, "rb") as f:
        while f.read(1 << 24):
            pass
