"""Orvane at home on the desktop: files dropped on its window, and the system's text editor
started by its full path."""
import os
import re
import time

import xdnd
from harness import Orvane, start_on, wait_until

WM_CLOSE = 0x0010


def scenario_help_documentation_opens_in_the_system_editor_from_a_folder_with_spaces():
    with Orvane(name="my orvane") as app:
        app.start()
        app.focus()
        app.key("alt+h")
        app.key("d")
        title = "documentation.txt - Notepad"
        app.wait_window("^%s$" % title)
        app.probe("post", title, WM_CLOSE, 0)
        assert wait_until(lambda: not app.windows("^%s$" % title), 10)


def drop(app, *paths):
    """Drops the files on the middle of the main window, as a file manager does."""
    x, y, w, h = app.geometry()
    assert xdnd.drop_files(int(app.window), list(paths), w // 2, h // 2), "the window did not take the drop"


def scenario_a_dropped_file_opens_as_open_does_and_a_dropped_folder_is_passed_over():
    with Orvane() as app:
        earlier = start_on(app, "earlier.txt", b"earlier\r\n")
        folder = os.path.join(app.folder, "a folder")
        os.makedirs(folder)
        drop(app, folder)
        time.sleep(1)
        assert app.title() == "Orvane - earlier.txt", app.title()
        path = os.path.join(app.folder, "\u00e9t\u00e9 notes.txt")
        with open(path, "wb") as f:
            f.write(b"first\r\nsecond\r\n")
        x, y, w, h = app.geometry()
        grey = lambda: app.screenshot().count(x, y, x + 300, y + 120, lambda p: p == 0xC0C0C0)
        empty = grey()
        drop(app, path)
        app.wait_title("^Orvane - \u00e9t\u00e9 notes\\.txt$")
        # Its text shows at once, with no key pressed or click made (in the text colour, grey).
        assert wait_until(lambda: grey() > empty + 30, 1), (empty, grey())
        # The dropped file is the document: an edit saved goes into it.
        app.focus()
        app.key("ctrl+End")
        app.type(" and more")
        app.key("ctrl+s")
        assert wait_until(lambda: app.read_bytes(path) == b"first\r\nsecond and more\r\n", 5), app.read_bytes(path)
        # Like Open, the drop is a step of its own: undoing the edit, then the drop, brings
        # back the earlier document.
        app.key("ctrl+z", "ctrl+z")
        app.wait_title(r"^Orvane - earlier\.txt$")
        app.key("End")
        app.type(" again")
        app.key("ctrl+s")
        assert wait_until(lambda: app.read_bytes(earlier) == b"earlier again\r\n", 5), app.read_bytes(earlier)
        assert app.read_bytes(path) == b"first\r\nsecond and more\r\n"


def scenario_two_dropped_files_open_two_windows():
    with Orvane() as app:
        app.start()
        first, second = (os.path.join(app.folder, name) for name in ("one.txt", "two words.txt"))
        for path, text in ((first, b"one\r\n"), (second, b"two\r\n")):
            with open(path, "wb") as f:
                f.write(text)
        others = set(app.windows(r"^Orvane - "))
        drop(app, app.folder, first, second)
        app.wait_title(r"^Orvane - one\.txt$")
        title = "Orvane - two words.txt"
        other = app.wait_window("^%s$" % re.escape(title), exclude=others)
        assert len(app.windows(r"^Orvane - ")) == 2, app.all_titles()
        # The other window is an Orvane of its own: it closes alone.
        app.probe("post", title, WM_CLOSE, 0)
        assert wait_until(lambda: not app.windows("^%s$" % re.escape(title)), 10), app.all_titles()
        assert app.title() == "Orvane - one.txt"
        assert other not in app.windows(r"^Orvane - ")
