"""The auxiliary windows: about, licence and switch."""
import os
import time

from harness import Orvane, wait_until, wine_path

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
