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

// The worked example: one project of three files in two folders, no filter, no selection.
const std::string WORKED_EXAMPLE = integer(CACHE_FORMAT_VERSION) + std::string(revisionId, REVISION_SIZE) + text("") +
                                   integer(-1) + text("C:\\s\\A.sln") + integer(1) + text("C:\\s\\a\\a.vcxproj") +
                                   integer(3) + integer(2) + text("C:\\s\\a") + text("C:\\s\\b") + text("x.cpp") +
                                   integer(0) + text("x.h") + integer(0) + text("y.cpp") + integer(1) + integer(0);

class CacheFileTest : public testing::Test {
protected:
    // A solution at C:\s\A.sln whose cache file lives in the temporary folder.
    std::unique_ptr<Solution> solution()
    {
        auto result = std::make_unique<Solution>("C:\\s\\A.sln");
        result->cachePath = dir.path("A.sln.qlcache");
        return result;
    }

    TempDir dir;
};

TEST_F(CacheFileTest, WorkedExampleIsWrittenByteForByteAndReadBackLowerCased)
{
    auto written = solution();
    written->projects.push_back(
        makeProject("C:\\s\\a\\a.vcxproj", {"C:\\s\\a\\x.cpp", "C:\\s\\a\\x.h", "C:\\s\\b\\y.cpp"}));
    ASSERT_TRUE(written->writeCache());
    ASSERT_EQ(159u, WORKED_EXAMPLE.size());
    EXPECT_EQ(WORKED_EXAMPLE, readFile(written->cachePath));

    // Change it: C:\S\A and c:\s\a are two table entries; a reference holds a reference.
    written->lastFilter = "Ma";
    written->lastSelection = 12;
    written->projects[0]->files = {"C:\\S\\A\\X.CPP", "c:\\s\\a\\y.cpp", "C:\\S\\A\\Z.H"};
    written->projects[0]->references.push_back(makeProject("C:\\S\\Lib.vcxproj", {}));
    written->projects[0]->references[0]->references.push_back(makeProject("C:\\S\\Core.vcxproj", {"C:\\S\\Core.h"}));
    written->projects.push_back(makeProject("C:\\S\\Empty.csproj", {}));
    ASSERT_TRUE(written->writeCache());
    EXPECT_NE(std::string::npos,
              readFile(written->cachePath)
                  .find(integer(3) + integer(2) + text("C:\\S\\A") + text("c:\\s\\a") + text("X.CPP") + integer(0) +
                        text("y.cpp") + integer(1) + text("Z.H") + integer(0)));
    auto read = solution();
    ASSERT_TRUE(read->readCache());
    EXPECT_EQ("Ma", read->lastFilter);
    EXPECT_EQ(12, read->lastSelection);
    EXPECT_EQ(filesLowerCased(walkLines(*written)), walkLines(*read));
}

TEST_F(CacheFileTest, CorruptCachesFailTheRead)
{
    struct Case {
        size_t offset;
        int32_t value;
        bool readable;
    };
    const Case cases[] = {
        {0, 0x1000F, false},      {4, 0x12345678, true},   {44, 0x7FFFFFFF, false}, {44, -1, false},
        {52, 0x7FFFFFFF, false},  {66, 0x7FFFFFFF, false}, {66, -5, true},          {66, 2, false},
        {70, -2, false},          {90, 0x7FFFFFFF, false}, {90, -1, false},         {94, 0x40000000, false},
        {94, 1, false},           {127, 2, false},         {151, -1, false},        {155, 0x7FFFFFFF, false},
        {155, 1, false},
    };
    for (const Case& c : cases) {
        std::string bytes = WORKED_EXAMPLE;
        bytes.replace(c.offset, 4, integer(c.value));
        writeFile(dir.path("A.sln.qlcache"), bytes);
        EXPECT_EQ(c.readable, solution()->readCache()) << c.offset << ": " << c.value;
    }

    for (size_t depth : {MAX_REFERENCE_DEPTH, MAX_REFERENCE_DEPTH + 1}) {
        std::string nested = WORKED_EXAMPLE.substr(0, 66) + integer(1);
        for (size_t level = 1; level <= depth; ++level)
            nested += text("p") + integer(0) + integer(0) + integer(level < depth ? 1 : 0);
        writeFile(dir.path("A.sln.qlcache"), nested);
        EXPECT_EQ(depth == MAX_REFERENCE_DEPTH, solution()->readCache()) << depth;
    }
}

TEST_F(CacheFileTest, FailedWriteKeepsThePreviousCacheAndOnlyDirtyDestructionWrites)
{
    auto written = solution();
    written->lastFilter = "old";
    written->dirty = true;
    written.reset();
    std::string previous = readFile(dir.path("A.sln.qlcache"));
    ASSERT_FALSE(previous.empty());

    written = solution();
    written->lastFilter = "new";
    {
        LockedFile lock(written->cachePath);
        EXPECT_FALSE(written->writeCache());
    }
    written.reset();
    EXPECT_EQ(previous, readFile(dir.path("A.sln.qlcache")));
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(dir.path("*.tmp").c_str(), &found);
    EXPECT_EQ(INVALID_HANDLE_VALUE, search) << found.cFileName;
    FindClose(search);
}

}  // namespace
