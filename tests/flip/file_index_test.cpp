#include "flip/file_index.h"

#include "solution/solution.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>

namespace {

class FileIndexTest : public testing::Test {
protected:
    // A project listing the files, appended to the list (the solution's projects by default).
    Project& add(std::vector<std::string> files, std::vector<std::unique_ptr<Project>>* to = nullptr)
    {
        auto& projects = to ? *to : solution.projects;
        projects.push_back(std::make_unique<Project>());
        projects.back()->files = std::move(files);
        return *projects.back();
    }

    Solution solution{"D:\\src\\Game.sln"};
    FileIndex index;
};

TEST_F(FileIndexTest, ListsEachPathTextOnceAndPointsAtItsFirstListing)
{
    Project& first = add({"D:\\src\\a.h", "D:\\src\\a.h", "D:\\src\\b.cpp"});
    Project& referenced = add({"D:\\lib\\c.cpp"}, &first.references);
    add({"D:\\lib\\c.cpp", "D:\\src\\b.cpp", "", "D:\\SRC\\a.h"});
    add({"D:\\lib\\c.cpp", "d:\\src\\a.h", "d:\\src\\a.h"});  // as referenced, and as read from the cache
    index.build(solution);

    ASSERT_EQ(6, index.size());
    EXPECT_EQ(solution.projects[1]->files[2].c_str(), index.at(0).path);
    EXPECT_EQ(referenced.files[0].c_str(), index.at(5).path);  // own files, then references
    std::set<const char*> aPaths = {index.at(1).path, index.at(2).path, index.at(3).path};
    EXPECT_EQ(1u, aPaths.count(first.files[0].c_str()));
    for (int32_t i = 0; i < index.size(); ++i)  // the name is the path's own last component
        EXPECT_EQ(index.at(i).path + (std::string(index.at(i).path).rfind('\\') + 1), index.at(i).name);
}

// The reference copies every path, removes duplicates with a set and stable-sorts the names,
// folded to lower case, by unsigned bytes (as std::string compares them).
TEST_F(FileIndexTest, AgreesWithANaiveIndexOnGeneratedPaths)
{
    std::mt19937 random(7);
    const std::string letters = "aAbBzZ_.9\xE9\xC9\x80\xFF";
    std::vector<std::string> all;
    for (int p = 0; p < 12; ++p) {
        std::vector<std::string> files;
        for (int f = 0; f < 40 * p; ++f) {  // the first project is empty
            std::string path = std::string("D:\\") + "sS"[random() % 2] + "rc\\";
            for (size_t n = 1 + random() % 6; n > 0; --n)
                path += letters[random() % letters.size()];
            files.push_back(!all.empty() && random() % 5 == 0 ? all[random() % all.size()] : path);
        }
        all.insert(all.end(), files.begin(), files.end());
        add(files);
    }
    index.build(solution);

    auto folded = [](std::string text) {
        for (char& c : text)
            c = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
        return text;
    };
    std::set<std::string> distinct(all.begin(), all.end());
    std::vector<std::string> expected, names;
    for (const std::string& path : distinct)
        expected.push_back(folded(path.substr(path.rfind('\\') + 1)));
    std::stable_sort(expected.begin(), expected.end());
    std::multiset<std::string> paths;
    for (int32_t i = 0; i < index.size(); ++i) {
        names.push_back(folded(index.at(i).name));
        paths.insert(index.at(i).path);
    }
    EXPECT_EQ(std::multiset<std::string>(distinct.begin(), distinct.end()), paths);
    EXPECT_EQ(expected, names);
}

}  // namespace
