"""What an installed Quillbox consists of, shared by the install-tree and the package tests."""

import argparse
import os
import subprocess
import tempfile

PACKAGE = "quillbox"
APP_ID = "io.github.quillbox.Quillbox"
ICON_SIZES = (32, 48, 64, 128, 256)
PROGRAM = "bin/quillbox"
DESKTOP_ENTRY = "share/applications/quillbox.desktop"
METAINFO = f"share/metainfo/{APP_ID}.metainfo.xml"
SCALABLE_ICON = "share/icons/hicolor/scalable/apps/quillbox.svg"
DOC_DIR = "share/doc/quillbox"
HELP_SOURCE = "docs/help/Quillbox.html"


def parse_arguments(description):
    """The build and source folders and the project version a test checks against, and the
    arguments left for unittest."""
    parser = argparse.ArgumentParser(description=description)
    parser.add_argument("--build-dir", required=True)
    parser.add_argument("--source-dir", required=True)
    parser.add_argument("--version", required=True)
    return parser.parse_known_args()


def png_icon(size):
    return f"share/icons/hicolor/{size}x{size}/apps/quillbox.png"


def expected_files(source_dir):
    """Every file an installation holds, relative to its prefix."""
    files = {PROGRAM, DESKTOP_ENTRY, METAINFO, SCALABLE_ICON, f"{DOC_DIR}/LICENSE"}
    files.update(png_icon(size) for size in ICON_SIZES)
    if os.path.exists(os.path.join(source_dir, HELP_SOURCE)):
        files.add(f"{DOC_DIR}/Quillbox.html")
    return files


def run_version(program):
    """Runs `program --version` as from a terminal without a display, in an empty home.

    Returns the finished process and the files the run left in that home.
    """
    with tempfile.TemporaryDirectory(prefix="quillbox-home-") as home:
        env = {key: value for key, value in os.environ.items()
               if key not in ("DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM")
               and not key.startswith("XDG_")}
        env["HOME"] = home
        result = subprocess.run([program, "--version"], env=env, capture_output=True,
                                text=True, timeout=20, check=False)
        left = [os.path.relpath(os.path.join(root, name), home)
                for root, _, names in os.walk(home) for name in names]
    return result, left


def version_failure(program, version):
    """Why `program --version` does not behave, or None when it prints its name and version."""
    try:
        result, left = run_version(program)
    except subprocess.TimeoutExpired:
        return f"{program} --version did not exit within 20 s"
    if result.returncode != 0:
        return (f"{program} --version exited with {result.returncode}\n"
                f"stdout: {result.stdout}\nstderr: {result.stderr}")
    if not any("Quillbox" in line and version in line for line in result.stdout.splitlines()):
        return f"{program} --version printed no line naming Quillbox {version}: {result.stdout!r}"
    notes = [path for path in left if os.path.basename(path) == "Quillbox.ini"]
    if notes:
        return f"{program} --version created a Notes file: {notes}"
    return None
