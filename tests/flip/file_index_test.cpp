#include "flip/file_index.h"

#include "solution/solution.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <random>
#include <set>
#include <string>
#include <vector>

namespace {

std::unique_ptr<Project> project(std::vector<std::string> files)
{
    auto result = std::make_unique<Project>();
    result->files = std::move(files);
    return result;
}

class FileIndexTest : public testing::Test {
protected:
    Project& add(std::vector<std::string> files)
    {
        solution.projects.push_back(project(std::move(files)));
        return *solution.projects.back();
    }

    // The index's names in order.
    std::vector<std::string> names() const
    {
        std::vector<std::string> result;
        for (int32_t i = 0; i < index.size(); ++i)
            result.push_back(index.at(i).name);
        return result;
    }

    Solution solution{"D:\\src\\Game.sln"};
    FileIndex index;
};

TEST_F(FileIndexTest, SolutionWithoutFilesGivesAnEmptyIndex)
{
    index.build(solution);
    EXPECT_EQ(0, index.size());
    add({});
    FileIndex again;
    again.build(solution);
    EXPECT_EQ(0, again.size());
}

TEST_F(FileIndexTest, ListsEachPathTextOnceAndPointsAtItsFirstListing)
{
    Project& first = add({"D:\\src\\a.h", "D:\\src\\a.h", "D:\\src\\b.cpp"});
    first.references.push_back(project({"D:\\lib\\c.cpp"}));
    add({"D:\\lib\\c.cpp", "D:\\src\\b.cpp", ""});
    add({"D:\\lib\\c.cpp"});  // a project both referenced and listed by the solution
    index.build(solution);

    ASSERT_EQ((std::vector<std::string>{"", "a.h", "b.cpp", "c.cpp"}), names());
    EXPECT_EQ(solution.projects[1]->files[2].c_str(), index.at(0).path);
    EXPECT_EQ(first.files[0].c_str(), index.at(1).path);
    EXPECT_EQ(first.files[0].c_str() + 7, index.at(1).name);
    EXPECT_EQ(first.references[0]->files[0].c_str(), index.at(3).path);  // own files, then references
}

TEST_F(FileIndexTest, PathsThatDifferInLetterCaseAreDifferentFiles)
{
    add({"D:\\src\\a.h"});
    add({"D:\\SRC\\a.h"});  // as parsed from two project files
    add({"d:\\src\\a.h", "d:\\src\\a.h"});  // as read back from the cache, lower-cased
    index.build(solution);
    ASSERT_EQ(3, index.size());
    std::set<std::string> paths;
    for (int32_t i = 0; i < index.size(); ++i)
        paths.insert(index.at(i).path);
    EXPECT_EQ((std::set<std::string>{"D:\\src\\a.h", "D:\\SRC\\a.h", "d:\\src\\a.h"}), paths);
}

TEST_F(FileIndexTest, SortsNamesWithoutRegardToAsciiCase)
{
    add({"x\\Zeta.cpp", "x\\main.cpp", "x\\_main.cpp", "x\\b.h", "x\\B.cpp", "x\\a.hpp", "x\\a.h", "y\\a.h",
         "x\\m\xE9.h", "x\\mz.h", "x\\m9.h", "x\\mZ.h"});
    index.build(solution);
    std::vector<std::string> sorted = names();
    // The two mz.h spellings compare equal: either order is right.
    if (sorted[8] == "mZ.h")
        std::swap(sorted[8], sorted[9]);
    EXPECT_EQ((std::vector<std::string>{"_main.cpp", "a.h", "a.h", "a.hpp", "B.cpp", "b.h", "m9.h", "main.cpp",
                                        "mz.h", "mZ.h", "m\xE9.h", "Zeta.cpp"}),
              sorted);
}

// A copy-everything reference: std::set removes duplicates, a stable sort by a hand-written
// folding comparison orders them.
std::vector<std::string> referenceNames(const std::vector<std::string>& paths)
{
    auto fold = [](const std::string& s) {
        std::string folded = s;
        for (char& c : folded)
            if (c >= 'A' && c <= 'Z')
                c = static_cast<char>(c - 'A' + 'a');
        return folded;
    };
    std::set<std::string> distinct(paths.begin(), paths.end());
    std::vector<std::string> names;
    for (const std::string& path : distinct)
        names.push_back(fold(path.substr(path.find_last_of('\\') + 1)));
    std::stable_sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
            return static_cast<unsigned char>(x) < static_cast<unsigned char>(y);
        });
    });
    return names;
}

TEST_F(FileIndexTest, AgreesWithANaiveIndexOnGeneratedPaths)
{
    std::mt19937 random(7);
    const std::string letters = "aAbBzZ_.9\xE9\xC9\x80\xFF";
    auto pick = [&](const std::string& from) { return from[random() % from.size()]; };
    std::vector<std::string> all;
    for (int p = 0; p < 12; ++p) {
        std::vector<std::string> files;
        for (int f = 0; f < 400; ++f) {
            if (!all.empty() && random() % 5 == 0) {
                files.push_back(all[random() % all.size()]);  // a duplicate
                continue;
            }
            std::string path = std::string("D:\\") + pick("sS") + "rc\\";
            for (size_t n = 1 + random() % 6; n > 0; --n)
                path += pick(letters);
            files.push_back(path);
        }
        all.insert(all.end(), files.begin(), files.end());
        add(files);
    }
    index.build(solution);

    std::multiset<std::string> indexPaths;
    std::vector<std::string> indexNames;
    for (int32_t i = 0; i < index.size(); ++i) {
        indexPaths.insert(index.at(i).path);
        std::string name = index.at(i).name;
        for (char& c : name)
            if (c >= 'A' && c <= 'Z')
                c = static_cast<char>(c - 'A' + 'a');
        indexNames.push_back(name);
    }
    std::set<std::string> distinct(all.begin(), all.end());
    EXPECT_EQ(std::multiset<std::string>(distinct.begin(), distinct.end()), indexPaths);
    EXPECT_EQ(referenceNames(all), indexNames);
}

}  // namespace
