"""Unsaved text kept across an exit, a kill and a second instance, brought back by a start
without a file; and a save that would write over another program's change asks first."""
import os
import time

from harness import Orvane, start_on, wait_until
from scenarios_editor import save_through_dialog, wait_bytes


def records(app):
    folder = os.path.join(app.data_folder, "recovery")
    return [n for n in os.listdir(folder) if n.endswith(".orvrec")] if os.path.isdir(folder) else []


def scenario_recovery_text_typed_before_a_kill_comes_back_at_the_next_start():
    with Orvane() as app:
        path = start_on(app, "kept.txt", b"line one\r\n")
        app.key("End")
        app.type(" and more")
        app.wait_title(r"^Orvane - \*kept\.txt$")
        time.sleep(2)
        app.stop()  # kill -9
        app.start()
        app.wait_title(r"^Orvane - \*kept\.txt$")
        app.focus()
        app.key("ctrl+s")
        wait_bytes(app, path, b"line one and more\r\n")
        # Saved: nothing is left to bring back.
        assert wait_until(lambda: not records(app), 5), records(app)


def scenario_recovery_exit_keeps_unnamed_text_and_asks_nothing():
    with Orvane() as app:
        app.start()
        app.focus()
        app.type("draft text")
        app.key("ctrl+q")
        assert app.wait_exit() == 0
        app.start()
        app.wait_title(r"^Orvane - \*$")
        app.focus()
        path = os.path.join(app.folder, "draft.c")
        save_through_dialog(app, path)
        wait_bytes(app, path, b"draft text\r\n")


def scenario_recovery_two_killed_instances_come_back_in_two_starts():
    with Orvane() as first, Orvane(installed=first.exe_folder) as second:
        for app, text in ((first, "first text"), (second, "second text")):
            # A plain start leaves the other instance's record alone: it still runs.
            app.start()
            app.focus()
            app.type(text)
        time.sleep(2)
        assert len(records(first)) == 2, records(first)
        second.stop()
        first.stop()
        saved = set()
        for app in (first, second):
            app.start()
            app.wait_title(r"^Orvane - \*$")
            app.focus()
            path = os.path.join(app.folder, "restored.c")
            save_through_dialog(app, path)
            assert wait_until(lambda: os.path.exists(path) and os.path.getsize(path) > 0, 10)
            saved.add(app.read_bytes(path))
        assert saved == {b"first text\r\n", b"second text\r\n"}, saved


def scenario_recovery_a_save_over_another_programs_change_asks_and_no_keeps_its_bytes():
    with Orvane() as app:
        path = start_on(app, "shared.txt", b"mine\r\n")
        app.key("End")
        app.type("!")
        with open(path, "ab") as f:
            f.write(b"theirs\r\n")
        app.key("ctrl+s")
        box = app.wait_window(r"^Orvane$")
        app.focus(box)
        app.key("n")
        wait_until(lambda: not app.windows(r"^Orvane$"), 5)
        assert app.read_bytes(path) == b"mine\r\ntheirs\r\n", app.read_bytes(path)
        assert app.title() == "Orvane - *shared.txt", app.title()
        # Yes writes over it.
        app.focus()
        app.key("ctrl+s")
        box = app.wait_window(r"^Orvane$")
        app.focus(box)
        app.key("y")
        wait_bytes(app, path, b"mine!\r\n")
