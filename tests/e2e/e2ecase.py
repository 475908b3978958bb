"""Base class of the end-to-end tests: one desktop per test class, one fresh program per test."""

import os
import unittest

from desktop import Desktop, Quillbox
from fixtures import write_plain_notes


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

    def tearDown(self):
        for app in self.apps:
            if app.process and app.process.poll() is None:
                app.process.kill()
                app.process.wait()
        for name in os.listdir(self.desktop.home):
            if name.endswith((".ini", ".tmp", ".lck")):
                os.remove(os.path.join(self.desktop.home, name))

    def start(self, *args, pages=None, hot_key=1065, extra=None, notes=None):
        """Starts the program on a plain Notes file with the given pages (default: one page)."""
        notes = notes or self.notes
        if pages is not None or not os.path.exists(notes):
            write_plain_notes(notes, pages or [("First", ["alpha beta.gamma delta"], False)],
                              hot_key=hot_key, extra=extra)
        app = Quillbox(self.desktop, self.binary, notes).start(*args)
        self.apps.append(app)
        return app

    def other_window(self):
        """Another program's window, brought to the front."""
        self.desktop.spawn(["xmessage", "-name", "otherprogram", "-geometry", "+600+500",
                            "another program"])
        window = self.desktop.run("xdotool", "search", "--sync", "--name", "otherprogram")
        window = window.split()[0]
        self.desktop.run("xdotool", "windowactivate", "--sync", window, check=False)
        return window
