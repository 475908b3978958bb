"""Changing the hot key in the options dialog with the keyboard only."""

import unittest

from e2ecase import QuillboxCase
from notesfile import read_ini


class OptionsTest(QuillboxCase):
    def test_new_hot_key_from_the_options_dialog_works_and_is_stored(self):
        app = self.start_in_front(hot_key=2065)  # Ctrl+Shift+A
        before = app.file_state()
        self.desktop.key("ctrl+o")
        app.wait_window("Quillbox Options")
        self.desktop.key("alt+s", "Home", "Down")  # "&Special Key": "Win", then "Ctrl - Alt"
        self.desktop.key("alt+k", "q")  # "Standard &Key": Q
        self.desktop.key("Return")
        app.wait_window_gone("Quillbox Options")
        app.wait_saved(before)
        self.assertEqual(read_ini(app.notes)["NOTES"]["HOTKEY"], "1081")
        app.wait_active()
        self.assertIn("Ctrl+Alt+Q = Activate", self.desktop.window_name(app.window()))

        self.desktop.key("Escape")
        app.wait_hidden()
        self.hot_key(app, "ctrl+alt+q")

        # The old combination is free again: another program (here another copy on its own
        # Notes file) gets it without being told it is in use.
        other = self.start(hot_key=2065, notes=self.notes.replace(".ini", "-other.ini"))
        other.wait_started()
        other.wait_active()
        self.desktop.key("Escape")
        other.wait_hidden()
        self.hot_key(other, "ctrl+shift+a")


if __name__ == "__main__":
    unittest.main()
