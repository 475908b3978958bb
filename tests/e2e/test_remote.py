"""`quillbox --toggle` and `--show` from a second process, as a desktop's keyboard settings or
its application menu run them, against the copy that runs already."""

import configparser
import os
import shlex
import socket
import statistics
import subprocess
import time

from desktop import Quillbox, wait_until
from e2ecase import QuillboxCase
from notesfile import page_lines, read_ini

TEXT = "alpha beta.gamma delta"
ENTRY = os.path.join(os.path.dirname(__file__), "..", "..", "data", "quillbox.desktop")
ROUNDS = 5


class RemoteCommandTest(QuillboxCase):
    def client(self, *args):
        """Runs a second copy with args on the same Notes file; returns its exit code."""
        started = time.monotonic()
        result = subprocess.run([self.binary, *args, "--notes", self.notes],
                                env=self.desktop.env, capture_output=True, text=True,
                                timeout=30)
        seconds = time.monotonic() - started
        print(f"\n  {' '.join(args)}: the client ended after {seconds * 1000:.0f} ms", end="")
        self.assertEqual(result.stderr, "")
        self.assertEqual(result.stdout, "")
        return result.returncode

    def program_windows(self):
        """The main windows of every copy on this desktop, shown or not, by process id."""
        found = {}
        for window in self.desktop.windows(name=f"^{Quillbox.CAPTION}"):
            pid = self.desktop.run("xdotool", "getwindowpid", window, check=False)
            found.setdefault(pid, []).append(window)
        return found

    def test_toggle_shows_hides_and_saves_and_show_never_hides(self):
        app = self.start_in_front()
        self.desktop.key("Escape")
        app.wait_hidden()

        self.assertEqual(self.client("--toggle"), 0)
        app.wait_active()
        self.desktop.key("ctrl+End")
        self.desktop.type_text(" zeta")
        self.wait_line(TEXT + " zeta")
        before = app.file_state()
        self.assertEqual(self.client("--toggle"), 0)
        app.wait_hidden()
        app.wait_saved(before)
        self.assertEqual(page_lines(read_ini(app.notes), 0), [TEXT + " zeta"])

        self.assertEqual(self.client("--show"), 0)
        app.wait_active()
        self.assertEqual(self.client("--show"), 0)
        # The running copy takes the commands in the order they came: had the second --show
        # hidden the window, this --toggle would show it again.
        self.assertEqual(self.client("--toggle"), 0)
        app.wait_hidden()
        self.assertEqual(self.client("--show"), 0)
        app.wait_active()

    def test_toggle_brings_a_covered_window_to_the_front(self):
        app = self.start_in_front()
        self.other_window()
        self.assertFalse(app.is_active())
        self.assertEqual(self.client("--toggle"), 0)
        app.wait_active()

    def test_toggle_without_a_running_copy_starts_one_and_shows_it(self):
        # Even with "Minimize on Startup" set: whoever asked wants the window.
        app = self.start("--toggle", extra={"AutoMini": "01"})
        app.wait_started()
        app.wait_active()
        self.assertEqual(list(self.program_windows()), [str(app.pid)])

    def test_desktop_entry_command_shows_the_copy_running_hidden(self):
        parser = configparser.ConfigParser(interpolation=None)
        parser.optionxform = str
        parser.read(ENTRY, encoding="utf-8")
        command = shlex.split(parser["Desktop Entry"]["Exec"])
        self.assertEqual(command[0], "quillbox")
        app = self.start("/HIDE")
        app.wait_started()
        app.wait_hidden()

        self.assertEqual(self.client(*command[1:]), 0)
        app.wait_active()
        self.assertEqual(list(self.program_windows()), [str(app.pid)])

    def test_a_silent_client_holds_up_neither_the_hot_key_nor_other_clients(self):
        app = self.start_in_front()
        address = os.path.join(self.desktop.env["XDG_RUNTIME_DIR"], "quillboxrunningmutex")
        with socket.socket(socket.AF_UNIX, socket.SOCK_STREAM) as silent:
            silent.connect(address)
            self.hot_key(app, shown=False)
            self.hot_key(app)
            self.assertEqual(self.client("--toggle"), 0)
            app.wait_hidden()
            # The running copy hangs up on it before long: the read ends without data.
            silent.settimeout(20)
            self.assertEqual(silent.recv(1), b"")

    def test_toggle_time_beside_the_hot_key(self):
        app = self.start_in_front()
        timings = {"hot key": [], "--toggle": []}
        for _ in range(ROUNDS):
            for way in timings:
                self.desktop.key("Escape")
                app.wait_hidden()
                started = time.monotonic()
                if way == "hot key":
                    self.desktop.run("xdotool", "key", "--clearmodifiers", "ctrl+alt+a")
                else:
                    self.assertEqual(self.client("--toggle"), 0)
                wait_until(app.is_active, interval=0.005, what="the window in front")
                timings[way].append(time.monotonic() - started)
        print()
        for way, seconds in timings.items():
            print(f"  median time from {way} to the window in front: "
                  f"{statistics.median(seconds) * 1000:.0f} ms over {ROUNDS} rounds")
