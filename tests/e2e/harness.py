"""Runs the real Windows programs of the build under Wine for the end-to-end tests.

The tests run under scripts/test, which provides the X display and a persistent wineserver;
QUORLAN_BUILD_DIR names the build folder (ctest sets it).
"""
import os
import shutil
import subprocess
import tempfile
import time

BUILD_DIR = os.environ.get("QUORLAN_BUILD_DIR", os.path.join(os.path.dirname(__file__), "..", "..", "build"))
SOURCE_DIR = os.environ.get("QUORLAN_SOURCE_DIR", os.path.join(os.path.dirname(__file__), "..", ".."))
WINE_RUN = os.path.join(BUILD_DIR, "wine-run")


def program(*parts):
    """The Linux path of a program of the build, e.g. program("driver", "quorlan.exe")."""
    return os.path.join(BUILD_DIR, *parts)


QUORLAN = program("driver", "quorlan.exe")
UIPROBE = program("tests", "uiprobe", "uiprobe.exe")


def windows_path(linux_path):
    """The Wine path of a Linux path: drive Z: is the Linux root."""
    return "Z:" + os.path.abspath(linux_path).replace("/", "\\")


def start(exe, *arguments, cwd=None):
    """Starts a Windows program; returns the Popen. Its output is captured as bytes."""
    return subprocess.Popen([WINE_RUN, exe, *arguments], cwd=cwd,
                            stdin=subprocess.DEVNULL, stdout=subprocess.PIPE, stderr=subprocess.PIPE)


def exit_code(process, timeout=60):
    """Waits for a started program; Wine gives the low byte of its exit code."""
    process.wait(timeout=timeout)
    process.stdout.close()
    process.stderr.close()
    return process.returncode


def read_message_box(caption, timeout_ms=20000, owner=False):
    """Waits for a message box with this caption, returns its text and presses OK.

    None when no box appeared in time. With owner=True, returns (owner class, text).
    """
    arguments = [caption, "-timeout:%d" % timeout_ms] + (["-owner"] if owner else [])
    result = subprocess.run([WINE_RUN, UIPROBE, *arguments], stdin=subprocess.DEVNULL,
                            capture_output=True, timeout=timeout_ms / 1000 + 30)
    if result.returncode != 0:
        return None
    text = result.stdout.decode("latin-1")
    if owner:
        first, _, rest = text.partition("\n")
        return first[len("owner: "):], rest
    return text


def run_with_message(exe, *arguments, caption="Quorlan", timeout_ms=20000):
    """Runs a program that shows one message box; returns (box text or None, exit code)."""
    process = start(exe, *arguments)
    text = read_message_box(caption, timeout_ms)
    return text, exit_code(process)


def wait_until(condition, timeout=20.0, interval=0.05):
    """Polls condition() until it is true; returns its last value."""
    deadline = time.monotonic() + timeout
    while True:
        value = condition()
        if value or time.monotonic() > deadline:
            return value
        time.sleep(interval)


class SampleSolution:
    """A private copy of a sample solution, removed afterwards: by default the bundled one of the
    demo (examples/Game), or the one of tests/samples named.

        with SampleSolution() as sample:
            sample.sln            # Wine path of Game.sln
            sample.path("Engine", "Renderer.h")  # Wine path of a file in it
    """

    def __init__(self, name="Game", solution_file="Game.sln"):
        self.folder = None
        self.name = name
        self.solution_file = solution_file
        self.source = os.path.join(SOURCE_DIR, "examples", "Game") if name == "Game" else \
            os.path.join(SOURCE_DIR, "tests", "samples", name)

    def __enter__(self):
        self.folder = tempfile.mkdtemp(prefix="sample-")
        shutil.copytree(self.source, os.path.join(self.folder, self.name))
        return self

    def __exit__(self, *exception):
        shutil.rmtree(self.folder, ignore_errors=True)

    def linux_path(self, *parts):
        return os.path.join(self.folder, self.name, *parts)

    def path(self, *parts):
        return windows_path(self.linux_path(*parts))

    @property
    def sln(self):
        return self.path(self.solution_file)

    @property
    def cache(self):
        """The Linux path of the solution's cache file."""
        return self.linux_path(self.solution_file + ".qlcache")
