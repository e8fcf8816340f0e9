#include "flip/header_flip.h"

#include "solution/text.h"
#include "tests/solution/solution_files.h"
#include "tests/standin/dde_server.h"
#include "tests/support/message_recorder.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <utility>
#include <vector>

namespace {

// Header flips against a DDE server window in this process, which records what the tool asks
// Visual Studio 2008 to open.
class HeaderFlipTest : public testing::Test {
protected:
    // What the flip of path opened ("" for nothing), failing on more than one request.
    std::string flip(const std::string& path, const std::string& solutionPath = "")
    {
        commands.clear();
        headerFlip(vs2008, vsWindow, path, solutionPath, 0);
        EXPECT_LE(commands.size(), 1u);
        std::smatch open;
        if (commands.empty() || !std::regex_match(commands[0], open, std::regex("\\[Open\\(\"(.*)\"\\)\\]")))
            return "";
        return open[1];
    }

    // Writes empty files named by paths relative to the folder.
    void files(const std::vector<std::string>& names)
    {
        for (const std::string& name : names)
            folder.write(name);
    }

    // A solution whose one project lists the files; returns the solution's path.
    std::string solutionListing(const std::vector<std::string>& projectItems)
    {
        folder.write("app\\app.vcxproj", vcxprojText(projectItems));
        return folder.write("App.sln", solutionText({"app\\app.vcxproj"}));
    }

