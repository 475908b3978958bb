"""A real X desktop for end-to-end tests: Xvfb, the openbox window manager and the trayer tray
host, driven the way a person would with xdotool, with the clipboard read through xclip."""

import ctypes
import os
import re
import shutil
import signal
import subprocess
import tempfile
import time


def wait_until(predicate, timeout=10.0, interval=0.05, what="condition"):
    """Polls predicate until it returns something true, which is returned."""
    deadline = time.monotonic() + timeout
    while True:
        result = predicate()
        if result:
            return result
        if time.monotonic() >= deadline:
            raise AssertionError(f"timed out after {timeout} s waiting for {what}")
        time.sleep(interval)


class _Xlib:
    """The few Xlib calls the command-line tools do not offer (selection owners)."""

    def __init__(self, display: str):
        self._lib = ctypes.cdll.LoadLibrary("libX11.so.6")
        self._lib.XOpenDisplay.restype = ctypes.c_void_p
        self._lib.XOpenDisplay.argtypes = [ctypes.c_char_p]
        self._lib.XInternAtom.restype = ctypes.c_ulong
        self._lib.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
        self._lib.XGetSelectionOwner.restype = ctypes.c_ulong
        self._lib.XGetSelectionOwner.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
        self._lib.XCloseDisplay.argtypes = [ctypes.c_void_p]
        self._display = self._lib.XOpenDisplay(display.encode())
        if not self._display:
            raise RuntimeError(f"cannot open display {display}")

    def selection_owner(self, name: str) -> int:
        atom = self._lib.XInternAtom(self._display, name.encode(), 0)
        return self._lib.XGetSelectionOwner(self._display, atom)

    def close(self):
        if self._display:
            self._lib.XCloseDisplay(self._display)
            self._display = None


def _read_ppm(data: bytes):
    """The pixels (r, g, b) of a binary PPM picture, row by row, with its width and height."""
    fields = []
    position = 0
    while len(fields) < 4:
        while data[position:position + 1].isspace():
            position += 1
        if data[position:position + 1] == b"#":
            position = data.index(b"\n", position) + 1
            continue
        end = position
        while not data[end:end + 1].isspace():
            end += 1
        fields.append(data[position:end])
        position = end
    if fields[0] != b"P6" or int(fields[3]) > 255:
        raise ValueError("not an 8-bit binary PPM picture")
    columns, rows = int(fields[1]), int(fields[2])
    body = data[position + 1:position + 1 + columns * rows * 3]
    pixels = [tuple(body[i:i + 3]) for i in range(0, len(body), 3)]
    return pixels, columns, rows


class WindowTree:
    """One reading of `xwininfo -root -tree`: every window with its name, class, parent and
    absolute geometry."""

    _LINE = re.compile(r'^(?P<indent>\s*)(?P<id>0x[0-9a-f]+) '
                       r'(?P<name>"(?:[^"\\]|\\.)*"|\(has no name\)): \((?P<cls>[^)]*)\)\s+'
                       r'(?P<w>\d+)x(?P<h>\d+)[+-]-?\d+[+-]-?\d+\s+'
                       r'\+(?P<x>-?\d+)\+(?P<y>-?\d+)')

    def __init__(self, text: str):
        self.windows = []
        stack = []  # (indent, window)
        for line in text.splitlines():
            match = self._LINE.match(line)
            if not match:
                continue
            indent = len(match["indent"])
            while stack and stack[-1][0] >= indent:
                stack.pop()
            name = match["name"]
            window = {
                "id": int(match["id"], 16),
                "name": name[1:-1] if name.startswith('"') else "",
                "class": re.findall(r'"([^"]*)"', match["cls"]),
                "x": int(match["x"]), "y": int(match["y"]),
                "width": int(match["w"]), "height": int(match["h"]),
                "parent": stack[-1][1] if stack else None,
            }
            self.windows.append(window)
            stack.append((indent, window))

    def find(self, predicate):
        return [window for window in self.windows if predicate(window)]

    @staticmethod
    def inside(window, ancestor) -> bool:
        parent = window["parent"]
        while parent is not None:
            if parent is ancestor:
                return True
            parent = parent["parent"]
        return False

    @staticmethod
    def center(window) -> tuple[int, int]:
        return window["x"] + window["width"] // 2, window["y"] + window["height"] // 2


