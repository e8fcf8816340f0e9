#include "solution/file_list.h"

#include "solution/path.h"
#include "solution/text.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>

namespace {

// The split of the cache file, by the shell's rule alone: removeFileSpec, and the whole path
// under an empty directory when directory, backslash and rest would not give it back.
std::pair<std::string, std::string> referenceSplit(const std::string& path)
{
    std::string directory = removeFileSpec(path);
    std::string separator = needsSeparator(directory) ? "\\" : "";
    size_t restStart = directory.size() + separator.size();
    if (restStart <= path.size() && directory + separator + path.substr(restStart) == path)
        return {directory, path.substr(restStart)};
    return {"", path};
}

std::vector<std::string> generatedPaths(unsigned seed, size_t count)
{
    std::mt19937 random(seed);
    const char* const pieces[] = {"C:", "c:", "\\", "\\", "\\", "/", ":", "a", "B", "x.cpp", "..", ".", "\xC4", "\\\\"};
    std::vector<std::string> paths;
    for (size_t i = 0; i < count; ++i) {
        std::string path;
        for (size_t n = random() % 8; n > 0; --n)
            path += pieces[random() % std::size(pieces)];
        paths.push_back(path);
    }
    return paths;
}

TEST(FileListTest, HoldsEveryPathAsTheShellsRuleSplitsIt)
{
    std::vector<std::string> paths = generatedPaths(3, 3000);
    FileList list(paths);
    ASSERT_EQ(paths, list.paths());
    std::vector<std::string> directories;
    for (size_t file = 0; file < paths.size(); ++file) {
        std::pair<std::string, std::string> split = referenceSplit(paths[file]);
        ASSERT_EQ(split.first, list.directoryOf(file)) << paths[file];
        ASSERT_EQ(split.second, std::string(list.rest(file), list.restLength(file))) << paths[file];
        if (std::find(directories.begin(), directories.end(), split.first) == directories.end())
            directories.push_back(split.first);
    }
    EXPECT_EQ(directories, list.directories());  // byte-for-byte distinct, in order of first appearance
}

// The cache reader hands in lower-cased splits of lists written in any case: the list it builds
// is the one the joined, lower-cased paths give, duplicate directories merged.
TEST(FileListTest, SplitsFromTheCacheGiveTheListOfTheJoinedPaths)
{
    std::vector<std::string> paths = generatedPaths(5, 3000);
    FileList written(paths);
    FileList read;
    FileList expected;
    std::vector<int32_t> slots(written.directories().size(), FileList::NEW_DIRECTORY);
    for (size_t file = 0; file < written.size(); ++file) {
        std::string directory = lowerCase(written.directoryOf(file));
        std::string rest = lowerCase(std::string(written.rest(file), written.restLength(file)));
        read.appendSplit(directory, rest.data(), rest.size(), slots[written.directoryIndex(file)]);
        expected.append(lowerCase(paths[file]));
    }
    ASSERT_EQ(expected.paths(), read.paths());
    EXPECT_EQ(expected.directories(), read.directories());
    for (size_t file = 0; file < read.size(); ++file)
        ASSERT_EQ(expected.directoryIndex(file), read.directoryIndex(file));
}

// Around the path buffer's length, the shell's rule cuts the joined path first: the cache reader's
// directories of every ending and length there still give the list of the joined paths.
TEST(FileListTest, SplitsOfDirectoriesNearThePathLimitGiveTheListOfTheJoinedPaths)
{
    for (size_t length = PATH_BUFFER_SIZE - 6; length <= PATH_BUFFER_SIZE + 1; ++length) {
        for (const char* ending : {"a", "\\", ":", "a:"}) {
            std::string directory = "c:\\" + std::string(length - 3 - strlen(ending), 'd') + ending;
            FileList read;
            int32_t slot = FileList::NEW_DIRECTORY;
            read.appendSplit(directory, "x.h", 3, slot);
            if (slot >= 0)
                ASSERT_TRUE(read.appendLowerCased(static_cast<uint32_t>(slot), "Y.H", 3));
            else
                read.appendSplit(directory, "y.h", 3, slot);
            FileList expected;
            for (const char* name : {"x.h", "y.h"})
                expected.append(directory + (needsSeparator(directory) ? "\\" : "") + name);
            ASSERT_EQ(expected.paths(), read.paths()) << directory;
            ASSERT_EQ(expected.directories(), read.directories()) << directory;
        }
    }
}

// A list the cache reader filled, cut and then appended to by path is the list of those paths:
// whatever number of directories it found first, one by one or through its map.
TEST(FileListTest, ListFromTheCacheCutAndAppendedToIsTheListOfItsPaths)
{
    for (size_t directories : {5, 40}) {
        std::vector<std::string> paths;
        for (size_t file = 0; file < 3 * directories; ++file)
            paths.push_back("c:\\d" + std::to_string(file % directories) + "\\f" + std::to_string(file) + ".h");
        for (size_t kept : {size_t(0), directories / 2, 2 * directories}) {
            FileList read;
            std::vector<int32_t> slots(directories, FileList::NEW_DIRECTORY);
            for (size_t file = 0; file < paths.size(); ++file) {
                std::string rest = "f" + std::to_string(file) + ".h";
                read.appendSplit("c:\\d" + std::to_string(file % directories), rest.data(), rest.size(),
                                 slots[file % directories]);
            }
            read.truncate(kept);
            std::vector<std::string> expected(paths.begin(), paths.begin() + kept);
            for (const char* path : {"c:\\d1\\new.h", "c:\\d9\\new.h", "c:\\e\\new.h"}) {
                read.append(path);
                expected.push_back(path);
            }
            FileList reference(expected);
            ASSERT_EQ(reference.paths(), read.paths()) << directories << " directories, " << kept << " kept";
            ASSERT_EQ(reference.directories(), read.directories()) << directories << " directories, " << kept << " kept";
        }
    }
}

TEST(FileListTest, TruncatingKeepsTheDirectoriesOfTheFilesKept)
{
    FileList list({"C:\\a\\x.h", "C:\\b\\y.h", "C:\\a\\z.h", "C:\\c\\w.h"});
    list.truncate(3);
    EXPECT_EQ((std::vector<std::string>{"C:\\a", "C:\\b"}), list.directories());
    list.truncate(1);
    list.append("C:\\c\\v.h");
    list.append("C:\\b\\u.h");
    EXPECT_EQ((std::vector<std::string>{"C:\\a\\x.h", "C:\\c\\v.h", "C:\\b\\u.h"}), list.paths());
    EXPECT_EQ((std::vector<std::string>{"C:\\a", "C:\\c", "C:\\b"}), list.directories());
}

}  // namespace
