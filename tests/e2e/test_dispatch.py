"""The command dispatch of the real quorlan.exe: locating Visual Studio, the single open-file
window per solution name, and the exit codes."""
import os
import time
import unittest

from desktop import find_window, focus, press
from harness import QUORLAN, SampleSolution, exit_code, read_message_box, start, windows_path
from standin import StandIn

NO_BOX_MS = 1500
TITLE = "^Open file in solution - "


class Dispatch(unittest.TestCase):
    def setUp(self):
        self.sample = SampleSolution().__enter__()
        self.addCleanup(self.sample.__exit__)

    def open_file(self, edition, solution, standin_options=()):
        return StandIn(edition, [QUORLAN, edition, "-openfile", "-solution:" + solution], standin_options)

    def test_a_second_open_file_run_for_the_same_name_hands_over_to_the_first_window(self):
        elsewhere = windows_path(os.path.join(self.sample.folder, "elsewhere", "Game.sln"))
        with self.open_file("-vs2008", self.sample.sln) as first:
            window = find_window(TITLE)
            started = time.monotonic()
            second = start(QUORLAN, "-vs2008", "-openfile", "-solution:" + elsewhere)
            self.assertEqual(0, exit_code(second))
            # Handed over without reading its solution: a missing file would have been reported.
            self.assertIsNone(read_message_box("Quorlan", timeout_ms=NO_BOX_MS))
            self.assertLess(time.monotonic() - started, 15)
            focus(window)
            press("Escape")
            self.assertEqual(0, first.wait().exit_code)

    def test_a_second_run_that_finds_the_mutex_but_no_window_opens_its_own(self):
        missing = windows_path(os.path.join(self.sample.folder, "missing", "Game.sln"))
        # The first run holds the mutex while it reports its missing solution, before any window.
        with self.open_file("-vs2008", missing) as first:
            find_window("^Quorlan$")
            with self.open_file("-vs2008", self.sample.sln) as second:
                window = find_window(TITLE)
                focus(window)
                press("Escape")
                self.assertEqual(0, second.wait().exit_code)
            self.assertEqual("Couldn't find solution file %s.\n" % missing, read_message_box("Quorlan"))
            self.assertEqual(0, first.wait().exit_code)

    def test_visual_studio_not_located_is_reported_with_edition_and_solution_name(self):
        header = self.sample.path("Engine", "Renderer.h")
        cases = [
            # A title "Games - ..." does not match the solution name Game.
            (["-vs2008", "-openfile", "-solution:" + self.sample.sln], ["-solution:Games"],
             "Couldn't find a Visual Studio 2008 window with 'Game.sln' open!"),
            (["-vcs2010x", "-headerflip:" + header, "-solution:" + self.sample.sln], ["-title:Game - Notepad"],
             "Couldn't find a Visual C# 2010 Express window with 'Game.sln' open!"),
            # Without a solution the window is searched by the file's name, and the name is empty.
            (["-vs2005", "-headerflip:" + header], [], "Couldn't find a Visual Studio 2005 window with '.sln' open!"),
        ]
        for arguments, standin_options, message in cases:
            with self.subTest(message=message):
                with StandIn(arguments[0], [QUORLAN, *arguments], standin_options) as standin:
                    self.assertEqual(message, read_message_box("Quorlan"))
                    result = standin.wait()
                self.assertEqual((0, []), (result.exit_code, result.requests))
        self.assertFalse(os.path.exists(self.sample.cache))

    def test_automation_without_a_parent_process_is_not_located(self):
        # Started from a Linux shell, the tool has no Windows parent process.
        process = start(QUORLAN, "-vs2022", "-headerflip:" + self.sample.path("Engine", "Renderer.h"),
                        "-solution:" + self.sample.sln)
        self.assertEqual("Couldn't find a Visual Studio 2022 window with 'Game.sln' open!", read_message_box("Quorlan"))
        self.assertEqual(0, exit_code(process))

    def test_debug_runs_the_command_without_a_window(self):
        process = start(QUORLAN, "-vs2008", "-debug", "-headerflip:" + self.sample.path("Engine", "Renderer.h"))
        self.assertEqual("Couldn't connect to Visual Studio: Unknown error\n", read_message_box("Quorlan"))
        self.assertEqual(0, exit_code(process))


if __name__ == "__main__":
    unittest.main()
