"""The tab strip with the real program: keys that must not and keys that must change the page."""

import unittest

from desktop import _read_ppm, wait_until
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

    def test_a_page_shown_again_is_drawn_in_its_colours(self):
        lines = ["pw 12345 user 67890"] * 5
        app = self.start_in_front(pages=[("Coloured", lines, False), ("Other", ["x"], False)])
        window = app.window()
        first = self.colours(window)
        self.assertTrue(first[0] > 0 and first[1] > 0, first)

        self.desktop.key("ctrl+Tab")
        wait_until(lambda: self.colours(window) == (0, 0), what="the other page")
        self.desktop.key("ctrl+shift+Tab")
        wait_until(lambda: self.colours(window) == first, what="the coloured page again")

    def colours(self, window):
        """How many pixels of the window are the keyword colour (aqua) and the number colour
        (yellow)."""
        pixels, _, _ = _read_ppm(self.desktop.picture(window))
        aqua = sum(1 for r, g, b in pixels if r < 60 and g > 200 and b > 200)
        yellow = sum(1 for r, g, b in pixels if r > 200 and g > 200 and b < 60)
        return aqua, yellow

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
