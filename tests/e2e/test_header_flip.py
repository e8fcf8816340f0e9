"""Header flip end to end: the real quorlan.exe started by the stand-in Visual Studio, as an
external tool is, opening the counterpart of a file of the sample solution."""
import os
import unittest

from harness import QUORLAN, SampleSolution, exit_code, read_message_box, start, windows_path
from standin import StandIn, run

NO_BOX_MS = 1500


class HeaderFlip(unittest.TestCase):
    def setUp(self):
        self.sample = SampleSolution().__enter__()
        self.addCleanup(self.sample.__exit__)

    def flip(self, edition, path, *arguments, standin_options=()):
        """Runs a header flip under a stand-in of the edition; returns (opened paths, exit code)."""
        result = run(edition, [QUORLAN, edition, "-headerflip:" + path, *arguments], *standin_options)
        return [request.path for request in result.requests], result.exit_code

    def test_flip_beside_the_file_through_automation_and_dde(self):
        header, source = self.sample.path("Engine", "Renderer.h"), self.sample.path("Engine", "Renderer.cpp")
        for edition in ("-vs2022", "-vs2008", "-vcpp2008x", "-vs2010"):
            with self.subTest(edition=edition):
                self.assertEqual(([source], 0), self.flip(edition, header, "-solution:" + self.sample.sln))
        self.assertFalse(os.path.exists(self.sample.cache), "the solution was read")

    def test_flip_through_the_solution_when_nothing_is_beside(self):
        public = self.sample.linux_path("Public")
        os.mkdir(public)
        open(os.path.join(public, "Texture.h"), "w").close()
        header = windows_path(os.path.join(public, "Texture.h"))
        expected = self.sample.path("Engine", "Texture.cpp")
        self.assertEqual(([expected], 0), self.flip("-vs2022", header, "-solution:" + self.sample.sln))
        self.assertTrue(os.path.exists(self.sample.cache))
        # From the cache now: the path comes back in lower case.
        self.assertEqual(([expected.lower()], 0), self.flip("-vs2008", header, "-solution:" + self.sample.sln))

    def test_flip_without_solution(self):
        xaml, code_behind = self.sample.path("Editor", "MainWindow.xaml"), self.sample.path("Editor", "MainWindow.xaml.cs")
        self.assertEqual(([xaml], 0), self.flip("-vs2022", code_behind))
        # Over DDE the window is found by the file's name when there is no solution.
        title = ["-title:MainWindow.xaml.cs - Microsoft Visual Studio"]
        self.assertEqual(([xaml], 0), self.flip("-vs2008", code_behind, standin_options=title))

    def test_automation_flip_started_by_another_program_finds_no_automation_object(self):
        header = self.sample.path("Engine", "Viewport.h")
        process = start("cmd", "/c", windows_path(QUORLAN), "-vs2022", "-headerflip:" + header)
        self.assertEqual("Couldn't find Visual Studio DTE object!", read_message_box("Quorlan"))
        self.assertEqual(0, exit_code(process))


if __name__ == "__main__":
    unittest.main()
