"""Words copied from protected pages: marked secret for clipboard managers and taken off the
clipboard again after the delay of the settings, at a hide that locks and at the exit, but only
while the clipboard still holds them. Read back through xclip."""

import fcntl
import os
import time
import unittest

from desktop import wait_until
from e2ecase import QuillboxCase
from fixtures import stored_password

PASSWORD = "Tr0ub4dor"
HINT = "x-kde-passwordManagerHint"
# Every line of a page holds one long token, so a double click in the middle of the editor
# lands in it whatever the font's exact size.
SECRET = "vault-4711-account-recovery-phrase-correct-horse-battery-staple-0123456789abcdef"
OPEN = "public-notes-shopping-list-bread-butter-milk-cheese-apples-pears-0123456789abcdef"


class ClipboardTest(QuillboxCase):
    def start_revealed(self, **settings):
        """Starts on a protected page and an open one, security on, and gives the password."""
        extra = {"User1": "01", "User2": stored_password(PASSWORD)}
        extra.update(settings)
        app = self.start_in_front(pages=[("Secret", [f"pin {SECRET} end"] * 60, True),
                                         ("Open", [f"list {OPEN} end"] * 60, False)],
                                  extra=extra)
        self.desktop.type_text(PASSWORD)  # the focus starts in the password bar
        self.desktop.key("Return")
        return app

    def copy_word(self, app, word):
        """Double-clicks the middle of the editor and waits for the word on the clipboard."""
        x, y, width, height = self.desktop.window_geometry(app.window())
        self.desktop.click_at(x + width // 2, y + height // 2, repeat=2)
        self.desktop.wait_clipboard(word)

    def targets(self) -> list[str]:
        return self.desktop.run("xclip", "-o", "-selection", "clipboard", "-t", "TARGETS",
                                check=False).split()

    def assert_clipboard_stays(self, text, seconds):
        """The clipboard holds text all the time, until seconds have passed."""
        end = time.monotonic() + seconds
        while time.monotonic() < end:
            self.assertEqual(self.desktop.clipboard(), text)
            time.sleep(0.2)

    def test_word_of_a_protected_page_is_marked_secret_and_an_open_one_is_not(self):
        app = self.start_revealed()
        self.copy_word(app, SECRET)
        self.assertIn(HINT, self.targets())
        self.assertEqual(self.desktop.run("xclip", "-o", "-selection", "clipboard", "-t", HINT),
                         "secret")

        self.desktop.key("ctrl+Tab")
        self.copy_word(app, OPEN)
        self.assertNotIn(HINT, self.targets())

    def test_secret_word_is_cleared_after_the_delay(self):
        app = self.start_revealed(ClipClearSecs="2")
        self.copy_word(app, SECRET)
        wait_until(lambda: self.desktop.clipboard() == "", timeout=15,
                   what="the secret word cleared")
        self.assertNotIn(HINT, self.targets())

    def test_what_is_copied_since_and_open_words_stay(self):
        app = self.start_revealed(ClipClearSecs="2")
        self.copy_word(app, SECRET)
        self.desktop.set_clipboard("copied elsewhere")
        self.assert_clipboard_stays("copied elsewhere", 5)

        self.desktop.key("ctrl+Tab")
        self.copy_word(app, OPEN)
        self.assert_clipboard_stays(OPEN, 5)

    def test_hide_that_disables_the_password_clears_at_once(self):
        app = self.start_revealed(HidedoesPW="01")
        self.copy_word(app, SECRET)
        self.desktop.key("Escape")
        app.wait_hidden()
        # Far sooner than the delay of 30 seconds.
        self.desktop.wait_clipboard("", timeout=10)

    def test_exit_clears_before_it_saves(self):
        app = self.start_revealed()
        self.desktop.key("ctrl+End")
        self.desktop.type_text(" typed")
        self.copy_word(app, SECRET)

        # While another holder keeps the Notes file's lock, the exit cannot save and asks;
        # the program still runs, and the word is gone already.
        stem = os.path.splitext(os.path.basename(app.notes))[0]
        lock_path = os.path.join(os.path.dirname(app.notes), stem[:5] + "Ini.lck")
        with open(lock_path, "a") as lock:
            fcntl.flock(lock, fcntl.LOCK_EX)
            self.desktop.key("alt+x")
            app.wait_window("Error", timeout=20)
            self.assertIsNone(app.process.poll())
            self.assertEqual(self.desktop.clipboard(), "")
            fcntl.flock(lock, fcntl.LOCK_UN)
        self.desktop.key("Return")  # Retry
        self.assertEqual(app.wait_exit(), 0)

    def test_exit_leaves_what_was_copied_since(self):
        app = self.start_revealed()
        self.copy_word(app, SECRET)
        self.desktop.set_clipboard("copied elsewhere")
        self.desktop.key("alt+x")
        self.assertEqual(app.wait_exit(), 0)
        self.assertEqual(self.desktop.clipboard(), "copied elsewhere")


if __name__ == "__main__":
    unittest.main()
