"""What the navigator's end-to-end tests share: a test installation folder, the
navigator under the project's Wine, the stand-in server, and ways to look at windows
and to press keys and buttons.

The navigator's addresses are compiled in (127.0.0.1:8460), so the server always takes
that port; ctest runs these tests one at a time.
"""
import os
import shutil
import socket
import subprocess
import sys
import tempfile
import time
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.abspath(os.path.join(HERE, "..", ".."))
sys.path.insert(0, os.path.join(ROOT, "tools", "server"))
sys.path.insert(0, os.path.join(ROOT, "scripts", "e2e"))

import harness  # noqa: E402
from stand_in_server import StandInServer  # noqa: E402

BUILD = os.environ.get("TV_BUILD_DIR", os.path.join(ROOT, "build"))
DIST = os.path.join(BUILD, "dist")
RECORD_UPDATE = os.environ.get("TV_RECORD_UPDATE", os.path.join(BUILD, "navigator", "tests", "record_update.exe"))
WINDOW_PROBE = os.environ.get("TV_WINDOW_PROBE", os.path.join(BUILD, "navigator", "tests", "window_probe.exe"))
MAIN_TITLE = "图片导航工具"
SERVER_PORT = int(os.environ.get("TV_SERVER_URL", "http://127.0.0.1:8460").rsplit(":", 1)[1].strip("/"))




# Other builds' runs of these tests and the main job take the same port.
SERVER_PORT_LOCK = harness.take_port_lock(SERVER_PORT)

# The X tools look at the project's display.
ENV = dict(os.environ, DISPLAY=harness.DISPLAY)


def gbk_text(raw):
    return raw.decode("gbk", errors="replace")


def run_probe(*args):
    """Runs the window probe to its end: (exit code, output)."""
    log = tempfile.mktemp(prefix="tv-probe-")
    program = harness.start(WINDOW_PROBE, *args, log=log)
    try:
        code = program.wait(30)
        return code, program.output()
    finally:
        os.remove(log)


def probe(title):
    """The visible top-level windows titled title: a list of (window, [descendants])."""
    _, output = run_probe("list", title)
    windows = []
    for line in gbk_text(output).splitlines():
        fields = line.rstrip("\r").split("\t")
        if len(fields) != 8:
            continue
        item = harness.ProbedWindow(fields)
        if item.kind == "window":
            windows.append((item, []))
        elif windows:
            windows[-1][1].append(item)
    return windows


def close_windows_of_size(width, height):
    """Closes top-level windows of that size from outside the program."""
    return run_probe("close", str(width), str(height))[0] == 0


def wait_for(condition, seconds, step=0.2):
    deadline = time.time() + seconds
    while True:
        value = condition()
        if value or time.time() > deadline:
            return value
        time.sleep(step)


def xdotool(*args):
    return subprocess.run(["xdotool"] + [str(a) for a in args], env=ENV,
                          stdout=subprocess.PIPE, stderr=subprocess.DEVNULL).stdout.decode(errors="replace")


def x_window_ids(title):
    """X windows of visible top-level windows with that exact title. Depending on the
    Wine build the X name is in UTF-8 or in the program's code page: try both."""
    pattern = "^%s$" % title
    ids = []
    for encoding in ("utf-8", "gbk"):
        out = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", pattern.encode(encoding)],
                             env=ENV, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL).stdout
        ids += [i for i in out.decode().split() if i not in ids]
    return ids


def geometry(x_id):
    """(left, top, width, height) of an X window, or None once it is gone or unmapped."""
    out = subprocess.run(["xwininfo", "-id", x_id], env=ENV, stdout=subprocess.PIPE,
                         stderr=subprocess.DEVNULL).stdout.decode(errors="replace")
    values = {}
    for line in out.splitlines():
        key, _, value = line.strip().partition(":")
        values[key] = value.strip()
    if values.get("Map State") != "IsViewable":
        return None
    return tuple(int(values[k]) for k in
                 ("Absolute upper-left X", "Absolute upper-left Y", "Width", "Height"))


def window_pixels(x_id, rect):
    """The pixels of rect (left, top, width, height) of an X window: rows of (r, g, b)."""
    left, top, width, height = rect
    ppm = subprocess.run(["import", "-window", x_id, "-crop", "%dx%d+%d+%d" % (width, height, left, top),
                          "+repage", "-depth", "8", "ppm:-"], env=ENV, stdout=subprocess.PIPE,
                         stderr=subprocess.DEVNULL, check=True).stdout
    # "P6\n<width> <height>\n255\n" then the bytes
    fields = ppm.split(maxsplit=4)
    w, h, data = int(fields[1]), int(fields[2]), fields[4]
    return [[tuple(data[(y * w + x) * 3:(y * w + x) * 3 + 3]) for x in range(w)] for y in range(h)]


click = harness.click
key = harness.key


class FocusWindow:
    """A window of another Wine program that holds the keyboard focus: a hot key
    reaches its program under Wine only while a window of the session has the focus."""

    def __enter__(self):
        self.log = tempfile.mktemp(prefix="tv-focus-")
        self.program = harness.start(WINDOW_PROBE, "focus", log=self.log)
        ids = wait_for(lambda: x_window_ids("tv-focus"), 20)
        if not ids:
            raise RuntimeError("the focus window did not appear")
        self.x_id = ids[0]
        return self

    def focus(self):
        geo = geometry(self.x_id)
        xdotool("mousemove", geo[0] + 100, geo[1] + 60)  # keys go to the window under the pointer
        harness.focus(self.x_id)

    def __exit__(self, *exc):
        self.program.kill()
        os.remove(self.log)


