"""Today's solutions end to end: the real quorlan.exe, started by the stand-in Visual Studio over
tests/samples/Modern (an XML solution file with SDK-style, wildcard, shared-items and shared
projects), listing and opening their files, flipping headers through them, and seeing files added
on disk in the next run."""
import os
import re
import unittest

from desktop import find_window, focus, press, type_text, window_title
from harness import QUORLAN, SampleSolution, read_message_box
from standin import StandIn, run

TITLE = "^Open file in solution - "
MODERN_FILES = 15  # distinct files of the sample
OLD_TIME = 1600000000


class ModernSolution(unittest.TestCase):
    def setUp(self):
        self.sample = SampleSolution("Modern", "Modern.slnx").__enter__()
        self.addCleanup(self.sample.__exit__)

    def open_file(self, typed):
        """One open-file run that types the text and presses Enter; (opened paths, file count)."""
        child = [QUORLAN, "-vs2022", "-openfile", "-solution:" + self.sample.sln]
        with StandIn("-vs2022", child, ["-solution:Modern"]) as standin:
            window = find_window(TITLE)
            # "15 files - ..." on a first run, "1 match (15 total) - ..." with a restored filter
            count = int(re.search(r"(\d+) (?:files|total)", window_title(window)).group(1))
            focus(window)
            type_text(typed)
            press("Return")
            result = standin.wait()
        self.assertEqual(0, result.exit_code)
        return [request.path for request in result.requests], count

    def test_every_kind_is_listed_and_a_file_added_on_disk_shows_in_the_next_run(self):
        desktop = self.sample.linux_path("src", "Desktop")
        os.utime(desktop, (OLD_TIME, OLD_TIME))  # so that the change below shows in its time
        self.assertEqual(([self.sample.path("shared", "Common", "Strings.cs")], MODERN_FILES), self.open_file("strings"))
        self.assertTrue(os.path.exists(self.sample.cache))

        # No project file changes: the new page is found by the SDK project's folder walk.
        views = os.path.join(desktop, "Views")
        os.mkdir(views)
        open(os.path.join(views, "SettingsPage.xaml"), "w").close()
        expected = self.sample.path("src", "Desktop", "Views", "SettingsPage.xaml")
        self.assertEqual(([expected], MODERN_FILES + 1), self.open_file("settingsp"))

        # Nothing changed since: the list comes from the cache (lower-cased paths).
        self.assertEqual(([expected.lower()], MODERN_FILES + 1), self.open_file("settingsp"))

    def test_links_back_up_the_tree_are_not_walked_again(self):
        # Walked without them, the two links would repeat src/Core endlessly. The one to src
        # leads to src/Desktop as well, whose five files the SDK project then lists too.
        os.symlink(".", self.sample.linux_path("src", "Core", "loop"))
        os.symlink("..", self.sample.linux_path("src", "Core", "up"))
        expected = self.sample.path("src", "Core", "Geometry.cs")
        self.assertEqual(([expected], MODERN_FILES + 5), self.open_file("geometry.cs"))

    def test_header_flip_finds_counterparts_listed_by_wildcards_and_properties(self):
        flips = [
            (("native", "Engine", "include", "Renderer.hh"), ("native", "Engine", "src", "Renderer.cc")),
            (("native", "Engine", "include", "gpu", "Kernels.cuh"), ("native", "Engine", "src", "gpu", "Kernels.cu")),
            (("native", "Shared", "include", "Log.h"), ("native", "Shared", "Log.cpp")),
        ]
        for index, (given, counterpart) in enumerate(flips):
            with self.subTest(given=given[-1]):
                result = run("-vs2022", [QUORLAN, "-vs2022", "-headerflip:" + self.sample.path(*given),
                                         "-solution:" + self.sample.sln], "-solution:Modern")
                self.assertEqual(0, result.exit_code)
                # The first flip reads the solution; the others find the path in its cache, lower-cased.
                expected = self.sample.path(*counterpart)
                self.assertEqual([expected if index == 0 else expected.lower()],
                                 [request.path for request in result.requests])

    def test_visual_studio_not_located_names_the_xml_solution_file(self):
        child = [QUORLAN, "-vs2008", "-openfile", "-solution:" + self.sample.sln]
        with StandIn("-vs2008", child, ["-solution:Other"]) as standin:
            self.assertEqual("Couldn't find a Visual Studio 2008 window with 'Modern.slnx' open!",
                             read_message_box("Quorlan"))
            self.assertEqual((0, []), (standin.wait().exit_code, standin.requests()))


if __name__ == "__main__":
    unittest.main()
