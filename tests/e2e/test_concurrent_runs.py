"""Many runs of the real quorlan.exe at once on one solution, and a run killed while it writes the
cache file.

Within one Windows session the tool shows one open-file window per solution name (a named
mutex): a second run on the same solution hands over to the first window. Open-file runs that
store their state into one cache file at the same time therefore come from different sessions or
machines sharing the solution's folder, or from Visual Studio instances that name the solution in
different letter case (the mutex name keeps the case, the file system ignores it). The test starts
its open-file runs that last way: the 16 spellings of Game.sln, one cache file, 16 windows, each
given its filter text and Enter through its own messages (16 stacked windows leave an X server
without a window manager no reliable way to focus each in turn). Header flips, which no mutex
guards, run beside them under stand-in Visual Studio instances and load the same solution through
the same cache file.
"""
import glob
import itertools
import os
import shutil
import signal
import subprocess
import tempfile
import time
import unittest

from cache_file import read_cache
from desktop import screenshot, window_title
from harness import QUORLAN, WINE_RUN, SampleSolution, exit_code, program, start, wait_until, windows_path
from standin import StandIn

TITLE = "^Open file in solution - "
FILE_CHOOSER = program("tests", "uiprobe", "file_chooser.exe")
# The stand-ins' windows bear another name: the open-file runs, which look for a Visual Studio
# window by the solution's name, are not to find them. An automation flip needs no window.
STANDIN_NAME = "Elsewhere"
ROUNDS = 3
FLIPS = 16
SPELLINGS = ["".join(letters) for letters in itertools.product("Gg", "Aa", "Mm", "Ee")]


def window_ids(title=TITLE):
    """The windows on the screen whose title matches, mapped ones only."""
    result = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", title], capture_output=True, text=True,
                            timeout=30)
    return result.stdout.split()


class ConcurrentRuns(unittest.TestCase):
    def setUp(self):
        self.sample = SampleSolution().__enter__()
        self.addCleanup(self.sample.__exit__)
        self.working = tempfile.mkdtemp(prefix="concurrent-")
        self.addCleanup(shutil.rmtree, self.working, True)
        os.mkdir(self.sample.linux_path("Public"))

    def add_widget(self, number):
        """Adds Widget<number>.cpp to the Engine project in a folder of its own, and the header
        Public/Widget<number>.h that has no counterpart beside it; returns the header's path."""
        folder = self.sample.linux_path("Engine", "Round%d" % number)
        os.mkdir(folder)
        open(os.path.join(folder, "Widget%d.cpp" % number), "w").close()
        project = self.sample.linux_path("Engine", "Engine.vcxproj")
        with open(project, encoding="utf-8") as file:
            text = file.read()
        item = '<ItemGroup><ClCompile Include="Round%d\\Widget%d.cpp" /></ItemGroup>\n</Project>' % (number, number)
        with open(project, "w", encoding="utf-8") as file:
            file.write(text.replace("</Project>", item))
        header = self.sample.linux_path("Public", "Widget%d.h" % number)
        open(header, "w").close()
        return windows_path(header)

    def open_file_runs(self):
        folder = os.path.dirname(self.sample.linux_path("Game.sln"))
        return [start(QUORLAN, "-vs2008", "-openfile", "-debug", "-solution:" + windows_path(os.path.join(folder, name + ".sln")),
                      cwd=self.working) for name in SPELLINGS]

    def choose(self, text):
        """Filters one of the open-file windows on the screen by text and presses Enter in it, by
        the window's own messages (file_chooser.exe); waits until that window is gone."""
        result = subprocess.run([WINE_RUN, FILE_CHOOSER, text, "-timeout:60000"], stdin=subprocess.DEVNULL,
                                capture_output=True, timeout=150)
        self.assertEqual(0, result.returncode, "no open-file window took the filter %r and closed" % text)

    def run_round(self, number):
        """Starts the flips and the open-file runs of one round at once and checks what they did."""
        header = self.add_widget(number)
        widget = self.sample.path("Engine", "Round%d" % number, "Widget%d.cpp" % number)
        # Every load of this round reads the project file again and writes the cache; in
        # round 2 the solution file is newer than every cache too.
        future = int(time.time()) + 3600 * number
        os.utime(self.sample.linux_path("Engine", "Engine.vcxproj"), (future, future))
        if number == 2:
            os.utime(self.sample.linux_path("Game.sln"), (future, future))

        child = [QUORLAN, "-vs2022", "-headerflip:" + header, "-solution:" + self.sample.sln]
        flips = [StandIn("-vs2022", child, ["-solution:" + STANDIN_NAME]).start() for _ in range(FLIPS)]
        for flip in flips:
            self.addCleanup(flip.close)
        runs = self.open_file_runs()
        self.addCleanup(lambda runs=runs: [run.kill() for run in runs if run.poll() is None])

        # The flips load while the open-file runs load: all of them write the cache.
        for flip in flips:
            try:
                result = flip.wait(timeout=120)
            except subprocess.TimeoutExpired:
                screenshot("concurrent-runs-flip")
                titles = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "."], capture_output=True,
                                        text=True).stdout.split()
                self.fail("a flip hangs; windows: %s" % [window_title(window) for window in titles])
            self.assertEqual(0, result.exit_code)
            self.assertEqual([widget.lower()], [request.path.lower() for request in result.requests])
        windows = wait_until(lambda: len(window_ids()) == len(SPELLINGS) and window_ids(), timeout=120)
        self.assertTrue(windows, "not every open-file run showed its window")
        for window in windows:
            self.assertRegex(window_title(window), r"- 0 matches \(\d+ total\)$", "a window lost the state")

        # Then each stores a filter of its own, many at once; the last window waits until
        # every other run has ended, so that it is the last to finish.
        filters = ["zq%dn%d" % (number, i) for i in range(len(windows))]
        for text in filters[:-1]:
            self.choose(text)
        self.assertTrue(wait_until(lambda: [run.poll() for run in runs].count(None) == 1, timeout=120))
        self.choose(filters[-1])
        self.assertEqual([0] * len(runs), [exit_code(run, timeout=120) for run in runs])

        self.assertEqual([], glob.glob(self.sample.linux_path("qlcache-*.tmp")))
        cache = read_cache(self.sample.cache)
        self.assertEqual((filters[-1], -1), (cache.last_filter, cache.last_selection))
        self.assertIn(widget.lower(), [path.lower() for path in cache.files])

    def test_many_runs_at_once_read_whole_caches_and_the_last_state_stays(self):
        # A first run stores a filter that matches nothing: every later window starts with one.
        run = start(QUORLAN, "-vs2008", "-openfile", "-debug", "-solution:" + self.sample.sln, cwd=self.working)
        self.choose("zq0")
        self.assertEqual(0, exit_code(run))

        for number in range(1, ROUNDS + 1):
            self.run_round(number)
        self.assertFalse(os.path.exists(os.path.join(self.working, "quorlan.log")), "a run crashed")


