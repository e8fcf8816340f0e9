"""The crash report of a program that links the real crash filter and faults deep in a recursion."""
import os
import re
import struct
import tempfile
import unittest

from harness import program, start

CRASH_DRIVER = program("tests", "driver", "crash_driver.exe")
# What Wine prints when an exception stays unhandled, after every filter declined it. (The exit
# code can't tell: Wine reports 0 instead of 0xC0000005 for about one such crash in twenty.)
UNHANDLED = b"Unhandled page fault on write access to 00000000"


def image_base_and_size(path):
    """The image base (its low 32 bits, as the log writes it) and size from the PE header."""
    with open(path, "rb") as exe:
        data = exe.read(4096)
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    optional = pe + 4 + 20
    magic = struct.unpack_from("<H", data, optional)[0]
    if magic == 0x20B:  # PE32+, the 64-bit variant: an 8-byte base at another offset
        base = struct.unpack_from("<Q", data, optional + 24)[0] & 0xFFFFFFFF
    else:
        base = struct.unpack_from("<I", data, optional + 28)[0]
    size = struct.unpack_from("<I", data, optional + 56)[0]
    return base, size


def crash_in(directory, depth=100):
    """Runs the crash driver; returns what it wrote to standard error."""
    process = start(CRASH_DRIVER, str(depth), cwd=directory)
    _, errors = process.communicate(timeout=60)
    return errors


class CrashReport(unittest.TestCase):
    def setUp(self):
        self.folder = tempfile.TemporaryDirectory()
        self.log = os.path.join(self.folder.name, "quorlan.log")

    def tearDown(self):
        self.folder.cleanup()

    def test_deep_crash_writes_module_line_and_exactly_32_frames(self):
        self.assertIn(UNHANDLED, crash_in(self.folder.name))
        with open(self.log, "rb") as log:
            text = log.read().decode("ascii")
        match = re.fullmatch(r"([0-9a-f]{8}) ([0-9a-f]{8})\r\n([0-9a-f]{8}(?: [0-9a-f]{8})*)", text)
        self.assertIsNotNone(match, repr(text))
        base, size = int(match.group(1), 16), int(match.group(2), 16)
        self.assertEqual(image_base_and_size(CRASH_DRIVER), (base, size))
        frames = [int(pc, 16) for pc in match.group(3).split(" ")]
        self.assertEqual(32, len(frames))
        # The fault and the recursion above it are all in the program's own code.
        for pc in frames:
            self.assertTrue(base <= pc < base + size, "%08x outside the module" % pc)
        self.assertEqual(1, len(set(frames[2:])), "the recursion repeats one return address")

    def test_existing_log_is_replaced(self):
        with open(self.log, "w") as log:
            log.write("old report\n" * 1000)
        crash_in(self.folder.name)
        with open(self.log, "rb") as log:
            text = log.read()
        self.assertNotIn(b"old report", text)
        self.assertLess(len(text), 400)

    def test_unwritable_directory_leaves_no_log_and_still_crashes(self):
        # Nobody, root included, can create a file in /proc.
        self.assertIn(UNHANDLED, crash_in("/proc"))
        self.assertFalse(os.path.exists("/proc/quorlan.log"))


if __name__ == "__main__":
    unittest.main()
