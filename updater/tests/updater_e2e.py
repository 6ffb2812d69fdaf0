"""What the updater's end-to-end tests share: a test installation folder (the updater
below main_update, a stand-in navigator that records its start), the updater under the
project's Wine, packages made by the tests, and a look at the updater's window."""
import io
import os
import shutil
import subprocess
import sys
import tempfile
import time
import unittest
import zipfile

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.abspath(os.path.join(HERE, "..", ".."))
sys.path.insert(0, HERE)
sys.path.insert(0, os.path.join(ROOT, "scripts", "e2e"))

import harness  # noqa: E402

BUILD = os.environ.get("TV_BUILD_DIR", os.path.join(ROOT, "build"))
UPDATE_EXE = os.environ.get("TV_UPDATE_EXE", os.path.join(BUILD, "dist", "main_update", "update.exe"))
RECORD_START = os.environ["TV_RECORD_START"]
PROBE = os.environ["TV_UPDATER_PROBE"]
SHOTS = os.environ.get("TV_SHOTS", os.path.join(BUILD, "screenshots"))

TOKEN = "kqzrmesh_junction"
TITLE = "Quorvel升级管理器"
BOX_TITLE = "信息："


def gbk(text):
    return text.encode("gbk")


def probe(title=TITLE):
    """The windows titled title and their descendants, or [] when there is none."""
    out = subprocess.run([harness.WINE_RUN, PROBE, "list", gbk(title)], env=harness._env(),
                         stdout=subprocess.PIPE, stderr=subprocess.DEVNULL).stdout
    return [harness.ProbedWindow(line.split("\t")) for line in out.decode("gbk", errors="replace").splitlines()
            if line.count("\t") == 7]


