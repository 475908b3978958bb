"""The Notes file the program starts on: a default file it cannot use is refused in a message
box before anything is written, and a file without stored bounds opens the window where it was
designed to stand."""

import os
import stat
import unittest

from desktop import Quillbox
from e2ecase import QuillboxCase


class NotesFileTest(QuillboxCase):
    def test_default_notes_file_that_is_a_fifo_is_refused(self):
        folder = os.path.join(self.desktop.home, ".local/share/Quillbox")
        os.makedirs(folder, exist_ok=True)
        fifo = os.path.join(folder, "Quillbox.ini")
        os.mkfifo(fifo)
        self.addCleanup(os.remove, fifo)
        app = Quillbox(self.desktop, self.binary)
        app.process = self.desktop.spawn([self.binary])
        self.apps.append(app)
        app.wait_window("Error", timeout=20)
        self.desktop.key("Return")
        self.assertEqual(app.wait_exit(), 1)
        self.assertTrue(stat.S_ISFIFO(os.stat(fifo).st_mode))
        self.assertEqual(os.listdir(folder), ["Quillbox.ini"])

    def test_window_opens_at_the_designed_bounds(self):
        app = self.start_in_front()
        self.assertEqual(self.desktop.window_geometry(app.window()), (249, 109, 666, 577))


if __name__ == "__main__":
    unittest.main()
