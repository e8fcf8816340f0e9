"""Faults of the file system under the real quorlan.exe: a solution folder that can't be written
and a full disk. The file is still opened in Visual Studio, the old cache stays whole, no temporary
file is left and nothing is said.

Both are made real with mounts (a read-only bind mount, a small tmpfs), which need root: the test
is skipped where mounting is not allowed. A cache file another process holds open, and a project
file that vanishes, are tested in the solution model's unit tests."""
import glob
import os
import shutil
import subprocess
import tempfile
import time
import unittest

from harness import QUORLAN, SampleSolution
from standin import run


def mount(*arguments):
    """Runs mount; False when the system refuses."""
    return subprocess.run(["mount", *arguments], capture_output=True).returncode == 0


class FileSystemFaults(unittest.TestCase):
    def setUp(self):
        self.sample = SampleSolution().__enter__()
        self.addCleanup(self.sample.__exit__)
        os.mkdir(self.sample.linux_path("Public"))
        open(self.sample.linux_path("Public", "Texture.h"), "w").close()
        self.texture = self.sample.path("Engine", "Texture.cpp")

    def flip(self):
        """A header flip that must search the solution; returns the paths it opened, lower-cased."""
        header = self.sample.path("Public", "Texture.h")
        result = run("-vs2022", [QUORLAN, "-vs2022", "-headerflip:" + header, "-solution:" + self.sample.sln])
        self.assertEqual(0, result.exit_code)
        return [request.path.lower() for request in result.requests]

    def make_project_newer(self):
        """The next load reads the Engine project again and must write the cache."""
        future = int(time.time()) + 3600
        os.utime(self.sample.linux_path("Engine", "Engine.vcxproj"), (future, future))

    def cached_bytes(self):
        with open(self.sample.cache, "rb") as cache:
            return cache.read()

    def assert_cache_kept(self, old):
        self.assertEqual(old, self.cached_bytes())
        self.assertEqual([], glob.glob(self.sample.linux_path("qlcache-*.tmp")))

    def test_read_only_solution_folder(self):
        self.assertEqual([self.texture.lower()], self.flip())
        old = self.cached_bytes()
        self.make_project_newer()
        folder = self.sample.linux_path()
        if not mount("--bind", folder, folder):
            self.skipTest("no bind mounts here")
        self.addCleanup(subprocess.run, ["umount", folder], capture_output=True)
        self.assertTrue(mount("-o", "remount,ro,bind", folder))

        self.assertEqual([self.texture.lower()], self.flip())
        self.assert_cache_kept(old)

    def test_full_disk(self):
        # The sample on a small file system of its own, filled to the last byte.
        disk = tempfile.mkdtemp(prefix="full-disk-")
        self.addCleanup(shutil.rmtree, disk, True)
        if not mount("-t", "tmpfs", "-o", "size=1m", "tmpfs", disk):
            self.skipTest("no tmpfs mounts here")
        self.addCleanup(subprocess.run, ["umount", disk], capture_output=True)
        shutil.copytree(self.sample.linux_path(), os.path.join(disk, "Game"))
        self.addCleanup(shutil.rmtree, self.sample.folder, True)
        self.sample.folder = disk
        texture = self.sample.path("Engine", "Texture.cpp").lower()
        self.assertEqual([texture], self.flip())
        old = self.cached_bytes()
        filler = os.path.join(disk, "filler")
        with open(filler, "wb", buffering=0) as file:
            try:
                while True:
                    file.write(b"\0" * 4096)
            except OSError:
                pass

        self.make_project_newer()
        self.assertEqual([texture], self.flip())
        self.assert_cache_kept(old)

        # With room again, the next load writes the cache.
        os.remove(filler)
        self.make_project_newer()
        self.flip()
        self.assertNotEqual(old, self.cached_bytes())


if __name__ == "__main__":
    unittest.main()
