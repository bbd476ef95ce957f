"""Undo and redo in the real program: typing, paste and replace-all taken back to the
file's own bytes, done again with Ctrl+Y, and New taken back with its text and title."""
import time

from harness import Orvane, start_on, wait_until
from scenarios_editor import dialog_enter, wait_bytes

ORIGINAL = b"alpha beta\r\ngamma beta\r\n"


def scenario_undo_everything_saves_the_original_bytes_and_redo_brings_it_all_back():
    with Orvane() as app:
        path = start_on(app, "undo.txt", ORIGINAL)
        app.type("one ")
        # Copy "one " and paste it at the end of the line; then replace every "beta".
        app.key("Home", "shift+Right", "shift+Right", "shift+Right", "shift+Right", "ctrl+c", "End", "ctrl+v")
        app.key("ctrl+r")
        dialog_enter(app, "Replace", "beta", ["Tab"], "BETA", ["ctrl+Return"])
        assert app.title() == "Orvane - *undo.txt", app.title()
        app.key("ctrl+s")
        edited = b"one alpha BETAone \r\ngamma BETA\r\n"
        wait_bytes(app, path, edited)

        for _ in range(3):  # the replace-all, the paste, the typed word
            app.key("ctrl+z")
        app.key("ctrl+s")
        wait_bytes(app, path, ORIGINAL)
        assert app.title() == "Orvane - undo.txt", app.title()

        app.key("ctrl+y", "ctrl+y", "ctrl+shift+z")
        app.key("ctrl+s")
        wait_bytes(app, path, edited)


def scenario_undo_after_new_brings_back_the_unsaved_text_and_its_title():
    with Orvane() as app:
        path = start_on(app, "kept.txt", b"first\n")
        app.key("End")
        app.type(" draft")
        app.wait_title(r"^Orvane - \*kept\.txt$")
        app.key("ctrl+n")
        app.wait_title(r"^Orvane - \*$")
        app.key("ctrl+z")
        app.wait_title(r"^Orvane - \*kept\.txt$")
        app.key("ctrl+s")
        wait_bytes(app, path, b"first draft\r\n")
        # Redo: the new, empty document again.
        app.key("ctrl+y")
        app.wait_title(r"^Orvane - \*$")