class Desktop:
    def __init__(self, screen="1280x800x24"):
        self.screen = screen
        self.display = None
        self.home = tempfile.mkdtemp(prefix="quillbox-e2e-")
        self.env = dict(os.environ)
        for name in ("QT_QPA_PLATFORM", "WAYLAND_DISPLAY", "SESSION_MANAGER",
                     "DBUS_SESSION_BUS_ADDRESS", "XDG_CURRENT_DESKTOP", "QT_QPA_PLATFORMTHEME"):
            self.env.pop(name, None)
        self.env.update(
            HOME=self.home,
            XDG_CONFIG_HOME=os.path.join(self.home, ".config"),
            XDG_DATA_HOME=os.path.join(self.home, ".local/share"),
            XDG_RUNTIME_DIR=self.home,
        )
        self._processes = []
        self._xlib = None
        self._last_click = 0.0

    def start(self, tray=True):
        try:
            self._start_server()
            window_manager = self._spawn(["openbox", "--sm-disable"])
            wait_until(lambda: self._alive(window_manager, "openbox")
                       and self._ok(["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"], "window id"),
                       timeout=20, what="openbox")
            if tray:
                host = self._spawn(["trayer", "--edge", "top", "--align", "right", "--widthtype",
                                    "request", "--height", "24", "--SetDockType", "true",
                                    "--expand", "true"])
                wait_until(lambda: self._alive(host, "trayer")
                           and self._xlib.selection_owner("_NET_SYSTEM_TRAY_S0"),
                           timeout=20, what="trayer owning the system tray")
        except BaseException:
            self.stop()
            raise
        return self

    def _start_server(self):
        # Xvfb picks a free display itself and writes its number once it takes connections.
        read_end, write_end = os.pipe()
        server = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-screen", "0",
                                   self.screen, "-nolisten", "tcp"], env=self.env,
                                  stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                                  pass_fds=(write_end,))
        self._processes.append(server)
        os.close(write_end)
        with os.fdopen(read_end) as pipe:
            number = pipe.readline().strip()
        if not number:
            raise RuntimeError("Xvfb did not start")
        self.display = f":{number}"
        self.env["DISPLAY"] = self.display
        self._xlib = _Xlib(self.display)

    @staticmethod
    def _alive(process, what):
        if process.poll() is not None:
            raise RuntimeError(f"{what} ended with {process.returncode}")
        return True

    def stop(self):
        if self._xlib:
            self._xlib.close()
            self._xlib = None
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
        kwargs.setdefault("stdout", subprocess.DEVNULL)
        kwargs.setdefault("stderr", subprocess.DEVNULL)
        process = subprocess.Popen(argv, env=self.env, **kwargs)
        self._processes.append(process)
        return process

    def spawn(self, argv, **kwargs):
        """Starts a program on this desktop; it is ended with the desktop."""
        return self._spawn(argv, **kwargs)

    def _ok(self, argv, needle=""):
        result = subprocess.run(argv, env=self.env, capture_output=True, text=True)
        return result.returncode == 0 and needle in result.stdout

    def run(self, *argv, check=True) -> str:
        result = subprocess.run(list(argv), env=self.env, capture_output=True, text=True,
                                timeout=30)
        if check and result.returncode != 0:
            raise RuntimeError(f"{argv} failed: {result.stderr}")
        return result.stdout.strip()

    # --- windows -------------------------------------------------------------------------
    def windows(self, name=None, classname=None, pid=None, visible=False) -> list[str]:
        """Window ids matching every criterion given (names are regular expressions)."""
        argv = ["xdotool", "search", "--all"]
        if visible:
            argv.append("--onlyvisible")
        if pid is not None:
            argv += ["--pid", str(pid)]
        if name is not None:
            argv += ["--name", name]
        if classname is not None:
            argv += ["--class", classname]
        return self.run(*argv, check=False).split()

    def window_name(self, window) -> str:
        return self.run("xdotool", "getwindowname", str(window), check=False)

    def active_window(self) -> tuple[str, str, int | None]:
        """The id, the name and the process id of the window that has the focus. A window
        manager may leave a window that was just hidden as the active one."""
        output = self.run("xdotool", "getactivewindow", "getwindowname", "getwindowpid",
                          check=False).splitlines()
        window = self.run("xdotool", "getactivewindow", check=False)
        name = output[0] if output else ""
        pid = int(output[1]) if len(output) > 1 and output[1].isdigit() else None
        return window, name, pid

    def active_window_name(self) -> str:
        return self.run("xdotool", "getactivewindow", "getwindowname", check=False)

    def key(self, *keys, window=None):
        argv = ["xdotool", "key", "--clearmodifiers", "--delay", "30"]
        if window:
            argv += ["--window", window]
        self.run(*argv, *keys)

    def type_text(self, text):
        self.run("xdotool", "type", "--clearmodifiers", "--delay", "20", text)

    # Two clicks closer than this are one double click (Qt's default is 400 ms).
    DOUBLE_CLICK_INTERVAL = 0.5

    def click_at(self, x, y, button=1, repeat=1):
        """Clicks (repeat times: a double click for 2). A click follows the previous one by
        more than the double-click interval, so that it is a click of its own."""
        pause = self._last_click + self.DOUBLE_CLICK_INTERVAL - time.monotonic()
        if pause > 0:
            time.sleep(pause)
        self.run("xdotool", "mousemove", str(x), str(y), "click", "--repeat",
                 str(repeat), "--delay", "80", str(button))
        self._last_click = time.monotonic()

    def window_geometry(self, window) -> tuple[int, int, int, int]:
        """The window's absolute position and its size."""
        values = {}
        for line in self.run("xwininfo", "-id", str(window)).splitlines():
            key, _, value = line.strip().partition(":")
            values[key] = value.strip()
        return (int(values["Absolute upper-left X"]), int(values["Absolute upper-left Y"]),
                int(values["Width"]), int(values["Height"]))

    def tree(self) -> WindowTree:
        return WindowTree(self.run("xwininfo", "-root", "-tree"))

    def tray_icon(self, pid) -> tuple[int, int] | None:
        """The middle of the icon that process pid docked into trayer, or None. Trayer embeds
        each icon's own window into its panel, so the icon is the program's window inside the
        panel (xdotool's geometry of the trayer window is that of a hidden helper)."""
        tree = self.tree()
        panels = tree.find(lambda w: w["class"] == ["panel", "trayer"])
        own = {int(window) for window in self.windows(pid=pid)}
        for panel in panels:
            icons = tree.find(lambda w: w["id"] in own and tree.inside(w, panel)
                              and w["width"] > 1 and w["height"] > 1)
            if icons:
                return tree.center(icons[0])
        return None

    def close_box(self, window) -> tuple[int, int]:
        """The middle of the close button of openbox's frame around window: the rightmost
        button of the frame's title bar."""
        tree = self.tree()
        client = tree.find(lambda w: w["id"] == int(window))[0]
        frame = client["parent"]
        while frame["parent"] is not None and frame["parent"]["parent"] is not None:
            frame = frame["parent"]
        buttons = tree.find(lambda w: tree.inside(w, frame) and w["width"] == w["height"]
                            and 8 <= w["width"] <= 24 and w["y"] < client["y"])
        return tree.center(max(buttons, key=lambda w: w["x"]))

    def picture(self, window) -> bytes:
        """The window's content as an 8-bit binary PPM picture."""
        return subprocess.run(["import", "-window", str(window), "-depth", "8", "ppm:-"],
                              env=self.env, capture_output=True, timeout=30, check=True).stdout

    def wait_picture_settled(self, window, before: bytes, settle=0.3, timeout=10.0) -> bytes:
        """Waits until the window looks different from the picture before and then stays the
        same for settle seconds, as a person watches a change take place (a button that
        flashes down and up, then a check mark)."""
        deadline = time.monotonic() + timeout
        last = before
        while time.monotonic() < deadline:
            time.sleep(settle)
            now = self.picture(window)
            if now == last and now != before:
                return now
            last = now
        raise AssertionError("the window did not settle into a new look")

    def first_text_line(self, window, x_offset, half_width=20) -> tuple[int, int]:
        """Where a person would click to hit the first line of light text on a dark ground
        (the editor's colours) in the window, in a band around x_offset: the absolute middle
        of that line, found on a picture of the window."""
        x0, y0, _, _ = self.window_geometry(window)
        pixels, columns, rows = _read_ppm(self.picture(window))
        left, right = max(0, x_offset - half_width), min(columns, x_offset + half_width)
        top = None
        for row in range(rows):
            band = [pixels[row * columns + column] for column in range(left, right)]
            dark = sum(1 for p in band if max(p) < 40)
            light = sum(1 for p in band if min(p) > 150)
            if dark > len(band) // 2 and light:
                top = row if top is None else top
            elif top is not None:
                return x0 + x_offset, y0 + (top + row) // 2
        raise AssertionError("no line of text found in the window")

    # --- clipboard -----------------------------------------------------------------------
    def clipboard(self) -> str:
        result = subprocess.run(["xclip", "-o", "-selection", "clipboard"], env=self.env,
                                capture_output=True, timeout=30)
        return result.stdout.decode("utf-8", errors="replace") if result.returncode == 0 else ""

    def set_clipboard(self, text):
        """Puts text on the clipboard; xclip stays in the background as its owner until another
        program takes the clipboard."""
        subprocess.run(["xclip", "-i", "-selection", "clipboard"], input=text.encode(),
                       env=self.env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                       timeout=30, check=True)
        wait_until(lambda: self.clipboard() == text, what="the clipboard set")

    def wait_clipboard(self, expected, timeout=10.0):
        try:
            wait_until(lambda: self.clipboard() == expected, timeout, what="the clipboard")
        except AssertionError:
            raise AssertionError(f"clipboard holds {self.clipboard()!r}, not {expected!r}")

    def screenshot(self, path):
        self.run("import", "-window", "root", path)


