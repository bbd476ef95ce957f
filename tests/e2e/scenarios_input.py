"""What reaches the document from the keyboard, and how the main window answers the system:
characters beyond the Basic Multilingual Plane, shortcuts without a command, the file
dialogs giving the activation back, WM_CLOSE, WM_ENDSESSION and WM_DPICHANGED."""
import os
import time

from harness import Orvane, start_on, wait_until

WM_CLOSE = 0x0010
WM_ENDSESSION = 0x0016
WM_CHAR = 0x0102
EDITOR_ID = 1003


def save_and_read(app, path):
    app.key("ctrl+s")
    app.wait_title(r"^Orvane - [^*]")
    return app.read_bytes(path)


def scenario_a_character_beyond_the_bmp_is_saved_as_one_utf8_character():
    with Orvane() as app:
        path = start_on(app, "emoji.txt")
        app.type("a\U0001F600b")
        data = save_and_read(app, path)
        if data == b"ab\r\n":
            # This X server's keyboard could not type the character: send the two halves as
            # the window gets them from a real keyboard.
            app.key("End")
            app.probe("child", app.title(), EDITOR_ID, WM_CHAR, 0xD83D, 1)
            app.probe("child", app.title(), EDITOR_ID, WM_CHAR, 0xDE00, 1)
            time.sleep(0.3)
            data = save_and_read(app, path)
            assert data == b"ab\xf0\x9f\x98\x80\r\n", data
        else:
            assert data == b"a\xf0\x9f\x98\x80b\r\n", data


def scenario_shortcuts_without_a_command_insert_nothing():
    with Orvane() as app:
        path = start_on(app, "ctrl.txt")
        app.type("a")
        app.key("ctrl+b", "ctrl+e", "ctrl+k", "ctrl+t", "ctrl+Return")
        app.type("b")
        assert save_and_read(app, path) == b"ab\r\n", app.read_bytes(path)


def scenario_the_open_dialog_gives_the_activation_back():
    with Orvane() as app:
        start_on(app, "dialog.txt", b"x\r\n")
        title = app.title()
        app.key("ctrl+o")
        dialog = app.wait_window(r"^Open file$")
        app.focus(dialog)
        app.key("Escape")
        wait_until(lambda: not app.windows(r"^Open file$"), 10)
        assert wait_until(lambda: app.foreground_title() == title, 5), app.foreground_title()
        # Typing goes on in the document.
        app.type("y")
        app.wait_title(r"^Orvane - \*dialog\.txt$")


def scenario_wm_close_closes_like_the_close_box_and_writes_the_placement():
    with Orvane() as app:
        start_on(app, "close.txt")
        status, _ = app.probe("post", app.title(), WM_CLOSE, 0)
        assert status == 0
        assert app.wait_exit() == 0
        values = app.ini_values()
        assert "main_wnd_w" in values and values.get("main_wnd_maximized") == "0", values


def scenario_the_end_of_the_session_writes_the_placement():
    with Orvane() as app:
        start_on(app, "session.txt")
        assert not os.path.exists(app.data_file("orvane.ini")) or "main_wnd_w" not in app.ini_values()
        app.probe("send", app.title(), WM_ENDSESSION, 1)
        values = app.ini_values()
        assert values.get("main_wnd_w") and values.get("main_wnd_maximized") == "0", values


def scenario_a_dpi_change_applies_the_suggested_rectangle():
    with Orvane() as app:
        start_on(app, "dpi.txt", b"".join(b"line %d\r\n" % i for i in range(100)))
        status, _ = app.probe("dpichanged", app.title(), 144, 60, 70, 900, 640)
        assert status == 0
        assert wait_until(lambda: app.geometry() == (60, 70, 900, 640), 5), app.geometry()
        # The editor was laid out again: it reaches the new bottom-right corner.
        time.sleep(0.5)
        shot = app.screenshot()
        assert shot.pixel(60 + 900 - 60, 70 + 640 - 60) == 0x000000, hex(shot.pixel(60 + 840, 70 + 580))
        app.focus()
        app.key("ctrl+q")
        assert app.wait_exit() == 0

