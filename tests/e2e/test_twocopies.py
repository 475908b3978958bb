"""Two copies of the program on one Notes file (started by autostart and by hand, or by two
logins of one user): neither undoes what the other saved. Edits of different pages reach both
copies and the file; a page both copies changed keeps both texts."""

import signal

from desktop import wait_until
from e2ecase import QuillboxCase
from notesfile import page_lines, read_ini

PAGES = [("Alpha", ["alpha text"], False), ("Beta", ["beta text"], False)]
ELSEWHERE = "Alpha (changed elsewhere)"


def page_names(ini):
    section = ini.get("NOTES TABNAMES", {})
    count = int(section.get("ITEMS", "0") or 0)
    return [section.get(f"ITEMDATA({i:04d})", "") for i in range(1, count + 1)]


class TwoCopiesTest(QuillboxCase):
    def start_copies(self):
        first = self.start_in_front(pages=PAGES)
        # The second copy starts as the first did. The first holds the hot key, so the second
        # says so and opens the options dialog; that is cancelled, and the second copy says
        # that only its tray icon brings it back.
        second = self.start()
        second.wait_window("Quillbox", timeout=20)
        self.desktop.key("Return")
        second.wait_window("Quillbox Options")
        self.desktop.key("Escape")
        second.wait_window_gone("Quillbox Options")
        second.wait_window("Quillbox")
        self.desktop.key("Return")
        second.wait_window_gone("Quillbox")
        second.wait_active()
        return first, second

    def bring(self, app):
        """Brings a copy to the front: a shown one through the window manager (a click on the
        tray icon of a window in front would hide it), a hidden one by a click on its own tray
        icon."""
        shown = app.window(visible=True)
        if shown:
            self.desktop.run("xdotool", "windowactivate", "--sync", shown, check=False)
        else:
            icon = wait_until(lambda: self.desktop.tray_icon(app.pid),
                              what="the tray icon docked")
            self.desktop.click_at(*icon)
        app.wait_active()

    def edit_and_hide(self, app, text, page=0):
        self.bring(app)
        self.desktop.key(*(["ctrl+Tab"] * page), "ctrl+Home")
        self.desktop.type_text(text)
        self.wait_line(text)
        before = app.file_state()
        self.desktop.key("Escape")
        app.wait_hidden()
        app.wait_saved(before)

    def assert_line(self, expected, next_page=False):
        """The first line of the shown page, or of the next one."""
        if next_page:
            self.desktop.key("ctrl+Tab")
        self.desktop.key("ctrl+Home", "End")
        self.wait_line(expected)

    def end(self, *apps):
        for app in apps:
            app.signal(signal.SIGTERM)
            self.assertEqual(app.wait_exit(), 0)

    def test_edits_of_different_pages_reach_both_copies_and_the_file(self):
        first, second = self.start_copies()
        self.edit_and_hide(first, "one ", page=0)
        self.edit_and_hide(second, "two ", page=1)
        ini = read_ini(first.notes)
        self.assertEqual(page_lines(ini, 0), ["one alpha text"])
        self.assertEqual(page_lines(ini, 1), ["two beta text"])

        self.bring(first)  # shown on page Alpha, which it edited
        self.assert_line("one alpha text")
        self.assert_line("two beta text", next_page=True)
        self.desktop.key("Escape")
        first.wait_hidden()
        self.bring(second)  # shown on page Beta, which it edited
        self.assert_line("two beta text")
        self.assert_line("one alpha text", next_page=True)

        self.end(first, second)
        ini = read_ini(first.notes)
        self.assertEqual(page_names(ini), ["Alpha", "Beta"])
        self.assertEqual(page_lines(ini, 0), ["one alpha text"])
        self.assertEqual(page_lines(ini, 1), ["two beta text"])

    def test_a_page_both_copies_changed_keeps_both_texts(self):
        first, second = self.start_copies()
        self.edit_and_hide(first, "one ")
        self.edit_and_hide(second, "two ")
        expected = (["Alpha", ELSEWHERE, "Beta"],
                    [["two alpha text"], ["one alpha text"], ["beta text"]])
        ini = read_ini(first.notes)
        self.assertEqual((page_names(ini), [page_lines(ini, i) for i in range(3)]), expected)

        # Shown again, the first copy shows what the file holds: the extra page is there.
        self.bring(first)
        self.assert_line("two alpha text")
        self.assert_line("one alpha text", next_page=True)
        self.end(first, second)
        ini = read_ini(first.notes)
        self.assertEqual((page_names(ini), [page_lines(ini, i) for i in range(3)]), expected)
