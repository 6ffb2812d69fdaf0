"""The full road from the updater's side: download over 5 connections, install over the
installation folder, restart the navigator from there."""
import os
import unittest

from package_server import PackageServer
from updater_e2e import Installation, UpdaterTest, make_zip, read, words

BIG = bytes((i * 7919) % 251 for i in range(150000))  # compresses badly: a package of > 100 KB


class Install(UpdaterTest):
    def install(self, entries, installation=None):
        installation = installation or self.installation
        body = make_zip(entries)
        self.assertGreater(len(body), 5 * 20480)
        with PackageServer(body) as server:
            u = self.start(words(server.url()), installation)
            self.assertEqual(u.wait(60), 0)
            return server

    def test_files_folders_and_the_empty_folder_land_in_place_and_work_files_go(self):
        server = self.install([
            ("Talvery.exe", read(self.installation.path("Talvery.exe"))),
            ("readme.txt", b"new readme"),
            ("data/", None),
            ("data/new.dat", BIG),
            ("data/deep/", None),
            ("data/deep/x.txt", b"deep"),
            ("empty/", None),
            (".top-dot-file", b"dot file"),
        ])
        self.assertGreaterEqual(len(server.range_requests()), 4, "the package came over one connection")
        inst = self.installation
        self.assertEqual(read(inst.path("readme.txt")), b"new readme")
        self.assertEqual(read(inst.path("data", "new.dat")), BIG)
        self.assertEqual(read(inst.path("data", "old.dat")), b"old data")
        self.assertEqual(read(inst.path("data", "deep", "x.txt")), b"deep")
        self.assertTrue(os.path.isdir(inst.path("empty")))
        self.assertEqual(os.listdir(inst.path("empty")), [])
        self.assertEqual(read(inst.path(".top-dot-file")), b"dot file")
        self.assertFalse(os.path.exists(inst.package()))
        self.assertTrue(os.path.isdir(os.path.dirname(inst.package())))  # the download folder stays
        # deleteDirectory leaves entries beginning with "." and so the staging folder
        self.assertEqual(sorted(os.listdir(inst.staging())), [".top-dot-file"])
        starts = inst.starts()
        self.assertEqual(len(starts), 1)
        path, line = starts[0]
        self.assertEqual(os.path.normcase(path.lower()).endswith("\\inst\\talvery.exe"), True, path)
        self.assertTrue(line.startswith('"') and line.endswith('main_update\\..\\Talvery.exe"'), line)

    def test_a_dot_folder_is_made_empty_and_a_plain_package_leaves_no_staging_folder(self):
        self.install([("readme.txt", b"new readme"), ("big.bin", BIG)])
        self.assertFalse(os.path.exists(self.installation.staging()))
        self.assertFalse(os.path.exists(self.installation.package()))
        second = Installation()
        try:
            self.install([("big.bin", BIG), (".cfg/", None), (".cfg/inner.txt", b"inner")], second)
            self.assertTrue(os.path.isdir(second.path(".cfg")))
            self.assertEqual(os.listdir(second.path(".cfg")), [])
            self.assertEqual(len(second.starts()), 1)
        finally:
            second.remove()

    def test_an_installation_folder_with_a_blank_restarts_the_navigator(self):
        spaced = Installation("Program Files")
        try:
            self.install([("readme.txt", b"new readme"), ("big.bin", BIG)], spaced)
            self.assertEqual(read(spaced.path("readme.txt")), b"new readme")
            starts = spaced.starts()
            self.assertEqual(len(starts), 1, "the navigator was not started again")
            self.assertIn("\\Program Files\\Talvery.exe", starts[0][0])
        finally:
            spaced.remove()


if __name__ == "__main__":
    unittest.main()
