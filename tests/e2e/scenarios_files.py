"""Files a Windows user has and what the editor shows of them: the scrollbar in line with the
view after commands that move it, UTF-16 files, files with NUL bytes, and saving through a
link."""
import os
import time

from harness import Orvane, run, start_on, wait_until, wine_path
from scenarios_editor import dialog_enter, quit_with_ctrl_q, wait_bytes


def wheel_down_once(app):
    """One wheel notch in the middle of the editor: it scrolls ten lines on from the bar's
    position and puts the caret on the new top line."""
    x, y, w, h = app.geometry()
    run("xdotool", "mousemove", "--window", app.window, str(w // 2), str(h // 2), "click", "5")
    time.sleep(0.4)


def line_starting_with(data, mark):
    return next(i for i, line in enumerate(data.split(b"\r\n")) if line.startswith(mark))


def scenario_files_scrollbar_follows_go_to_line_and_find():
    with Orvane() as app:
        original = b"".join(b"line %d\r\n" % i for i in range(911))
        path = start_on(app, "long.txt", original)
        # Go to line 782: the view moves there, and so must the thumb.
        app.key("ctrl+g")
        dialog_enter(app, "Goto line", "782", ["Return"])
        wheel_down_once(app)
        app.type("W")
        # Find moves the view back up to line 150.
        app.key("ctrl+f")
        dialog_enter(app, "Find", "line 150", ["Return"])
        app.key("Escape")
        wheel_down_once(app)
        app.type("F")
        app.key("ctrl+s")
        wait_until(lambda: app.read_bytes(path) != original, 5)
        data = app.read_bytes(path)
        after_goto = line_starting_with(data, b"W")
        after_find = line_starting_with(data, b"F")
        # Ten lines below the view's top line, wherever the command left the caret in the
        # view; with the thumb left at the top, each notch would have landed on line 10.
        assert 700 <= after_goto <= 792, after_goto
        assert 90 <= after_find <= 160, after_find
        quit_with_ctrl_q(app)
