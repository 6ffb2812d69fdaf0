"""The updater's start: refused starts, and a valid start's window, row and log."""
import time
import unittest

from package_server import PackageServer
from updater_e2e import (BOX_TITLE, TITLE, TOKEN, UpdaterTest, mapped_window, press_return_on, probe,
                         wait_for, words)


def first_line_logged(units):
    """The probed units once the log box holds a whole line, else None."""
    logs = [x.text for x in units if x.cls.lower() == "edit"]
    return units if logs and "\r\n" in logs[0] else None


class Refusal(UpdaterTest):
    CASES = [
        ("no arguments", []),
        ("five words", [TOKEN, "http://127.0.0.1:9/p.zip", "t", "run", "Talvery.exe"]),
        ("wrong token", ["Kqzrmesh_junction", "http://127.0.0.1:9/p.zip", "t", "run", "Talvery.exe", "p.zip"]),
    ]

    def test_refused_after_the_wait_with_no_window_and_exit_code_0(self):
        for what, args in self.CASES:
            with self.subTest(what):
                u = self.start(args)
                # Generous: a loaded machine can take long to start a program under Wine.
                box = wait_for(lambda: mapped_window(BOX_TITLE), 60, step=0.05)
                self.assertTrue(box, "no refusal box; exit code %r, output %r"
                                % (u.program.proc.poll(), u.program.output()[-2000:]))
                self.assertGreaterEqual(time.time() - u.started, 1.0)
                self.assertIsNone(mapped_window(TITLE), "the updater window is on the screen")
                self.assertTrue(press_return_on(BOX_TITLE))
                self.assertEqual(u.wait(15), 0)
                self.assertFalse(self.installation.starts())


class ValidStart(UpdaterTest):
    def test_window_shows_the_header_row_1_and_the_log(self):
        with PackageServer(b"x" * 300000, mode="slow") as server:
            u = self.start(words(server.url()))
            # Generous: a loaded machine can take long to start a program under Wine.
            self.assertTrue(u.shown(60), "no updater window")
            self.assertGreaterEqual(time.time() - u.started, 1.0)
            # The log's first line ends with the first connection's message, which a held-up
            # connection thread may send well after the window is on the screen.
            units = wait_for(lambda: first_line_logged(probe()), 60)
            self.assertTrue(units, "no line in the log: %r" % u.log())
            log = [x.text for x in units if x.cls.lower() == "edit"][0]
            # message 5 (a connection started) is the first, on the same line
            self.assertTrue(log.startswith("执行下载任务1未知消息 5\r\n"), repr(log))
            window = units[0]
            self.assertEqual(window.kind, "window")
            visible = [x for x in units[1:] if x.visible]
            header = [(x.left, x.top, x.width, x.height) for x in visible if x.top == -1]
            self.assertEqual(sorted(header), sorted([(-1, -1, 124, 19), (124, -1, 59, 19), (184, -1, 124, 19),
                                                     (309, -1, 64, 19), (374, -1, 142, 19)]))
            row = sorted((x.left, x.top, x.width, x.height) for x in visible if x.top in (21, 42))
            # name, size, status over the bar's place, speed; the separator at 42
            self.assertEqual(row, sorted([(2, 21, 124, 19), (124, 21, 59, 19), (184, 21, 124, 19),
                                          (309, 21, 64, 19), (1, 42, 513, 1)]))


if __name__ == "__main__":
    unittest.main()
