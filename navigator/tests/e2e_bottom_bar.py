"""The bottom bar shows what the server sends, as it is sent, and nothing without it."""
import unittest

from navigator_e2e import NavigatorTest, gbk_text, probe, MAIN_TITLE

BAR_LINK = (424, 476)  # 超级链接框107
BAR_TEXT = (147, 478)  # 透明标签5
BAR_PAGES = ["/gx/wenzibt.html", "/gx/wenzidz.html", "/gx/banben.html"]


def unit_text_at(position):
    """The text of the main window's unit whose rectangle starts at position."""
    for window, children in probe(MAIN_TITLE):
        for child in children:
            if (child.left, child.top) == position:
                return child.text
    return None


class WithServer(NavigatorTest):
    def test_texts_are_cut_at_a_zero_byte_and_never_trimmed(self):
        self.server.pages["/gx/wenzibt.html"] = "推荐网站\0隐藏的部分".encode("gbk")
        self.server.pages["/gx/banben.html"] = " 欢迎使用图片导航工具\r\n".encode("gbk")
        self.run_.start()
        self.assertEqual(unit_text_at(BAR_LINK), "推荐网站")
        self.assertEqual(unit_text_at(BAR_TEXT), " 欢迎使用图片导航工具\r\n")
        # The three reads come first, in this order, before anything else asks the server.
        self.assertEqual(self.server.requests[:3], BAR_PAGES)


class WithoutServer(NavigatorTest):
    with_server = False

    def test_failed_reads_leave_the_bar_empty(self):
        self.run_.start()
        self.assertEqual(unit_text_at(BAR_LINK), "")
        self.assertEqual(unit_text_at(BAR_TEXT), "")


if __name__ == "__main__":
    unittest.main()
