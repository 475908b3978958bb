"""Setting the password, protecting a page, hiding with Protect and opening the lock again from
the password bar, with the keyboard and the mouse only, then reading the Notes file from disk."""

import signal
import unittest

from e2ecase import QuillboxCase
from fixtures import stored_password
from notesfile import page_lines, read_ini, read_lines

PASSWORD = "Tr0ub4dor"
PLACEHOLDER = "Password Protected Data "
TOKEN = "vault-4711-account-recovery-phrase-correct-horse-battery-staple-0123456789abcdef"
SECRET_LINE = "pin " + TOKEN + " end"


class SecurityTest(QuillboxCase):
    def middle_of(self, app):
        x, y, width, height = self.desktop.window_geometry(app.window())
        return x + width // 2, y + height // 2

    def test_protected_page_is_locked_after_protect_and_opens_with_the_password(self):
        # Every line of the secret page holds the long token, so a double click in the middle
        # of the editor lands in it whatever the font's exact size.
        app = self.start_in_front(pages=[("Secret", [SECRET_LINE] * 60, False),
                                         ("Open", ["nothing to hide"], False)])

        self.set_first_password(app, PASSWORD)

        self.open_menu(app, "alt+p")
        self.desktop.key("Up", "Return")  # the last item, "Configure Pages"
        dialog = app.wait_window("Quillbox Page Control")
        before = app.file_state()
        look = self.desktop.picture(dialog)
        # "&Protect Page" on the first entry: the button flashes down and up, then the entry is
        # checked. "Ok" is the default button.
        self.desktop.key("alt+p")
        self.desktop.wait_picture_settled(dialog, look)
        self.desktop.key("Return")
        app.wait_window_gone("Quillbox Page Control")
        app.wait_saved(before)
        app.wait_active()

        self.desktop.key("ctrl+d")  # Protect: lock, save and hide
        app.wait_hidden()
        self.hot_key(app)
        self.desktop.set_clipboard("nothing copied yet")
        # The placeholder's second word, found on a picture of the window.
        self.desktop.click_at(*self.desktop.first_text_line(app.window(), x_offset=125), repeat=2)
        self.desktop.wait_clipboard("Protected")

        # Moved while locked, the window saves its new place at the hide; the page's own text
        # goes with it, never the placeholder.
        window = app.window()
        x, y, _, _ = self.desktop.window_geometry(window)
        self.desktop.run("xdotool", "windowmove", "--sync", window, str(x + 40), str(y + 30))
        before = app.file_state()
        self.desktop.key("Escape")
        app.wait_hidden()
        app.wait_saved(before)
        self.check_notes_file(app)

        self.hot_key(app)  # showing again puts the focus into the password bar
        self.desktop.type_text(PASSWORD[:-1] + "X")
        self.desktop.key("Return")
        self.desktop.key("ctrl+a", "BackSpace")
        self.desktop.type_text(PASSWORD)
        self.desktop.key("Return")
        self.desktop.click_at(*self.middle_of(app), repeat=2)
        self.desktop.wait_clipboard(TOKEN)

        before = app.file_state()
        self.desktop.key("ctrl+End")
        self.desktop.type_text(" added")
        self.desktop.key("ctrl+s")
        app.wait_saved(before)
        self.check_notes_file(app, last_line=SECRET_LINE + " added")

    def test_every_hide_locks_again_when_hide_disables_password_and_keeps_the_edits(self):
        app = self.start_in_front(
            pages=[("Secret", ["alpha"], True), ("Other", ["beta"], False)],
            extra={"User1": "01", "User2": stored_password(PASSWORD), "HidedoesPW": "01"})
        self.desktop.type_text(PASSWORD)  # the focus starts in the password bar
        self.desktop.key("Return", "ctrl+End")
        self.desktop.type_text(" typed")
        self.wait_line("alpha typed")
        before = app.file_state()
        self.desktop.key("Escape")
        app.wait_hidden()
        app.wait_saved(before)
        self.assertEqual(page_lines(read_ini(app.notes), 0), ["alpha typed"])

        self.hot_key(app)
        self.desktop.set_clipboard("nothing copied yet")
        self.desktop.click_at(*self.desktop.first_text_line(app.window(), x_offset=125), repeat=2)
        self.desktop.wait_clipboard("Protected")
        # The emptied editor of the hide is never taken for the page's text: not by a page
        # switch, a hide or the end of the program.
        self.desktop.key("ctrl+Tab", "ctrl+Tab", "Escape")
        app.wait_hidden()
        app.signal(signal.SIGTERM)
        self.assertEqual(app.wait_exit(), 0)
        ini = read_ini(app.notes)
        self.assertEqual((page_lines(ini, 0), page_lines(ini, 1)), (["alpha typed"], ["beta"]))

    def test_pages_dialog_adds_and_deletes_pages_with_their_texts(self):
        app = self.start_in_front(pages=[("First", ["alpha"], False),
                                         ("Second", ["beta"], False)])
        self.open_menu(app, "alt+p")
        self.desktop.key("Up", "Return")  # "Configure Pages"
        dialog = app.wait_window("Quillbox Page Control")
        self.desktop.key("alt+a")  # "&Add Page"
        app.wait_window("Add New Page")
        self.desktop.type_text("Third")
        self.desktop.key("Return")
        app.wait_window("Quillbox Page Control")
        self.desktop.key("Home", "Down", "alt+d")  # "&Delete Page" on "Second"
        app.wait_window("Confirm")  # the page holds notes: asked first
        self.desktop.key("Return")
        app.wait_window("Quillbox Page Control")
        before = app.file_state()
        self.desktop.key("Return")  # "Ok"
        app.wait_window_gone("Quillbox Page Control")
        app.wait_saved(before)
        app.wait_active()
        self.assertNotEqual(dialog, app.window())

        ini = read_ini(app.notes)
        self.assertEqual(ini["NOTES TABNAMES"],
                         {"ITEMS": "2", "ITEMDATA(0001)": "First", "ITEMDATA(0002)": "Third"})
        self.assertEqual((page_lines(ini, 0), page_lines(ini, 1)), (["alpha"], []))

    def check_notes_file(self, app, last_line=SECRET_LINE):
        ini = read_ini(app.notes)
        notes = ini["NOTES"]
        self.assertEqual((notes["SELD0"], notes["SELD1"]), ("01", "00"))
        self.assertEqual(notes["USER1"], "01")
        stored = bytes.fromhex(notes["USER2"])
        self.assertEqual(len(stored), 31)
        self.assertEqual(stored[0], len(PASSWORD.encode()))
        self.assertEqual(stored[1:1 + stored[0]], PASSWORD.encode())
        self.assertEqual(page_lines(ini, 0), [SECRET_LINE] * 59 + [last_line])
        self.assertEqual(page_lines(ini, 1), ["nothing to hide"])
        lines = read_lines(app.notes)
        self.assertFalse([line for line in lines if PLACEHOLDER.strip().encode() in line])


if __name__ == "__main__":
    unittest.main()
