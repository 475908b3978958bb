"""The tab strip with the real program: keys that must not and keys that must change the page."""

import unittest

from desktop import wait_until
from e2ecase import QuillboxCase
from notesfile import page_lines, read_ini

PAGES = [("Notes", ["notes"], False), ("R&D", ["research"], False)]


class TabsTest(QuillboxCase):
    def test_alt_letter_of_an_ampersand_name_changes_no_page(self):
        app = self.start_in_front(pages=PAGES)
        self.desktop.key("alt+d", "Home")
        self.desktop.type_text("typed ")
        self.wait_line("typed ")
        shown = self.whole_line()
        self.assertTrue(shown.startswith("typed ") and shown.endswith("notes"), shown)
        self.desktop.key("ctrl+Tab", "Home")
        self.desktop.type_text("more ")
        self.wait_line("more ")
        before = app.file_state()
        self.desktop.key("Escape")
        app.wait_hidden()
        app.wait_saved(before)

        ini = read_ini(app.notes)
        self.assertEqual(page_lines(ini, 0), [shown])
        self.assertEqual(page_lines(ini, 1), ["more research"])
        self.assertEqual(ini["NOTES TABNAMES"]["ITEMDATA(0002)"], "R&D")

    def whole_line(self):
        """The editor's current line, read through the clipboard."""
        placeholder = "nothing copied"
        self.desktop.set_clipboard(placeholder)
        self.desktop.key("Home", "shift+End", "ctrl+c")

        def copied():
            text = self.desktop.clipboard()
            return text if text != placeholder else None

        line = wait_until(copied, what="the line copied")
        self.desktop.key("End")
        return line


if __name__ == "__main__":
    unittest.main()
