"""Help on a desktop without a launcher for the manual: the program's own help window."""

import tempfile
import unittest

from e2ecase import QuillboxCase


class HelpTest(QuillboxCase):
    def start_without_launcher(self):
        """Starts the program with a PATH that holds no xdg-open, so the desktop has nothing
        to open the manual with."""
        saved = self.desktop.env
        self.desktop.env = dict(saved, PATH=tempfile.mkdtemp(dir=self.desktop.home))
        try:
            app = self.start()
        finally:
            self.desktop.env = saved
        app.wait_started()
        app.wait_active()
        return app

    def test_f1_shows_the_manual_in_its_own_window_quietly(self):
        app = self.start_without_launcher()
        self.desktop.key("F1")
        help_window = app.wait_window("Quillbox Help")
        self.assertTrue(help_window)
        self.desktop.key("Escape")
        app.wait_window_gone("Quillbox Help")
        # The end of the test checks that nothing was printed on standard error.


if __name__ == "__main__":
    unittest.main()