class KilledWhileWriting(unittest.TestCase):
    """A run killed while it writes the cache: the old cache stays whole and in use, and its
    temporary file neither makes a later run fail nor stays for ever."""

    FILES = 200000

    def setUp(self):
        self.sample = SampleSolution().__enter__()
        self.addCleanup(self.sample.__exit__)
        self.project = self.sample.linux_path("Engine", "Engine.vcxproj")

    def grow_project(self):
        """Gives the Engine project many more files, so that writing the cache takes a while."""
        with open(self.project, encoding="utf-8") as file:
            text = file.read()
        items = "".join('<ClInclude Include="Generated\\g%d.h" />' % i for i in range(self.FILES))
        with open(self.project, "w", encoding="utf-8") as file:
            file.write(text.replace("</Project>", "<ItemGroup>%s</ItemGroup>\n</Project>" % items))

    def date_project(self, hours):
        """Makes the project file newer than any cache written meanwhile: every load reads it again."""
        future = int(time.time()) + 3600 * hours
        os.utime(self.project, (future, future))

    def flip(self):
        """A header flip that must search the solution; returns the paths it opened."""
        header = self.sample.path("Public", "Texture.h")
        result = StandIn("-vs2022", [QUORLAN, "-vs2022", "-headerflip:" + header, "-solution:" + self.sample.sln])
        with result:
            return [request.path.lower() for request in result.wait().requests]

    def test_the_old_cache_stays_and_a_later_writer_removes_the_dead_runs_file(self):
        os.mkdir(self.sample.linux_path("Public"))
        open(self.sample.linux_path("Public", "Texture.h"), "w").close()
        texture = self.sample.path("Engine", "Texture.cpp").lower()
        self.assertEqual([texture], self.flip())
        with open(self.sample.cache, "rb") as cache:
            old = cache.read()
        files = len(set(read_cache(self.sample.cache).files))

        # Killed while its temporary file is there: between creating it and moving it over the cache.
        self.grow_project()
        self.date_project(1)
        run = start(QUORLAN, "-vs2008", "-debug", "-headerflip:" + self.sample.path("Public", "Texture.h"),
                    "-solution:" + self.sample.sln)
        temporary = wait_until(lambda: glob.glob(self.sample.linux_path("qlcache-*.tmp")), timeout=60, interval=0.002)
        os.kill(run.pid, signal.SIGKILL)
        exit_code(run)
        self.assertTrue(temporary, "the run wrote no temporary file")
        self.assertTrue(os.path.exists(temporary[0]), "the run finished before it was killed")
        with open(self.sample.cache, "rb") as cache:
            self.assertEqual(old, cache.read())

        # The later run writes a cache of its own (the project is newer), the dead run's file stays
        # while it is young; a minute later the next writer removes it.
        self.assertEqual([texture], self.flip())
        self.assertTrue(os.path.exists(temporary[0]))
        self.assertEqual(files + self.FILES, len(set(read_cache(self.sample.cache).files)))
        os.utime(temporary[0], (time.time() - 120, time.time() - 120))
        self.date_project(2)
        self.assertEqual([texture], self.flip())
        self.assertFalse(os.path.exists(temporary[0]))


if __name__ == "__main__":
    unittest.main()
