"""The auxiliary windows: about, licence and switch."""
import os
import time

from harness import Orvane, run, wait_until, wine_path

EM_GETSEL = 0x00B0
WM_GETTEXTLENGTH = 0x000E
SWITCH_LIST = 1017
LICENSE_TEXT = 1002


def scenario_about_opens_once_and_animates():
    with Orvane() as app:
        app.start()
        app.focus()
        app.key("ctrl+F1")
        about = app.wait_window(r"^About Orvane$")
        app.focus()
        app.key("ctrl+F1")  # a second press only focuses it
        time.sleep(0.5)
        assert len(app.windows(r"^About Orvane$")) == 1
        x, y, w, h = app.geometry(about)
        assert (w, h) == (630, 210), (w, h)
        first = app.screenshot()
        time.sleep(1.0)
        second = app.screenshot()
        changed = sum(1 for yy in range(y + 30, y + h, 2) for xx in range(x, x + w, 2)
                      if first.pixel(xx, yy) != second.pixel(xx, yy))
        assert changed > 50, changed
        # The text is silver on black.
        silver = second.count(x, y + 30, x + w, y + h, lambda p: p == 0xC0C0C0)
        assert silver > 20, silver
        app.focus(about)
        app.key("Escape")
        wait_until(lambda: not app.windows(r"^About Orvane$"), 5)
        values = app.ini_values()
        assert values.get("about_wnd_x") == str(x) and values.get("about_wnd_y") == str(y), values


def scenario_licence_shows_the_text_with_nothing_selected():
    with Orvane() as app:
        app.start()
        app.focus()
        app.key("alt+h")
        app.key("l")
        box = app.wait_window(r"^Orvane license$")
        # The whole file is in the control (its text cannot be read from another process).
        _, length = app.probe("ask", "Orvane license", LICENSE_TEXT, WM_GETTEXTLENGTH, 0, 0)
        assert int(length) == len(open(os.path.join(app.exe_folder, "license.txt"), "rb").read()), length
        _, answer = app.probe("ask", "Orvane license", LICENSE_TEXT, EM_GETSEL, 0, 0)
        start, end = int(answer) & 0xFFFF, int(answer) >> 16
        assert start == end == 0, (start, end)
        shot = app.screenshot()
        x, y, w, h = app.geometry(box)
        assert (w, h) == (400, 400), (w, h)
        assert shot.count(x + 20, y + 60, x + 200, y + 200, lambda p: p == 0xFFFFFF) > 1000
        app.focus(box)
        app.key("Escape")
        wait_until(lambda: not app.windows(r"^Orvane license$"), 5)
        assert "license_wnd_x" in app.ini_values()


def scenario_switch_lists_every_instance_sorted_and_brings_the_choice_forward():
    apps = [Orvane(name=n) for n in ("b", "a", "c")]
    try:
        for app, name in zip(apps, ("b.txt", "A.txt", "c.txt")):
            path = os.path.join(app.folder, name)
            open(path, "wb").close()
            app.start(wine_path(path))
        b, a, c = apps
        c.focus_checked()
        c.key("ctrl+Tab")
        window = c.wait_window(r"^Switch window$")
        c.focus()
        c.key("ctrl+Tab")  # a second press only focuses the open one
        assert len(c.windows(r"^Switch window$")) == 1
        _, rows = c.probe("rows", "Switch window", SWITCH_LIST)
        assert rows.split() == ["A.txt", "b.txt", "c.txt"], rows
        c.focus(window)
        # The first row is selected: Enter alone brings A.txt's window to the front.
        c.key("Return")
        wait_until(lambda: not c.windows(r"^Switch window$"), 5)
        assert wait_until(lambda: a.foreground_title() == "Orvane - A.txt", 5), repr(a.foreground_title())
        values = c.ini_values()
        assert values.get("switch_wnd_w") == "400" and values.get("switch_wnd_h") == "900", values
    finally:
        for app in apps:
            app.__exit__(None, None, None)


