"""Installs the build into a temporary prefix with `cmake --install` and checks what a Linux
desktop finds there: the program, its desktop entry, icons, metainfo, licence and manual."""

import configparser
import filecmp
import os
import struct
import subprocess
import sys
import tempfile
import unittest
import xml.etree.ElementTree as ElementTree

import installlayout as layout

ARGS = None


def png_size(path):
    with open(path, "rb") as png:
        header = png.read(24)
    if header[:8] != b"\x89PNG\r\n\x1a\n" or header[12:16] != b"IHDR":
        return None
    return struct.unpack(">II", header[16:24])


class InstallLayoutTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.tmp = tempfile.TemporaryDirectory(prefix="quillbox-prefix-")
        cls.prefix = cls.tmp.name
        subprocess.run(["cmake", "--install", ARGS.build_dir, "--prefix", cls.prefix],
                       check=True, stdout=subprocess.DEVNULL)

    @classmethod
    def tearDownClass(cls):
        cls.tmp.cleanup()

    def path(self, relative):
        return os.path.join(self.prefix, relative)

    def test_installs_exactly_the_application_files(self):
        installed = {os.path.relpath(os.path.join(root, name), self.prefix)
                     for root, _, names in os.walk(self.prefix) for name in names}
        self.assertEqual(installed, layout.expected_files(ARGS.source_dir))

    def test_program_is_executable(self):
        program = self.path(layout.PROGRAM)
        self.assertTrue(os.access(program, os.X_OK), program)

    def test_desktop_entry(self):
        entry_path = self.path(layout.DESKTOP_ENTRY)
        validation = subprocess.run(["desktop-file-validate", entry_path],
                                    capture_output=True, text=True, check=False)
        self.assertEqual(validation.returncode, 0, validation.stdout + validation.stderr)
        self.assertEqual(validation.stdout.strip(), "", "desktop-file-validate has hints")

        parser = configparser.ConfigParser(interpolation=None)
        parser.optionxform = str
        parser.read(entry_path, encoding="utf-8")
        entry = parser["Desktop Entry"]
        expected = {"Type": "Application", "Name": "Quillbox", "Icon": "quillbox",
                    "Exec": "quillbox --show", "Categories": "Utility;TextEditor;",
                    "StartupNotify": "false", "Terminal": "false"}
        for key, value in expected.items():
            with self.subTest(key=key):
                self.assertEqual(entry.get(key), value)
        self.assertTrue(entry.get("Comment"), "the entry has no Comment")
        # Chosen from the menu while a copy runs in the background, it shows that copy.
        self.assertEqual(os.path.basename(layout.PROGRAM), entry["Exec"].split()[0])

    def test_metainfo(self):
        metainfo_path = self.path(layout.METAINFO)
        # validate-tree also checks that the launchable desktop entry is installed beside it.
        for command in ("validate", metainfo_path), ("validate-tree", self.prefix):
            with self.subTest(command=command[0]):
                validation = subprocess.run(["appstreamcli", command[0], "--no-net", command[1]],
                                            capture_output=True, text=True, check=False)
                self.assertEqual(validation.returncode, 0, validation.stdout + validation.stderr)

        component = ElementTree.parse(metainfo_path).getroot()
        self.assertEqual(component.get("type"), "desktop-application")
        self.assertEqual(component.findtext("id"), layout.APP_ID)
        self.assertEqual(component.findtext("project_license"), "GPL-3.0-or-later")
        self.assertIn(component.findtext("metadata_license"), ("FSFAP", "CC0-1.0"))
        launchable = component.find("launchable[@type='desktop-id']")
        self.assertIsNotNone(launchable)
        self.assertEqual(launchable.text, os.path.basename(layout.DESKTOP_ENTRY))
        self.assertIsNotNone(component.find("description"))
        self.assertIsNotNone(component.find("content_rating"))
        releases = [release.get("version") for release in component.iter("release")]
        self.assertIn(ARGS.version, releases)

    def test_icons(self):
        svg = ElementTree.parse(self.path(layout.SCALABLE_ICON)).getroot()
        self.assertEqual(svg.tag, "{http://www.w3.org/2000/svg}svg")
        for size in layout.ICON_SIZES:
            with self.subTest(size=size):
                self.assertEqual(png_size(self.path(layout.png_icon(size))), (size, size))

    def test_documents(self):
        docs = [("LICENSE", "LICENSE")]
        if os.path.exists(os.path.join(ARGS.source_dir, layout.HELP_SOURCE)):
            docs.append((layout.HELP_SOURCE, "Quillbox.html"))
        for source, installed in docs:
            with self.subTest(document=installed):
                self.assertTrue(filecmp.cmp(os.path.join(ARGS.source_dir, source),
                                            self.path(f"{layout.DOC_DIR}/{installed}"),
                                            shallow=False))

    def test_version(self):
        failure = layout.version_failure(self.path(layout.PROGRAM), ARGS.version)
        self.assertIsNone(failure, failure)


def main():
    global ARGS
    ARGS, rest = layout.parse_arguments(__doc__)
    unittest.main(argv=[sys.argv[0], "-v", *rest])


if __name__ == "__main__":
    main()
