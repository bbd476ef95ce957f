"""Files a Windows user has and what the editor shows of them: the scrollbar in line with the
view after commands that move it, UTF-16 files, files with NUL bytes, and saving through a
link."""
import os
import time

from harness import Orvane, run, start_on, wait_until, wine_path
from scenarios_editor import dialog_enter, quit_with_ctrl_q, save_through_dialog, wait_bytes


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


def dismiss_box(app, title, *expected):
    """Waits for the message box titled exactly title, checks its text and closes it."""
    box = app.wait_window("^%s$" % title)
    text = app.window_texts(title)
    for part in expected:
        assert part in text, "%r not in %r" % (part, text)
    app.focus(box)
    app.key("Return")
    wait_until(lambda: not app.windows("^%s$" % title), 10)
    app.focus()


def scenario_files_utf16_opens_as_text_and_saves_back_in_its_order():
    for codec, mark in (("utf-16-le", b"\xff\xfe"), ("utf-16-be", b"\xfe\xff")):
        with Orvane() as app:
            text = "h\u00e9llo \U0001F600\r\nw\u00f6rld\r\n"
            path = start_on(app, "export.reg", mark + text.encode(codec))
            app.type("X")
            app.key("ctrl+s")
            wait_bytes(app, path, mark + ("X" + text).encode(codec))
            # F9: the line ends follow the mode, still in UTF-16.
            app.key("F9", "ctrl+s")
            wait_bytes(app, path, mark + ("X" + text).replace("\r\n", "\n").encode(codec))
            quit_with_ctrl_q(app)


def scenario_files_nul_bytes_are_pointed_out_and_never_saved_over():
    with Orvane() as app:
        binary = b"MZ\x90\x00\x03\x00\nsecond\x00line\n"
        path = os.path.join(app.folder, "tool.exe")
        with open(path, "wb") as f:
            f.write(binary)
        app.start(wine_path(path))
        dismiss_box(app, "Orvane", "The file holds NUL bytes:", "tool.exe", "will not save over this file")
        app.focus()
        app.type("x")
        app.key("ctrl+s")
        dismiss_box(app, "Orvane error", "Orvane will not save over the file:", "tool.exe", "Save as")
        assert app.read_bytes(path) == binary
        copy = os.path.join(app.folder, "copy.c")  # the dialog adds its ".c" to other names
        save_through_dialog(app, copy, "ctrl+shift+s")
        wait_bytes(app, copy, b"xMZ\x90\r\nsecond\r\n")
        app.wait_title(r"^Orvane - copy\.c$")
        # The document is now the copy: Ctrl+S saves it there.
        app.type("y")
        app.key("ctrl+s")
        wait_bytes(app, copy, b"xyMZ\x90\r\nsecond\r\n")
        assert app.read_bytes(path) == binary
        quit_with_ctrl_q(app)


def scenario_files_saving_through_links_keeps_them():
    with Orvane() as app:
        shared = os.path.join(app.folder, "shared")
        home = os.path.join(app.folder, "home")
        os.makedirs(shared)
        os.makedirs(home)
        with open(os.path.join(shared, "config.ini"), "wb") as f:
            f.write(b"key=1\r\n")
        os.symlink("../shared/config.ini", os.path.join(home, "config.ini"))
        os.link(os.path.join(shared, "config.ini"), os.path.join(shared, "second-name.ini"))
        app.start(wine_path(os.path.join(home, "config.ini")))
        app.focus()
        app.type("#")
        app.key("ctrl+s")
        # The link stays a link, and the file it leads to (and that file's other name) has the text.
        wait_bytes(app, os.path.join(shared, "config.ini"), b"#key=1\r\n")
        assert os.path.islink(os.path.join(home, "config.ini"))
        assert app.read_bytes(os.path.join(shared, "second-name.ini")) == b"#key=1\r\n"
        assert os.path.samefile(os.path.join(shared, "config.ini"), os.path.join(shared, "second-name.ini"))
        assert sorted(os.listdir(shared)) == ["config.ini", "second-name.ini"], os.listdir(shared)
        assert sorted(os.listdir(home)) == ["config.ini"], os.listdir(home)
        quit_with_ctrl_q(app)
