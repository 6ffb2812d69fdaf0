""""检查更新": each descriptor version reaches its road; the new-version road starts
main_update\\update.exe with the expected command line and the navigator ends."""
import unittest

from navigator_e2e import NavigatorTest

CHECK_FOR_UPDATE = (93 + 20, 477 + 9)
LATEST = "已经是最新版本。"
NOTES = "修正了若干问题#HHF加入了新的图片网站"


def windows_path(folder):
    return "Z:" + folder.replace("/", "\\")


class Roads(NavigatorTest):
    def check(self, version):
        self.server.set_descriptor(version=version, notes=NOTES)
        self.new_run().start()
        return self.open_message_box(CHECK_FOR_UPDATE)

    def test_versions_not_above_the_running_one_are_up_to_date(self):
        for version in ["2.02", "2.0200000", "1.9", "abc"]:
            with self.subTest(version=version):
                self.assertEqual(self.check(version), LATEST)
                self.close_message_box()
                self.assertIsNone(self.run_.process.poll(), "the navigator ended")

    def test_a_newer_version_hands_over_to_the_updater(self):
        for version in ["2.021", "3.0beta"]:
            with self.subTest(version=version):
                self.assertEqual(self.check(version),
                                 "发现有新的版本(%s)可以更新，本次更新了如下内容：\r\n"
                                 "修正了若干问题\r\n加入了新的图片网站" % version)
                self.close_message_box()
                self.assertEqual(self.run_.wait_end(40), 0)
                expected = ('"%s\\main_update\\update.exe" kqzrmesh_junction %s Talvery2.03 '
                            'run Talvery.exe Talvery_update.zip %s'
                            % (windows_path(self.run_.folder),
                               self.server.url("/download/Talvery_update.zip"), NOTES))
                self.assertEqual(self.run_.updater_command_line(), expected.encode("gbk"))


class NoServer(NavigatorTest):
    with_server = False

    def test_unreachable_server_reads_as_up_to_date(self):
        self.run_.start()
        self.assertEqual(self.open_message_box(CHECK_FOR_UPDATE), LATEST)


if __name__ == "__main__":
    unittest.main()
