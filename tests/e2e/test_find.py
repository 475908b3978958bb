"""Find across pages from the keyboard: the found page comes up with the occurrence selected, and
a page that is locked is passed over."""

import unittest

from e2ecase import QuillboxCase
from fixtures import stored_password


class FindTest(QuillboxCase):
    tray = False

    def test_find_shows_the_page_with_the_occurrence_and_passes_over_locked_pages(self):
        app = self.start_in_front(
            pages=[("Start", ["nothing to see"], False),
                   ("Locked", ["the needle in the vault"], True),
                   ("Target", ["where is the Needle now"], False)],
            extra={"User1": "01", "User2": stored_password("secret")})
        self.desktop.key("ctrl+f")
        app.wait_window("Quillbox Find Text")
        self.desktop.type_text("needle")
        self.desktop.key("Return")
        app.wait_window_gone("Quillbox Find Text")
        app.wait_active()
        self.desktop.set_clipboard("nothing copied yet")
        self.desktop.key("ctrl+c")  # the selection: the occurrence in the page's own case
        self.desktop.wait_clipboard("Needle")
        self.desktop.key("End", "shift+Home", "ctrl+c")  # on the third page
        self.desktop.wait_clipboard("where is the Needle now")


if __name__ == "__main__":
    unittest.main()
