"""Drives the real orvane.exe under Wine on an X display: starts it in a folder of its own
(with a "portable" data folder unless asked otherwise), finds its windows by title, injects
real key presses and clicks through XTEST, reads titles and takes screenshots.

Runs inside scripts/with-wine.sh, which provides DISPLAY and WINEPREFIX."""
import os
import re
import shutil
import subprocess
import tempfile
import time

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
BUILD = os.path.join(ROOT, "build", "win64")


def run(*args, check=True, timeout=30):
    return subprocess.run(args, check=check, timeout=timeout, capture_output=True, text=True).stdout


def wine_path(path):
    """The Wine (drive Z:) form of a Linux path."""
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def wait_until(predicate, timeout=15.0, interval=0.1):
    end = time.time() + timeout
    while time.time() < end:
        value = predicate()
        if value:
            return value
        time.sleep(interval)
    return predicate()


class Screenshot:
    """The whole screen as RGB pixels."""

    def __init__(self, path=None):
        xwd = subprocess.run(["xwd", "-root", "-silent"], check=True, capture_output=True, timeout=30).stdout
        ppm = subprocess.run(["convert", "xwd:-", "ppm:-"], input=xwd, check=True, capture_output=True, timeout=30).stdout
        if path:
            subprocess.run(["convert", "xwd:-", path], input=xwd, check=True, timeout=30)
        self._parse(ppm)

    def _parse(self, ppm):
        fields = []
        pos = 0
        while len(fields) < 4:
            while ppm[pos:pos + 1].isspace():
                pos += 1
            if ppm[pos:pos + 1] == b"#":
                pos = ppm.index(b"\n", pos) + 1
                continue
            end = pos
            while not ppm[end:end + 1].isspace():
                end += 1
            fields.append(ppm[pos:end])
            pos = end
        assert fields[0] == b"P6" and fields[3] == b"255", "unexpected screenshot format"
        self.width, self.height = int(fields[1]), int(fields[2])
        self.data = ppm[pos + 1:]

    def pixel(self, x, y):
        """0xRRGGBB at screen (x, y)."""
        i = (y * self.width + x) * 3
        r, g, b = self.data[i], self.data[i + 1], self.data[i + 2]
        return (r << 16) | (g << 8) | b

    def count(self, left, top, right, bottom, predicate):
        """How many pixels of the rectangle satisfy predicate(rgb)."""
        n = 0
        for y in range(max(top, 0), min(bottom, self.height)):
            for x in range(max(left, 0), min(right, self.width)):
                if predicate(self.pixel(x, y)):
                    n += 1
        return n