class Quillbox:
    """The real program on a desktop, with its own Notes file."""

    CAPTION = "Quillbox by Brackmoor"

    # What the program may print on standard error without it counting as a fault: nothing.
    # Each entry is a regular expression for a whole line, with the reason it is unavoidable.
    STDERR_ALLOWED: tuple[str, ...] = ()

    def __init__(self, desktop: Desktop, binary: str, notes: str | None = None):
        self.desktop = desktop
        self.binary = binary
        self.notes = notes or os.path.join(desktop.home, "Quillbox.ini")
        self.process = None
        self.stderr_path = None

    def start(self, *args):
        """Starts the program; what it prints on standard error is kept in a file of its own."""
        handle, self.stderr_path = tempfile.mkstemp(prefix="quillbox-", suffix=".stderr",
                                                    dir=self.desktop.home)
        with os.fdopen(handle, "wb") as stderr:
            self.process = self.desktop.spawn([self.binary, *args, "--notes", self.notes],
                                              stderr=stderr)
        return self

    def stderr_lines(self) -> list[str]:
        """The lines the program printed on standard error that the allow-list does not
        excuse (Qt's warnings among them)."""
        if not self.stderr_path or not os.path.exists(self.stderr_path):
            return []
        with open(self.stderr_path, encoding="utf-8", errors="replace") as f:
            lines = [line.rstrip("\n") for line in f if line.strip()]
        return [line for line in lines
                if not any(re.fullmatch(allowed, line) for allowed in self.STDERR_ALLOWED)]

    @property
    def pid(self) -> int:
        return self.process.pid

    def window(self, visible=True) -> str | None:
        found = self.desktop.windows(name=f"^{self.CAPTION}", pid=self.pid, visible=visible)
        return found[0] if found else None

    def windows(self, name=None, visible=True) -> list[str]:
        return self.desktop.windows(name=name, pid=self.pid, visible=visible)

    def wait_started(self, timeout=20.0) -> str:
        """Waits for the end of the start-up: the caption names the hot key only from then on.
        Returns the main window, shown or not."""
        return wait_until(lambda: (self.desktop.windows(name=f"^{self.CAPTION}.*= Activate",
                                                        pid=self.pid) or [None])[0],
                          timeout, what="the start-up finished")

    def wait_shown(self, timeout=10.0) -> str:
        return wait_until(lambda: self.window(visible=True), timeout, what="the window shown")

    def wait_hidden(self, timeout=10.0):
        wait_until(lambda: self.window(visible=True) is None, timeout, what="the window hidden")

    def is_active(self) -> bool:
        window, name, pid = self.desktop.active_window()
        return (pid == self.pid and name.startswith(self.CAPTION)
                and window in self.windows(visible=True))

    def wait_active(self, timeout=10.0):
        wait_until(self.is_active, timeout, what="the window in front")

    def wait_window(self, name, timeout=10.0) -> str:
        """A window of this program titled exactly name, shown and in front."""
        pattern = "^" + re.escape(name) + "$"

        def ready():
            found = self.windows(name=pattern)
            active, _, _ = self.desktop.active_window()
            return active if active in found else None

        return wait_until(ready, timeout, what=f'the window "{name}" in front')

    def wait_window_gone(self, name, timeout=10.0):
        pattern = "^" + re.escape(name) + "$"
        wait_until(lambda: not self.windows(name=pattern), timeout, what=f'"{name}" closed')

    def wait_exit(self, timeout=15.0) -> int:
        return self.process.wait(timeout=timeout)

    def signal(self, number=signal.SIGTERM):
        self.process.send_signal(number)

    def file_state(self):
        """What tells one save of the Notes file from the next: the file is replaced by a new
        one at every save."""
        try:
            info = os.stat(self.notes)
        except FileNotFoundError:
            return None
        return info.st_ino, info.st_mtime_ns, info.st_size

    def wait_saved(self, before, timeout=10.0):
        wait_until(lambda: self.file_state() not in (None, before), timeout,
                   what="the Notes file saved")
