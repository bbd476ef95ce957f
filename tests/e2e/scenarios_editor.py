"""The editor window: typing and editing keys, saving, find/replace/go-to dialogs, mouse,
wheel, full screen and what the painted window shows."""
import os
import time

from harness import Orvane, run, wait_until, wine_path

BACKGROUND = 0x203040
ACCENT = 0x8080FF


def quit_with_ctrl_q(app):
    app.focus()
    app.key("ctrl+q")
    assert app.wait_exit() == 0


def wait_bytes(app, path, expected, timeout=10.0):
    ok = wait_until(lambda: os.path.exists(path) and app.read_bytes(path) == expected, timeout)
    actual = app.read_bytes(path) if os.path.exists(path) else None
    assert ok, "%s holds %r, expected %r" % (path, actual, expected)


def save_through_dialog(app, path, shortcut="ctrl+s"):
    app.key(shortcut)
    dialog = app.wait_window(r"^Save file$")
    app.focus(dialog)
    time.sleep(0.5)
    app.key("ctrl+a")
    app.type(wine_path(path))
    app.key("Return")
    wait_until(lambda: not app.windows(r"^Save file$"), 10)
    app.focus()


def dialog_enter(app, title, *steps):
    """Opens nothing itself: waits for the dialog, types each step (a text or a key list) and returns."""
    box = app.wait_window("^%s$" % title)
    app.focus(box)
    for step in steps:
        if isinstance(step, str):
            app.type(step)
        else:
            app.key(*step)
    wait_until(lambda: not app.windows("^%s$" % title), 5)
    app.focus()


def scenario_editor_typing_editing_keys_and_saving():
    with Orvane() as app:
        app.start()
        app.focus()
        # The save dialog's default extension is ".c"; a name that has it is kept as typed.
        path = os.path.join(app.folder, "typed.c")
        app.type("one two")
        assert app.title() == "Orvane - *", app.title()
        app.key("Return")
        app.type("three")
        # Backspace at a line start joins; Enter splits again; Delete at a line end joins.
        app.key("Home", "BackSpace", "Return", "Up", "End", "Delete", "Return")
        # Word moves: from the end of "three" one word left is its start.
        app.key("End", "ctrl+Left")
        app.type("X")
        app.key("ctrl+Right")
        app.type("Y")
        # Shift+arrows select; copy, cut and paste through the private buffer.
        app.key("Home", "shift+End", "ctrl+c", "End")
        app.type(" ")
        app.key("ctrl+v", "Home", "shift+Right", "shift+Right", "ctrl+x", "End", "ctrl+v")
        # Insert toggles overwrite.
        app.key("Home", "Insert")
        app.type("H")
        app.key("Insert")
        app.type("i")
        # Tab indents with spaces; after F10 with tabs.
        app.key("End", "Return", "Tab")
        app.type("a")
        app.key("F10", "Tab")
        app.type("b")
        app.key("eacute")
        save_through_dialog(app, path)
        expected = b"one two\r\nHireeY XthreeYXt\r\n  a\t\tb\xc3\xa9\r\n"
        wait_bytes(app, path, expected)
        app.wait_title(r"^Orvane - typed\.c$")
        # F9 switches to LF; a save to the existing path needs no dialog.
        app.key("F9")
        app.type("!")
        app.wait_title(r"^Orvane - \*typed\.c$")
        app.key("ctrl+s")
        wait_bytes(app, path, expected.replace(b"\r\n", b"\n").replace(b"\xc3\xa9\n", b"\xc3\xa9!\n"))
        app.wait_title(r"^Orvane - typed\.c$")
        # Save as with a name typed without an extension: the dialog adds ".c".
        save_through_dialog(app, os.path.join(app.folder, "plain"), "ctrl+shift+s")
        wait_bytes(app, os.path.join(app.folder, "plain.c"), app.read_bytes(path))
        app.wait_title(r"^Orvane - plain\.c$")
        quit_with_ctrl_q(app)


def scenario_editor_find_replace_and_goto_dialogs():
    with Orvane() as app:
        path = os.path.join(app.folder, "find.txt")
        with open(path, "wb") as f:
            f.write(b"alpha needle\r\nbeta\r\nxx needle gamma\r\nyy needle delta\r\n")
        app.start(wine_path(path))
        app.focus()
        app.key("ctrl+f")
        app.focus()
        app.key("ctrl+f")  # a second press focuses the open dialog
        assert len(app.windows("^Find$")) == 1
        dialog_enter(app, "Find", "needle", ["Return"])
        app.key("F3", "F3", "shift+F3", "Right")
        app.type("#")
        app.key("ctrl+r")
        dialog_enter(app, "Replace", "needle", ["Tab"], "pin", ["ctrl+Return"])
        app.key("ctrl+g")
        dialog_enter(app, "Goto line", "2", ["Return"])
        app.key("Home")
        app.type("@")
        app.key("ctrl+shift+g")
        dialog_enter(app, "Goto line offset", "2", ["Return"])
        app.key("Home")
        app.type("%")
        app.key("ctrl+s")
        wait_bytes(app, path, b"alpha pin\r\n@beta\r\nxx n#eedle gamma\r\n%yy pin delta\r\n")
        values = app.ini_values()
        assert values.get("find_wnd_x") == "0" and values.get("find_wnd_y") == "50", values
        assert values.get("goto_wnd_y") == "50", values
        quit_with_ctrl_q(app)