class Orvane:
    """One running orvane.exe in its own folder. Use as a context manager: the process and
    everything it opened are stopped on exit."""

    def __init__(self, portable=True, name="orvane", installed=None):
        """installed: the folder of an orvane.exe put there otherwise (an installer, an
        archive); it is used as it is."""
        self.folder = tempfile.mkdtemp(prefix="orvane-e2e-")
        self.process = None
        self.window = None
        if installed:
            self.exe_folder = installed
            self.data_folder = os.path.join(installed, "portable")
            return
        self.exe_folder = os.path.join(self.folder, name)
        os.makedirs(self.exe_folder)
        shutil.copy(os.path.join(BUILD, "orvane.exe"), self.exe_folder)
        for item in ("documentation.txt", "changelog.txt", "license.txt", "skin"):
            source = os.path.join(BUILD, item)
            if os.path.isdir(source):
                shutil.copytree(source, os.path.join(self.exe_folder, item))
            elif os.path.exists(source):
                shutil.copy(source, self.exe_folder)
        self.data_folder = os.path.join(self.exe_folder, "portable")
        if portable:
            os.makedirs(self.data_folder)
        self.process = None
        self.window = None

    # Life cycle ---------------------------------------------------------------------------
    def start(self, command_line=None, wait_title=r"^Orvane - ", file_limit_kb=None):
        """Starts orvane.exe; command_line is passed as the raw Windows command line tail.
        file_limit_kb: no file the program writes may grow past this size (writes beyond
        fail as on a full disk)."""
        exe = wine_path(os.path.join(self.exe_folder, "orvane.exe"))
        # "wine start /unix" would reparse; a batch-free way to pass a raw tail is cmd-less:
        # wine quotes each argv entry that has spaces, so pass the tail as one argument only
        # when it is already quoted by the caller.
        args = ["wine", exe]
        if command_line is not None:
            args.append(command_line)
        if file_limit_kb is not None:
            # A wineserver started under the limit would carry it; one is left running first.
            subprocess.run(["wineserver", "-p", "60"], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            args = ["bash", "-c", 'ulimit -f %d; trap "" XFSZ; exec "$@"' % file_limit_kb, "bash"] + args
        # Windows of other instances already running are not this one's.
        existing = set(self.windows(".")) if wait_title else set()
        # ORVANE_E2E_STDERR=FILE keeps what Wine says about the program, for debugging.
        stderr = open(os.environ["ORVANE_E2E_STDERR"], "w") if os.environ.get("ORVANE_E2E_STDERR") else subprocess.DEVNULL
        self.process = subprocess.Popen(args, cwd=self.folder, stdout=subprocess.DEVNULL, stderr=stderr)
        if wait_title:
            self.window = self.wait_window(wait_title, exclude=existing)
        return self

    def wait_window(self, title_regex, timeout=20.0, exclude=()):
        """The X id of a visible top-level window whose title matches."""
        def find():
            for wid in self.windows(title_regex):
                if wid not in exclude:
                    return wid
            return None
        wid = wait_until(find, timeout)
        if not wid:
            raise AssertionError("no window titled /%s/ appeared; open: %s" % (title_regex, self.all_titles()))
        return wid

    def windows(self, title_regex):
        out = run("xdotool", "search", "--onlyvisible", "--name", title_regex, check=False)
        return [w for w in out.split()]

    def all_titles(self):
        out = run("xdotool", "search", "--onlyvisible", "--name", ".", check=False)
        return [self.title(w) for w in out.split()]

    def title(self, wid=None):
        return run("xdotool", "getwindowname", str(wid or self.window), check=False).strip()

    def wait_title(self, regex, timeout=10.0):
        ok = wait_until(lambda: re.search(regex, self.title()), timeout)
        if not ok:
            raise AssertionError("title %r never matched /%s/" % (self.title(), regex))

    def exited(self):
        return self.process is not None and self.process.poll() is not None

    def wait_exit(self, timeout=15.0):
        if not wait_until(self.exited, timeout):
            raise AssertionError("orvane.exe did not exit")
        return self.process.returncode

    def stop(self):
        if self.process and self.process.poll() is None:
            self.process.kill()
            try:
                self.process.wait(timeout=10)
            except subprocess.TimeoutExpired:
                pass

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.stop()
        shutil.rmtree(self.folder, ignore_errors=True)
        return False

    # Input ----------------------------------------------------------------------------------
    def focus(self, wid=None):
        run("xdotool", "windowactivate", "--sync", str(wid or self.window), check=False)
        run("xdotool", "windowfocus", "--sync", str(wid or self.window), check=False)
        time.sleep(0.2)

    def focus_checked(self, tries=5):
        """Focuses the main window until Windows agrees it is the foreground window; with
        several instances running a first attempt can land while another one is starting,
        and with windows of its own open a click in its lower right part does it."""
        for attempt in range(tries):
            if attempt % 2:
                x, y, w, h = self.geometry()
                self.click(w - 60, h - 60)
            else:
                self.focus()
            if self.foreground_title() == self.title():
                return
            time.sleep(0.5)
        raise AssertionError("could not focus %r (foreground: %r)" % (self.title(), self.foreground_title()))

    def activate(self, wid=None):
        """Activates a window without also giving it the X focus, which would deactivate a
        window that Windows already brought to the front."""
        run("xdotool", "windowactivate", "--sync", str(wid or self.window), check=False)
        time.sleep(0.2)

    def key(self, *keys, delay_ms=60):
        """Real key presses through XTEST, e.g. key("ctrl+s"), key("Return")."""
        run("xdotool", "key", "--delay", str(delay_ms), *keys)
        time.sleep(0.3)

    def type(self, text, delay_ms=40):
        run("xdotool", "type", "--delay", str(delay_ms), text, timeout=120)
        time.sleep(0.3)

    def click(self, x, y, button=1, wid=None):
        """Clicks at (x, y) relative to the window's top-left corner."""
        run("xdotool", "mousemove", "--window", str(wid or self.window), str(x), str(y), "click", str(button))
        time.sleep(0.3)

    def geometry(self, wid=None):
        """(x, y, width, height) of the window on screen."""
        out = run("xdotool", "getwindowgeometry", "--shell", str(wid or self.window))
        values = dict(line.split("=", 1) for line in out.split())
        return int(values["X"]), int(values["Y"]), int(values["WIDTH"]), int(values["HEIGHT"])

    def probe(self, *args):
        """Runs tests/e2e/probe_win32.cpp's helper; answers (exit status, output)."""
        probe = os.path.join(BUILD, "e2e_probe.exe")
        out = subprocess.run(["wine", probe] + [str(a) for a in args], capture_output=True, timeout=30)
        return out.returncode, out.stdout.decode("utf-8", "replace").replace("\r\n", "\n")

    def window_texts(self, title):
        """The texts of the child windows of the top-level window with exactly this title
        (a message box's text among them)."""
        return self.probe("text", title)[1]

    def foreground_title(self):
        """The title of the window that has the activation, as Windows sees it."""
        return self.probe("foreground")[1].strip()

    def screenshot(self, path=None):
        return Screenshot(path)

    # Files --------------------------------------------------------------------------------
    def data_file(self, name):
        return os.path.join(self.data_folder, name)

    def read_bytes(self, path):
        with open(path, "rb") as f:
            return f.read()

    def ini_values(self):
        """The orvane section of orvane.ini as a dict of strings."""
        values = {}
        path = self.data_file("orvane.ini")
        if not os.path.exists(path):
            return values
        section = None
        with open(path, "rb") as f:
            for raw in f.read().decode("utf-8", "replace").splitlines():
                line = raw.strip()
                if line.startswith("[") and line.endswith("]"):
                    section = line[1:-1].lower()
                elif "=" in line and section == "orvane":
                    k, v = line.split("=", 1)
                    values[k.strip()] = v.strip()
        return values


def start_on(app, name, content=b""):
    """Writes a file into the scenario's folder and starts Orvane on it, focused; returns its path."""
    path = os.path.join(app.folder, name)
    with open(path, "wb") as f:
        f.write(content)
    app.start(wine_path(path))
    app.focus()
    return path
