#!/usr/bin/env python3
"""How quickly the real program answers a person, on a real X desktop (Xvfb, openbox, trayer):

- show: from the hot key press (xdotool key) to the notes window shown and focused, polled with
  `xdotool getactivewindow getwindowname` as fast as it answers;
- save: from Esc, after one typed character, to the Notes file replaced on disk, polled with
  os.stat as fast as it answers.

Each is measured over a number of tries (20 by default); the medians with min and max are
printed. Both include xdotool's own start (a few milliseconds, printed too) and the polling
step, so they are upper bounds of the program's share.

    QUILLBOX_BIN=build/src/app/quillbox python3 bench/e2e_latency.py [--tries N]
"""

import argparse
import os
import statistics
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "e2e"))

from desktop import Desktop, Quillbox, wait_until  # noqa: E402
from fixtures import write_plain_notes  # noqa: E402

HOT_KEY = "ctrl+alt+a"  # code 1065
TEXT = "alpha beta.gamma delta"


def measure_show(desktop: Desktop, app: Quillbox, timeout=10.0) -> float:
    poll = ["xdotool", "getactivewindow", "getwindowname"]
    start = time.perf_counter()
    subprocess.run(["xdotool", "key", HOT_KEY], env=desktop.env, check=True)
    deadline = start + timeout
    while time.perf_counter() < deadline:
        name = subprocess.run(poll, env=desktop.env, capture_output=True, text=True).stdout
        if name.startswith(Quillbox.CAPTION):
            return time.perf_counter() - start
    raise AssertionError("the window did not come to the front")


def measure_save(desktop: Desktop, app: Quillbox, timeout=10.0) -> float:
    before = app.file_state()
    start = time.perf_counter()
    subprocess.run(["xdotool", "key", "Escape"], env=desktop.env, check=True)
    deadline = start + timeout
    while time.perf_counter() < deadline:
        if app.file_state() not in (None, before):
            return time.perf_counter() - start
    raise AssertionError("the Notes file was not saved")


def xdotool_start(desktop: Desktop, tries=20) -> float:
    """The median time of an xdotool run that does nothing to the program."""
    times = []
    for _ in range(tries):
        start = time.perf_counter()
        subprocess.run(["xdotool", "getmouselocation"], env=desktop.env, capture_output=True)
        times.append(time.perf_counter() - start)
    return statistics.median(times)


def activate_other(desktop: Desktop, window: str):
    desktop.run("xdotool", "windowactivate", "--sync", window, check=False)
    wait_until(lambda: desktop.active_window_name() == "otherprogram",
               what="the other program in front")


def report(label, seconds):
    ms = [s * 1000 for s in seconds]
    print(f"{label}: median {statistics.median(ms):.1f} ms  (min {min(ms):.1f}, max {max(ms):.1f},"
          f" {len(ms)} tries)")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--binary", default=os.environ.get("QUILLBOX_BIN"),
                        help="the quillbox program (default: $QUILLBOX_BIN)")
    parser.add_argument("--tries", type=int, default=20)
    args = parser.parse_args()
    if not args.binary:
        parser.error("name the program with --binary or QUILLBOX_BIN")

    desktop = Desktop().start()
    try:
        desktop.spawn(["xmessage", "-name", "otherprogram", "-geometry", "+600+500", "other"])
        other = desktop.run("xdotool", "search", "--sync", "--name", "otherprogram").split()[0]
        notes = os.path.join(desktop.home, "Quillbox.ini")
        write_plain_notes(notes, [("First", [TEXT], False)])
        app = Quillbox(desktop, os.path.abspath(args.binary), notes).start()
        app.wait_started()
        app.wait_active()
        desktop.key("ctrl+End")
        desktop.key("Escape")
        app.wait_hidden()

        shows, saves = [], []
        for typed in range(1, args.tries + 1):
            activate_other(desktop, other)
            shows.append(measure_show(desktop, app))
            app.wait_active()
            desktop.type_text("x")
            # The line copied to the clipboard proves the character was taken.
            desktop.key("shift+Home", "ctrl+c")
            desktop.wait_clipboard(TEXT + "x" * typed)
            desktop.key("End")
            saves.append(measure_save(desktop, app))
            app.wait_hidden()

        print(f"quillbox end-to-end latency on Xvfb + openbox ({args.binary})")
        report("hot key -> window shown and focused", shows)
        report("Esc -> Notes file replaced         ", saves)
        print(f"one xdotool run (included in both): median "
              f"{xdotool_start(desktop) * 1000:.1f} ms")
    finally:
        desktop.stop()


if __name__ == "__main__":
    main()
