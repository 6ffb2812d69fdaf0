"""The bottom bar shows what the server sends, cut at a zero byte, and nothing without it.
The units draw their captions themselves, so the test looks at the pixels."""
import unittest

from navigator_e2e import NavigatorTest, wait_for, window_pixels

BAR_LINK = (424, 476, 248, 16)  # 超级链接框107, drawn in its blue normal colour
BAR_TEXT = (147, 478, 245, 16)  # 透明标签5, black text
BAR_PAGES = ["/gx/wenzibt.html", "/gx/wenzidz.html", "/gx/banben.html"]


def text_columns(pixels, is_text):
    return sorted({x for row in pixels for x, p in enumerate(row) if is_text(p)})


def blue(p):
    return p[2] - max(p[0], p[1]) > 80


def dark(p):
    return sum(p) < 250


class WithServer(NavigatorTest):
    def test_served_texts_show_cut_at_a_zero_byte(self):
        # Four characters shown; the nine of the whole body would be twice as wide.
        self.server.pages["/gx/wenzibt.html"] = "推荐网站\0隐藏的部分".encode("gbk")
        self.server.pages["/gx/banben.html"] = "欢迎使用图片导航工具\r\n".encode("gbk")
        self.run_.start()
        # The window can be on the screen a moment before its units have painted.
        link = wait_for(lambda: text_columns(window_pixels(self.run_.x_id, BAR_LINK), blue), 10)
        self.assertTrue(link, "the bar link shows no caption")
        self.assertLess(link[-1] - link[0], 80, "the caption runs past the zero byte")
        self.assertGreater(link[-1] - link[0], 30)
        self.assertTrue(wait_for(lambda: text_columns(window_pixels(self.run_.x_id, BAR_TEXT), dark), 10),
                        "the bar text shows nothing")
        # The three reads come before anything else of the program asks the server
        # (the embedded browser's own page may come first).
        reads = [p for p in self.server.requests if p.startswith("/gx/")]
        self.assertEqual(reads[:3], BAR_PAGES)


class WithoutServer(NavigatorTest):
    with_server = False

    def test_failed_reads_leave_the_bar_empty(self):
        self.run_.start()
        # Until the units have painted, the bar is black; a caption, once drawn, stays.
        painted = wait_for(lambda: not text_columns(window_pixels(self.run_.x_id, BAR_TEXT), dark), 10)
        self.assertTrue(painted, "the bar text shows something")
        self.assertEqual(text_columns(window_pixels(self.run_.x_id, BAR_LINK), blue), [])


if __name__ == "__main__":
    unittest.main()