def editor_origin(shot, x, y, w, h):
    """Screen position of the editor's top-left pixel: 7 pixels inside the margin strips."""
    mid = x + w // 2
    top = next(yy for yy in range(y, y + h) if shot.pixel(mid, yy) == BACKGROUND)
    left = next(xx for xx in range(x, x + w) if shot.pixel(xx, top + 20) == BACKGROUND)
    return left + 7, top + 7


def row_pitch(shot, ex, ey, width):
    """The row pitch from the line-number rules (rows separated by a faint full-width line)."""
    rules = [yy for yy in range(ey, ey + 200)
             if shot.pixel(ex + 3, yy) != BACKGROUND and shot.pixel(ex + width // 4, yy) != BACKGROUND]
    assert len(rules) >= 2, rules
    return rules[1] - rules[0], rules[0] - ey


def is_accentish(rgb):
    r, g, b = rgb >> 16, (rgb >> 8) & 0xFF, rgb & 0xFF
    return b > 0x90 and b > r + 0x20


def scenario_editor_paints_mouse_wheel_and_full_screen():
    with Orvane() as app:
        with open(app.data_file("preferences.txt"), "w") as f:
            f.write('{ "background_color": "203040", "show_whitespace": false }\n')
        path = os.path.join(app.folder, "many.txt")
        with open(path, "wb") as f:
            f.write(b"".join(b"line %d\r\n" % i for i in range(200)))
        app.start(wine_path(path))
        app.focus()
        time.sleep(0.5)
        x, y, w, h = app.geometry()
        shot = app.screenshot()
        ex, ey = editor_origin(shot, x, y, w, h)
        # The strips and the empty area right of the text are the background colour.
        assert shot.pixel(ex - 3, ey + 100) == BACKGROUND
        assert shot.pixel(ex + 300, ey - 3) == BACKGROUND
        assert shot.pixel(ex + 400, ey + 40) == BACKGROUND
        # The status text sits in the bottom-right corner in the accent colour.
        right, bottom = x + w - 40, y + h - 30
        status = shot.count(right - 150, bottom - 40, right, bottom + 20, is_accentish)
        assert status > 30, status

        # Line numbers: centred, on black, with a rule under every row.
        app.key("ctrl+l")
        time.sleep(0.4)
        shot = app.screenshot()
        numbers = shot.count(ex + w // 2 - 120, ey, ex + w // 2 + 60, ey + 60, lambda p: p == 0x000000)
        assert numbers > 50, numbers
        pitch, first_rule = row_pitch(shot, ex, ey, w)
        app.key("Escape")

        # A selection highlights the rows it covers.
        app.key("shift+Down", "shift+Down")
        time.sleep(0.4)
        shot = app.screenshot()
        assert shot.pixel(ex + 400, ey + 3) not in (BACKGROUND,), hex(shot.pixel(ex + 400, ey + 3))
        assert shot.pixel(ex + 400, ey + 2 * pitch + 3) == BACKGROUND
        app.key("Escape")

        # A click in row 3 right of the text puts the caret at that line's end.
        app.click(ex - x + 300, ey - y + 3 * pitch + pitch // 2)
        app.type("C")
        # The wheel scrolls ten lines a notch from the bar's position and puts the caret on the
        # new top line. (The two Shift+Down moves above nudged the thumb two lines on; the
        # commands since brought it back in line with the view, whose top is line 0.)
        run("xdotool", "mousemove", "--window", app.window, str(ex - x + 200), str(ey - y + 100), "click", "5")
        time.sleep(0.4)
        app.type("W")
        app.key("ctrl+s")
        wait_until(lambda: app.read_bytes(path).split(b"\r\n")[3] == b"line 3C", 5)
        lines = app.read_bytes(path).split(b"\r\n")
        assert lines[3] == b"line 3C", lines[:12]
        assert lines[10] == b"Wline 10", lines[:14]

        # F11 fills the screen and gives the window back.
        screen_w, screen_h = (int(v) for v in run("xdotool", "getdisplaygeometry").split())
        app.key("F11")
        wait_until(lambda: app.geometry()[2] >= screen_w, 5)
        assert app.geometry()[2] >= screen_w and app.geometry()[3] >= screen_h, app.geometry()
        app.key("F11")
        wait_until(lambda: app.geometry()[2] < screen_w, 5)
        assert app.geometry()[2] == w, (app.geometry(), w)
        quit_with_ctrl_q(app)
