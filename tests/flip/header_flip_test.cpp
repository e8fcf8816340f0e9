#include "flip/header_flip.h"

#include "solution/text.h"
#include "tests/solution/solution_files.h"
#include "tests/standin/dde_server.h"
#include "tests/support/message_recorder.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <regex>

namespace {

// Header flips against a DDE server window in this process, which records what the tool asks
// Visual Studio 2008 to open.
class HeaderFlipTest : public testing::Test {
protected:
    // What the flip of the file opened ("" for nothing), failing on more than one request.
    std::string flip(const std::string& relativePath, const std::string& solutionPath = "")
    {
        commands.clear();
        headerFlip(*findAppBySwitch("-vs2008"), vsWindow, folder.path(relativePath), solutionPath, 0);
        EXPECT_LE(commands.size(), 1u);
        std::smatch open;
        if (commands.empty() || !std::regex_match(commands[0], open, std::regex("\\[Open\\(\"(.*)\"\\)\\]")))
            return "";
        return open[1];
    }

    TempDir folder;
    MessageRecorder messages;
    std::vector<std::string> commands;
    DdeServer server{"VisualStudio.9.0", DdeAnswer::Ack, [this](const std::string& c) { commands.push_back(c); }};
    HWND vsWindow = server.createWindow("", 0, HWND_MESSAGE);
};

TEST_F(HeaderFlipTest, EachExtensionOpensItsCounterpartBesideItAndOthersOpenNothing)
{
    for (const char* name : {"Widget.cpp", "Widget.c", "Gadget.c", "Tool.cpp", "Part.h", "Part.hpp", "Unit.hpp",
                             "MainPage.xaml", "MainPage.xaml.cs", "Service", "Other.xaml", "readme.h",
                             "Old.xaml.cs\\Page"})
        folder.write(name);
    const std::pair<std::string, std::string> flips[] = {
        {"Widget.h", "Widget.cpp"},  // .cpp before .c
        {"Gadget.hpp", "Gadget.c"},
        {"Tool.H", "Tool.cpp"},  // the candidate is written as the table has it
        {"Part.cpp", "Part.h"},  // .h before .hpp
        {"Unit.c", "Unit.hpp"},
        {"MainPage.xaml", "MainPage.xaml.cs"},
        {"MainPage.xaml.cs", "MainPage.xaml"},
        {"Old.xaml.cs\\Page.cs", "Old.xaml.cs\\Page"},  // ".xaml.cs" anywhere in the path
        {"Service.cs", ""},
        {"Other.xaml.CS", ""},  // the code-behind test is case-sensitive
        {"readme.txt", ""},
    };
    for (const auto& [given, counterpart] : flips)
        EXPECT_EQ(counterpart.empty() ? "" : folder.path(counterpart), flip(given)) << given;
    EXPECT_TRUE(messages.messages().empty());
}

// The pairs added to the first four come after them, both ways; a source's own header convention
// comes before .h and .hpp.
TEST_F(HeaderFlipTest, AddedPairsComeAfterTheFirstOnesBothWays)
{
    for (const char* name : {"Net.cc", "Net.mm", "Net.hh", "Old.c", "Old.mm", "Vec.cxx", "Vec.hxx", "Vec.h", "Str.c++",
                             "Str.hpp", "Kern.cu", "Kern.h", "Gpu.cuh", "View.h", "Tile.hpp", "Only.mm", "Plus.h++"})
        folder.write(name);
    const std::pair<std::string, std::string> flips[] = {
        {"Net.h", "Net.cc"},  {"Net.HH", "Net.cc"},  {"Old.h", "Old.c"},     {"Vec.hxx", "Vec.cxx"},
        {"Vec.cxx", "Vec.hxx"}, {"Str.h++", "Str.c++"}, {"Str.c++", "Str.hpp"}, {"Kern.cuh", "Kern.cu"},
        {"Kern.cu", "Kern.h"}, {"Gpu.cu", "Gpu.cuh"}, {"View.m", "View.h"},   {"Tile.mm", "Tile.hpp"},
        {"Only.hpp", "Only.mm"}, {"Plus.c++", "Plus.h++"}, {"Net.cc", "Net.hh"}, {"Net.mm", ""},  // .mm pairs with .h and .hpp only
    };
    for (const auto& [given, counterpart] : flips)
        EXPECT_EQ(counterpart.empty() ? "" : folder.path(counterpart), flip(given)) << given;
}

TEST_F(HeaderFlipTest, TheSolutionIsSearchedByNameWhenNothingIsBeside)
{
    for (const char* name : {"one\\Widget.cpp", "two\\Widget.cpp", "lib\\GADGET.C", "lib\\Gone.c"})
        folder.write(name);
    folder.write("first\\first.vcxproj",
                 vcxprojText({"ClInclude ..\\src\\Widget.h", "ProjectReference ..\\lib\\lib.vcxproj"}));
    folder.write("lib\\lib.vcxproj", vcxprojText({"ClCompile ..\\one\\Widget.cpp", "ClCompile GADGET.C",
                                                  "ClCompile ..\\gone\\Gone.cpp", "ClCompile Gone.c"}));
    folder.write("second\\second.vcxproj", vcxprojText({"ClCompile ..\\two\\Widget.cpp"}));
    std::string solution = folder.write("App.sln", solutionText({"first\\first.vcxproj", "second\\second.vcxproj"}));

    // The first match in walk order: the reference of the first project comes before the second.
    EXPECT_EQ(folder.path("one\\Widget.cpp"), flip("src\\Widget.h", solution));
    // Names compare without regard to case; from the cache the path comes back lower-cased.
    EXPECT_EQ(lowerCase(folder.path("lib\\GADGET.C")), flip("src\\Gadget.h", solution));
    // A listed counterpart that is gone stops the search; so does a path too long to rename.
    EXPECT_EQ("", flip("src\\Gone.h", solution));
    EXPECT_EQ("", flip("src\\" + std::string(300, 'w') + ".h", solution));
    EXPECT_EQ("", flip("src\\Widget.h"));  // no solution: only the file's folder
    EXPECT_TRUE(messages.messages().empty());

    EXPECT_EQ("", flip("src\\Widget.h", folder.path("Missing.sln")));
    EXPECT_EQ(std::vector<std::string>{"Couldn't find solution file " + folder.path("Missing.sln") + ".\n"},
              messages.texts());
}

}  // namespace
