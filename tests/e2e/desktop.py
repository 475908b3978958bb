"""A real X desktop for end-to-end tests: Xvfb, the openbox window manager and the trayer tray
host, driven the way a person would with xdotool, with the clipboard read through xclip."""

import os
import shutil
import signal
import subprocess
import tempfile
import time


def _free_display() -> int:
    for number in range(90, 200):
        if not os.path.exists(f"/tmp/.X11-unix/X{number}") and not os.path.exists(f"/tmp/.X{number}-lock"):
            return number
    raise RuntimeError("no free X display number")


def wait_until(predicate, timeout=10.0, interval=0.05, what="condition"):
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        result = predicate()
        if result:
            return result
        time.sleep(interval)
    raise AssertionError(f"timed out after {timeout} s waiting for {what}")


class Desktop:
    def __init__(self):
        self.display = f":{_free_display()}"
        self.home = tempfile.mkdtemp(prefix="quillbox-e2e-")
        self.env = dict(os.environ)
        for name in ("QT_QPA_PLATFORM", "WAYLAND_DISPLAY", "SESSION_MANAGER"):
            self.env.pop(name, None)
        self.env.update(
            DISPLAY=self.display,
            HOME=self.home,
            XDG_CONFIG_HOME=os.path.join(self.home, ".config"),
            XDG_DATA_HOME=os.path.join(self.home, ".local/share"),
            XDG_RUNTIME_DIR=self.home,
        )
        self._processes = []

    def start(self, tray=True):
        number = self.display[1:]
        self._spawn(["Xvfb", self.display, "-screen", "0", "1280x800x24", "-nolisten", "tcp"])
        wait_until(lambda: os.path.exists(f"/tmp/.X11-unix/X{number}"), what="Xvfb")
        self._spawn(["openbox", "--sm-disable"])
        wait_until(lambda: self._ok(["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"], "window id"),
                   what="openbox")
        if tray:
            self._spawn(["trayer", "--edge", "top", "--align", "right", "--widthtype", "request",
                         "--height", "24", "--SetDockType", "true", "--expand", "true"])
            wait_until(lambda: self.windows(classname="trayer"), what="trayer")
        return self

    def stop(self):
        for process in reversed(self._processes):
            if process.poll() is None:
                process.terminate()
                try:
                    process.wait(timeout=5)
                except subprocess.TimeoutExpired:
                    process.kill()
                    process.wait()
        self._processes.clear()
        shutil.rmtree(self.home, ignore_errors=True)

    def _spawn(self, argv, **kwargs):
        process = subprocess.Popen(argv, env=self.env, stdout=subprocess.DEVNULL,
                                   stderr=subprocess.DEVNULL, **kwargs)
        self._processes.append(process)
        return process

    def spawn(self, argv, **kwargs):
        """Starts a program on this desktop; it is ended with the desktop."""
        return self._spawn(argv, **kwargs)

    def _ok(self, argv, needle=""):
        result = subprocess.run(argv, env=self.env, capture_output=True, text=True)
        return result.returncode == 0 and needle in result.stdout

    def run(self, *argv, check=True) -> str:
        result = subprocess.run(list(argv), env=self.env, capture_output=True, text=True, timeout=30)
        if check and result.returncode != 0:
            raise RuntimeError(f"{argv} failed: {result.stderr}")
        return result.stdout.strip()

    # --- windows -------------------------------------------------------------------------
    def windows(self, name=None, classname=None, visible=False) -> list[str]:
        argv = ["xdotool", "search"]
        if visible:
            argv.append("--onlyvisible")
        if name is not None:
            argv += ["--name", name]
        else:
            argv += ["--class", classname]
        return self.run(*argv, check=False).split()

    def active_window_name(self) -> str:
        return self.run("xdotool", "getactivewindow", "getwindowname", check=False)

    def key(self, *keys, window=None):
        argv = ["xdotool", "key", "--clearmodifiers"]
        if window:
            argv += ["--window", window]
        self.run(*argv, *keys)

    def type_text(self, text):
        self.run("xdotool", "type", "--delay", "20", text)

    def click_at(self, x, y, button=1, repeat=1):
        self.run("xdotool", "mousemove", str(x), str(y), "click", "--repeat", str(repeat),
                 "--delay", "80", str(button))

    def window_geometry(self, window) -> tuple[int, int, int, int]:
        values = {}
        for line in self.run("xdotool", "getwindowgeometry", "--shell", window).splitlines():
            key, _, value = line.partition("=")
            values[key] = int(value)
        return values["X"], values["Y"], values["WIDTH"], values["HEIGHT"]

    def tray_icon_center(self) -> tuple[int, int]:
        """The middle of the first icon docked in trayer."""
        tray = self.windows(classname="trayer")[0]
        x, y, width, height = self.window_geometry(tray)
        return x + min(width, height) // 2, y + height // 2

    def clipboard(self) -> str:
        return self.run("xclip", "-o", "-selection", "clipboard", check=False)

    def screenshot(self, path):
        self.run("import", "-window", "root", path)


class Quillbox:
    """The real program on a desktop, with its own Notes file."""

    CAPTION = "Quillbox by Brackmoor"

    def __init__(self, desktop: Desktop, binary: str, notes: str | None = None):
        self.desktop = desktop
        self.binary = binary
        self.notes = notes or os.path.join(desktop.home, "Quillbox.ini")
        self.process = None

    def start(self, *args):
        self.process = self.desktop.spawn([self.binary, *args, "--notes", self.notes])
        return self

    def window(self, visible=True) -> str | None:
        found = self.desktop.windows(name=self.CAPTION, visible=visible)
        return found[0] if found else None

    def wait_shown(self, timeout=10.0) -> str:
        return wait_until(lambda: self.window(visible=True), timeout, what="the window shown")

    def wait_hidden(self, timeout=10.0):
        wait_until(lambda: self.window(visible=True) is None, timeout, what="the window hidden")

    def wait_active(self, timeout=10.0):
        wait_until(lambda: self.desktop.active_window_name().startswith(self.CAPTION), timeout,
                   what="the window in front")

    def wait_exit(self, timeout=15.0) -> int:
        return self.process.wait(timeout=timeout)

    def signal(self, number=signal.SIGTERM):
        self.process.send_signal(number)

    def notes_mtime(self) -> float:
        return os.stat(self.notes).st_mtime_ns if os.path.exists(self.notes) else 0
