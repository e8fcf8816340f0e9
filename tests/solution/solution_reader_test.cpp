#include "solution/solution.h"

#include "solution/file_handle.h"
#include "solution/file_system.h"
#include "solution/xml_depth.h"
#include "solution/text.h"
#include "tests/solution/solution_files.h"
#include "tests/support/message_recorder.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <sstream>

namespace {

class SolutionReaderTest : public testing::Test {
protected:
    // Loads App.sln of the temporary folder into a new solution.
    bool load()
    {
        solution = std::make_unique<Solution>(dir.path("App.sln"));
        return solution->load();
    }

    // Gives App.sln, its cache and the named files the same modification time.
    void setTimes(std::vector<std::string> files)
    {
        files.insert(files.end(), {"App.sln", "App.sln.qlcache"});
        for (const std::string& file : files)
            ASSERT_TRUE(setModifiedTime(dir.path(file), OLD_TIME));
    }

    TempDir dir;
    MessageRecorder recorder;
    std::unique_ptr<Solution> solution;
};

TEST_F(SolutionReaderTest, OnlyProjectLinesNameProjects)
{
    const std::string project = "Project(\"{T}\") = \"n\", \"";
    dir.write("App.sln", "\t" + project + "indented\"\n" + project + "open\nProject(\"{T}\") = \"n\", bare\n" +
                             "Project(\"{T}\") = \"no comma\" \"x\"\n" + std::string(511, 'X') + project +
                             "piece.vcxproj\"\n" + project + dir.path("x\\..\\f.csproj") + "\"\n" +
                             "Project(\"{2150E333-8FDC-42A3-9474-1A3956D46DE8}\") = \"Folder\", \"Folder\"\n"
                             "Project(\"{2150e333-8fdc-42a3-9474-1a3956d46de8}\") = \"Folder\", \"Folder\"\n");
    ASSERT_TRUE(load());
    EXPECT_EQ((std::vector<std::string>{"P " + dir.path("piece.vcxproj"), "P " + dir.path("x\\..\\f.csproj"),
                                        "P " + dir.path("Folder")}),
              walkLines(*solution));
    EXPECT_EQ(std::vector<std::string>{"Unrecognised project type in file '" + dir.path("Folder") + "'!\n"},
              recorder.texts());
}

TEST_F(SolutionReaderTest, XmlSolutionsNameTheirProjectsInDocumentOrderThroughNestedFolders)
{
    dir.write("App.slnx", "\xEF\xBB\xBF<Solution><Configurations><Project Path=\"cfg.vcxproj\"/></Configurations>"
                          "<Folder Name=\"/a/\"><File Path=\"notes.txt\"/><Project Path=\"a/one.csproj\"/>"
                          "<Folder Name=\"/a/b/\"><Project Path=\"..\\two.vcxproj\"><BuildType Project=\"Debug\"/>"
                          "</Project></Folder></Folder><Project/><Project Path=\"" + dir.path("x\\..\\three.csproj") +
                              "\"/></Solution>");
    solution = std::make_unique<Solution>(dir.path("App.slnx"));
    ASSERT_TRUE(solution->load());
    std::string parent = dir.path().substr(0, dir.path().rfind('\\'));
    EXPECT_EQ((std::vector<std::string>{"P " + dir.path("a\\one.csproj"), "P " + parent + "\\two.vcxproj",
                                        "P " + dir.path("x\\..\\three.csproj")}),
              walkLines(*solution));
    EXPECT_TRUE(fileExists(dir.path("App.slnx.qlcache")));

    // One that isn't well-formed is reported like one that can't be opened, and leaves no cache.
    dir.write("App.slnx", "<Solution><Project Path=\"a.csproj\">");
    setModifiedTime(dir.path("App.slnx"), NEWER_TIME);
    setModifiedTime(dir.path("App.slnx.qlcache"), OLD_TIME);
    solution = std::make_unique<Solution>(dir.path("App.slnx"));
    EXPECT_FALSE(solution->load());
    EXPECT_FALSE(fileExists(dir.path("App.slnx.qlcache")));
    EXPECT_EQ(std::vector<std::string>{"Solution file '" + dir.path("App.slnx") + "' exists but it couldn't be loaded:\n"
                                       "It is not a well-formed XML solution file.\n"},
              recorder.texts());
}

TEST_F(SolutionReaderTest, FreshCacheSparesEveryProjectFileNotNewerThanIt)
{
    const std::vector<std::string> projects = {"a\\a.vcxproj", "b\\B.vcxproj", "lib\\lib.vcxproj"};
    dir.write("App.sln", solutionText({projects[0], projects[1]}));
    dir.write(projects[0], vcxprojText({"ClCompile A.cpp", "ProjectReference ..\\lib\\lib.vcxproj"}));
    dir.write(projects[1], vcxprojText({"ClCompile B.cpp"}));
    dir.write(projects[2], vcxprojText({"ClInclude Lib.h"}));
    ASSERT_TRUE(load());
    std::vector<std::string> expected = walkLines(*solution, true);

    // A project file a second newer than the cache is read again, alone, and its new reference in
    // full, however old its file: their paths keep their case.
    dir.write(projects[1], vcxprojText({"ClCompile B2.cpp", "ProjectReference ..\\lib2\\lib2.vcxproj"}));
    dir.write("lib2\\lib2.vcxproj", vcxprojText({"ClInclude Lib2.h"}));
    setTimes({projects[0], projects[2], "lib2\\lib2.vcxproj"});
    ASSERT_TRUE(setModifiedTime(dir.path(projects[1]), NEWER_TIME));
    ASSERT_TRUE(load());
    expected[5] = "F " + dir.path("b\\B2.cpp");
    expected.insert(expected.end(), {"  P " + dir.path("lib2\\lib2.vcxproj"), "  F " + dir.path("lib2\\Lib2.h")});
    EXPECT_EQ(expected, walkLines(*solution));

    // A newer solution file discards the whole cache before it is opened: unreadable, it is
    // reported with the system's text and leaves no cache behind.
    setTimes(projects);
    ASSERT_TRUE(setModifiedTime(dir.path("App.sln"), NEWER_TIME));
    FileLock lock(dir.path("App.sln"));
    if (!lock)
        GTEST_SKIP() << "no way to make a file unreadable here";
    EXPECT_FALSE(load());
    EXPECT_FALSE(fileExists(dir.path("App.sln.qlcache")));
    EXPECT_EQ(std::vector<std::string>{"Solution file '" + dir.path("App.sln") +
                                       "' exists but it couldn't be loaded:\n" + lock.errorText() + "\n"},
              recorder.texts());
}

TEST_F(SolutionReaderTest, UnusableCacheIsRebuiltWithinTheSameLoadKeepingTheWindowState)
{
    dir.write("App.sln", solutionText({"a.vcxproj"}));
    dir.write("a.vcxproj", vcxprojText({"ClCompile A.cpp", "ClInclude sub\\A.h"}));
    ASSERT_TRUE(load());
    const std::vector<std::string> full = walkLines(*solution);
    solution->lastFilter = "abc";
    solution->lastSelection = 7;
    ASSERT_TRUE(solution->writeCache());
    const std::string cache = readFile(dir.path("App.sln.qlcache"));
    const size_t filterEnd = 44 + 4 + 3, selectionEnd = filterEnd + 4;
    for (size_t cut = 0; cut < cache.size(); ++cut) {
        dir.write("App.sln.qlcache", cache.substr(0, cut));
        setTimes({"a.vcxproj"});
        ASSERT_TRUE(load());
        EXPECT_EQ(full, walkLines(*solution)) << cut;
        EXPECT_EQ(cut >= filterEnd ? "abc" : "", solution->lastFilter) << cut;
        EXPECT_EQ(cut >= selectionEnd ? 7 : -1, solution->lastSelection) << cut;
        EXPECT_EQ(cut >= selectionEnd, cache == readFile(dir.path("App.sln.qlcache"))) << cut;
    }

    // The cache of another copy of the tree is stale, but the same path in other letters is not.
    Solution copy(dir.path("copy\\App.sln"));
    copy.cachePath = dir.path("App.sln.qlcache");
    EXPECT_FALSE(copy.readCache());
    EXPECT_EQ("abc", copy.lastFilter);
    EXPECT_EQ(dir.path("copy\\App.sln"), copy.solutionPath);
    Solution otherCase(lowerCase(dir.path("App.sln")));
    EXPECT_TRUE(otherCase.readCache());
    EXPECT_EQ(dir.path("App.sln"), otherCase.solutionPath);
}

// A project file removed since the cache was written, between the solution listing it and the
// load reading it: its project loads empty, nothing is said, and the cache keeps its contents.
TEST_F(SolutionReaderTest, VanishedProjectFileLeavesItsProjectEmptyAndTheCacheAsItWas)
{
    dir.write("App.sln", solutionText({"a.vcxproj", "b.vcxproj"}));
    dir.write("a.vcxproj", vcxprojText({"ClCompile A.cpp"}));
    dir.write("b.vcxproj", vcxprojText({"ClCompile B.cpp"}));
    ASSERT_TRUE(load());
    setTimes({"a.vcxproj", "b.vcxproj"});
    const std::string cache = readFile(dir.path("App.sln.qlcache"));
    ASSERT_TRUE(deleteFile(dir.path("a.vcxproj")));
    ASSERT_TRUE(load());
    EXPECT_EQ((std::vector<std::string>{"P " + dir.path("a.vcxproj"), "P " + dir.path("b.vcxproj"),
                                        "F " + lowerCase(dir.path("B.cpp"))}),
              walkLines(*solution));
    EXPECT_EQ(cache, readFile(dir.path("App.sln.qlcache")));
    EXPECT_TRUE(recorder.messages().empty());
}

TEST_F(SolutionReaderTest, ReferenceExpansionIsCutAtTheModelLimitAndTheCutModelReadsBack)
{
    // Each project file references the next one four times: some 350,000 projects in full.
    std::vector<std::string> projects;
    for (int i = 0; i < 10; ++i) {
        std::string next = "ProjectReference p" + std::to_string(i + 1) + ".vcxproj";
        projects.push_back("p" + std::to_string(i) + ".vcxproj");
        dir.write(projects.back(), vcxprojText({"ClCompile F.cpp", next, next, next, next}));
    }
    dir.write("App.sln", solutionText({"p0.vcxproj"}));
    ASSERT_TRUE(load());
    const std::vector<std::string> cached = walkLines(*solution, true);
    auto isProject = [](const std::string& line) { return line.find("P ") != std::string::npos; };
    EXPECT_EQ(MAX_MODEL_PROJECTS, std::count_if(cached.begin(), cached.end(), isProject));
    EXPECT_EQ(CUT_PROJECTS, solution->cuts());
    setTimes(projects);
    ASSERT_TRUE(load());
    EXPECT_EQ(cached, walkLines(*solution));  // "f.cpp": from the cache
    EXPECT_EQ(CUT_PROJECTS, solution->cuts());
}

// What a bound leaves out is told, whether the projects come from their files or from the cache;
// a project that no longer loses anything stops telling it.
TEST_F(SolutionReaderTest, CutsOfProjectFilesAreToldAndKeptWithTheCache)
{
    std::vector<std::string> projects = {"ok.vcxproj", "deep.vcxproj", "big.vcxproj"};
    std::string deep;
    for (size_t i = 0; i <= MAX_XML_DEPTH; ++i)
        deep += "<a>";
    dir.write("ok.vcxproj", vcxprojText({"ClCompile A.cpp"}));
    dir.write("deep.vcxproj", deep);
    ASSERT_TRUE(setFileSize(dir.write("big.vcxproj"), MAX_WHOLE_FILE_SIZE + 1));
    // A chain of references one project deeper than the model nests them.
    for (size_t i = 0; i < MAX_REFERENCE_DEPTH; ++i) {
        projects.push_back("chain" + std::to_string(i) + ".vcxproj");
        dir.write(projects.back(), vcxprojText({"ProjectReference chain" + std::to_string(i + 1) + ".vcxproj"}));
    }
    dir.write("App.sln", solutionText({"ok.vcxproj", "deep.vcxproj", "big.vcxproj", "chain0.vcxproj"}));
    const ModelCuts all = CUT_XML_DEPTH | CUT_FILE_SIZE | CUT_REFERENCE_DEPTH;

    ASSERT_TRUE(load());
    EXPECT_EQ(all, solution->cuts());
    EXPECT_EQ("not every file is listed: project references nested more than 256 deep; a project file larger "
              "than 256 MB; a project file nested more than 1000 elements deep",
              describeCuts(solution->cuts()));
    setTimes(projects);
    ASSERT_TRUE(load());
    EXPECT_EQ(all, solution->cuts());

    dir.write("deep.vcxproj", vcxprojText({"ClCompile B.cpp"}));
    ASSERT_TRUE(setModifiedTime(dir.path("deep.vcxproj"), NEWER_TIME));
    ASSERT_TRUE(load());
    EXPECT_EQ(CUT_FILE_SIZE | CUT_REFERENCE_DEPTH, solution->cuts());
    std::vector<std::string> files = walkLines(*solution);
    files.erase(std::remove_if(files.begin(), files.end(), [](const std::string& line) { return line[0] != 'F'; }),
                files.end());
    EXPECT_EQ((std::vector<std::string>{"F " + lowerCase(dir.path("A.cpp")), "F " + dir.path("B.cpp")}), files);
    EXPECT_TRUE(recorder.messages().empty());
}

// A solution written by people who never heard of this tool: the corpus's imgui examples. It is
// copied to the same folder on every host, so that the cache file, which holds every path, can be
// compared byte for byte with the reference in data/, written by the 32-bit product: the 64-bit
// test variant must write the same bytes and read the reference as its own. Only the build's
// revision identifier (bytes 4 to 43) may differ. QUORLAN_UPDATE_REFERENCE=1 rewrites the reference.
TEST(ImguiCorpus, LoadsComesBackFromTheCacheAndMatchesTheReferenceCache)
{
    if (std::string(QUORLAN_CORPUS_DIR).empty())
        GTEST_SKIP() << "the shared corpus is not beside the repository";
    MessageRecorder recorder;
    TempDir dir("C:\\quorlan-corpus");
    if (!fileExists(dir.path()))
        GTEST_SKIP() << "can't make " << dir.path() << " (natively: /quorlan-corpus)";
    auto copy = [&](const std::string& path) { return dir.write(path, readFile(QUORLAN_CORPUS_DIR "\\" + path)); };
    std::string solutionPath = copy("imgui\\examples\\imgui_examples.sln");
    std::string cachePath = solutionPath + ".qlcache";
    const std::string referencePath = QUORLAN_TEST_DATA_DIR "\\imgui_examples.sln.qlcache";

    // The expected walk comes from a separate reader (data/make_imgui_walk.py).
    std::vector<std::string> expected, times = {solutionPath, cachePath};
    std::istringstream lines(readFile(QUORLAN_TEST_DATA_DIR "\\imgui_walk.txt"));
    for (std::string line; std::getline(lines, line);) {
        expected.push_back(line.substr(0, 2) + dir.path(line.substr(2)));
        if (line[0] == 'P')
            times.push_back(copy(line.substr(2)));
    }
    ASSERT_EQ(339u, expected.size());
    auto solution = std::make_unique<Solution>(solutionPath);
    ASSERT_TRUE(solution->load());
    EXPECT_EQ(expected, walkLines(*solution));
    const std::vector<std::string> cached = walkLines(*solution, true);

    const std::string written = readFile(cachePath);
    if (getenv("QUORLAN_UPDATE_REFERENCE")) {
        ASSERT_TRUE(writeFile(referencePath, written));
    }
    const std::string reference = readFile(referencePath);
    ASSERT_EQ(reference.size(), written.size());
    EXPECT_EQ(reference.substr(0, 4), written.substr(0, 4));
    EXPECT_TRUE(reference.compare(44, std::string::npos, written, 44, std::string::npos) == 0)
        << "the cache differs from the reference beyond the revision identifier";

    // Lower-cased paths show that no project file was read again; neither the load nor the
    // destruction rewrites the cache. The reference, put in its place, is read the same way.
    for (const std::string& cache : {written, reference}) {
        ASSERT_TRUE(writeFile(cachePath, cache));
        for (const std::string& path : times)
            ASSERT_TRUE(setModifiedTime(path, OLD_TIME));
        solution = std::make_unique<Solution>(solutionPath);
        ASSERT_TRUE(solution->load());
        EXPECT_EQ(cached, walkLines(*solution));
        solution.reset();
        EXPECT_EQ(OLD_TIME, modifiedTime(cachePath));
        EXPECT_EQ(cache, readFile(cachePath));
    }
    EXPECT_TRUE(recorder.messages().empty());
}

}  // namespace