def close_window(title=TITLE):
    subprocess.run([harness.WINE_RUN, PROBE, "close", gbk(title)], env=harness._env(),
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def xdotool(*args):
    return subprocess.run(["xdotool"] + list(args), env=harness._env(), stdout=subprocess.PIPE,
                          stderr=subprocess.DEVNULL).stdout.decode(errors="replace")


def mapped_window(title):
    """The X window id of a top-level window titled title that is on the screen, or
    None (harness.wait_window also finds windows that are created but not shown)."""
    for wid in xdotool("search", "--onlyvisible", "--name", "^%s$" % title).split():
        return wid
    return None


def origin(wid):
    for line in xdotool("getwindowgeometry", wid).splitlines():
        if "Position" in line:
            x, y = line.split()[1].split(",")
            return int(x), int(y)
    return 0, 0


def press_return_on(title):
    """Return on a shown window until it goes: the pointer goes over it first, as keys
    go to the window under the pointer."""
    for _ in range(3):
        wid = mapped_window(title)
        if not wid:
            return True
        x, y = origin(wid)
        xdotool("mousemove", str(x + 20), str(y + 20))
        xdotool("search", "--name", "^%s$" % title, "windowfocus")
        harness.key("Return")
        if wait_for(lambda: not mapped_window(title), 3):
            return True
    return False


def screenshot(name):
    os.makedirs(SHOTS, exist_ok=True)
    return harness.screenshot(os.path.join(SHOTS, name))


def wait_for(condition, timeout, step=0.1):
    end = time.time() + timeout
    while time.time() < end:
        value = condition()
        if value:
            return value
        time.sleep(step)
    return condition()


def make_zip(entries):
    """entries: (name, bytes) for files, (name ending in "/", None) for folder entries."""
    data = io.BytesIO()
    with zipfile.ZipFile(data, "w", zipfile.ZIP_DEFLATED) as z:
        for name, content in entries:
            if content is None:
                info = zipfile.ZipInfo(name)
                info.external_attr = 0x10
                z.writestr(info, b"")
            else:
                z.writestr(zipfile.ZipInfo(name, date_time=(2020, 5, 17, 11, 17, 30)), content)
    return data.getvalue()


def read(path):
    with open(path, "rb") as f:
        return f.read()


def tree(folder):
    """Every file and folder below folder: relative path -> bytes (None for a folder)."""
    out = {}
    for root, dirs, files in os.walk(folder):
        for d in dirs:
            out[os.path.relpath(os.path.join(root, d), folder)] = None
        for f in files:
            p = os.path.join(root, f)
            out[os.path.relpath(p, folder)] = read(p)
    return out


class Installation:
    """A folder holding Talvery.exe (the recording stand-in), old program files and
    main_update/update.exe."""

    def __init__(self, folder_name="inst"):
        self.base = tempfile.mkdtemp(prefix="tv-upd-")
        self.folder = os.path.join(self.base, folder_name)
        self.updater_folder = os.path.join(self.folder, "main_update")
        os.makedirs(self.updater_folder)
        shutil.copy(UPDATE_EXE, self.updater_folder)
        shutil.copy(RECORD_START, os.path.join(self.folder, "Talvery.exe"))
        with open(os.path.join(self.folder, "readme.txt"), "wb") as f:
            f.write(b"old readme")
        os.makedirs(os.path.join(self.folder, "data"))
        with open(os.path.join(self.folder, "data", "old.dat"), "wb") as f:
            f.write(b"old data")

    def path(self, *parts):
        return os.path.join(self.folder, *parts)

    def package(self):
        return self.path("main_update", "main_update", "temp1.zip")

    def staging(self):
        return self.path("main_update", "e_update")

    def starts(self):
        """How the stand-in navigator was started: [(its path, its command line)]."""
        try:
            lines = read(self.path("started.log")).decode("gbk").splitlines()
        except FileNotFoundError:
            return []
        return list(zip(lines[0::2], lines[1::2]))

    def remove(self):
        shutil.rmtree(self.base, ignore_errors=True)


DATA_LINE = " #传送常量.收到数据"
LOG_LINES = {"未知消息 5", " #传送常量.下载数据范围", " #传送常量.下载上传开始", DATA_LINE,
             " #传送常量.下载线程继续下载", " #传送常量.线程正常结束", " #传送常量.下载上传结束"}
UNPACK_FAILED = "更新包解压失败，更新没有安装"


def whole_log_faults(log, size):
    """What is wrong with the log of a download of size bytes over 5 connections whose
    body was no archive: [] when it holds every line, in order, the last one included."""
    faults = []
    if not log.startswith("执行下载任务1"):
        return ["it does not begin with the task's line: %r" % log[:40]]
    lines = log[len("执行下载任务1"):].split("\r\n")
    if lines[-1] != "":
        faults.append("the last line is cut: %r" % lines[-1][-40:])
    lines = lines[:-1]
    if lines[-2:] != [" #传送常量.下载上传结束", UNPACK_FAILED]:
        faults.append("it does not end with the end message and the unpack failure: %r" % lines[-2:])
    lines = lines[:-2]
    strange = [line for line in lines if line not in LOG_LINES]
    if strange:
        faults.append("lines that no message gives: %r" % strange[:3])
    counts = {line: lines.count(line) for line in LOG_LINES}
    for line, want in [("未知消息 5", 5), (" #传送常量.下载数据范围", 5), (" #传送常量.下载上传开始", 1),
                       (" #传送常量.线程正常结束", 5)]:
        if counts[line] != want:
            faults.append("%d times %r, not %d" % (counts[line], line, want))
    least = -(-size // 20480)  # a data step carries at most 20480 bytes
    if counts[DATA_LINE] < least:
        faults.append("%d data lines, fewer than the %d that %d bytes need" % (counts[DATA_LINE], least, size))
    if DATA_LINE in lines and lines.index(DATA_LINE) < lines.index(" #传送常量.下载上传开始"):
        faults.append("a data line before the start line")
    return faults


def words(url, title="图片导航2.03", notes="修复 问题#HHF新增"):
    return [TOKEN, url, title, "run", "Talvery.exe", "package.zip"] + notes.split()


class Updater:
    """update.exe of an installation, started under Wine with the given words."""

    def __init__(self, installation, args):
        self.installation = installation
        self.started = time.time()
        exe = os.path.join(installation.updater_folder, "update.exe")
        self.program = harness.start(exe, *args, log=os.path.join(installation.base, "update.out"),
                                     cwd=installation.base)

    def wait(self, timeout):
        """The exit code, or None while it still runs after timeout seconds."""
        try:
            return self.program.wait(timeout)
        except subprocess.TimeoutExpired:
            return None

    def kill(self):
        self.program.kill()

    def shown(self, timeout=15):
        """The window's units once it is on the screen (as the probe lists them)."""
        return wait_for(lambda: mapped_window(TITLE) and probe(), timeout)

    def log(self):
        edits = [u for u in probe() if u.cls.lower() == "edit"]
        return edits[0].text if edits else None


class UpdaterTest(unittest.TestCase):
    def setUp(self):
        self.installation = Installation()
        self.updaters = []

    def tearDown(self):
        for u in self.updaters:
            u.kill()
        self.installation.remove()

    def start(self, args, installation=None):
        u = Updater(installation or self.installation, args)
        self.updaters.append(u)
        return u
