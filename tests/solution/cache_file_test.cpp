#include "solution/cache_file.h"

#include "driver/build_info.h"
#include "solution/temporary_cache_file.h"
#include "tests/solution/solution_files.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <ctime>
#include <tuple>

namespace {

std::string integer(int32_t value)
{
    auto bits = static_cast<uint32_t>(value);
    return {static_cast<char>(bits), static_cast<char>(bits >> 8), static_cast<char>(bits >> 16),
            static_cast<char>(bits >> 24)};
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

// A solution at C:\s\A.sln whose cache file lives in dir.
std::unique_ptr<Solution> exampleSolution(const TempDir& dir)
{
    auto solution = std::make_unique<Solution>("C:\\s\\A.sln");
    solution->cachePath = dir.path("A.sln.qlcache");
    return solution;
}

TEST(CacheFileTest, WorkedExampleIsWrittenByteForByteAndEveryPathReadsBackLowerCased)
{
    TempDir dir;
    auto written = exampleSolution(dir);
    written->projects.push_back(std::make_unique<Project>("", "C:\\s\\a\\a.vcxproj"));
    written->projects[0]->files = FileList({"C:\\s\\a\\x.cpp", "C:\\s\\a\\x.h", "C:\\s\\b\\y.cpp"});
    ASSERT_TRUE(written->writeCache());
    ASSERT_EQ(159u, WORKED_EXAMPLE.size());
    EXPECT_EQ(WORKED_EXAMPLE, readFile(written->cachePath));

    // Change it: a reference holds a reference; paths that the shell's functions split oddly come
    // back all the same.
    Project& first = *written->projects[0];
    first.files = FileList({"C:\\S\\A\\X.CPP", "c:\\s\\a\\y.cpp", "C:\\S\\A\\\xC4.H"});
    first.references.push_back(std::make_unique<Project>("", "C:\\S\\Lib.vcxproj"));
    first.references[0]->references.push_back(std::make_unique<Project>("", "C:\\S\\Core.vcxproj"));
    first.references[0]->references[0]->files = FileList({"C:\\S\\Core.h"});
    written->projects.push_back(std::make_unique<Project>("", "C:\\S\\Odd.vcxproj"));
    written->projects[1]->files = FileList({"c:\\s\\sub\\", "c:\\x.cpp", "c:\\s\\src/a.cpp", "c:\\s\\a\\\\b.h",
                                            "c:rel.h", "b.h", ""});
    ASSERT_TRUE(written->writeCache());
    auto read = exampleSolution(dir);
    ASSERT_TRUE(read->readCache());
    EXPECT_EQ(walkLines(*written, true), walkLines(*read));
}

TEST(CacheFileTest, CorruptCachesFailTheRead)
{
    TempDir dir;
    // Offset, value put there, readable, and the size the file is then stretched to (sparse).
    const std::tuple<size_t, int32_t, bool, int64_t> cases[] = {
        {0, 0x1000F, false, 0},     {4, 0x12345678, true, 0},   {44, 0x7FFFFFFF, false, 0}, {44, -1, false, 0},
        {52, 0x7FFFFFFF, false, 0}, {66, 0x7FFFFFFF, false, 0}, {66, -5, true, 0},          {66, 2, false, 0},
        {70, -2, false, 0},         {90, 0x7FFFFFFF, false, 0}, {90, -1, false, 0},         {94, 0x40000000, false, 0},
        {94, 1, false, 0},          {127, 2, false, 0},         {151, -1, false, 0},        {155, 0x7FFFFFFF, false, 0},
        {155, 1, false, 0},         {44, 0x7FFFFFF0, false, 3LL << 30}, {94, 40000000, false, 200 << 20},
    };
    for (const auto& [offset, value, readable, size] : cases) {
        std::string bytes = WORKED_EXAMPLE;
        writeFile(dir.path("A.sln.qlcache"), bytes.replace(offset, 4, integer(value)));
        ASSERT_TRUE(!size || setFileSize(dir.path("A.sln.qlcache"), size));
        EXPECT_EQ(readable, exampleSolution(dir)->readCache()) << offset << ": " << value;
    }

    for (size_t depth : {MAX_REFERENCE_DEPTH, MAX_REFERENCE_DEPTH + 1}) {
        std::string nested = WORKED_EXAMPLE.substr(0, 66) + integer(1);
        for (size_t level = 1; level <= depth; ++level)
            nested += text("p") + integer(0) + integer(0) + integer(level < depth ? 1 : 0);
        writeFile(dir.path("A.sln.qlcache"), nested);
        EXPECT_EQ(depth == MAX_REFERENCE_DEPTH, exampleSolution(dir)->readCache()) << depth;
    }
}

// What a run that died while writing left beside the cache goes with the next write; what a live
// run is writing, or a file of another name, stays.
TEST(CacheFileTest, NextWriteRemovesTheTemporaryFilesOfDeadRunsOnly)
{
    TempDir dir;
    const int64_t longAgo = time(nullptr) - ABANDONED_AFTER_SECONDS - 5;
    for (const char* name : {"qlcache-4242.tmp", "QLCACHE-17.TMP", "qlcache-x.tmp", "cache-1.tmp", "qlcache-.tmp"}) {
        dir.write(name, "half a cache");
        ASSERT_TRUE(setModifiedTime(dir.path(name), longAgo));
    }
    dir.write("qlcache-4243.tmp", "just closed, about to be moved");
    dir.write("qlcache-4244.tmp", "still being written");
    ASSERT_TRUE(setModifiedTime(dir.path("qlcache-4244.tmp"), longAgo));
    FileLock writer(dir.path("qlcache-4244.tmp"));

    auto solution = exampleSolution(dir);
    ASSERT_TRUE(solution->writeCache());
    EXPECT_EQ(WORKED_EXAMPLE.substr(0, 66) + integer(0), readFile(solution->cachePath));
    for (const char* name : {"qlcache-4242.tmp", "QLCACHE-17.TMP"})
        EXPECT_FALSE(fileExists(dir.path(name))) << name;
    for (const char* name : {"qlcache-x.tmp", "cache-1.tmp", "qlcache-.tmp", "qlcache-4243.tmp"})
        EXPECT_TRUE(fileExists(dir.path(name))) << name;
    if (writer) {  // the system refuses to delete a file open for writing (not natively)
        EXPECT_TRUE(fileExists(dir.path("qlcache-4244.tmp")));
    }
}

// Another process holds the cache file open without sharing it: the new cache can't replace it.
TEST(CacheFileTest, CacheThatCannotBeReplacedStaysWholeAndNoTemporaryFileIsLeft)
{
    TempDir dir;
    auto solution = exampleSolution(dir);
    writeFile(solution->cachePath, WORKED_EXAMPLE);
    {
        FileLock reader(solution->cachePath);
        if (!reader)
            GTEST_SKIP() << "no way to lock a file here";
        solution->lastFilter = "new";
        EXPECT_FALSE(solution->writeCache());
    }
    EXPECT_EQ(WORKED_EXAMPLE, readFile(solution->cachePath));
    EXPECT_FALSE(fileExists(temporaryCachePath(solution->cachePath)));
}

}  // namespace
