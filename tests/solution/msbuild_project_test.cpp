#include "solution/msbuild_project.h"

#include "solution/file_system.h"
#include "solution/solution.h"

#include "tests/solution/solution_files.h"
#include "tests/support/message_recorder.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

namespace {

using Lines = std::vector<std::string>;

class MsbuildProjectTest : public testing::Test {
protected:
    // Loads a solution of the temporary folder in full; its walk with paths relative to the folder.
    Lines load(const std::string& solutionName = "App.sln")
    {
        deleteFile(dir.path(solutionName + ".qlcache"));
        solution = std::make_unique<Solution>(dir.path(solutionName));
        EXPECT_TRUE(solution->load());
        return relativeWalkLines(*solution, dir.path());
    }

    // Writes a one-project solution App.sln and the project file, and loads it; the file lines only.
    Lines loadProject(const std::string& path, const std::string& text)
    {
        dir.write(path, text);
        dir.write("App.sln", solutionText({path}));
        Lines lines = load();
        lines.erase(lines.begin());
        return lines;
    }

    TempDir dir;
    MessageRecorder recorder;
    std::unique_ptr<Solution> solution;
};

const char WPF_PROJECT[] = "<Project Sdk=\"Microsoft.NET.Sdk\">\n  <PropertyGroup>\n"
                           "    <TargetFramework>net8.0-windows</TargetFramework>\n"
                           "    <UseWPF>true</UseWPF>\n  </PropertyGroup>\n</Project>\n";

// The sample solution of the end-to-end tests: every kind of this tool's second generation, as
// Visual Studio and the .NET SDK write them, and what a build leaves in an SDK project's folder.
TEST_F(MsbuildProjectTest, SampleSolutionListsWhatMsbuildWould)
{
    copyTree(QUORLAN_SAMPLES_DIR "\\Modern", dir);
    for (const char* extra : {"bin\\Debug\\Desktop.dll", "obj\\project.assets.json", ".vs\\state", "Desktop.csproj.user",
                              "Resources\\Strings.resx", "Images\\logo.png", ".editorconfig"})
        dir.write(std::string("src\\Desktop\\") + extra);
    const Lines engine = {"F native\\Engine\\src\\Renderer.cc", "F native\\Engine\\include\\Renderer.hh",
                          "F native\\Engine\\include\\gpu\\Kernels.cuh", "F native\\Engine\\src\\gpu\\Kernels.cu"};
    Lines expected = {"P src\\Desktop\\Desktop.csproj",
                      "F src\\Desktop\\App.xaml.cs",
                      "F src\\Desktop\\AssemblyInfo.cs",
                      "F src\\Desktop\\MainWindow.xaml.cs",
                      "F src\\Desktop\\Resources\\Strings.resx",
                      "F src\\Desktop\\.editorconfig",
                      "F src\\Desktop\\Images\\logo.png",
                      "F src\\Desktop\\App.xaml",
                      "F src\\Desktop\\MainWindow.xaml",
                      "P src\\Core\\Core.csproj",
                      "F src\\Core\\Geometry.cs",
                      "P shared\\Common\\Common.shproj",
                      "F shared\\Common\\Strings.cs",
                      "P tests\\Core.Tests\\Core.Tests.csproj",
                      "F tests\\Core.Tests\\GeometryTests.cs",
                      "P native\\Engine\\Engine.vcxproj"};
    expected.insert(expected.end(), engine.begin(), engine.end());
    expected.insert(expected.end(), {"P native\\Tool\\Tool.vcxproj", "F native\\Tool\\main.cpp",
                                     "  P native\\Engine\\Engine.vcxproj"});
    for (const std::string& line : engine)
        expected.push_back("  " + line);
    expected.insert(expected.end(), {"P native\\Shared\\Shared.vcxitems", "F native\\Shared\\Log.cpp",
                                     "F native\\Shared\\include\\Log.h"});
    EXPECT_EQ(expected, load("Modern.slnx"));
    EXPECT_TRUE(recorder.messages().empty());
}

TEST_F(MsbuildProjectTest, SdkDefaultItemsFollowTheSwitchesRemovesAndExcludes)
{
    for (const char* file : {"A.cs", "B.resx", "Page.xaml", "App.xaml", "Old\\C.cs", "node_modules\\m.js", "x.vb"})
        dir.write(std::string("p\\") + file);
    EXPECT_EQ((Lines{"F p\\A.cs", "F p\\Old\\C.cs", "F p\\B.resx", "F p\\x.vb", "F p\\node_modules\\m.js",
                     "F p\\App.xaml", "F p\\Page.xaml"}),
              loadProject("p\\p.csproj", WPF_PROJECT));

    // Compile items off: the .cs files become None items, in walk order; a Remove of Compile items
    // then finds none, a Remove of None items does. DefaultItemExcludes can be extended.
    EXPECT_EQ((Lines{"F p\\B.resx", "F p\\A.cs", "F p\\App.xaml", "F p\\Page.xaml", "F p\\x.vb", "F p\\extra.txt"}),
              loadProject("p\\p.csproj", "<Project Sdk='Microsoft.NET.Sdk'><PropertyGroup>"
                                         "<EnableDefaultCompileItems>False</EnableDefaultCompileItems>"
                                         "<DefaultItemExcludes>$(DefaultItemExcludes);node_modules/**</DefaultItemExcludes>"
                                         "</PropertyGroup><ItemGroup><Compile Remove='A.cs'/><None Remove='Old\\**'/>"
                                         "<None Include='extra.txt'/></ItemGroup></Project>"));

    // No default items at all; a Visual Basic project's sources are its .vb files.
    EXPECT_EQ((Lines{"F p\\A.cs"}),
              loadProject("p\\p.csproj", "<Project Sdk='Microsoft.NET.Sdk'><PropertyGroup><EnableDefaultItems>false"
                                         "</EnableDefaultItems></PropertyGroup><ItemGroup><Compile Include='A.cs'/>"
                                         "</ItemGroup></Project>"));
    EXPECT_EQ((Lines{"F p\\x.vb", "F p\\B.resx"}),
              loadProject("p\\p.vbproj", "<Project><Sdk Name='Microsoft.NET.Sdk'/><PropertyGroup>"
                                         "<EnableDefaultNoneItems>false</EnableDefaultNoneItems></PropertyGroup>"
                                         "</Project>"));
}

TEST_F(MsbuildProjectTest, WildcardItemsExpandInWalkOrderLessTheirExcludes)
{
    for (const char* file : {"src\\b.cpp", "src\\A.cpp", "src\\a.h", "src\\x\\c.cpp", "src\\x\\y\\d.cpp",
                             "src\\X2\\e.cpp", "src\\gen\\g.cpp", "src\\ab.cpp", "src\\abc.cpp"})
        dir.write(file);
    EXPECT_EQ((Lines{"F src\\A.cpp", "F src\\ab.cpp", "F src\\abc.cpp", "F src\\b.cpp", "F src\\x\\c.cpp",
                     "F src\\x\\y\\d.cpp", "F src\\X2\\e.cpp", "F src\\ab.cpp", "F src\\x\\c.cpp", "F src\\X2\\e.cpp",
                     "F src\\a.h", "F src\\a.h;src\\b.cpp"}),
              loadProject("App.vcxproj", vcxprojText({"ClCompile src\\**\\*.cpp\" Exclude=\"src/gen/**",
                                                      "ClCompile src/a?.cpp;src\\x*\\*.cpp", "ClInclude src\\*.h",
                                                      "None src\\a.h;src\\b.cpp", "None src\\*.none"})));

    // Values of the kinds read since before SDK-style projects stay one path when they hold no
    // wildcard and no property; with either they are lists.
    EXPECT_EQ((Lines{"F a.cpp;b.cpp", "F a.cpp", "F b.cpp"}),
              loadProject("App.vcxproj", vcxprojText({"ClCompile a.cpp;b.cpp", "ClCompile $(ProjectDir)a.cpp ; b.cpp"})));
    EXPECT_EQ((Lines{"F a.cpp", "F b.cpp"}), loadProject("App.wixproj", vcxprojText({"Compile a.cpp;b.cpp"})));
}

// The usual item of the old kinds is held as a folder and a name: excludes and removes still match
// its whole path, a reference is still followed, and a character reference that makes a NUL still
// ends the value.
TEST_F(MsbuildProjectTest, PlainItemsMeetExcludesRemovesAndCharacterReferences)
{
    dir.write("f\\f.vcxproj", vcxprojText({"ClInclude g.h"}));
    EXPECT_EQ((Lines{"F src\\b.cpp", "F src\\d.h", "F e", "  P f\\f.vcxproj", "  F f\\g.h"}),
              loadProject("App.vcxproj",
                          "<Project><ItemGroup><ClCompile Include=\"src\\a.cpp\" Exclude=\"src/*.cpp\"/>"
                          "<ClCompile Include=\"src\\b.cpp\"/><ClCompile Include=\"src\\c.cpp\"/>"
                          "<ClCompile Remove=\"src\\c*\"/><ClInclude Include=\"src/d.h\"/>"
                          "<None Include=\"e&#0;x.txt\"/><ProjectReference Include=\"lib\\lib.vcxproj\"/>"
                          "<ProjectReference Remove=\"lib\\*\"/><ProjectReference Include=\"f\\f.vcxproj\"/>"
                          "</ItemGroup></Project>"));
}

// The plain-path test goes over a value in blocks of sixteen bytes, then four, then one: a slash, a
// property or a high byte at any of those places still sends the value the long way.
TEST_F(MsbuildProjectTest, LongValuesAreReadAlikeWhereverTheirOddByteIs)
{
    std::string odd = "<Project><PropertyGroup><Sub>s\\</Sub></PropertyGroup><ItemGroup>";
    std::string plain = odd;
    for (size_t at = 0; at < 40; ++at) {
        std::string head = "src\\" + std::string(at, 'n');
        odd += "<ClCompile Include=\"" + head + "/a.cpp\"/><ClCompile Include=\"" + head + "$(Sub)b.cpp\"/>";
        odd += "<ClCompile Include=\"" + head + "\xC9.h\"/>";
        plain += "<ClCompile Include=\"" + head + "\\a.cpp\"/><ClCompile Include=\"" + head + "s\\b.cpp\"/>";
        plain += "<ClCompile Include=\"" + head + "\xC9.h\"/>";
    }
    Lines expected = loadProject("plain.vcxproj", plain + "</ItemGroup></Project>");
    EXPECT_EQ(120u, expected.size());
    EXPECT_EQ(expected, loadProject("odd.vcxproj", odd + "</ItemGroup></Project>"));
}

TEST_F(MsbuildProjectTest, PathPropertiesExpandAndItemsWithUnknownOnesAreLeftOut)
{
    dir.write("lib\\shared.cpp");
    EXPECT_EQ((Lines{"F p\\a.cpp", "F p\\b.cpp", "F shared\\c.cpp", "F p\\d.cpp", "F p\\sub\\e.cpp", "F lib\\shared.cpp",
                     "F p\\x.cpp", "F p\\p.def"}),
              loadProject("p\\p.vcxproj",
                          "<Project><PropertyGroup><Src>$(ProjectDir)sub\\</Src><Cfg Condition=\"x\">c\\</Cfg>"
                          "<Lib>..\\lib</Lib></PropertyGroup><PropertyGroup Condition=\"'$(A)'=='b'\"><Lib>x</Lib>"
                          "</PropertyGroup><ItemGroup><ClCompile Include=\"$(ProjectDir)a.cpp\"/>"
                          "<ClCompile Include=\"$(MSBuildProjectDirectory)\\b.cpp\"/>"
                          "<ClCompile Include=\"$(SolutionDir)shared\\c.cpp\"/>"
                          "<ClCompile Include=\"$(MSBuildThisFileDirectory)d.cpp\"/><ClCompile Include=\"$(Src)e.cpp\"/>"
                          "<ClCompile Include=\"$(Lib)\\*.cpp\"/><ClCompile Include=\"$(Cfg)f.cpp\"/>"
                          "<ClCompile Include=\"$(Configuration)\\g.cpp\"/><ClCompile Include=\"$([System.IO.Path]::x)\"/>"
                          "<ClCompile Include=\"@(Other);$(ProjectDir)x.cpp\"/><ClCompile Include=\"$(Lib.Trim())h.cpp\"/>"
                          "<None Include=\"$(ProjectName).def\"/></ItemGroup></Project>"));
    EXPECT_TRUE(recorder.messages().empty());
}

TEST_F(MsbuildProjectTest, OtherMsbuildKindsAreReadByTheirFileItemsAndTheRestIsUnrecognised)
{
    dir.write("vb\\Legacy.vbproj",
              "<?xml version=\"1.0\"?><Project ToolsVersion=\"4.0\" xmlns=\"http://schemas.microsoft.com/developer/"
              "msbuild/2003\"><ItemGroup><ProjectConfiguration Include=\"Debug|Win32\"/><Reference Include=\"System\"/>"
              "<Import Include=\"System.Linq\"/><Compile Include=\"Module1.vb\"/><COMReference Include=\"x\"/>"
              "<PackageReference Include=\"p\"/><FrameworkReference Include=\"f\"/><Folder Include=\"Empty\\\"/>"
              "<ProjectCapability Include=\"c\"/><ProjectReference Include=\"..\\x.csproj\"/><Resource Include=\"i.png\"/>"
              "<compile Include=\"lower.vb\"/></ItemGroup></Project>");
    dir.write("py\\Tool.pyproj", "<Project><ItemGroup><Content Include=\"a.txt\"/><Compile Include=\"main.py\"/>"
                                 "</ItemGroup></Project>");
    dir.write("web\\index.html");
    dir.write("notes.txt", "<Notes><Project/></Notes>");
    dir.write("broken.proj", "<Project><ItemGroup>");
    dir.write("App.sln", solutionText({"vb\\Legacy.vbproj", "py\\Tool.pyproj", "web\\", "notes.txt", "broken.proj",
                                       "gone.fsproj", "setup.vdproj"}));
    EXPECT_EQ((Lines{"P vb\\Legacy.vbproj", "F vb\\Module1.vb", "F vb\\i.png", "F vb\\lower.vb", "P py\\Tool.pyproj",
                     "F py\\a.txt", "F py\\main.py", "P web\\", "P notes.txt", "P broken.proj", "P gone.fsproj",
                     "P setup.vdproj"}),
              load());
    Lines boxes;
    for (const char* path : {"web\\", "notes.txt", "broken.proj", "gone.fsproj"})
        boxes.push_back("Unrecognised project type in file '" + dir.path(path) + "'!\n");
    EXPECT_EQ(boxes, recorder.texts());
}

TEST_F(MsbuildProjectTest, HostileProjectsAreBoundedAndCostNoCrash)
{
    // A property doubling itself forty times would take a terabyte.
    std::string doubling = "<Project><PropertyGroup><P>x</P>";
    for (int i = 0; i < 40; ++i)
        doubling += "<P>$(P)$(P)</P>";
    dir.write("a\\a.txt");
    EXPECT_EQ((Lines{"F a\\a.txt"}),
              loadProject("a\\a.proj", doubling + "</PropertyGroup><ItemGroup><None Include=\"$(P).cpp;*.txt\"/>"
                                                  "</ItemGroup></Project>"));

    // A walk stops where its budget runs out.
    dir.write("d\\top.txt");
    dir.write("d\\e\\f\\x.txt");
    WalkBudget budget;
    FolderWalker walker(budget);
    std::vector<std::string> files;
    walker.expand(dir.path("d\\**\\*.txt"), {}, files, 10);
    EXPECT_EQ((Lines{dir.path("d\\top.txt"), dir.path("d\\e\\f\\x.txt")}), files);
    EXPECT_EQ(MAX_WALK_FOLDERS - walker.watched().size(), budget.foldersLeft);
    budget.foldersLeft = 0;
    files.clear();
    FolderWalker(budget).expand(dir.path("d\\**\\*.txt"), {}, files, 10);
    EXPECT_TRUE(files.empty());
}

}  // namespace
