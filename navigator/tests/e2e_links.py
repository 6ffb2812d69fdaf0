"""Banners, the login button, the bottom-bar link and the directory links open their
addresses in the system's browser."""
import os
import time
import unittest

from navigator_e2e import NavigatorTest, wait_for

SERVER = os.environ.get("TV_SERVER_URL", "http://127.0.0.1:8460")
SITE_1 = os.environ.get("TV_OUTSIDE_SITE_1", "http://pictures-one.example")
SITE_2 = os.environ.get("TV_OUTSIDE_SITE_2", "http://pictures-two.example")
DOMAIN = os.environ.get("TV_SITE_DOMAIN", "talvery.example")

PAGE_CONTROL = (8, 40)
SECOND_TAB = (PAGE_CONTROL[0] + 105, PAGE_CONTROL[1] + 30)


def on_page(x, y):
    return PAGE_CONTROL[0] + x, PAGE_CONTROL[1] + y


class Links(NavigatorTest):
    def click_and_expect(self, position, expected):
        before = len(self.run_.opened_urls())
        self.run_.click_main(*position)
        urls = wait_for(lambda: self.run_.opened_urls()[before:], 10)
        self.assertEqual(urls, [expected])

    def test_each_link_opens_its_address(self):
        self.run_.start()
        bar_target = self.server.pages["/gx/wenzidz.html"].decode("gbk")
        cases = [
            ("home banner", (575 + 100, 41 + 30), SERVER + "/"),
            ("member login", (688 + 50, 471 + 12), SERVER + "/user_login2.asp"),
            ("bottom-bar link", (424 + 10, 476 + 8), bar_target),
        ]
        for name, position, expected in cases:
            with self.subTest(name):
                self.click_and_expect(position, expected)

        self.run_.click_main(*SECOND_TAB)
        time.sleep(1)
        page_cases = [
            ("left banner", on_page(4 + 190, 352 + 30), SITE_1 + "/?ruanjian"),
            # The shell passes the fragment on as it is.
            ("right banner", on_page(396 + 190, 352 + 30), SITE_2 + "/#r-pruanjian"),
        ]
        for name, position, expected in page_cases:
            with self.subTest(name):
                self.click_and_expect(position, expected)
        with self.subTest("directory link"):
            before = len(self.run_.opened_urls())
            self.run_.click_main(*on_page(8 + 20, 87 + 10))  # 超级链接框14
            urls = wait_for(lambda: self.run_.opened_urls()[before:], 10)
            self.assertEqual(len(urls), 1)
            self.assertTrue(urls[0].startswith("http://") and DOMAIN in urls[0], urls[0])


if __name__ == "__main__":
    unittest.main()