class NavigatorRun:
    """Talvery.exe from a fresh installation folder (its path holds a blank), with the
    recording updater at main_update\\update.exe and its own log of opened URLs."""

    def __init__(self, folder):
        self.folder = os.path.join(folder, "install dir")
        os.makedirs(os.path.join(self.folder, "main_update"))
        for name in os.listdir(DIST):
            path = os.path.join(DIST, name)
            if os.path.isfile(path):
                shutil.copy2(path, self.folder)
        shutil.copy2(RECORD_UPDATE, os.path.join(self.folder, "main_update", "update.exe"))
        self.url_log = os.path.join(folder, "urls.log")
        # The runtime writes a runtime error here instead of showing its box.
        self.error_file = os.path.join(folder, "runtime-error.txt")
        self.program = None
        self.process = None
        self.x_id = None

    def start(self, wait_for_window=True):
        # Where this run's opened URLs and runtime errors go (the harness passes the
        # environment on).
        harness.URL_LOG = self.url_log
        os.environ["TV_RUNTIME_ERROR_FILE"] = self.error_file
        self.program = harness.start(os.path.join(self.folder, "Talvery.exe"),
                                     log=os.path.join(os.path.dirname(self.folder), "talvery.out"),
                                     cwd=self.folder)
        self.process = self.program.proc
        if wait_for_window:
            ids = wait_for(lambda: x_window_ids(MAIN_TITLE), 40)
            if not ids:
                raise AssertionError("the main window did not appear")
            self.x_id = ids[0]
        return self

    def main_origin(self):
        """The main window's screen position; Wine may give a window a new X window
        after it was first shown, so a gone one is looked up again by its title."""
        def look():
            geo = geometry(self.x_id)
            if not geo:
                ids = x_window_ids(MAIN_TITLE)
                if ids:
                    self.x_id = ids[0]
                    geo = geometry(self.x_id)
            return geo
        geo = wait_for(look, 10)
        if not geo:
            raise AssertionError("the main window is not on the screen")
        return geo[0], geo[1]

    def click_main(self, x, y):
        left, top = self.main_origin()
        click(left + x, top + y)

    def opened_urls(self):
        harness.URL_LOG = self.url_log
        return [url for url in harness.captured_urls() if url.strip()]

    def runtime_error(self):
        if not os.path.exists(self.error_file):
            return None
        with open(self.error_file, "rb") as f:
            return gbk_text(f.read())

    def updater_command_line(self):
        path = os.path.join(self.folder, "main_update", "command-line.txt")
        if not os.path.exists(path):
            return None
        with open(path, "rb") as f:
            return f.read()

    def wait_end(self, seconds):
        try:
            return self.program.wait(seconds)
        except subprocess.TimeoutExpired:
            return None

    def stop(self):
        if self.process:
            self.program.kill()
            self.program.wait()


class NavigatorTest(unittest.TestCase):
    """One navigator run per test, in its own folder, with a server unless told not to."""

    with_server = True

    def setUp(self):
        self.folder = tempfile.mkdtemp(prefix="tv-nav-")
        self.server = None
        self.no_server = None
        if self.with_server:
            self.server = StandInServer(port=SERVER_PORT).start()
        else:
            # Bound but not listening: connections are refused, and nobody else can serve
            # on the port meanwhile.
            self.no_server = socket.socket()
            self.no_server.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
            self.no_server.bind(("127.0.0.1", SERVER_PORT))
        self.runs = []
        self.new_run()

    def new_run(self):
        """A navigator in a fresh installation folder of its own (self.run_)."""
        if self.runs:
            self.runs[-1].stop()
        self.run_ = NavigatorRun(tempfile.mkdtemp(dir=self.folder))
        self.runs.append(self.run_)
        return self.run_

    def tearDown(self):
        errors = [run.runtime_error() for run in self.runs if run.runtime_error()]
        for run in self.runs:
            run.stop()
        if self.server:
            self.server.stop()
        if self.no_server:
            self.no_server.close()
        shutil.rmtree(self.folder, ignore_errors=True)
        self.assertEqual(errors, [], "the navigator hit a runtime error")

    def message_box_text(self, seconds=15):
        """The text of the open "信息：" box, or None."""
        def text():
            for window, children in probe("信息："):
                statics = [c.text for c in children if c.cls.lower() == "static" and c.text]
                if statics:
                    return statics[-1]
            return None
        return wait_for(text, seconds)

    def open_message_box(self, position):
        """Clicks position of the main window until a box opens (a click can get lost
        while a loaded machine is still settling the new window); its text, or None."""
        for attempt in range(3):
            self.run_.click_main(*position)
            if wait_for(lambda: x_window_ids("信息："), 10 * (attempt + 1)):
                return self.message_box_text()
        return None

    def close_message_box(self):
        """Clicks the open box's button until the box has gone (a loaded machine may
        lose a click)."""
        for _ in range(3):
            boxes = probe("信息：")
            if not boxes:
                return
            box, children = boxes[0]
            # F3 showing the main window again puts it above the box (no window manager).
            for x_id in x_window_ids("信息："):
                xdotool("windowraise", x_id)
            buttons = [c for c in children if c.cls.lower() == "button" and c.visible]
            if buttons:
                b = buttons[0]
                click(box.left + b.left + b.width // 2, box.top + b.top + b.height // 2)
            wait_for(lambda: not x_window_ids("信息："), 10)
        self.assertFalse(x_window_ids("信息："), "the box did not close")
