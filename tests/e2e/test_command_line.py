"""The command line of the real quorlan.exe, read off its message boxes with the UI probe."""
import unittest

from harness import QUORLAN, run_with_message


class CommandLine(unittest.TestCase):
    def test_no_argument_shows_the_usage_text_and_exits_0(self):
        text, code = run_with_message(QUORLAN)
        self.assertEqual(0, code)
        self.assertIsNotNone(text, "no box titled Quorlan appeared")
        lines = text.split("\n")
        self.assertEqual("quorlan v1.14", lines[0])
        self.assertEqual("usage: quorlan <app> <command> -solution:<fullSolutionPath>", lines[1])
        self.assertIn("    -vcpp2005x", lines)
        self.assertIn("            Visual Studio Express 2012 for Windows Desktop", lines)
        self.assertEqual("            Display the open file dialog for the specified solution", lines[-2])
        self.assertEqual(2 + 2 + 32 + 2 + 4 + 1, len(lines))

    def test_version_shows_the_banner_and_exits_0(self):
        text, code = run_with_message(QUORLAN, "-vs2022", "-version", "-headerflip:")
        self.assertEqual(0, code)
        self.assertRegex(text, r"\AQuorlan v1\.14\nBuilt on \w{3} [ \d]\d \d{4} \d\d:\d\d:\d\d\n"
                               r"Revision [0-9a-f]{40}\n\Z")

    def test_each_argument_error_shows_its_message_and_exits_1(self):
        cases = [
            (["-vs2022", "-headerflip:"], "No filename specified for header flip."),
            (["-vs2022", "-solution:C:\\s\\Game.sln"], "No command specified."),
            (["-vs2022", "-openfile"], "No solution filename specified."),
            (["-VS2022", "-openfile", "-solution:C:\\s\\Game.sln"], "No app type specified."),
        ]
        for arguments, message in cases:
            with self.subTest(arguments=arguments):
                text, code = run_with_message(QUORLAN, *arguments)
                self.assertEqual(message, text)
                self.assertEqual(1, code)


if __name__ == "__main__":
    unittest.main()
