"""Showing, hiding, saving and ending the program with the hot key, the tray icon, the close box,
Esc, the tray menu and signals, as a person (or the session) would."""

import os
import signal
import subprocess
import tempfile
import unittest

from desktop import wait_until
from e2ecase import CTRL_ALT_A, QuillboxCase
from notesfile import page_lines, read_ini

TEXT = "alpha beta.gamma delta"


class ActivationTest(QuillboxCase):
    def test_hot_key_from_another_window_shows_hides_and_shows(self):
        app = self.start_in_front()
        self.other_window()
        self.assertFalse(app.is_active())

        self.hot_key(app)
        self.desktop.key("ctrl+End")
        self.desktop.type_text(" zeta")
        self.wait_line(TEXT + " zeta")
        before = app.file_state()
        self.hot_key(app, shown=False)
        app.wait_saved(before)
        self.assertEqual(page_lines(read_ini(app.notes), 0), [TEXT + " zeta"])
        self.hot_key(app)

    def test_nothing_changed_nothing_written(self):
        # A Notes file as the program writes it (a plain hand-made one lacks the caret
        # positions, which the first page-leave then fills in: a change).
        app = self.start_in_front()
        self.desktop.type_text("x")
        self.wait_line("x")
        self.desktop.key("alt+x")
        self.assertEqual(app.wait_exit(), 0)

        app = self.start_in_front()
        with open(app.notes, "rb") as f:
            written = f.read()
        before = app.file_state()
        self.desktop.key("Escape")
        app.wait_hidden()
        self.hot_key(app)
        self.other_window()
        self.hot_key(app)
        self.hot_key(app, shown=False)
        app.signal(signal.SIGTERM)
        self.assertEqual(app.wait_exit(), 0)
        self.assertEqual(app.file_state(), before)
        with open(app.notes, "rb") as f:
            self.assertEqual(f.read(), written)

    def test_hot_key_works_with_num_lock_and_caps_lock_on(self):
        app = self.start_in_front()
        self.desktop.key("Escape")
        app.wait_hidden()
        locks = ("Num_Lock", "Caps_Lock")
        self.desktop.run("xdotool", "key", *locks)
        try:
            # Without --clearmodifiers, so that the press carries both locks.
            self.desktop.run("xdotool", "key", CTRL_ALT_A)
            app.wait_active()
        finally:
            self.desktop.run("xdotool", "key", *locks)

    def test_close_box_alt_f4_and_escape_hide_and_alt_x_ends(self):
        app = self.start_in_front()
        self.desktop.click_at(*self.desktop.close_box(app.window()))
        app.wait_hidden()
        for keys in ("alt+F4", "Escape"):  # openbox turns Alt+F4 into a close request
            with self.subTest(keys=keys):
                self.hot_key(app)
                self.desktop.key(keys)
                app.wait_hidden()
                self.assertIsNone(app.process.poll())
        self.hot_key(app)
        self.desktop.type_text("last ")
        self.wait_line("last ")
        self.desktop.key("alt+x")
        self.assertEqual(app.wait_exit(), 0)
        self.assertEqual(page_lines(read_ini(app.notes), 0), ["last " + TEXT])

    def test_moved_window_is_saved_at_hide_and_comes_back_there(self):
        app = self.start_in_front()
        window = app.window()
        x, y, _, _ = self.desktop.window_geometry(window)
        moved = (x + 40, y + 30, 700, 500)
        self.desktop.run("xdotool", "windowmove", "--sync", window, str(moved[0]), str(moved[1]))
        self.desktop.run("xdotool", "windowsize", "--sync", window, str(moved[2]), str(moved[3]))
        wait_until(lambda: self.desktop.window_geometry(window) == moved, what="the window moved")
        before = app.file_state()
        self.desktop.key("Escape")  # no text changed: the new place alone is saved
        app.wait_hidden()
        app.wait_saved(before)
        app.signal(signal.SIGTERM)
        self.assertEqual(app.wait_exit(), 0)

        again = self.start_in_front()
        self.assertEqual(self.desktop.window_geometry(again.window()), moved)

    def test_tray_click_toggles_and_tray_exit_saves_and_ends(self):
        app = self.start_in_front()
        self.desktop.type_text("typed ")
        self.wait_line("typed ")
        icon = wait_until(lambda: self.desktop.tray_icon(app.pid), what="the tray icon docked")
        self.other_window()

        self.desktop.click_at(*icon)
        app.wait_active()
        self.desktop.click_at(*icon)
        app.wait_hidden()
        self.desktop.click_at(*icon)
        app.wait_active()
        self.desktop.key("Escape")
        app.wait_hidden()

        # The menu: the product name (greyed), a separator, "Activate", "Hide", "Exit".
        self._tray_menu_choose(app, icon, "Up", "Up", "Up")  # "Activate"
        app.wait_active()
        self._tray_menu_choose(app, icon, "Up", "Up")  # "Hide"
        app.wait_hidden()
        self._tray_menu_choose(app, icon, "Up")  # "Exit"
        self.assertEqual(app.wait_exit(), 0)
        self.assertEqual(page_lines(read_ini(app.notes), 0), ["typed " + TEXT])
        self.assertFalse(os.path.exists(os.path.join(self.desktop.home, "QuillIni.lck")))

    def _tray_menu_choose(self, app, icon, *keys):
        before = set(app.windows())
        self.desktop.click_at(*icon, button=3)
        wait_until(lambda: set(app.windows()) - before, what="the tray menu open")
        self.desktop.key(*keys, "Return")

    def test_end_signals_write_unsaved_edits_before_the_process_ends(self):
        # SIGTERM is the session's log-off; SIGHUP and SIGINT (a closed terminal, Ctrl+C) end
        # the program the same way.
        for number in (signal.SIGTERM, signal.SIGHUP, signal.SIGINT):
            with self.subTest(signal=number.name):
                app = self.start_in_front(pages=[("First", [TEXT], False)])
                self.desktop.type_text("unsaved ")
                self.wait_line("unsaved ")
                app.signal(number)
                self.assertEqual(app.wait_exit(), 0)
                self.assertEqual(page_lines(read_ini(app.notes), 0), ["unsaved " + TEXT])

    def test_hide_switch_starts_hidden_with_the_hot_key_working(self):
        for switch in ("/hide", "/HIDE", "--hide"):
            with self.subTest(switch=switch):
                app = self.start(switch)
                app.wait_started()
                self.assertIsNone(app.window(visible=True))
                self.assertIsNone(app.process.poll())
                self.hot_key(app)
                app.signal(signal.SIGTERM)
                self.assertEqual(app.wait_exit(), 0)

    URL = "https://www.example.org/accounts/user/settings/password/reset?token=abcdef0123456789"

    def test_double_click_copies_the_whole_word(self):
        # Every line holds the long address after a short word, so a double click in the middle
        # of the editor lands inside an address whatever the font's exact size.
        app = self.start_in_front(pages=[("Words", ["pw " + self.URL + " end"] * 60, False)])
        self.desktop.set_clipboard("nothing copied yet")
        x, y, width, height = self.desktop.window_geometry(app.window())
        self.desktop.click_at(x + width // 2, y + height // 2, repeat=2)
        self.desktop.wait_clipboard(self.URL)

    def test_second_copy_reports_the_hot_key_taken_and_both_save_cleanly(self):
        first = self.start_in_front()
        second = self.start(notes=first.notes)
        box = second.wait_window("Quillbox")
        self.assertIsNone(first.process.poll())
        self.desktop.key("Return")
        second.wait_window_gone("Quillbox")
        # Without a hot key of its own the copy asks for another one; cancelled, it tells the
        # user to use the tray icon instead, and runs on.
        second.wait_window("Quillbox Options")
        self.desktop.key("Escape")
        self.assertNotEqual(box, second.wait_window("Quillbox"))
        self.desktop.key("Return")
        window = wait_until(lambda: second.window(), what="the second copy's window")
        self.assertIsNone(second.process.poll())

        # Both edit the one page. The copy that goes to the background saves; the other saves
        # at its end; each save merges into what the other wrote.
        self.desktop.run("xdotool", "windowactivate", "--sync", window, check=False)
        second.wait_active()
        self.desktop.key("ctrl+End")
        self.desktop.type_text(" second")
        self.wait_line(TEXT + " second")
        before = second.file_state()
        self.hot_key(first)
        second.wait_saved(before)
        self.assertEqual(page_lines(read_ini(first.notes), 0), [TEXT + " second"])
        self.desktop.key("ctrl+End")
        self.desktop.type_text(" first")
        self.wait_line(TEXT + " first")

        for app in (first, second):
            app.signal(signal.SIGTERM)
        for app in (first, second):
            self.assertEqual(app.wait_exit(), 0)
        # Both changed the one page: the first copy's end keeps its text there and the second
        # copy's on a page of its own, so no typed text is lost.
        ini = read_ini(first.notes)
        self.assertEqual(ini["NOTES TABNAMES"], {"ITEMS": "2", "ITEMDATA(0001)": "First",
                                                 "ITEMDATA(0002)": "First (changed elsewhere)"})
        self.assertEqual(page_lines(ini, 0), [TEXT + " first"])
        self.assertEqual(page_lines(ini, 1), [TEXT + " second"])
        self.assertEqual(ini["NOTES"]["HOTKEY"], "1065")
        leftovers = [name for name in os.listdir(self.desktop.home)
                     if name.endswith((".lck", ".tmp"))]
        self.assertEqual(leftovers, [])

    def test_a_warning_on_stderr_fails_the_test(self):
        # Qt warns about a style that does not exist; the harness must see it.
        app = self.start_in_front("-style", "nosuchstyle")
        printed = app.stderr_lines()
        self.assertTrue(any("nosuchstyle" in line for line in printed), printed)
        app.stderr_path = None  # seen: this test's own end must not fail on it


class CommandLineTest(unittest.TestCase):
    """The options that answer on the terminal and end at once, without a desktop."""

    def run_program(self, *args):
        env = {key: value for key, value in os.environ.items() if key != "DISPLAY"}
        with tempfile.TemporaryDirectory() as home:
            notes = os.path.join(home, "Quillbox.ini")
            result = subprocess.run([os.environ["QUILLBOX_BIN"], *args, "--notes", notes],
                                    env=dict(env, HOME=home), capture_output=True, text=True,
                                    timeout=30)
            self.assertFalse(os.path.exists(notes))
        return result

    def test_version_help_and_unknown_options(self):
        cases = (
            (["--version"], 0, r"^Quillbox \d+\.\d+\.\d+\n$", ""),
            (["--help"], 0, r"^Usage: quillbox (.|\n)*--notes FILE(.|\n)*/HIDE", ""),
            (["--bogus"], 2, "", r"unknown option '--bogus'(.|\n)*Usage: quillbox"),
        )
        for args, code, out, err in cases:
            with self.subTest(args=args):
                result = self.run_program(*args)
                self.assertEqual(result.returncode, code)
                for text, pattern in ((result.stdout, out), (result.stderr, err)):
                    if pattern:
                        self.assertRegex(text, pattern)
                    else:
                        self.assertEqual(text, "")


if __name__ == "__main__":
    unittest.main()
