"""A long download as the user lives it: the log keeps every line of a package of tens
of megabytes, and while a big package arrives the window repaints, can be dragged by
its caption and its close button stops the download within the stop wait."""
import os
import time
import unittest

from package_server import PackageServer
from updater_e2e import (TITLE, UNPACK_FAILED, UpdaterTest, close_window, mapped_window, origin, probe,
                         screenshot, wait_for, whole_log_faults, words, xdotool)
import harness

STOP_WAIT = 1.0  # the task's stopWait
# Past the 30,000 characters of an edit box's default limit even at full receive steps.
LOG_BODY = os.urandom(64 << 20)


def window_rect():
    for unit in probe():
        if unit.kind == "window":
            return unit.rect
    return None


def crop(path, rect):
    """The pixels of a screen rectangle in a screenshot, as bytes."""
    import subprocess
    x, y, w, h = rect
    return subprocess.run(["convert", path, "-crop", "%dx%d+%d+%d" % (w, h, x, y), "rgb:-"],
                          stdout=subprocess.PIPE, check=True).stdout


class LongDownload(UpdaterTest):
    def test_the_log_of_a_long_download_holds_every_line_the_last_one_included(self):
        # No archive: downloaded whole, not installed, and the window stays with its log.
        with PackageServer(LOG_BODY) as server:
            u = self.start(words(server.url()))
            self.assertTrue(u.shown(30))
            log = wait_for(lambda: (u.log() or "").endswith(UNPACK_FAILED + "\r\n") and u.log(), 240, step=0.5)
            self.assertTrue(log, (u.log() or "")[-300:])
            self.assertGreater(len(log), 30000)
            self.assertEqual(whole_log_faults(log, len(LOG_BODY)), [])
            close_window()
            self.assertEqual(u.wait(20), 0)

    def test_during_a_long_download_the_window_repaints_moves_and_closes_at_once(self):
        body = os.urandom(128 << 20)  # some 25 s at the paced rate over 5 connections
        with PackageServer(body, mode="paced", rate=1 << 20) as server:
            u = self.start(words(server.url()))
            self.assertTrue(u.shown(30))
            self.assertTrue(wait_for(lambda: (u.log() or "").count("收到数据") > 20, 30))
            wid = mapped_window(TITLE)
            # Repaints: the row's bar and speed change on the screen while data arrives.
            rect = window_rect()
            first = crop(screenshot("updater_long_download_1.png"), rect)
            changed = wait_for(lambda: crop(screenshot("updater_long_download_2.png"), rect) != first, 5, step=0.5)
            self.assertTrue(changed, "the window did not change on the screen while data arrived")
            # Moves: dragged by its caption, which the window thread serves.
            x, y = origin(wid)
            xdotool("mousemove", str(x + 150), str(y + 10), "mousedown", "1")
            for step in range(1, 9):
                xdotool("mousemove", str(x + 150 + 10 * step), str(y + 10 + 8 * step))
                time.sleep(0.05)
            xdotool("mouseup", "1")
            moved = wait_for(lambda: window_rect() and window_rect()[:2] == (rect[0] + 80, rect[1] + 64), 5)
            self.assertTrue(moved, "dragged from %r, now at %r" % (rect, window_rect()))
            self.assertIsNone(u.wait(0.1))
            lines = u.log().count("收到数据")
            self.assertTrue(wait_for(lambda: u.log().count("收到数据") > lines, 5), "the log stopped")
            # Closes: the close button stops the download; the program ends within the stop
            # wait and what it takes to end a process.
            left, top, width, _ = window_rect()
            closed = time.time()
            harness.click(left + width - 14, top + 12)  # the caption's close button
            self.assertEqual(u.wait(STOP_WAIT + 5), 0)
            took = time.time() - closed
            print("the updater ended %.2f s after the close" % took)
        self.assertEqual(self.installation.starts(), [])


if __name__ == "__main__":
    unittest.main()
