"""The "Open file in solution" window driven with real keystrokes and clicks (xdotool) under Xvfb.

tests/ui/dialog_driver.exe shows the window over a prepared solution of 3 x 36 files and prints
what was chosen. A screenshot of each run, taken before its last action, is kept in
<build>/e2e-artifacts.
"""
import os
import re
import select
import time
import unittest

from desktop import double_click, find_window, focus, press, screenshot, type_text
from harness import program, start

DRIVER = program("tests", "ui", "dialog_driver.exe")
FILES = 3 * 36


def read_line(process, timeout=30.0):
    """One line of the program's output, without waiting past the timeout."""
    line = b""
    deadline = time.monotonic() + timeout
    while not line.endswith(b"\n"):
        ready, _, _ = select.select([process.stdout], [], [], max(0.0, deadline - time.monotonic()))
        if not ready:
            raise AssertionError("no output in time; so far: %r" % line)
        byte = os.read(process.stdout.fileno(), 1)
        if not byte:
            raise AssertionError("the program ended; so far: %r" % line)
        line += byte
    return line.decode("latin-1").rstrip("\r\n")


class OpenFileWindow(unittest.TestCase):
    def drive(self, *actions, arguments=()):
        """Starts the window, performs the actions, and returns what the driver printed at the end.

        Actions: ("type", text), ("key", xdotool key names...), ("double-click row 3",): the place
        where row 3 was when the window showed.
        """
        process = start(DRIVER, *arguments)
        try:
            shown = re.fullmatch(r"shown row3=(-?\d+),(-?\d+)", read_line(process))
            self.assertIsNotNone(shown)
            focus(find_window("^Open file in solution - "))
            for number, action in enumerate(actions):
                if number == len(actions) - 1:
                    screenshot(self.id().rsplit(".", 1)[-1])
                if action[0] == "type":
                    type_text(action[1])
                elif action[0] == "key":
                    press(*action[1:])
                else:
                    double_click(shown.group(1), shown.group(2))
            outcome = read_line(process)
            process.wait(timeout=30)
        finally:
            if process.poll() is None:
                process.kill()
                process.wait()
            process.stdout.close()
            process.stderr.close()
        return dict(field.split("=", 1) for field in outcome.split(" "))

    def test_enter_chooses_the_proposed_row_of_the_typed_filter(self):
        chosen = self.drive(("type", "Main"), ("key", "Return"))
        self.assertEqual({"result": "0", "name": "main.cpp", "filter": "main"},
                         {k: chosen[k] for k in ("result", "name", "filter")})

    def test_up_down_and_page_keys_move_the_list_while_the_caret_stays(self):
        chosen = self.drive(("type", "a"), ("key", "Left"), ("key", "Down", "Down", "Down", "Up"), ("key", "Return"))
        self.assertEqual(("0", "2", "0"), (chosen["result"], chosen["mark"], chosen["caret"]))
        paged = self.drive(("key", "Next"), ("key", "Return"))
        self.assertGreater(int(paged["mark"]), 5)
        back = self.drive(("key", "Next", "Next", "Prior"), ("key", "Return"))
        self.assertLess(int(back["mark"]), int(paged["mark"]) * 2)

    def test_home_and_end_move_the_list_only_while_the_filter_box_is_empty(self):
        empty = self.drive(("key", "End"), ("key", "Return"))
        self.assertEqual(str(FILES - 1), empty["mark"])
        typed = self.drive(("type", "cam"), ("key", "Down", "Home"), ("key", "Return"))
        self.assertEqual(("1", "0"), (typed["mark"], typed["caret"]))

    def test_enter_on_an_empty_list_gives_0_and_no_file(self):
        chosen = self.drive(("type", "nothing-like-it"), ("key", "Return"))
        self.assertEqual(("0", "-1", ""), (chosen["result"], chosen["mark"], chosen["name"]))

    def test_escape_and_alt_f4_cancel(self):
        self.assertEqual("1", self.drive(("type", "main"), ("key", "Escape"))["result"])
        self.assertEqual("1", self.drive(("key", "alt+F4"))["result"])

    def test_restored_filter_is_replaced_by_the_first_typed_character(self):
        chosen = self.drive(("type", "vi"), ("key", "Return"), arguments=("texture", "1"))
        self.assertEqual(("viewport.cpp", "vi"), (chosen["name"], chosen["filter"]))

    def test_double_click_chooses_the_row_under_the_pointer_and_only_a_row(self):
        chosen = self.drive(("double-click row 3",))
        self.assertEqual(("0", "3", "audio.cpp"), (chosen["result"], chosen["mark"], chosen["name"]))
        # domain.cpp is in 3 folders: rows 0 to 2. Below them nothing is chosen and the window stays.
        below = self.drive(("type", "domain"), ("double-click row 3",), ("key", "Escape"))
        self.assertEqual(("1", "domain"), (below["result"], below["filter"]))


if __name__ == "__main__":
    unittest.main()
