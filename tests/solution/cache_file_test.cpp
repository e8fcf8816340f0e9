#include "solution/cache_file.h"

#include "driver/build_info.h"
#include "solution/solution.h"
#include "tests/solution/solution_files.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

namespace {

std::string integer(int32_t value)
{
    std::string bytes(4, '\0');
    for (int i = 0; i < 4; ++i)
        bytes[i] = static_cast<char>(static_cast<uint32_t>(value) >> (8 * i));
    return bytes;
}

std::string text(const std::string& value)
{
    return integer(static_cast<int32_t>(value.size())) + value;
}

std::string header(const std::string& solutionPath)
{
    return integer(CACHE_FORMAT_VERSION) + std::string(revisionId, REVISION_SIZE) + text("") + integer(-1) +
           text(solutionPath);
}

class CacheFileTest : public testing::Test {
protected:
    // A solution at C:\s\A.sln whose cache file lives in the temporary folder.
    std::unique_ptr<Solution> solution()
    {
        auto result = std::make_unique<Solution>("C:\\s\\A.sln");
        result->cachePath = dir.path("A.sln.qlcache");
        return result;
    }

    static std::unique_ptr<Project> project(const std::string& path, std::vector<std::string> files)
    {
        auto result = std::make_unique<Project>();
        result->path = path;
        result->files = std::move(files);
        return result;
    }

