"""Downloads and packages that must install nothing: the installation stays byte for
byte as it was and the navigator is not started."""
import os
import time
import unittest

from package_server import PackageServer
from updater_e2e import UpdaterTest, close_window, make_zip, screenshot, tree, wait_for, words

BIG = bytes((i * 7919) % 251 for i in range(150000))
PACKAGE = make_zip([("readme.txt", b"new readme"), ("big.bin", BIG)])
# About 12 s at the slow server's pace over 5 connections.
SLOW_PACKAGE = make_zip([("readme.txt", b"new readme"), ("big.bin", os.urandom(1000000))])


class NothingInstalled(UpdaterTest):
    def setUp(self):
        super().setUp()
        self.before = tree(self.installation.folder)

    def assertUntouched(self, stopped=False):
        if stopped and os.path.exists(self.installation.package()):
            # A stopped task leaves its package file behind at full size, as the engine
            # does; the next run deletes it before it downloads.
            os.remove(self.installation.package())
        after = tree(self.installation.folder)
        work = [k for k in after if k.startswith(os.path.join("main_update", ""))]
        self.assertFalse(os.path.exists(self.installation.package()), "the partial package stayed")
        self.assertFalse(os.path.exists(self.installation.staging()))
        for k in work:
            after.pop(k)
        for k in [k for k in self.before if k.startswith(os.path.join("main_update", ""))]:
            self.before.pop(k)
        self.assertEqual(after, self.before)
        self.assertEqual(self.installation.starts(), [])

    def closes_with_exit_code_0(self, u):
        close_window()
        self.assertEqual(u.wait(20), 0)

    def test_a_download_that_ends_short_is_not_installed_and_the_window_stays(self):
        for mode in ["missing", "ignore-range"]:
            with self.subTest(mode):
                with PackageServer(PACKAGE, mode=mode) as server:
                    u = self.start(words(server.url()))
                    self.assertTrue(u.shown())
                    log = wait_for(lambda: (u.log() or "").endswith("下载未完成，更新没有安装\r\n") and u.log(), 30)
                    self.assertTrue(log, u.log())
                    self.assertIn(" #传送常量.下载上传结束\r\n", log)
                    self.assertIsNone(u.wait(1), "the updater ended by itself")
                    self.closes_with_exit_code_0(u)
                    if mode == "ignore-range":
                        self.assertTrue(server.range_requests())
                self.assertUntouched()

    def test_a_server_gone_mid_way_installs_nothing(self):
        with PackageServer(PACKAGE, mode="gone") as server:
            u = self.start(words(server.url()))
            self.assertTrue(u.shown())
            self.assertTrue(wait_for(server.gone.is_set, 20))
            time.sleep(3)
            self.assertIsNone(u.wait(0.1))
            self.closes_with_exit_code_0(u)
        self.assertUntouched(stopped=True)

    def test_closing_the_window_during_a_download_stops_it(self):
        with PackageServer(SLOW_PACKAGE, mode="slow") as server:
            u = self.start(words(server.url()))
            self.assertTrue(u.shown())
            self.assertTrue(wait_for(lambda: "收到数据" in (u.log() or ""), 20))
            time.sleep(1.5)  # the speed cell is refreshed once a second
            screenshot("updater_window_downloading.png")
            self.closes_with_exit_code_0(u)
            self.assertFalse(self.installation.starts())
        self.assertUntouched(stopped=True)

    def test_an_archive_with_a_traversal_entry_writes_nothing_outside_the_staging_folder(self):
        evil = make_zip([("readme.txt", b"new readme"), ("big.bin", BIG), ("../../escaped.txt", b"evil"),
                         ("../escaped.txt", b"evil")])
        with PackageServer(evil) as server:
            u = self.start(words(server.url()))
            self.assertTrue(u.shown())
            log = wait_for(lambda: (u.log() or "").endswith("更新包解压失败，更新没有安装\r\n") and u.log(), 30)
            self.assertTrue(log, u.log())
            self.assertIsNone(u.wait(1))
            self.closes_with_exit_code_0(u)
        self.assertFalse(os.path.exists(os.path.join(self.installation.base, "escaped.txt")))
        self.assertFalse(os.path.exists(self.installation.path("escaped.txt")))
        self.assertUntouched()


if __name__ == "__main__":
    unittest.main()
