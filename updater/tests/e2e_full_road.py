"""The update road from end to end: the navigator 2.02 finds 2.03 on the local stand-in
server and starts the updater, which downloads the package over 5 connections, installs
it over the installation folder and starts the new navigator (a stand-in that records
its start)."""
import io
import os
import shutil
import sys
import tempfile
import time
import unittest

from updater_e2e import (RECORD_START, ROOT, UPDATE_EXE, harness, make_zip, mapped_window, origin,
                         press_return_on, read, wait_for)

sys.path.insert(0, os.path.join(ROOT, "tools", "server"))
from stand_in_server import StandInServer  # noqa: E402

TALVERY_EXE = os.environ["TV_TALVERY_EXE"]
MAIN_TITLE = "图片导航工具"
CHECK_FOR_UPDATE = (93 + 20, 477 + 9)  # the "检查更新" link in MainWindow
BIG = bytes((i * 7919) % 251 for i in range(150000))
SERVER_PORT = 8460  # compiled into the navigator


class FullRoad(unittest.TestCase):
    def setUp(self):
        self.base = tempfile.mkdtemp(prefix="tv-road-")
        self.folder = os.path.join(self.base, "inst")
        os.makedirs(os.path.join(self.folder, "main_update"))
        shutil.copy(TALVERY_EXE, os.path.join(self.folder, "Talvery.exe"))
        shutil.copy(UPDATE_EXE, os.path.join(self.folder, "main_update"))
        # With its folder entry: the unpacking makes no folder for a file entry.
        self.package = make_zip([("Talvery.exe", read(RECORD_START)), ("version.txt", b"2.03"),
                                 ("pictures/", None), ("pictures/big.bin", BIG)])
        self.programs = []

    def tearDown(self):
        for p in self.programs:
            p.kill()
        shutil.rmtree(self.base, ignore_errors=True)

    def test_check_download_install_and_restart(self):
        port_lock = harness.take_port_lock(SERVER_PORT)
        self.addCleanup(port_lock.close)
        requests = io.StringIO()
        with StandInServer(port=SERVER_PORT, update_version="2.03", package=self.package, log=requests) as server:
            talvery = harness.start(os.path.join(self.folder, "Talvery.exe"),
                                    log=os.path.join(self.base, "talvery.out"), cwd=self.folder)
            self.programs.append(talvery)
            main = wait_for(lambda: mapped_window(MAIN_TITLE), 40)
            self.assertTrue(main, "the navigator's window did not appear")
            x, y = origin(main)
            harness.click(x + CHECK_FOR_UPDATE[0], y + CHECK_FOR_UPDATE[1])
            self.assertTrue(wait_for(lambda: mapped_window("信息："), 20), "no new-version box")
            self.assertTrue(press_return_on("信息："))
            self.assertEqual(talvery.wait(20), 0)
            started = os.path.join(self.folder, "started.log")
            self.assertTrue(wait_for(lambda: os.path.exists(started), 60),
                            "the new navigator did not start; requests:\n" + requests.getvalue())
            ranges = [line for line in requests.getvalue().splitlines() if "Talvery_update.zip bytes=" in line]
            self.assertGreaterEqual(len(ranges), 4, requests.getvalue())
        self.assertEqual(read(os.path.join(self.folder, "version.txt")), b"2.03")
        self.assertEqual(read(os.path.join(self.folder, "pictures", "big.bin")), BIG)
        self.assertEqual(read(os.path.join(self.folder, "Talvery.exe")), read(RECORD_START))
        self.assertFalse(os.path.exists(os.path.join(self.folder, "main_update", "main_update", "temp1.zip")))
        self.assertFalse(os.path.exists(os.path.join(self.folder, "main_update", "e_update")))
        path = read(started).decode("gbk").splitlines()[0]
        self.assertTrue(path.lower().endswith("\\inst\\talvery.exe"), path)


if __name__ == "__main__":
    unittest.main()
