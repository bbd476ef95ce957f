"""Orvane at home on the desktop: files dropped on its window, and the system's text editor
started by its full path."""
from harness import Orvane, wait_until

WM_CLOSE = 0x0010


def scenario_help_documentation_opens_in_the_system_editor_from_a_folder_with_spaces():
    with Orvane(name="my orvane") as app:
        app.start()
        app.focus()
        app.key("alt+h")
        app.key("d")
        title = "documentation.txt - Notepad"
        app.wait_window("^%s$" % title)
        app.probe("post", title, WM_CLOSE, 0)
        assert wait_until(lambda: not app.windows("^%s$" % title), 10)
