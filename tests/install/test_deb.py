"""Builds the Debian package with cpack, installs it on this machine with apt, runs the
installed program and removes the package again, checking that nothing is left behind.

It changes the machine, so it runs only as root with CI=true or QUILLBOX_DEB_TEST=1 and is
skipped otherwise (exit code 77)."""

import glob
import os
import subprocess
import sys
import tempfile
import unittest

import installlayout as layout

SKIP = 77
INSTALL_PREFIX = "/usr"
ARGS = None


def apt_get(*args, cwd=None):
    env = dict(os.environ, DEBIAN_FRONTEND="noninteractive")
    return subprocess.run(["apt-get", "-y", "-q", *args], cwd=cwd, env=env,
                          capture_output=True, text=True, check=False)


def package_status():
    result = subprocess.run(["dpkg-query", "-W", "-f=${Status}", layout.PACKAGE],
                            capture_output=True, text=True, check=False)
    return result.stdout if result.returncode == 0 else ""


def skip_reason():
    if os.geteuid() != 0:
        return "installing a package needs root"
    if os.environ.get("CI") != "true" and os.environ.get("QUILLBOX_DEB_TEST") != "1":
        return "set CI=true or QUILLBOX_DEB_TEST=1 to let this test install a package"
    if "installed" in package_status().split():
        return f"{layout.PACKAGE} is already installed on this machine; leaving it alone"
    return None


class DebianPackageTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.tmp = tempfile.TemporaryDirectory(prefix="quillbox-deb-")
        subprocess.run(["cpack", "-G", "DEB", "-B", cls.tmp.name,
                        "--config", os.path.join(ARGS.build_dir, "CPackConfig.cmake")],
                       check=True, stdout=subprocess.DEVNULL)
        debs = glob.glob(os.path.join(cls.tmp.name, f"{layout.PACKAGE}_*.deb"))
        if len(debs) != 1:
            raise RuntimeError(f"cpack made {debs}, not one {layout.PACKAGE}_*.deb")
        cls.deb = debs[0]
        cls.files = {os.path.join(INSTALL_PREFIX, path)
                     for path in layout.expected_files(ARGS.source_dir)}

    @classmethod
    def tearDownClass(cls):
        cls.tmp.cleanup()

    def field(self, name):
        return subprocess.run(["dpkg-deb", "--field", self.deb, name], capture_output=True,
                              text=True, check=True).stdout.strip()

    def test_control_fields(self):
        self.assertEqual(self.field("Package"), layout.PACKAGE)
        self.assertEqual(self.field("Version"), ARGS.version)
        self.assertEqual(self.field("Section"), "utils")
        self.assertRegex(self.field("Maintainer"), r"^\S.* <\S+@\S+>$")
        self.assertRegex(self.field("Homepage"), r"^https?://")
        self.assertIn("\n", self.field("Description"), "the description has no long part")
        depends = {item.split()[0] for item in self.field("Depends").split(", ")}
        for library in ("libc6", "libqt6core6", "libqt6widgets6", "libqt6svg6"):
            with self.subTest(depends=library):
                self.assertIn(library, depends)

    def test_contents(self):
        listing = subprocess.run(["dpkg-deb", "--contents", self.deb], capture_output=True,
                                 text=True, check=True).stdout
        files = {line.split()[-1].lstrip(".") for line in listing.splitlines()
                 if line.startswith("-")}
        self.assertEqual(files, self.files)

    def test_install_run_and_remove(self):
        self.addCleanup(apt_get, "purge", layout.PACKAGE)
        install = apt_get("install", f"./{os.path.basename(self.deb)}", cwd=self.tmp.name)
        self.assertEqual(install.returncode, 0, install.stdout + install.stderr)
        for path in sorted(self.files):
            with self.subTest(installed=path):
                self.assertTrue(os.path.isfile(path))

        version_failure = layout.version_failure(
            os.path.join(INSTALL_PREFIX, layout.PROGRAM), ARGS.version)

        remove = apt_get("remove", layout.PACKAGE)
        self.assertEqual(remove.returncode, 0, remove.stdout + remove.stderr)
        self.assertEqual([path for path in sorted(self.files) if os.path.lexists(path)], [])
        self.assertFalse(os.path.exists(os.path.join(INSTALL_PREFIX, layout.DOC_DIR)))
        self.assertIsNone(version_failure, version_failure)


def main():
    global ARGS
    ARGS, rest = layout.parse_arguments(__doc__)
    reason = skip_reason()
    if reason:
        print(f"skipped: {reason}")
        sys.exit(SKIP)
    unittest.main(argv=[sys.argv[0], "-v", *rest])


if __name__ == "__main__":
    main()
