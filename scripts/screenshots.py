#!/usr/bin/env python3
"""Takes the screenshots under docs/screenshots/ with the built program on an Xvfb desktop (the
end-to-end harness): the main window with twelve pages, the About box, the Options dialog and
the help window, at scale 1 and 2.

    scripts/screenshots.py build/src/app/quillbox

The help window is the program's own: the program runs without a desktop launcher on its PATH.
Pictures are written with a reduced palette to keep them small."""

import os
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "tests", "e2e"))

from desktop import Desktop, Quillbox, wait_until  # noqa: E402
from fixtures import write_plain_notes  # noqa: E402

OUT = os.path.join(HERE, "..", "docs", "screenshots")
PAGES = [
    ("Passwords", ["Bank  user: jsmith  password: Tr0ub4dor&3", "Mail  pw: correct-horse",
                   "WWW www.example.org  UN: js  PWD: 1234"], True),
    ("Addresses", ["Anna Berg, 12 Mill Lane, Leeds LS2 7AB", "Tel 0113 496 0123"], False),
    ("Work", ["Meeting notes 14.03: budget 2500, deadline Friday",
              "http://intranet.example.com/wiki"], False),
    ("Shopping", ["milk", "bread", "6 eggs"], False),
    ("Ideas", ["A garden bench from old pallets"], False),
    ("Books", ["The Name of the Rose", "Middlemarch"], False),
    ("Recipes", ["Pancakes: 200 g flour, 2 eggs, 300 ml milk"], False),
    ("Car", ["Service due at 60000 km", "Tyres 205/55 R16"], False),
    ("Travel", ["Train 07:42 from platform 3"], False),
    ("Health", ["Dentist 9 May 10:30"], False),
    ("Projects", ["Quillbox screenshots"], False),
    ("Misc", ["Wi-Fi PASSWORD: kettle-lamp-42"], False),
]


def save(desktop, window, name):
    raw = os.path.join(desktop.home, name + ".png")
    desktop.run("import", "-window", str(window), raw)
    target = os.path.join(OUT, name + ".png")
    subprocess.run(["convert", raw, "-strip", "-dither", "None", "-colors", "96",
                    "PNG8:" + target], check=True)
    print(target, os.path.getsize(target), "bytes")


def dialog(desktop, app, keys, title, name):
    desktop.key(*keys)
    window = app.wait_window(title)
    wait_until(lambda: desktop.window_geometry(window)[2] > 50, what=title)
    desktop.run("sleep", "0.5")
    save(desktop, window, name)
    return window


def take(binary, scale):
    screen = "1280x900x24" if scale == 1 else "2560x1800x24"
    desktop = Desktop(screen=screen).start()
    try:
        desktop.env["QT_SCALE_FACTOR"] = str(scale)
        notes = os.path.join(desktop.home, "Quillbox.ini")
        write_plain_notes(notes, PAGES, extra={"Wraptext": "00"})
        launcherless = tempfile.mkdtemp(dir=desktop.home)
        saved_env = desktop.env
        desktop.env = dict(saved_env, PATH=launcherless)
        app = Quillbox(desktop, binary, notes).start()
        desktop.env = saved_env
        main = app.wait_started()
        app.wait_active()
        desktop.run("sleep", "0.5")
        suffix = f"{scale}x"
        save(desktop, main, f"main-{suffix}")
        dialog(desktop, app, ["alt+h", "a"], "About Quillbox", f"about-{suffix}")
        desktop.key("Escape")
        app.wait_window_gone("About Quillbox")
        dialog(desktop, app, ["ctrl+o"], "Quillbox Options", f"options-{suffix}")
        desktop.key("Escape")
        app.wait_window_gone("Quillbox Options")
        app.wait_active()
        dialog(desktop, app, ["F1"], "Quillbox Help", f"help-{suffix}")
        printed = app.stderr_lines()
        if printed:
            print("the program printed on standard error:", *printed, sep="\n  ")
        app.process.kill()
        app.process.wait()
    finally:
        desktop.stop()


def main():
    binary = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else "build/src/app/quillbox")
    os.makedirs(OUT, exist_ok=True)
    for scale in (1, 2):
        take(binary, scale)


if __name__ == "__main__":
    main()
