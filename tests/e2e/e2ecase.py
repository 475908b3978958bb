"""Base class of the end-to-end tests: one desktop per test class, one fresh program per test."""

import os
import unittest

from desktop import Desktop, Quillbox, wait_until
from fixtures import write_plain_notes

CTRL_ALT_A = "ctrl+alt+a"  # the hot key of the Notes files written by start(): code 1065


class QuillboxCase(unittest.TestCase):
    tray = True

    @classmethod
    def setUpClass(cls):
        cls.desktop = Desktop().start(tray=cls.tray)

    @classmethod
    def tearDownClass(cls):
        cls.desktop.stop()

    def setUp(self):
        self.binary = os.environ["QUILLBOX_BIN"]
        self.notes = os.path.join(self.desktop.home, f"{self.id().rsplit('.', 1)[-1]}.ini")
        self.apps = []
        self.others = []

    def tearDown(self):
        if self._failed():
            self._keep_screenshot()
        for app in self.apps:
            if app.process and app.process.poll() is None:
                app.process.kill()
                app.process.wait()
        printed = [line for app in self.apps for line in app.stderr_lines()]
        for other in self.others:
            if other.poll() is None:
                other.terminate()
                other.wait()
        for name in os.listdir(self.desktop.home):
            if (name.endswith((".ini", ".tmp", ".lck", ".stderr"))
                    or name.startswith("Quillbox.")):
                os.remove(os.path.join(self.desktop.home, name))
        # A warning on standard error (Qt's among them) is a fault of the program.
        self.assertEqual(printed, [], "the program printed on standard error")

    def _failed(self) -> bool:
        outcome = getattr(self, "_outcome", None)
        result = getattr(outcome, "result", None)
        if result is None:
            return False
        failures = getattr(result, "failures", []) + getattr(result, "errors", [])
        return any(test is self for test, _ in failures) or not getattr(outcome, "success", True)

    def _keep_screenshot(self):
        path = os.path.join("/tmp", f"quillbox-e2e-{self.id().rsplit('.', 1)[-1]}.png")
        try:
            self.desktop.screenshot(path)
            print(f"\nscreenshot of the failure: {path}")
        except Exception as error:  # a screenshot is a help, never a second failure
            print(f"\nno screenshot: {error}")

    def start(self, *args, pages=None, hot_key=1065, extra=None, notes=None):
        """Starts the program on a plain Notes file with the given pages (default: one page)."""
        notes = notes or self.notes
        if pages is not None or not os.path.exists(notes):
            write_plain_notes(notes, pages or [("First", ["alpha beta.gamma delta"], False)],
                              hot_key=hot_key, extra=extra)
        app = Quillbox(self.desktop, self.binary, notes).start(*args)
        self.apps.append(app)
        return app

    def start_in_front(self, *args, **kwargs) -> Quillbox:
        """Starts the program and waits until its start-up is over and its window is in front."""
        app = self.start(*args, **kwargs)
        app.wait_started()
        app.wait_active()
        return app

    def other_window(self):
        """Another program's window, brought to the front."""
        process = self.desktop.spawn(["xmessage", "-name", "otherprogram", "-geometry",
                                      "+600+500", "another program"])
        self.others.append(process)
        window = self.desktop.run("xdotool", "search", "--sync", "--name", "otherprogram")
        window = window.split()[0]
        self.desktop.run("xdotool", "windowactivate", "--sync", window, check=False)
        wait_until(lambda: self.desktop.active_window_name() == "otherprogram",
                   what="the other program in front")
        return window

    def wait_line(self, expected):
        """Copies the editor's current line up to the caret and waits for it on the clipboard.
        Keys reach the program in order, so once the copy is there every key typed before it
        has been handled. End then drops the selection, the caret at the end of the line."""
        self.desktop.key("shift+Home", "ctrl+c")
        self.desktop.wait_clipboard(expected)
        self.desktop.key("End")

    def hot_key(self, app, keys=CTRL_ALT_A, shown=True):
        """Presses the hot key and waits until the window is in front (shown) or hidden."""
        self.desktop.key(keys)
        if shown:
            app.wait_active()
        else:
            app.wait_hidden()

    def open_menu(self, app, alt_key):
        """Opens a drop-down of the menu bar with its Alt key and waits for it."""
        before = set(app.windows())
        self.desktop.key(alt_key)
        wait_until(lambda: set(app.windows()) - before, what=f"the menu of {alt_key}")

    def set_first_password(self, app, password):
        """Sets the password with "Set Password" of the Security menu while none is set, keeps
        the protected pages the confirmation offers and waits for the window to be in front."""
        self.open_menu(app, "alt+u")
        self.desktop.key("s")  # "&Set Password"
        app.wait_window("Security Password")
        self.desktop.type_text(password)
        self.desktop.key("Tab")
        self.desktop.type_text(password)
        self.desktop.key("Return")
        app.wait_window("Confirm")  # where the protected pages are chosen
        self.desktop.key("Return")
        app.wait_window_gone("Confirm")
        app.wait_active()