    TempDir dir;
};

TEST_F(CacheFileTest, WorkedExampleIsWrittenByteForByte)
{
    auto written = solution();
    written->projects.push_back(project("C:\\s\\a\\a.vcxproj", {"C:\\s\\a\\x.cpp", "C:\\s\\a\\x.h", "C:\\s\\b\\y.cpp"}));
    ASSERT_TRUE(written->writeCache());
    std::string expected = header("C:\\s\\A.sln") + integer(1) + text("C:\\s\\a\\a.vcxproj") + integer(3) + integer(2) +
                           text("C:\\s\\a") + text("C:\\s\\b") + text("x.cpp") + integer(0) + text("x.h") + integer(0) +
                           text("y.cpp") + integer(1) + integer(0);
    EXPECT_EQ(159u, expected.size());
    EXPECT_EQ(std::string("\x0E\x00\x01\x00", 4), expected.substr(0, 4));
    EXPECT_EQ(expected, readFile(written->cachePath));

    auto read = solution();
    ASSERT_TRUE(read->readCache());
    EXPECT_EQ((std::vector<std::string>{"P C:\\s\\a\\a.vcxproj", "F c:\\s\\a\\x.cpp", "F c:\\s\\a\\x.h", "F c:\\s\\b\\y.cpp"}),
              walkLines(*read));
}

TEST_F(CacheFileTest, WriteReadChangeWriteRead)
{
    auto written = solution();
    written->lastFilter = "Ma";
    written->lastSelection = 12;
    written->projects.push_back(project("C:\\S\\App.vcxproj", {"C:\\S\\A\\X.CPP", "c:\\s\\a\\y.cpp", "C:\\S\\A\\Z.H"}));
    written->projects[0]->references.push_back(project("C:\\S\\Lib.vcxproj", {}));
    written->projects[0]->references[0]->references.push_back(project("C:\\S\\Core.vcxproj", {"C:\\S\\Core.h"}));
    ASSERT_TRUE(written->writeCache());
    // C:\S\A and c:\s\a are two table entries, each written once.
    EXPECT_NE(std::string::npos, readFile(written->cachePath)
                                     .find(integer(3) + integer(2) + text("C:\\S\\A") + text("c:\\s\\a") + text("X.CPP") +
                                           integer(0) + text("y.cpp") + integer(1) + text("Z.H") + integer(0)));

    for (int round = 0; round < 2; ++round) {
        auto read = solution();
        ASSERT_TRUE(read->readCache());
        EXPECT_EQ(written->lastFilter, read->lastFilter);
        EXPECT_EQ(written->lastSelection, read->lastSelection);
        EXPECT_EQ(filesLowerCased(walkLines(*written)), walkLines(*read));

        written->lastFilter = "";
        written->lastSelection = -1;
        written->projects[0]->references.clear();
        written->projects.push_back(project("C:\\S\\Empty.csproj", {}));
        ASSERT_TRUE(written->writeCache());
    }
}

TEST_F(CacheFileTest, CorruptCachesFailTheRead)
{
    std::string valid = header("C:\\s\\A.sln") + integer(1) + text("C:\\s\\a\\a.vcxproj") + integer(3) + integer(2) +
                        text("C:\\s\\a") + text("C:\\s\\b") + text("x.cpp") + integer(0) + text("x.h") + integer(0) +
                        text("y.cpp") + integer(1) + integer(0);
    struct Case {
        size_t offset;
        int32_t value;
        bool readable;
    };
    const Case cases[] = {
        {0, 0x1000F, false},     {4, 0x12345678, true},   // another version; another revision
        {44, 0x7FFFFFFF, false}, {44, -1, false},         // filter length
        {52, 0x7FFFFFFF, false}, {66, 0x7FFFFFFF, false}, // path length, project count
        {66, -5, true},          {66, 2, false},          // no projects; one missing
        {70, -2, false},         {90, 0x7FFFFFFF, false}, // project path length, file count
        {90, -1, false},         {94, 0x40000000, false}, // file count, directory count
        {94, 1, false},          {127, 2, false},         // a directory short; index beyond the table
        {151, -1, false},        {155, 0x7FFFFFFF, false}, // negative index; reference count
        {155, 1, false},
    };
    for (const Case& c : cases) {
        std::string bytes = valid;
        bytes.replace(c.offset, 4, integer(c.value));
        writeFile(dir.path("A.sln.qlcache"), bytes);
        EXPECT_EQ(c.readable, solution()->readCache()) << c.offset << ": " << c.value;
    }

    // References nested beyond the bound.
    for (size_t depth : {MAX_REFERENCE_DEPTH, MAX_REFERENCE_DEPTH + 1}) {
        std::string nested = header("C:\\s\\A.sln") + integer(1);
        for (size_t level = 1; level <= depth; ++level)
            nested += text("p") + integer(0) + integer(0) + integer(level < depth ? 1 : 0);
        writeFile(dir.path("A.sln.qlcache"), nested);
        EXPECT_EQ(depth == MAX_REFERENCE_DEPTH, solution()->readCache()) << depth;
    }
}

TEST_F(CacheFileTest, FailedWriteKeepsThePreviousCache)
{
    auto written = solution();
    written->lastFilter = "old";
    ASSERT_TRUE(written->writeCache());
    std::string previous = readFile(written->cachePath);
    written->lastFilter = "new";
    {
        LockedFile lock(written->cachePath);
        ASSERT_TRUE(lock.locked());
        EXPECT_FALSE(written->writeCache());
    }
    EXPECT_EQ(previous, readFile(written->cachePath));
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(dir.path("*.tmp").c_str(), &found);
    EXPECT_EQ(INVALID_HANDLE_VALUE, search) << found.cFileName;
    FindClose(search);

    written->cachePath = dir.path("missing\\A.sln.qlcache");
    EXPECT_FALSE(written->writeCache());
}

TEST_F(CacheFileTest, DestructorWritesOnlyWhenDirty)
{
    solution()->lastFilter = "unchanged";
    EXPECT_FALSE(fileExists(dir.path("A.sln.qlcache")));
    {
        auto dirty = solution();
        dirty->lastFilter = "main";
        dirty->lastSelection = 3;
        dirty->dirty = true;
    }
    auto read = solution();
    ASSERT_TRUE(read->readCache());
    EXPECT_EQ("main", read->lastFilter);
    EXPECT_EQ(3, read->lastSelection);
}

}  // namespace
