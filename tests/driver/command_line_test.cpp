#include "driver/command_line.h"

#include "tests/support/message_recorder.h"

#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

namespace {

class CommandLineTest : public testing::Test {
protected:
    CommandLineResult run(std::vector<std::string> arguments)
    {
        arguments.insert(arguments.begin(), "quorlan.exe");
        std::vector<char*> argv;
        for (std::string& argument : arguments)
            argv.push_back(&argument[0]);
        argv.push_back(nullptr);
        return runCommandLine(static_cast<int>(arguments.size()), argv.data());
    }

    // Expects the run to end with exactly one message box.
    void expectEnd(const CommandLineResult& result, int exitCode, const std::string& text)
    {
        EXPECT_FALSE(result.runCommand);
        EXPECT_EQ(exitCode, result.exitCode);
        ASSERT_EQ(1u, recorder.messages().size());
        EXPECT_EQ("Quorlan", recorder.messages()[0].caption);
        EXPECT_EQ(text, recorder.messages()[0].text);
    }

    MessageRecorder recorder;
};

const char EXPECTED_USAGE[] =
    "quorlan v1.14\n"
    "usage: quorlan <app> <command> -solution:<fullSolutionPath>\n"
    "\n"
    "<app> may be one of:\n"
    "    -vcpp2005x\n            Visual C++ 2005 Express\n"
    "    -vcs2005x\n            Visual C# 2005 Express\n"
    "    -vs2005\n            Visual Studio 2005\n"
    "    -vcpp2008x\n            Visual C++ 2008 Express\n"
    "    -vcs2008x\n            Visual C# 2008 Express\n"
    "    -vs2008\n            Visual Studio 2008\n"
    "    -vcpp2010x\n            Visual C++ 2010 Express\n"
    "    -vcs2010x\n            Visual C# 2010 Express\n"
    "    -vs2010\n            Visual Studio 2010\n"
    "    -vs2012x\n            Visual Studio Express 2012 for Windows Desktop\n"
    "    -vs2012\n            Visual Studio 2012\n"
    "    -vs2013\n            Visual Studio 2013\n"
    "    -vs2015\n            Visual Studio 2015\n"
    "    -vs2017\n            Visual Studio 2017\n"
    "    -vs2019\n            Visual Studio 2019\n"
    "    -vs2022\n            Visual Studio 2022\n"
    "\n"
    "<command> may be one of:\n"
    "    -headerflip:<fullFilePath>\n"
    "            Perform a header flip for <fullFilePath>\n"
    "    -openfile\n"
    "            Display the open file dialog for the specified solution\n";

TEST_F(CommandLineTest, NoArgumentsShowsTheWholeUsageText)
{
    expectEnd(run({}), 0, EXPECTED_USAGE);
}

TEST_F(CommandLineTest, VersionBannerNamesVersionBuildTimeAndRevision)
{
    CommandLineResult result = run({"-version"});
    ASSERT_EQ(1u, recorder.messages().size());
    EXPECT_EQ(0, result.exitCode);
    EXPECT_FALSE(result.runCommand);
    std::regex banner("Quorlan v1\\.14\n"
                      "Built on [A-Z][a-z]{2} [ 0-9][0-9] [0-9]{4} [0-9]{2}:[0-9]{2}:[0-9]{2}\n"
                      "Revision [0-9a-f]{40}\n");
    EXPECT_TRUE(std::regex_match(recorder.messages()[0].text, banner)) << recorder.messages()[0].text;
}

TEST_F(CommandLineTest, VersionStopsTheScanWhereverItStands)
{
    expectEnd(run({"-bogus", "-version", "-headerflip:"}), 0, versionBanner());
    recorder.clear();
    // -waitForDebugger only takes effect after the scan, which -version ends.
    expectEnd(run({"-waitForDebugger", "-version"}), 0, versionBanner());
    recorder.clear();
    // An empty -headerflip: before it ends the run first.
    expectEnd(run({"-vs2022", "-headerflip:", "-version"}), 1, "No filename specified for header flip.");
}

TEST_F(CommandLineTest, EmptyHeaderFlipPathEndsTheRunEvenWithEverythingElseGiven)
{
    expectEnd(run({"-vs2022", "-solution:C:\\s\\Game.sln", "-openfile", "-headerflip:"}), 1,
              "No filename specified for header flip.");
}

TEST_F(CommandLineTest, ArgumentsMayComeInAnyOrder)
{
    for (auto arguments : std::vector<std::vector<std::string>>{
             {"-vs2019", "-openfile", "-solution:C:\\s\\Game.sln"},
             {"-solution:C:\\s\\Game.sln", "-vs2019", "-openfile"},
             {"-openfile", "-solution:C:\\s\\Game.sln", "-vs2019"}}) {
        CommandLineResult result = run(arguments);
        ASSERT_TRUE(result.runCommand);
        EXPECT_EQ(Command::OpenFile, result.state.command);
        EXPECT_EQ("C:\\s\\Game.sln", result.state.solutionPath);
        EXPECT_EQ("Game", result.state.solutionName);
        EXPECT_STREQ("-vs2019", result.state.app->switchName);
        EXPECT_FALSE(result.state.debugMode);
    }
    EXPECT_TRUE(recorder.messages().empty());
}

TEST_F(CommandLineTest, LaterArgumentsOfTheSameKindWin)
{
    CommandLineResult result = run({"-vs2008", "-headerflip:C:\\a.h", "-solution:C:\\one.sln", "-vs2022",
                                    "-solution:", "-openfile", "-debug"});
    ASSERT_TRUE(result.runCommand);
    EXPECT_STREQ("-vs2022", result.state.app->switchName);
    EXPECT_EQ(Command::OpenFile, result.state.command);
    EXPECT_EQ("C:\\a.h", result.state.headerFlipPath);  // kept, though open file decides
    EXPECT_EQ("C:\\one.sln", result.state.solutionPath);  // an empty -solution: changes nothing
    EXPECT_TRUE(result.state.debugMode);

    result = run({"-openfile", "-vs2010", "-headerflip:C:\\b.cpp"});
    ASSERT_TRUE(result.runCommand);
    EXPECT_EQ(Command::HeaderFlip, result.state.command);
    EXPECT_EQ("C:\\b.cpp", result.state.headerFlipPath);
}

TEST_F(CommandLineTest, HeaderFlipNeedsNoSolution)
{
    CommandLineResult result = run({"-vcpp2008x", "-headerflip:C:\\src\\Widget.h"});
    ASSERT_TRUE(result.runCommand);
    EXPECT_EQ(Command::HeaderFlip, result.state.command);
    EXPECT_EQ("", result.state.solutionPath);
    EXPECT_EQ("", result.state.solutionName);
    EXPECT_EQ(3, result.state.app->id);
}

TEST_F(CommandLineTest, OnlyTheFirstFailingCheckIsReported)
{
    expectEnd(run({"-bogus"}), 1, "No command specified.");
    recorder.clear();
    expectEnd(run({"-solution:"}), 1, "No command specified.");
    recorder.clear();
    expectEnd(run({"-openfile", "-solution:"}), 1, "No solution filename specified.");
    recorder.clear();
    expectEnd(run({"-openfile", "-solution:C:\\s\\Game.sln"}), 1, "No app type specified.");
}

TEST_F(CommandLineTest, SwitchesMatchOnlyExactly)
{
    expectEnd(run({"-headerflip:C:\\a.h", "-VS2022", "-vs2022x", "vs2022", "-vs20"}), 1, "No app type specified.");
    recorder.clear();
    // -OpenFile and -openfiles are not the command; -Debug is not -debug.
    expectEnd(run({"-vs2022", "-OpenFile", "-openfiles", "-HEADERFLIP:C:\\a.h"}), 1, "No command specified.");
    recorder.clear();
    CommandLineResult result = run({"-vs2022", "-headerflip:C:\\a.h", "-Debug", "-debugx"});
    ASSERT_TRUE(result.runCommand);
    EXPECT_FALSE(result.state.debugMode);
}

TEST(SolutionNameTest, IsTheFileNameWithoutItsExtension)
{
    EXPECT_EQ("Game", solutionNameOf("C:\\s\\Game.sln"));
    EXPECT_EQ("Game", solutionNameOf("Game.sln"));
    EXPECT_EQ("my.game", solutionNameOf("D:\\a b\\my.game.sln"));
    EXPECT_EQ("NoExtension", solutionNameOf("C:\\s\\NoExtension"));
    // A name longer than a path is cut to 259 characters before the extension is removed.
    EXPECT_EQ(std::string(259, 'x'), solutionNameOf("C:\\" + std::string(300, 'x') + ".sln"));
}

}  // namespace
