"""The stand-in Visual Studio for end-to-end tests: starts it with a child command line, waits
for it, and reads back what it was asked to open.

    result = run("-vs2022", [OPEN_DRIVER, "-vs2022", windows_path(file)])
    result.exit_code, result.requests, result.output

For tests that must act while the child runs (typing into its window with xdotool, reading its
message boxes), use StandIn: start(), do the work, then wait().
"""
import os
import re
import shutil
import subprocess
import tempfile
from collections import namedtuple

from harness import WINE_RUN, program, windows_path

STANDIN = program("tests", "standin", "standin.exe")

_OPEN_COMMAND = re.compile(r'\A\[Open\("(.*)"\)\]\Z')


class Request(namedtuple("Request", "way command argument")):
    """One open request from the log: way "dte" with the command name and its argument, or way
    "dde" with the command text and an empty argument."""

    @property
    def path(self):
        """The path of the file asked to open, or None when the request is no open request."""
        if self.way == "dte" and self.command == "File.OpenFile":
            quoted = re.fullmatch(r'"(.*)"', self.argument)
            return quoted.group(1) if quoted else None
        if self.way == "dde":
            opened = _OPEN_COMMAND.match(self.command)
            return opened.group(1) if opened else None
        return None


Result = namedtuple("Result", "exit_code requests output")


def parse_log(data):
    """The requests of a log's bytes (ANSI, decoded as Latin-1 so that every byte survives)."""
    requests = []
    for line in data.decode("latin-1").split("\n"):
        if line.startswith("dte "):
            command, _, argument = line[4:].partition(" ")
            requests.append(Request("dte", command, argument))
        elif line.startswith("dde "):
            requests.append(Request("dde", line[4:], ""))
    return requests


class StandIn:
    """One run of the stand-in imitating an edition ("-vs2022"), with options as the stand-in takes
    them ("-dde:never", "-solution:Game") and a child command line. A child program given as a
    Linux path of an existing file is passed as its Wine path; arguments are passed unchanged."""

    def __init__(self, edition, child=(), options=()):
        self.folder = tempfile.mkdtemp(prefix="standin-")
        self.log_path = os.path.join(self.folder, "standin.log")
        self.output_path = os.path.join(self.folder, "output.txt")
        child = list(child)
        if child and os.path.exists(child[0]):
            child[0] = windows_path(child[0])
        self.arguments = [edition, *options, "-log:" + windows_path(self.log_path)]
        if child:
            self.arguments += ["--", *child]
        self.process = None

    def start(self):
        # Its output goes to a file, not a pipe: a process that Wine starts on the way (the desktop
        # process, when the stand-in's window is the first on the screen) inherits the stand-in's
        # standard handles and outlives it, and a pipe would then never reach its end.
        with open(self.output_path, "wb") as output, open(self.output_path + ".errors", "wb") as errors:
            self.process = subprocess.Popen([WINE_RUN, STANDIN, *self.arguments], stdin=subprocess.DEVNULL,
                                            stdout=output, stderr=errors)
        return self

    def wait(self, timeout=60):
        """Waits for the stand-in (and so its child); returns a Result. The output is what the
        child and the stand-in wrote to standard output, without carriage returns."""
        self.process.wait(timeout=timeout)
        with open(self.output_path, "rb") as output:
            text = output.read().decode("latin-1").replace("\r", "")
        return Result(self.process.returncode, self.requests(), text)

    def requests(self):
        """The requests logged so far."""
        try:
            with open(self.log_path, "rb") as log:
                return parse_log(log.read())
        except FileNotFoundError:
            return []

    def close(self):
        if self.process and self.process.poll() is None:
            self.process.kill()
            self.process.wait()
        shutil.rmtree(self.folder, ignore_errors=True)

    def __enter__(self):
        return self.start()

    def __exit__(self, *exception):
        self.close()


def run(edition, child, *options, timeout=60):
    """Runs the stand-in with a child to the end; returns a Result."""
    with StandIn(edition, child, options) as standin:
        return standin.wait(timeout)
