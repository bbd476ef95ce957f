"""The system clipboard beside Orvane's copy buffer, and the usual selection keys and clicks."""
import time

from harness import Orvane, run, start_on, wait_until
from scenarios_editor import editor_origin, quit_with_ctrl_q, wait_bytes


def clipboard(app):
    status, text = app.probe("clipboard")
    return text if status == 0 else None


def scenario_clipboard_copies_reach_other_programs_and_their_text_pastes_in():
    with Orvane() as app:
        path = start_on(app, "clip.txt", b"alpha beta\r\ngamma\r\n")
        # Ctrl+A selects everything; Ctrl+C puts it on the system clipboard too.
        app.key("ctrl+a", "ctrl+c")
        assert wait_until(lambda: clipboard(app) == "alpha beta\r\ngamma", 5), repr(clipboard(app))
        # A copy inside Orvane still pastes as before: at the end, after "gamma".
        app.key("ctrl+End", "ctrl+v")
        # Another program's text comes first.
        assert app.probe("setclipboard", "from\u00e9lsewhere")[0] == 0
        app.key("ctrl+v")
        app.key("ctrl+s")
        wait_bytes(app, path, b"alpha beta\r\ngammaalpha beta\r\ngammafrom\xc3\xa9lsewhere\r\n")


def scenario_clipboard_word_selection_by_keys_and_by_double_click():
    with Orvane() as app:
        with open(app.data_file("preferences.txt"), "w") as f:
            f.write('{ "background_color": "203040" }\n')
        path = start_on(app, "words.txt", b"one two three\r\n")
        # Ctrl+Shift+Right takes the first word and the blank after it.
        app.key("Home", "ctrl+shift+Right", "ctrl+c")
        assert wait_until(lambda: clipboard(app) == "one ", 5), repr(clipboard(app))
        # A double-click in the first row right of its text selects the last word; typing
        # replaces it.
        time.sleep(0.5)
        x, y, w, h = app.geometry()
        ex, ey = editor_origin(app.screenshot(), x, y, w, h)
        run("xdotool", "mousemove", "--window", str(app.window), str(ex - x + 400), str(ey - y + 5),
            "click", "--repeat", "2", "--delay", "80", "1")
        time.sleep(0.3)
        app.type("3")
        app.key("ctrl+s")
        wait_bytes(app, path, b"one two 3\r\n")
        # A Shift+click extends the caret's selection to the click: from after "3" back to the
        # line's start, and typing replaces all of it.
        run("xdotool", "mousemove", "--window", str(app.window), str(ex - x + 1), str(ey - y + 5))
        run("xdotool", "keydown", "shift", "click", "1", "keyup", "shift")
        time.sleep(0.3)
        app.type("x")
        app.key("ctrl+s")
        wait_bytes(app, path, b"x\r\n")


def scenario_clipboard_large_copy_is_written_when_asked_and_outlives_the_program():
    # A copy of a megabyte or more is only promised to the clipboard: another program asking
    # gets the whole text, a paste in Orvane still takes its own copy, and the text stays on
    # the clipboard after Orvane exits.
    lines = [("line %06d caf\u00e9 \U0001F600" % n) for n in range(60000)]
    content = "\r\n".join(lines).encode() + b"\r\n"
    expected = "\r\n".join(lines)
    assert len(content) > 1 << 20
    with Orvane() as app:
        path = start_on(app, "big_clip.txt", content)
        app.key("ctrl+a", "ctrl+c")
        assert wait_until(lambda: clipboard(app) == expected, 20), "the clipboard lacks the copy"
        app.key("ctrl+End", "ctrl+v", "ctrl+s")
        wait_bytes(app, path, content[:-2] + content, 20)
        app.key("ctrl+a", "ctrl+c")
        quit_with_ctrl_q(app)
        assert clipboard(app) == expected + expected, "the copy went with the program"
