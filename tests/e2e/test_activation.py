"""Showing, hiding, saving and ending the program with the hot key, the tray icon, the close box,
Esc, the tray menu and signals, as a person (or the session) would."""

import signal
import time
import unittest

from desktop import wait_until
from e2ecase import QuillboxCase
from notesfile import page_lines, read_ini

CTRL_ALT_A = "ctrl+alt+a"


class ActivationTest(QuillboxCase):
    def test_hot_key_from_another_window_shows_hides_and_shows(self):
        app = self.start()
        app.wait_shown()
        self.desktop.key("ctrl+End")
        self.desktop.type_text(" zeta")
        self.other_window()
        before = app.notes_mtime()

        self.desktop.key(CTRL_ALT_A)
        app.wait_active()
        self.desktop.key(CTRL_ALT_A)
        app.wait_hidden()
        wait_until(lambda: app.notes_mtime() != before, what="the Notes file saved")
        self.assertEqual(page_lines(read_ini(app.notes), 0), ["alpha beta.gamma delta zeta"])
        self.desktop.key(CTRL_ALT_A)
        app.wait_active()

    def test_close_box_and_escape_hide_and_the_process_stays(self):
        app = self.start()
        window = app.wait_shown()
        self.desktop.run("xdotool", "windowclose", window, check=False)
        app.wait_hidden()
        self.assertIsNone(app.process.poll())
        self.desktop.key(CTRL_ALT_A)
        app.wait_active()
        self.desktop.key("Escape")
        app.wait_hidden()
        self.assertIsNone(app.process.poll())

    def test_tray_click_toggles_and_tray_exit_saves_and_ends(self):
        app = self.start()
        app.wait_shown()
        self.desktop.type_text("typed ")
        x, y = self.desktop.tray_icon_center()
        self.other_window()
        self.desktop.click_at(x, y)
        app.wait_active()
        self.desktop.click_at(x, y)
        app.wait_hidden()
        self.desktop.click_at(x, y, button=3)
        time.sleep(0.5)
        self.desktop.key("Up")  # the last item of the menu: "Exit"
        self.desktop.key("Return")
        self.assertEqual(app.wait_exit(), 0)
        self.assertEqual(page_lines(read_ini(app.notes), 0)[0], "typed alpha beta.gamma delta")

    def test_sigterm_writes_unsaved_edits_before_the_process_ends(self):
        app = self.start()
        app.wait_shown()
        self.desktop.type_text("unsaved ")
        time.sleep(0.3)
        app.signal(signal.SIGTERM)
        self.assertEqual(app.wait_exit(), 0)
        self.assertEqual(page_lines(read_ini(app.notes), 0)[0], "unsaved alpha beta.gamma delta")

    def test_hide_switch_starts_hidden_with_the_hot_key_working(self):
        for switch in ("/hide", "/HIDE", "--hide"):
            with self.subTest(switch=switch):
                app = self.start(switch)
                wait_until(lambda: app.window(visible=False), what="the window created")
                time.sleep(1.0)
                self.assertIsNone(app.window(visible=True))
                self.desktop.key(CTRL_ALT_A)
                app.wait_active()
                app.process.terminate()
                app.wait_exit()

    URL = "https://www.example.org/accounts/user/settings/password/reset?token=abcdef0123456789"

    def test_double_click_copies_the_whole_word(self):
        app = self.start(pages=[("Words", ["pw " + self.URL], False)])
        window = app.wait_shown()
        self.desktop.run("xclip", "-selection", "clipboard", "-i", "/dev/null", check=False)
        x, y, _, _ = self.desktop.window_geometry(window)
        # The long address fills the first line from the fourth column on; a point a third of
        # the way along the line lies inside it whatever the font's exact width.
        self.desktop.click_at(x + 220, y + self.FIRST_LINE_Y, repeat=2)
        wait_until(lambda: self.desktop.clipboard() == self.URL, what="the address copied")

    FIRST_LINE_Y = 72

    def test_second_copy_reports_the_hot_key_taken_and_both_save_cleanly(self):
        first = self.start()
        first.wait_shown()
        second = self.start(notes=first.notes)
        wait_until(lambda: len(self.desktop.windows(name="Quillbox", visible=True)) >= 2,
                   what="the second copy's message")
        time.sleep(0.5)
        self.assertIsNone(second.process.poll())
        self.assertIsNone(first.process.poll())
        for app in (first, second):
            app.signal(signal.SIGTERM)
            app.wait_exit()
        ini = read_ini(first.notes)
        self.assertEqual(ini["NOTES TABNAMES"]["ITEMDATA(0001)"], "First")
        self.assertEqual(page_lines(ini, 0), ["alpha beta.gamma delta"])


if __name__ == "__main__":
    unittest.main()
