"""The open-file command end to end: the real quorlan.exe started by the stand-in Visual Studio
over the sample solution, its window driven with real keystrokes, the file it opens read off the
stand-in's log and the remembered filter and row read off the cache file."""
import os
import struct
import unittest

from desktop import find_window, focus, press, screenshot, type_text, window_geometry, window_title
from harness import QUORLAN, SampleSolution, read_message_box
from standin import StandIn

TITLE = "^Open file in solution - "
FUTURE = 4000000000  # a cache file time no solution file is newer than
SAMPLE_FILES = 33  # distinct files of the sample solution


def dialog_state(cache_path):
    """(lastFilter, lastSelection) as the cache file stores them."""
    with open(cache_path, "rb") as cache:
        data = cache.read()
    length = struct.unpack_from("<i", data, 44)[0]
    text = data[48:48 + length].decode("latin-1")
    selection = struct.unpack_from("<i", data, 48 + length)[0]
    return text, selection


class OpenFile(unittest.TestCase):
    def setUp(self):
        self.sample = SampleSolution().__enter__()
        self.addCleanup(self.sample.__exit__)

    def run_window(self, edition, *actions, standin_options=(), shot=None):
        """Runs one open-file command under a stand-in of the edition, performing the actions in its
        window ("type", text) or ("key", names...). Returns (opened paths, exit code, caption shown
        at first, window position)."""
        child = [QUORLAN, edition, "-openfile", "-solution:" + self.sample.sln]
        with StandIn(edition, child, standin_options) as standin:
            window = find_window(TITLE)
            caption, geometry = window_title(window), window_geometry(window)
            focus(window)
            for action in actions:
                if action[0] == "type":
                    type_text(action[1])
                else:
                    press(*action[1:])
            if shot:
                screenshot(shot)
            press("Return")
            result = standin.wait()
        return [request.path for request in result.requests], result.exit_code, caption, geometry[:2]

    def test_the_chosen_file_and_the_filter_are_remembered_for_the_next_run(self):
        for edition in ("-vs2022", "-vs2008"):
            with self.subTest(edition=edition):
                if os.path.exists(self.sample.cache):
                    os.remove(self.sample.cache)
                # A first run starts with every file and row 0; Main, then Down picks the second match.
                opened, code, caption, _ = self.run_window(edition, ("type", "Main"), ("key", "Down"),
                                                           shot="open-file-" + edition[1:])
                self.assertEqual(0, code)
                self.assertEqual("Open file in solution - %d files - App.config" % SAMPLE_FILES, caption)
                self.assertEqual([self.sample.path("Editor", "ViewModels", "MainViewModel.cs")], opened)
                self.assertEqual(("main", 1), dialog_state(self.sample.cache))

                # The next run restores both; Enter alone opens the same file and rewrites nothing.
                os.utime(self.sample.cache, (FUTURE, FUTURE))
                opened, _, caption, _ = self.run_window(edition)
                self.assertEqual("Open file in solution - 4 matches (%d total) - main.cpp" % SAMPLE_FILES, caption)
                self.assertEqual([self.sample.path("Editor", "ViewModels", "MainViewModel.cs").lower()], opened)
                self.assertEqual(FUTURE, int(os.stat(self.sample.cache).st_mtime))

                # The restored text is selected whole: typing replaces it.
                opened, _, _, _ = self.run_window(edition, ("type", "Scene"))
                self.assertEqual([self.sample.path("Editor", "Views", "SceneView.xaml").lower()], opened)
                self.assertEqual(("scene", 0), dialog_state(self.sample.cache))

    def test_escape_after_typing_stores_nothing(self):
        self.run_window("-vs2022", ("type", "Render"))
        with open(self.sample.cache, "rb") as cache:
            before = cache.read()
        child = [QUORLAN, "-vs2022", "-openfile", "-solution:" + self.sample.sln]
        with StandIn("-vs2022", child) as standin:
            focus(find_window(TITLE))
            type_text("Texture")
            press("Escape")
            result = standin.wait()
        self.assertEqual([], result.requests)
        self.assertEqual(0, result.exit_code)
        with open(self.sample.cache, "rb") as cache:
            self.assertEqual(before, cache.read())

    def test_enter_on_an_empty_list_opens_nothing_and_stores_the_filter_with_no_row(self):
        opened, code, _, _ = self.run_window("-vs2022", ("type", "Qqq"))
        self.assertEqual(([], 0), (opened, code))
        self.assertEqual(("qqq", -1), dialog_state(self.sample.cache))

    def test_the_window_is_centred_on_visual_studio_or_on_the_desktop(self):
        # The stand-in's main window is at (100, 80), 1000 x 700; the screen is 1280 x 1024.
        _, _, _, position = self.run_window("-vs2022")
        self.assertEqual((200, 180), position)
        # Automation needs no window: when none matches, the window is centred on the desktop.
        _, _, _, position = self.run_window("-vs2022", standin_options=["-title:Other - Microsoft Visual Studio"])
        self.assertEqual((240, 262), position)

    def test_files_a_bound_left_out_are_told_in_the_caption(self):
        # A project file nested deeper than the model reads them: its files can't be listed.
        os.mkdir(self.sample.linux_path("Deep"))
        with open(self.sample.linux_path("Deep", "Deep.vcxproj"), "w") as project:
            project.write("<Project><ItemGroup>" + "<a>" * 1000 + '<ClCompile Include="Lost.cpp"/>')
        with open(self.sample.linux_path("Game.sln"), "a", newline="\r\n") as solution:
            solution.write('Project("{8BC9CEB8-8B4A-11D0-8D11-00A0C91BC942}") = "Deep", "Deep\\Deep.vcxproj", '
                           '"{2A7A4C8E-8D63-4C8E-9C55-0B6E2A1D9F10}"\nEndProject\n')
        # Read from the project files, then from the cache, whose names are lower-case.
        for selected in ("App.config", "app.config"):
            with self.subTest(selected=selected):
                opened, code, caption, _ = self.run_window("-vs2022")
                self.assertEqual(0, code)
                self.assertEqual(1, len(opened))
                self.assertEqual("Open file in solution - %d files - not every file is listed: a project file nested "
                                 "more than 1000 elements deep - %s" % (SAMPLE_FILES, selected), caption)

    def test_messages_shown_while_the_window_exists_are_owned_by_it(self):
        child = [QUORLAN, "-vs2008", "-openfile", "-solution:" + self.sample.sln]
        with StandIn("-vs2008", child, ["-dde:never"]) as standin:
            focus(find_window(TITLE))
            press("Return")
            owner, text = read_message_box("Quorlan", owner=True)
            result = standin.wait()
        self.assertEqual(("OpenFileWindow", "Couldn't connect to Visual Studio: DDE_ERR_NO_ACK\n"), (owner, text))
        self.assertEqual(0, result.exit_code)


if __name__ == "__main__":
    unittest.main()
