"""Start-up, the main window, its placement, preference files and the Version box."""
import os
import re
import shutil
import subprocess
import time

from harness import ROOT, Orvane, run, wait_until, wine_path

EXPECTED = os.path.join(ROOT, "tests", "e2e", "expected")


def expected(name):
    with open(os.path.join(EXPECTED, name), "rb") as f:
        return f.read()


def lock_file(path):
    """Makes a file unwritable even for root: immutable where the file system allows it."""
    os.chmod(path, 0o444)
    if os.geteuid() == 0:
        result = subprocess.run(["chattr", "+i", path], capture_output=True)
        assert result.returncode == 0, "cannot make %s read-only as root: %s" % (path, result.stderr)
        return True
    return False


def unlock_file(path, immutable):
    if immutable:
        subprocess.run(["chattr", "-i", path], capture_output=True)
    os.chmod(path, 0o644)


def quit_with_ctrl_q(app):
    app.focus()
    app.key("ctrl+q")
    assert app.wait_exit() == 0


def scenario_quoted_path_with_spaces_names_the_title():
    with Orvane() as app:
        path = os.path.join(app.folder, "my notes file.txt")
        with open(path, "wb") as f:
            f.write(b"hello\r\nworld\r\n")
        # Wine quotes an argument that holds spaces, so the program sees "Z:\...\my notes file.txt".
        app.start(wine_path(path))
        # The window shows before the file is loaded into it: the title follows.
        app.wait_title(r"^Orvane - my notes file\.txt$")
        quit_with_ctrl_q(app)


def scenario_missing_file_starts_an_unnamed_document():
    with Orvane() as app:
        app.start(wine_path(os.path.join(app.folder, "does not exist.txt")))
        assert app.title() == "Orvane - *", app.title()
        quit_with_ctrl_q(app)


def scenario_preference_files_are_written_byte_for_byte():
    with Orvane() as app:
        app.start()
        assert app.read_bytes(app.data_file("preferences-default.txt")) == expected("preferences-default.txt")
        assert app.read_bytes(app.data_file("preferences.txt")) == expected("preferences.txt")
        quit_with_ctrl_q(app)
        # An existing user file is left alone; the default file is rewritten.
        with open(app.data_file("preferences.txt"), "wb") as f:
            f.write(b'{ "tab_size": 4 }\n')
        with open(app.data_file("preferences-default.txt"), "wb") as f:
            f.write(b"stale")
        app.start()
        assert app.read_bytes(app.data_file("preferences.txt")) == b'{ "tab_size": 4 }\n'
        assert app.read_bytes(app.data_file("preferences-default.txt")) == expected("preferences-default.txt")
        quit_with_ctrl_q(app)


def scenario_broken_preferences_show_the_parse_error_then_start():
    with Orvane() as app:
        with open(app.data_file("preferences.txt"), "wb") as f:
            f.write(b'{\n  "crlf": true,\n}\n')
        app.start(wait_title=None)
        box = app.wait_window("^Orvane: preferences parse error found$")
        text = app.window_texts("Orvane: preferences parse error found")
        assert "\nParse error before: " in "\n" + text, repr(text)
        assert "preferences.txt\n\nPress OK to try load the default file:\n\n" in text, repr(text)
        assert text.rstrip().endswith("preferences-default.txt"), repr(text)
        app.focus(box)
        app.key("Return")
        app.window = app.wait_window(r"^Orvane - ")
        assert app.title() == "Orvane - *"
        quit_with_ctrl_q(app)


def scenario_placement_is_written_on_exit_and_restored():
    with Orvane() as app:
        with open(app.data_file("orvane.ini"), "w") as f:
            f.write("[orvane]\nmain_wnd_x=120\nmain_wnd_y=90\nmain_wnd_w=700\nmain_wnd_h=500\n")
        app.start()
        x, y, w, h = app.geometry()
        assert (w, h) == (700, 500) or abs(w - 700) <= 16, (x, y, w, h)
        quit_with_ctrl_q(app)
        values = app.ini_values()
        assert values["main_wnd_maximized"] == "0", values
        assert (values["main_wnd_x"], values["main_wnd_y"]) == ("120", "90"), values
        assert (values["main_wnd_w"], values["main_wnd_h"]) == ("700", "500"), values


