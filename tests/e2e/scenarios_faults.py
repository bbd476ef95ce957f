"""What the program does when the disk or the file system lets it down: saves that fail at
every stage and loads that cannot finish. The file on disk never changes, the user is told,
and the text stays open and unsaved."""
import errno
import glob
import os
import shutil
import stat
import time

from harness import Orvane, start_on, wait_until, wine_path

ERROR_TITLE = "^Orvane error$"


def dismiss_error(app, *expected):
    """Waits for the error box, checks its text and closes it."""
    box = app.wait_window(ERROR_TITLE)
    text = app.window_texts("Orvane error")
    for part in expected:
        assert part in text, "%r not in %r" % (part, text)
    app.focus(box)
    app.key("Return")
    wait_until(lambda: not app.windows(ERROR_TITLE), 10)
    app.focus()
    return text


def leftovers(folder, keep):
    return sorted(set(os.listdir(folder)) - set(keep))


def quit_with_ctrl_q(app):
    app.focus()
    app.key("ctrl+q")
    assert app.wait_exit() == 0


def scenario_a_save_to_a_full_device_is_reported_and_the_text_stays_unsaved():
    with Orvane() as app:
        # Wine shows the host's /dev/full on drive Z:; it reads as an empty file.
        app.start("Z:\\dev\\full")
        app.focus()
        app.type("x")
        app.wait_title(r"^Orvane - \*full$")
        app.key("ctrl+s")
        dismiss_error(app, "Orvane could not save the file:", "full", "Your text is still open and unsaved.")
        assert stat.S_ISCHR(os.stat("/dev/full").st_mode), "the device was replaced"
        app.wait_title(r"^Orvane - \*full$")
        quit_with_ctrl_q(app)


def scenario_a_save_into_a_removed_folder_is_reported_and_creates_nothing():
    with Orvane() as app:
        folder = os.path.join(app.folder, "project")
        os.makedirs(folder)
        path = os.path.join(folder, "main.c")
        with open(path, "wb") as f:
            f.write(b"int main;\n")
        app.start(wine_path(path))
        app.focus()
        app.type("y")
        app.wait_title(r"^Orvane - \*main\.c$")
        shutil.rmtree(folder)
        app.key("ctrl+s")
        # The file is gone since it was read: Orvane asks first; saving anyway fails.
        question = app.wait_window("^Orvane$")
        assert "Save over it?" in app.window_texts("Orvane")
        app.focus(question)
        app.key("y")
        dismiss_error(app, "Orvane could not save the file:", "main.c")
        assert not os.path.exists(folder)
        app.wait_title(r"^Orvane - \*main\.c$")
        quit_with_ctrl_q(app)


def scenario_a_read_only_file_is_not_replaced():
    with Orvane() as app:
        path = start_on(app, "readme.txt", b"original\n")
        os.chmod(path, 0o444)
        try:
            app.type("z")
            app.key("ctrl+s")
            dismiss_error(app, "Orvane could not save the file:", "readme.txt")
            assert app.read_bytes(path) == b"original\n"
            assert leftovers(app.folder, ["readme.txt", "orvane"]) == []
            app.wait_title(r"^Orvane - \*readme\.txt$")
            quit_with_ctrl_q(app)
        finally:
            os.chmod(path, 0o644)


def scenario_a_disk_filling_half_way_leaves_the_file_and_no_temporary_file():
    with Orvane() as app:
        original = b"".join(b"line %06d of a file larger than the room left on the disk\r\n" % i
                            for i in range(100000))  # about 6 MB
        path = os.path.join(app.folder, "big.txt")
        with open(path, "wb") as f:
            f.write(original)
        app.start(wine_path(path), file_limit_kb=2048)
        app.focus()
        app.type("q")
        app.wait_title(r"^Orvane - \*big\.txt$")
        app.key("ctrl+s")
        dismiss_error(app, "Orvane could not save the file:", "big.txt")
        assert app.read_bytes(path) == original
        assert leftovers(app.folder, ["big.txt", "orvane"]) == []
        app.wait_title(r"^Orvane - \*big\.txt$")
        quit_with_ctrl_q(app)


def unreadable_file():
    """A file that opens and reports a size but answers every read with an I/O error: the
    kernel's runtime power attribute of a device that has none."""
    for path in ["/sys/devices/software/power/autosuspend_delay_ms"] + sorted(
            glob.glob("/sys/devices/*/power/autosuspend_delay_ms")):
        try:
            with open(path, "rb") as f:
                f.read(1)
        except OSError as error:
            if error.errno == errno.EIO:
                return path
    return None


def scenario_a_file_that_cannot_be_read_leaves_the_open_document():
    path = unreadable_file()
    if path is None:
        print("        (no unreadable file on this machine: nothing to try)")
        return
    with Orvane() as app:
        start_on(app, "open.txt", b"first\n")
        app.type("w")
        app.wait_title(r"^Orvane - \*open\.txt$")
        app.key("ctrl+o")
        dialog = app.wait_window(r"^Open file$")
        app.focus(dialog)
        time.sleep(0.5)
        app.key("ctrl+a")
        # The file dialog wants a name with an extension; a link gives the file one.
        link = os.path.join(app.folder, "broken.txt")
        os.symlink(path, link)
        app.type(wine_path(link))
        app.key("Return")
        dismiss_error(app, "Orvane could not read the file:", "broken.txt", "The text you had open is unchanged.")
        app.wait_title(r"^Orvane - \*open\.txt$")
        app.key("ctrl+s")
        app.wait_title(r"^Orvane - open\.txt$")
        assert app.read_bytes(os.path.join(app.folder, "open.txt")) == b"wfirst\r\n"
        quit_with_ctrl_q(app)


def scenario_an_unreadable_file_on_the_command_line_is_reported_and_not_shown():
    path = unreadable_file()
    if path is None:
        print("        (no unreadable file on this machine: nothing to try)")
        return
    with Orvane() as app:
        app.start(wine_path(path), wait_title=None)
        box = app.wait_window(ERROR_TITLE)
        text = app.window_texts("Orvane error")
        assert "Orvane could not read the file:" in text and "autosuspend_delay_ms" in text, repr(text)
        app.focus(box)
        app.key("Return")
        # The truncated text is not shown under the file's name: a new, unnamed document is.
        app.window = app.wait_window(r"^Orvane - \*$")
        quit_with_ctrl_q(app)
