"""Encrypting protected pages with the password: set a password, turn encryption on in the
options dialog, protect a page, hide, and read the Notes file from disk; then show the window
with the hot key and open the page with the password, with the keyboard only."""

import unittest

from e2ecase import QuillboxCase
from notesfile import page_lines, read_ini, read_lines

PASSWORD = "Corr3ct-Horse"
SENTENCE = "The spare key hides under the third flowerpot on the left"


class CryptTest(QuillboxCase):
    def test_encrypted_page_leaves_no_trace_in_the_file_and_opens_with_the_password(self):
        app = self.start_in_front(pages=[("Secret", [SENTENCE], False),
                                         ("Open", ["nothing to hide"], False)])

        self.set_first_password(app, PASSWORD)

        before = app.file_state()
        self.desktop.key("ctrl+o")
        options = app.wait_window("Quillbox Options")
        look = self.desktop.picture(options)
        # "&Encrypt protected pages with the password": the box is ticked a moment later, as
        # by a click. "OK" is the default button.
        self.desktop.key("alt+e")
        self.desktop.wait_picture_settled(options, look)
        self.desktop.key("Return")
        app.wait_window("Security Password")  # the password is asked for first
        self.desktop.type_text(PASSWORD)
        self.desktop.key("Return")
        app.wait_window_gone("Quillbox Options")
        app.wait_saved(before)
        app.wait_active()
        self.assertEqual(read_ini(app.notes)["NOTES"]["CRYPT"], "01")

        self.open_menu(app, "alt+p")
        self.desktop.key("Up", "Return")  # the last item, "Configure Pages"
        dialog = app.wait_window("Quillbox Page Control")
        before = app.file_state()
        look = self.desktop.picture(dialog)
        self.desktop.key("alt+p")  # "&Protect Page" on the first entry
        self.desktop.wait_picture_settled(dialog, look)
        self.desktop.key("Return")
        app.wait_window_gone("Quillbox Page Control")
        app.wait_saved(before)
        app.wait_active()

        # The pages dialog's save sealed the page; Protect locks and hides (nothing is left to
        # save).
        self.desktop.key("ctrl+d")
        app.wait_hidden()

        with open(app.notes, "rb") as f:
            raw = f.read()
        decoded = b"\n".join(read_lines(app.notes))
        for secret in (SENTENCE, "flowerpot", PASSWORD):
            self.assertNotIn(secret.encode(), decoded)
            self.assertNotIn(secret.encode(), raw)
        ini = read_ini(app.notes)
        notes = ini["NOTES"]
        self.assertEqual((notes["SELD0"], notes["CRYPT"], notes["USER1"]), ("01", "01", "01"))
        self.assertEqual(notes["USER2"], "0" * 62)
        self.assertTrue(page_lines(ini, 0)[0].startswith("QUILLBOX-ENCRYPTED-PAGE 1 "))
        self.assertEqual(page_lines(ini, 1), ["nothing to hide"])

        self.hot_key(app)  # showing again puts the focus into the password bar
        self.desktop.type_text(PASSWORD)
        self.desktop.key("Return", "ctrl+End")
        self.wait_line(SENTENCE)


if __name__ == "__main__":
    unittest.main()
