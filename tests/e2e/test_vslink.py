"""Opening a file in Visual Studio across processes: the stand-in Visual Studio starts a test
driver, which locates it and calls openInVisualStudio, as the tool does when Visual Studio
starts it. Messages are read off the driver's message boxes with the UI probe."""
import os
import shutil
import tempfile
import unittest

from harness import program, read_message_box, windows_path
from standin import Request, StandIn, run

OPEN_DRIVER = program("tests", "vslink", "open_driver.exe")
NO_BOX_MS = 1500
MANAGEMENT_WINDOW = "Visual Studio Application Management Window"


class OpenAcrossProcesses(unittest.TestCase):
    def setUp(self):
        self.folder = tempfile.mkdtemp(prefix="vslink-")
        os.mkdir(os.path.join(self.folder, "a folder"))
        self.file = windows_path(os.path.join(self.folder, "a folder", "my file.cpp"))
        with open(os.path.join(self.folder, "a folder", "my file.cpp"), "w") as source:
            source.write("int main() {}\n")

    def tearDown(self):
        shutil.rmtree(self.folder, ignore_errors=True)

    def open_with_message(self, edition, driver_options=(), standin_options=(), caption="Quorlan"):
        """Runs the driver under a stand-in; returns (box text or None, Result)."""
        with StandIn(edition, [OPEN_DRIVER, edition, self.file, *driver_options], standin_options) as standin:
            text = read_message_box(caption, timeout_ms=20000)
            return text, standin.wait()

    def test_automation_opens_a_path_with_spaces_intact(self):
        result = run("-vs2022", [OPEN_DRIVER, "-vs2022", self.file])
        self.assertEqual(0, result.exit_code)
        self.assertEqual([Request("dte", "File.OpenFile", '"%s"' % self.file)], result.requests)
        self.assertEqual(self.file, result.requests[0].path)
        parent, window = result.output.splitlines()[:2]
        self.assertNotEqual("parent 0", parent)
        self.assertEqual("window " + MANAGEMENT_WINDOW, window)

    def test_dde_delivers_the_open_command_intact_to_the_window_found(self):
        cases = [("-vs2008", "Game - Microsoft Visual Studio"),
                 ("-vcs2005x", "Game - Microsoft Visual C# 2005 Express Edition"),
                 ("-vs2010", MANAGEMENT_WINDOW),
                 ("-vs2012x", MANAGEMENT_WINDOW)]
        for edition, window in cases:
            with self.subTest(edition=edition):
                result = run(edition, [OPEN_DRIVER, edition, self.file])
                self.assertEqual(0, result.exit_code)
                self.assertEqual([Request("dde", '[Open("%s")]' % self.file, "")], result.requests)
                self.assertEqual(["parent 0", "window " + window], result.output.splitlines()[:2])

    def test_a_negative_acknowledgement_counts_as_success(self):
        text, result = None, None
        with StandIn("-vs2008", [OPEN_DRIVER, "-vs2008", self.file], ["-dde:nack"]) as standin:
            text = read_message_box("Quorlan", timeout_ms=NO_BOX_MS)
            result = standin.wait()
        self.assertIsNone(text)
        self.assertEqual(self.file, result.requests[0].path)

    def test_a_server_that_never_acknowledges_is_reported_by_its_error_name(self):
        text, result = self.open_with_message("-vs2008", standin_options=["-dde:never"])
        self.assertEqual("Couldn't connect to Visual Studio: DDE_ERR_NO_ACK\n", text)
        self.assertEqual([], result.requests)
        self.assertEqual(0, result.exit_code)

    def test_automation_failures_show_their_one_message(self):
        cases = [([], ["-dte:off"], "Quorlan", "Couldn't find Visual Studio DTE object!"),
                 (["-parent:0"], [], "Quorlan", "Using DTE but couldn't find the parent process ID!"),
                 ([], ["-dte:unobtainable"], "QUORLAN",
                  "Found the Visual Studio DTE moniker but couldn't get the DTE object pointer!")]
        for driver_options, standin_options, caption, message in cases:
            with self.subTest(message=message):
                text, result = self.open_with_message("-vs2022", driver_options, standin_options, caption)
                self.assertEqual(message, text)
                self.assertIsNone(read_message_box("Quorlan", timeout_ms=NO_BOX_MS))
                self.assertEqual([], result.requests)

    def test_a_file_that_does_not_exist_opens_nothing_and_says_nothing(self):
        missing = windows_path(os.path.join(self.folder, "a folder", "missing.cpp"))
        for edition, options in [("-vs2022", []), ("-vs2008", []), ("-vs2008", ["-nowindow"])]:
            with self.subTest(edition=edition, options=options):
                with StandIn(edition, [OPEN_DRIVER, edition, missing, *options]) as standin:
                    self.assertIsNone(read_message_box("Quorlan", timeout_ms=NO_BOX_MS))
                    result = standin.wait()
                self.assertEqual(0, result.exit_code)
                self.assertEqual([], result.requests)

    def test_the_standin_exits_with_its_childs_exit_code(self):
        self.assertEqual(7, run("-vs2022", ["C:\\windows\\system32\\cmd.exe", "/c", "exit", "7"]).exit_code)


if __name__ == "__main__":
    unittest.main()