def scenario_preferences_edit_check_save_and_reopen():
    with Orvane() as app:
        app.start()
        user = app.data_file("preferences.txt")
        skeleton = app.read_bytes(user)
        app.focus()
        app.key("ctrl+p")
        window = app.wait_window(r"^Orvane preferences$")
        app.focus(window)
        time.sleep(0.5)
        # The right pane has the focus: a line typed after the comment.
        app.key("Down", "End", "Return")
        app.type('"tab_size": 4')
        app.key("ctrl+s")
        expected = b'{\n  // Add your personal preferences here.\n  "tab_size": 4\n}\n'
        assert wait_until(lambda: app.read_bytes(user) == expected, 5), app.read_bytes(user)
        # Ctrl+Tab to the left pane: typing there changes nothing, Ctrl+S there saves nothing.
        app.key("ctrl+Tab")
        time.sleep(0.3)
        app.type("zz")
        app.key("Return", "ctrl+s")
        time.sleep(0.5)
        assert app.read_bytes(app.data_file("preferences-default.txt")).find(b"zz") < 0
        # Back to the right pane; without its closing brace the text is not saved.
        app.key("ctrl+Tab")
        time.sleep(0.3)
        app.key("ctrl+End", "BackSpace", "ctrl+s")
        time.sleep(0.8)
        assert app.read_bytes(user) == expected, app.read_bytes(user)
        # The message row of the right pane shows the parse error (black on cyan).
        x, y, w, h = app.geometry(window)
        shot = app.screenshot()
        cyan = shot.count(x + w // 2, y + h - 40, x + w, y + h, lambda p: p == 0x00C0C0)
        assert cyan > 200, cyan
        app.key("ctrl+w")
        wait_until(lambda: not app.windows(r"^Orvane preferences$"), 5)
        values = app.ini_values()
        assert values.get("preferences_wnd_w") == "1120" and values.get("preferences_wnd_h") == "720", values
        # Changed outside, the file shows as it is at the next opening.
        with open(user, "wb") as f:
            f.write(b'{\n  "crlf": false\n}\n')
        app.focus()
        app.key("ctrl+p")
        window = app.wait_window(r"^Orvane preferences$")
        app.focus(window)
        time.sleep(0.5)
        app.key("End")
        app.type(" ")
        app.key("ctrl+s")
        assert wait_until(lambda: app.read_bytes(user) == b'{ \n  "crlf": false\n}\n', 5), app.read_bytes(user)
        assert skeleton != app.read_bytes(user)


def scenario_changelog_is_read_only_and_searchable():
    with Orvane() as app:
        app.start()
        changelog = os.path.join(app.exe_folder, "changelog.txt")
        before = app.read_bytes(changelog)
        app.focus()
        app.key("ctrl+F2")
        window = app.wait_window(r"^Orvane changelog$")
        x, y, w, h = app.geometry(window)
        assert (w, h) == (620, 505), (w, h)
        app.focus(window)
        time.sleep(0.5)
        app.type("typed")
        app.key("Return", "Delete", "ctrl+v", "ctrl+s")
        # Find a word and copy the match: the system clipboard gets it.
        app.key("ctrl+f")
        app.type("Skinned")
        app.key("Return")
        time.sleep(0.3)
        app.key("ctrl+c")
        time.sleep(0.5)
        clip = run("xclip", "-o", "-selection", "clipboard", check=False)
        assert clip == "Skinned", repr(clip)
        assert app.read_bytes(changelog) == before
        app.key("ctrl+w")
        wait_until(lambda: not app.windows(r"^Orvane changelog$"), 5)
        assert "changelog_wnd_x" in app.ini_values()
        # Ctrl+W closed it for good: the command opens a fresh one.
        app.focus()
        app.key("ctrl+F2")
        app.wait_window(r"^Orvane changelog$")


def scenario_open_windows_close_with_the_main_window_and_remember_their_places():
    with Orvane() as app:
        app.start()
        for keys, title in ((["ctrl+F1"], "About Orvane"), (["ctrl+F2"], "Orvane changelog"),
                            (["ctrl+p"], "Orvane preferences"), (["ctrl+Tab"], "Switch window")):
            app.focus_checked()
            app.key(*keys)
            app.wait_window("^%s$" % title)
        app.focus_checked()
        app.key("ctrl+q")
        assert app.wait_exit() == 0
        values = app.ini_values()
        for key in ("about_wnd_x", "changelog_wnd_y", "preferences_wnd_w", "switch_wnd_h", "main_wnd_w"):
            assert key in values, (key, values)