    const AppInfo& vs2008 = appTable[5];
    TempDir folder;
    MessageRecorder messages;
    std::vector<std::string> commands;
    DdeServer server{"VisualStudio.9.0", DdeAnswer::Ack, [this](const std::string& c) { commands.push_back(c); }};
    HWND vsWindow = server.createWindow("", 0, HWND_MESSAGE);
};

TEST_F(HeaderFlipTest, EachExtensionOpensItsCounterpartBesideIt)
{
    files({"Widget.h", "Widget.cpp", "Widget.c", "Gadget.hpp", "Gadget.c", "Tool.H", "Tool.cpp", "Part.cpp",
           "Part.h", "Part.hpp", "Unit.c", "Unit.hpp", "MainPage.xaml", "MainPage.xaml.cs"});
    const std::vector<std::pair<std::string, std::string>> flips = {
        {"Widget.h", "Widget.cpp"},  // .cpp before .c
        {"Gadget.hpp", "Gadget.c"},
        {"Tool.H", "Tool.cpp"},  // the candidate is written as the table has it
        {"Part.cpp", "Part.h"},  // .h before .hpp
        {"Unit.c", "Unit.hpp"},
        {"MainPage.xaml", "MainPage.xaml.cs"},
        {"MainPage.xaml.cs", "MainPage.xaml"},
    };
    for (const auto& [given, counterpart] : flips)
        EXPECT_EQ(folder.path(counterpart), flip(folder.path(given))) << given;
    EXPECT_TRUE(messages.messages().empty());
}

TEST_F(HeaderFlipTest, FilesWithoutARuleOpenNothing)
{
    files({"Service.cs", "Service.h", "Service.cpp", "MainPage.XAML.CS", "MainPage.XAML", "Other.xaml.CS",
           "Other.xaml", "Other.cpp", "readme.txt", "readme.h", "Makefile", "Makefile.h", "Lonely.h", "Code.xaml"});
    for (const char* given : {"Service.cs", "MainPage.XAML.CS", "Other.xaml.CS", "readme.txt", "Makefile",
                              "Lonely.h", "Code.xaml"})
        EXPECT_EQ("", flip(folder.path(given))) << given;
    EXPECT_TRUE(messages.messages().empty());
}

TEST_F(HeaderFlipTest, AFolderNamedLikeCodeBehindMakesItsFilesCodeBehind)
{
    files({"Old.xaml.cs\\Page.cs", "Old.xaml.cs\\Page", "Old.xaml.cs\\Page.h", "Old.xaml.cs\\View.xaml",
           "Old.xaml.cs\\View"});
    EXPECT_EQ(folder.path("Old.xaml.cs\\Page"), flip(folder.path("Old.xaml.cs\\Page.cs")));
    EXPECT_EQ(folder.path("Old.xaml.cs\\View"), flip(folder.path("Old.xaml.cs\\View.xaml")));
}

TEST_F(HeaderFlipTest, ACounterpartBesideTheFileLeavesTheSolutionUnread)
{
    files({"src\\Widget.h", "src\\Widget.c", "other\\Widget.cpp"});
    std::string solution = solutionListing({"ClCompile ..\\other\\Widget.cpp"});
    std::string cache = solution + ".qlcache";
    {
        LockedFile locked(solution);  // reading it would fail with a message
        ASSERT_TRUE(locked.locked());
        EXPECT_EQ(folder.path("src\\Widget.c"), flip(folder.path("src\\Widget.h"), solution));
    }
    EXPECT_TRUE(messages.messages().empty());
    EXPECT_FALSE(fileExists(cache));
}

TEST_F(HeaderFlipTest, TheSolutionIsSearchedByNameWhenNothingIsBeside)
{
    files({"src\\Widget.h", "src\\Gadget.h", "one\\Widget.cpp", "two\\Widget.cpp", "lib\\GADGET.C"});
    folder.write("first\\first.vcxproj",
                 vcxprojText({"ClInclude ..\\src\\Widget.h", "ProjectReference ..\\lib\\lib.vcxproj"}));
    folder.write("lib\\lib.vcxproj", vcxprojText({"ClCompile ..\\one\\Widget.cpp", "ClCompile GADGET.C"}));
    folder.write("second\\second.vcxproj", vcxprojText({"ClCompile ..\\two\\Widget.cpp"}));
    std::string solution = folder.write("App.sln", solutionText({"first\\first.vcxproj", "second\\second.vcxproj"}));

    // The first match in walk order: the reference of the first project comes before the second.
    EXPECT_EQ(folder.path("one\\Widget.cpp"), flip(folder.path("src\\Widget.h"), solution));
    EXPECT_TRUE(fileExists(solution + ".qlcache"));
    // Names compare without regard to case; from the cache the path comes back lower-cased.
    EXPECT_EQ(lowerCase(folder.path("lib\\GADGET.C")), flip(folder.path("src\\Gadget.h"), solution));
    EXPECT_TRUE(messages.messages().empty());
}

TEST_F(HeaderFlipTest, AListedCounterpartThatIsGoneStopsTheSearch)
{
    files({"src\\Widget.h", "there\\Widget.c"});
    std::string solution = solutionListing({"ClCompile ..\\gone\\Widget.cpp", "ClCompile ..\\there\\Widget.c"});
    EXPECT_EQ("", flip(folder.path("src\\Widget.h"), solution));
    EXPECT_TRUE(messages.messages().empty());
}

TEST_F(HeaderFlipTest, WithoutSolutionOnlyTheFileFolderIsSearched)
{
    files({"src\\Widget.h", "elsewhere\\Widget.cpp"});
    EXPECT_EQ("", flip(folder.path("src\\Widget.h")));
    EXPECT_TRUE(messages.messages().empty());
}

TEST_F(HeaderFlipTest, ASolutionThatCannotBeLoadedReportsAndOpensNothing)
{
    files({"src\\Widget.h"});
    std::string missing = folder.path("Missing.sln");
    EXPECT_EQ("", flip(folder.path("src\\Widget.h"), missing));
    EXPECT_EQ(std::vector<std::string>{"Couldn't find solution file " + missing + ".\n"}, messages.texts());
}

TEST_F(HeaderFlipTest, APathTooLongForThePathFunctionsFindsNothing)
{
    files({"app\\w.cpp"});
    std::string solution = solutionListing({"ClCompile w.cpp"});
    std::string tooLong = folder.path(std::string(300, 'w') + ".h");
    EXPECT_EQ("", flip(tooLong, solution));
    EXPECT_TRUE(messages.messages().empty());
}

}  // namespace
