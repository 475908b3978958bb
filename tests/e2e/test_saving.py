"""Saving while another program holds the lock of the Notes file (a real `flock` process): Save
tells the user when it fails and keeps the changes for the next save, and an exit asked for
inside a save's wait for the lock ends only once the typed text is in the file."""

import os
import signal
import subprocess
import unittest

from desktop import wait_until
from e2ecase import QuillboxCase
from notesfile import page_lines, read_ini

TEXT = "alpha beta.gamma delta"


def lock_file_of(notes):
    """The store's lock file beside a Notes file: the first five characters of the file's base
    name followed by "Ini.lck" (QuillIni.lck for Quillbox.ini)."""
    base = os.path.basename(notes).lstrip(".").split(".", 1)[0]
    return os.path.join(os.path.dirname(notes), base[:5] + "Ini.lck")


class SavingTest(QuillboxCase):
    def setUp(self):
        super().setUp()
        self.notes = os.path.join(self.desktop.home, "Quillbox.ini")

    def hold_lock(self, notes):
        """Another program holds the lock file until release() (flock and its sleep are one
        process group, ended together)."""
        lock = lock_file_of(notes)
        holder = subprocess.Popen(["flock", lock, "sleep", "600"], start_new_session=True,
                                  stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.addCleanup(self.release, holder)
        wait_until(lambda: subprocess.run(["flock", "-n", lock, "true"]).returncode != 0,
                   what="the lock held by flock")
        return holder

    @staticmethod
    def release(holder):
        if holder.poll() is None:
            os.killpg(holder.pid, signal.SIGTERM)
            holder.wait()

    def start_typing(self):
        app = self.start_in_front(pages=[("First", [TEXT], False)])
        self.desktop.type_text("typed ")
        self.wait_line("typed ")
        return app

    def test_failed_save_says_so_and_the_next_save_writes_the_text(self):
        app = self.start_typing()
        holder = self.hold_lock(app.notes)
        before = app.file_state()

        self.desktop.key("ctrl+s")
        app.wait_window("Error", timeout=20)
        self.assertEqual(app.file_state(), before)
        self.desktop.key("Return")
        app.wait_window_gone("Error")
        app.wait_active()
        self.assertIsNone(app.process.poll())

        # Nothing typed since: the changes were kept, so this Save writes them.
        self.release(holder)
        self.desktop.key("ctrl+s")
        app.wait_saved(before)
        self.assertEqual(page_lines(read_ini(app.notes), 0), ["typed " + TEXT])
        app.signal(signal.SIGTERM)
        self.assertEqual(app.wait_exit(), 0)

    def test_exit_inside_the_lock_wait_of_a_save_ends_after_the_text_is_written(self):
        for exit_by in ("alt+x", "SIGTERM"):
            for released in (True, False):
                with self.subTest(exit=exit_by, lock_released_in_the_wait=released):
                    self._exit_during_the_wait(exit_by, released)

    def _exit_during_the_wait(self, exit_by, released):
        app = self.start_typing()
        holder = self.hold_lock(app.notes)
        if exit_by == "alt+x":
            self.desktop.key("ctrl+s", "alt+x")
        else:
            self.desktop.key("ctrl+s")
            app.signal(signal.SIGTERM)
        # The exit is taken at once (the window goes), but the program runs on while its save
        # waits for the lock.
        app.wait_hidden()
        self.assertIsNone(app.process.poll())
        if released:
            self.release(holder)
            # Ends by itself once the save went through; on a slow machine both waits may have
            # run out first, and then the Retry / Exit question comes up.
            wait_until(lambda: app.process.poll() is not None or app.windows(name="^Error$"),
                       timeout=20, what="the end or the question")
        else:
            # The save and the exit's own retry both fail: the user is asked (Retry is the
            # default button) and the lock goes only then.
            wait_until(lambda: app.windows(name="^Error$"), timeout=20, what="the question")
            self.assertIsNone(app.process.poll())
            self.release(holder)
        if app.process.poll() is None:
            box = app.windows(name="^Error$")[0]
            self.desktop.run("xdotool", "windowactivate", "--sync", box, check=False)
            app.wait_window("Error")
            self.desktop.key("Return")
        self.assertEqual(app.wait_exit(timeout=20), 0)
        self.assertEqual(page_lines(read_ini(app.notes), 0), ["typed " + TEXT])


if __name__ == "__main__":
    unittest.main()
