"""F3 hides and shows the main window, also while a message box is open; the close
button ends the program with code 0."""
import unittest

from navigator_e2e import FocusWindow, NavigatorTest, MAIN_TITLE, key, wait_for, x_window_ids

CHECK_FOR_UPDATE = (93 + 20, 477 + 9)
CLOSE_BUTTON = (756 + 21, 1 + 8)


def main_shown():
    return bool(x_window_ids(MAIN_TITLE))


class BossKey(NavigatorTest):
    def press_f3(self, focus, shown_after):
        focus.focus()
        key("F3")
        self.assertTrue(wait_for(lambda: main_shown() == shown_after, 5),
                        "main window %s after F3" % ("not shown" if shown_after else "still shown"))

    def test_f3_toggles_the_window_also_over_an_open_box(self):
        self.run_.start()
        with FocusWindow() as focus:
            self.press_f3(focus, False)
            self.press_f3(focus, True)

            # The server announces 2.02: a box opens.
            self.assertEqual(self.open_message_box(CHECK_FOR_UPDATE), "已经是最新版本。")
            self.press_f3(focus, False)
            self.press_f3(focus, True)
        self.close_message_box()
        self.assertIsNone(self.run_.process.poll())

    def test_close_button_ends_with_code_0(self):
        self.run_.start()
        self.run_.click_main(*CLOSE_BUTTON)
        self.assertEqual(self.run_.wait_end(15), 0)


if __name__ == "__main__":
    unittest.main()
