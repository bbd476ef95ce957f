"""Every window opens where it can be seen: on a screen smaller than the default window, and
with positions remembered on a monitor that is no longer there."""
import os
import shutil
import subprocess
import tempfile

from harness import Orvane, run, wait_until, wine_path

SMALL_SCREEN = (1366, 768)


def write_ini(app, **values):
    with open(app.data_file("orvane.ini"), "w") as f:
        f.write("[orvane]\n" + "".join("%s=%d\n" % item for item in values.items()))


class SmallScreen:
    """A screen of SMALL_SCREEN pixels for the length of a with block: its own Xvfb and its own
    wineserver, over a prefix that shares drive C with the main one, so that nothing of it
    outlives the block (a Wine virtual desktop would leave its size to the next programs)."""

    def __enter__(self):
        self.saved = dict(os.environ)
        self.prefix = tempfile.mkdtemp(prefix="orvane-small-screen-")
        main = os.environ["WINEPREFIX"]
        for name in ("system.reg", "user.reg", "userdef.reg", ".update-timestamp"):
            if os.path.exists(os.path.join(main, name)):
                shutil.copy(os.path.join(main, name), self.prefix)
        os.makedirs(os.path.join(self.prefix, "dosdevices"))
        os.symlink(os.path.join(main, "drive_c"), os.path.join(self.prefix, "dosdevices", "c:"))
        os.symlink("/", os.path.join(self.prefix, "dosdevices", "z:"))
        number = next(n for n in range(130, 200) if not os.path.exists("/tmp/.X11-unix/X%d" % n)
                      and not os.path.exists("/tmp/.X%d-lock" % n))
        self.xvfb = subprocess.Popen(["Xvfb", ":%d" % number, "-screen", "0", "%dx%dx24" % SMALL_SCREEN,
                                      "-nolisten", "tcp"], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        assert wait_until(lambda: os.path.exists("/tmp/.X11-unix/X%d" % number), 10), "Xvfb did not start"
        os.environ["DISPLAY"] = ":%d" % number
        os.environ["WINEPREFIX"] = self.prefix
        return self

    def __exit__(self, *exc):
        subprocess.run(["wineserver", "-k"], capture_output=True, timeout=60)
        subprocess.run(["wineserver", "-w"], capture_output=True, timeout=60)
        os.environ.clear()
        os.environ.update(self.saved)
        self.xvfb.kill()
        self.xvfb.wait()
        shutil.rmtree(self.prefix, ignore_errors=True)
        return False


def inside(rect, width, height):
    x, y, w, h = rect
    return x >= 0 and y >= 0 and x + w <= width and y + h <= height


def ini_rect(values, name, sized=True):
    keys = ("x", "y", "w", "h") if sized else ("x", "y")
    return tuple(int(values["%s_wnd_%s" % (name, k)]) for k in keys)


def screen_size():
    return tuple(int(v) for v in run("xdotool", "getdisplaygeometry").split())


def scenario_the_default_windows_fit_a_laptop_screen():
    with SmallScreen(), Orvane() as app:
        app.start()
        # The switch window's default height (900) is taller than this screen too.
        app.focus()
        app.key("ctrl+Tab")
        switch_window = app.wait_window("^Switch window$")
        switch = app.geometry(switch_window)
        main = app.geometry()
        app.focus(switch_window)
        app.key("Escape")
        assert wait_until(lambda: not app.windows("^Switch window$"), 5)
        app.focus_checked()
        app.key("ctrl+q")
        assert app.wait_exit() == 0
        values = app.ini_values()
        width, height = SMALL_SCREEN
        # The default 1120 x 900 moves up and shrinks only as far as the work area needs (all
        # of the screen here, or all but a taskbar); the switch window likewise.
        x, y, w, h = main
        assert (x, w) == (50, 1120) and inside(main, width, height) and h >= height - 64, main
        assert ini_rect(values, "main") == main, values
        assert inside(switch, width, height) and switch[2] == 400 and switch[3] >= height - 64, switch
        assert ini_rect(values, "switch") == switch, values


def scenario_windows_remembered_far_off_screen_open_on_it():
    with Orvane() as app:
        screen = screen_size()
        write_ini(app, main_wnd_x=5000, main_wnd_y=4000, main_wnd_w=700, main_wnd_h=500, about_wnd_x=-3000,
                  about_wnd_y=9000, find_wnd_x=99999, find_wnd_y=-99999, license_wnd_x=120, license_wnd_y=80)
        app.start()
        main = app.geometry()
        assert inside(main, *screen) and main[2:] == (700, 500), (main, screen)
        for keys, title in ((["ctrl+F1"], "About Orvane"), (["ctrl+f"], "Find"), (["alt+h", "l"], "Orvane license")):
            app.focus_checked()
            app.key(*keys)
            window = app.wait_window("^%s$" % title)
            assert inside(app.geometry(window), *screen), (title, app.geometry(window), screen)
        # A position that fits is used exactly as stored.
        license_window = app.windows("^Orvane license$")[0]
        assert app.geometry(license_window)[:2] == (120, 80), app.geometry(license_window)
        app.focus_checked()
        app.key("ctrl+q")
        assert app.wait_exit() == 0
        values = app.ini_values()
        assert inside(ini_rect(values, "main"), *screen), values
        assert ini_rect(values, "license", sized=False) == (120, 80), values
        for name in ("about", "find"):
            x, y = ini_rect(values, name, sized=False)
            assert 0 <= x < screen[0] and 0 <= y < screen[1], (name, values)
