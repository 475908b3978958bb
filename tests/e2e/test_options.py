"""Changing the hot key in the options dialog with the keyboard only."""

import os
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

    def test_first_run_asks_for_a_hot_key_and_sets_up_loading_on_start_up(self):
        app = self.start(hot_key=-1)
        app.wait_window("Quillbox Options")
        before = app.file_state()
        self.desktop.key("Return")  # the proposal: "Win" with A, "&Load on Startup" checked
        app.wait_window_gone("Quillbox Options")
        window = app.wait_started()
        app.wait_active()
        self.assertIn("Win+A = Activate", self.desktop.window_name(window))
        app.wait_saved(before)
        self.assertEqual(read_ini(app.notes)["NOTES"]["HOTKEY"], "65")
        entry = os.path.join(self.desktop.home, ".config", "autostart", "Quillbox.desktop")
        with open(entry, encoding="utf-8") as f:
            self.assertIn(f"Exec=\"{self.binary}\"", f.read().splitlines())

        self.desktop.key("Escape")
        app.wait_hidden()
        self.hot_key(app, "super+a")

    def test_options_dialog_opens_centred_on_the_notes_window(self):
        cases = (("at the first start, asking for a hot key", -1, ()),
                 ("from Ctrl+O", 1065, ("ctrl+o",)))
        for case, hot_key, keys in cases:
            with self.subTest(case=case):
                app = self.start(hot_key=hot_key,
                                 notes=self.notes.replace(".ini", f"{hot_key}.ini"))
                try:
                    if keys:
                        app.wait_started()
                        app.wait_active()
                        self.desktop.key(*keys)
                    dialog = app.wait_window("Quillbox Options")
                    self.assertCentredOn(dialog, app.window())
                finally:
                    app.process.kill()
                    app.process.wait()

    def assertCentredOn(self, dialog, window, tolerance=40):
        x, y, width, height = self.desktop.window_geometry(dialog)
        wx, wy, wwidth, wheight = self.desktop.window_geometry(window)
        offset = (x + width // 2 - (wx + wwidth // 2), y + height // 2 - (wy + wheight // 2))
        self.assertTrue(all(abs(d) <= tolerance for d in offset),
                        f"dialog at {x},{y} {width}x{height}, window at {wx},{wy} "
                        f"{wwidth}x{wheight}: centres {offset} apart")


if __name__ == "__main__":
    unittest.main()