def scenario_maximized_state_is_kept_and_normal_rect_untouched():
    with Orvane() as app:
        with open(app.data_file("orvane.ini"), "w") as f:
            f.write("[orvane]\nmain_wnd_x=130\nmain_wnd_y=100\nmain_wnd_w=640\nmain_wnd_h=480\nmain_wnd_maximized=1\n")
        app.start()
        x, y, w, h = app.geometry()
        screen_w = int(run("xdotool", "getdisplaygeometry").split()[0])
        assert w >= screen_w - 16, (x, y, w, h)
        quit_with_ctrl_q(app)
        values = app.ini_values()
        assert values["main_wnd_maximized"] == "1", values
        assert values["main_wnd_w"] == "640" and values["main_wnd_x"] == "130", values


def scenario_version_box_shows_build_time_and_revision():
    with Orvane() as app:
        app.start()
        app.focus()
        app.key("ctrl+F3")
        box = app.wait_window("^Version details$")
        text = app.window_texts("Version details")
        app.focus(box)
        app.key("Return")
        assert re.search(r"Orvane version: 1\.04 \(x64\)\s+Build timestamp: [A-Z][a-z]{2} [ \d]\d \d{4} "
                         r"\d\d:\d\d:\d\d\s+Git commit: [0-9a-f]{40}", text), repr(text)
        quit_with_ctrl_q(app)


def scenario_roaming_data_folder_without_portable():
    prefix = os.environ["WINEPREFIX"]
    users = os.path.join(prefix, "drive_c", "users")
    roaming = [os.path.join(users, u, "AppData", "Roaming", "Orvane") for u in os.listdir(users)]
    for folder in roaming:
        shutil.rmtree(folder, ignore_errors=True)
    try:
        with Orvane(portable=False) as app:
            app.start()
            quit_with_ctrl_q(app)
            made = [f for f in roaming if os.path.exists(os.path.join(f, "preferences-default.txt"))]
            assert made, "no preferences in %s" % roaming
            assert os.path.exists(os.path.join(made[0], "orvane.ini"))
            assert not os.path.exists(app.data_folder)
    finally:
        for folder in roaming:
            shutil.rmtree(folder, ignore_errors=True)


def scenario_failed_save_is_reported_and_keeps_the_document_unsaved():
    with Orvane() as app:
        path = os.path.join(app.folder, "locked.txt")
        with open(path, "wb") as f:
            f.write(b"keep me\n")
        locked = lock_file(path)
        try:
            app.start(wine_path(path))
            app.focus()
            app.key("ctrl+s")
            box = app.wait_window("^Orvane error$")
            text = app.window_texts("Orvane error")
            app.focus(box)
            app.key("Return")
            assert "Orvane could not save the file:" in text and "locked.txt" in text, repr(text)
            assert "Your text is still open and unsaved." in text, repr(text)
            assert app.read_bytes(path) == b"keep me\n"
            quit_with_ctrl_q(app)
        finally:
            unlock_file(path, locked)


def scenario_both_preference_files_broken_shows_one_box_and_exits():
    with Orvane() as app:
        with open(app.data_file("preferences.txt"), "wb") as f:
            f.write(b"{ broken")
        default = app.data_file("preferences-default.txt")
        with open(default, "wb") as f:
            f.write(b"[ also broken")
        locked = lock_file(default)  # so start-up cannot rewrite it
        try:
            app.start(wait_title=None)
            box = app.wait_window("^Orvane: preferences parse error found$")
            app.focus(box)
            app.key("Return")
            app.wait_exit()
            assert not app.windows(r"^Orvane - "), "a main window appeared"
        finally:
            unlock_file(default, locked)
