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

std::string folded(std::string text)
{
    for (char& c : text)
        c = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    return text;
}

class FileIndexTest : public testing::Test {
protected:
    Project& add(std::vector<std::string> files, std::vector<std::unique_ptr<Project>>* to = nullptr)
    {
        auto& projects = to ? *to : solution.projects;
        projects.push_back(std::make_unique<Project>());
        projects.back()->files = std::move(files);
        return *projects.back();
    }

    std::vector<std::string> names()
    {
        index.build(solution);
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
    add({});
    EXPECT_TRUE(names().empty());
}

TEST_F(FileIndexTest, ListsEachPathTextOnceAndPointsAtItsFirstListing)
{
    Project& first = add({"D:\\src\\a.h", "D:\\src\\a.h", "D:\\src\\b.cpp"});
    Project& referenced = add({"D:\\lib\\c.cpp"}, &first.references);
    add({"D:\\lib\\c.cpp", "D:\\src\\b.cpp", "", "D:\\SRC\\a.h"});
    add({"D:\\lib\\c.cpp", "d:\\src\\a.h", "d:\\src\\a.h"});  // as referenced, and as read from the cache

    ASSERT_EQ((std::vector<std::string>{"", "a.h", "a.h", "a.h", "b.cpp", "c.cpp"}), names());
    EXPECT_EQ(solution.projects[1]->files[2].c_str(), index.at(0).path);
    EXPECT_EQ(referenced.files[0].c_str(), index.at(5).path);  // own files, then references
    std::set<const char*> aPaths = {index.at(1).path, index.at(2).path, index.at(3).path};
    EXPECT_EQ(1u, aPaths.count(first.files[0].c_str()));
    for (int32_t i = 0; i < index.size(); ++i)  // the name is the path's own last component
        EXPECT_EQ(index.at(i).path + (std::string(index.at(i).path).rfind('\\') + 1), index.at(i).name);
}

TEST_F(FileIndexTest, SortsNamesWithoutRegardToAsciiCaseAndBytesAsUnsigned)
{
    add({"x\\Zeta.cpp", "x\\main.cpp", "x\\_main.cpp", "x\\b.h", "x\\B.cpp", "x\\a.hpp", "x\\a.h", "y\\a.h",
         "x\\m\xE9.h", "x\\m9.h", "x\\mz.h"});
    EXPECT_EQ((std::vector<std::string>{"_main.cpp", "a.h", "a.h", "a.hpp", "B.cpp", "b.h", "m9.h", "main.cpp",
                                        "mz.h", "m\xE9.h", "Zeta.cpp"}),
              names());
}

TEST_F(FileIndexTest, AgreesWithANaiveIndexOnGeneratedPaths)
{
    std::mt19937 random(7);
    const std::string letters = "aAbBzZ_.9\xE9\xC9\x80\xFF";
    std::vector<std::string> all;
    for (int p = 0; p < 12; ++p) {
        std::vector<std::string> files;
        for (int f = 0; f < 400; ++f) {
            std::string path = std::string("D:\\") + "sS"[random() % 2] + "rc\\";
            for (size_t n = 1 + random() % 6; n > 0; --n)
                path += letters[random() % letters.size()];
            files.push_back(!all.empty() && random() % 5 == 0 ? all[random() % all.size()] : path);
        }
        all.insert(all.end(), files.begin(), files.end());
        add(files);
    }
    std::vector<std::string> indexNames = names();
    std::multiset<std::string> indexPaths;
    for (int32_t i = 0; i < index.size(); ++i)
        indexPaths.insert(index.at(i).path);

    // The reference copies everything, removes duplicates with a set and stable-sorts folded names.
    std::set<std::string> distinct(all.begin(), all.end());
    std::vector<std::string> expected;
    for (const std::string& path : distinct)
        expected.push_back(folded(path.substr(path.rfind('\\') + 1)));
    std::stable_sort(expected.begin(), expected.end(), [](const std::string& a, const std::string& b) {
        return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                            [](unsigned char x, unsigned char y) { return x < y; });
    });
    std::transform(indexNames.begin(), indexNames.end(), indexNames.begin(), folded);
    EXPECT_EQ(std::multiset<std::string>(distinct.begin(), distinct.end()), indexPaths);
    EXPECT_EQ(expected, indexNames);
}

}  // namespace
