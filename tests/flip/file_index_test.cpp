#include "flip/file_index.h"

#include "solution/path.h"
#include "solution/solution.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>

namespace {

class FileIndexTest : public testing::Test {
protected:
    // A project listing the files, appended to the list (the solution's projects by default).
    Project& add(const std::vector<std::string>& files, std::vector<std::unique_ptr<Project>>* to = nullptr)
    {
        auto& projects = to ? *to : solution.projects;
        projects.push_back(std::make_unique<Project>());
        projects.back()->files = FileList(files);
        return *projects.back();
    }

    std::vector<std::string> paths() const
    {
        std::vector<std::string> all;
        for (int32_t i = 0; i < index.size(); ++i)
            all.push_back(index.path(i));
        return all;
    }

    Solution solution{"D:\\src\\Game.sln"};
    FileIndex index;
};

std::string folded(std::string text)
{
    for (char& c : text)
        c = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    return text;
}

TEST_F(FileIndexTest, ListsEachPathTextOnceInWalkOrderAmongEqualNames)
{
    Project& first = add({"D:\\src\\a.h", "D:\\src\\a.h", "D:\\src\\b.cpp"});
    add({"D:\\lib\\c.cpp"}, &first.references);
    add({"D:\\lib\\c.cpp", "D:\\src\\b.cpp", "", "D:\\SRC\\a.h"});
    add({"D:\\lib\\c.cpp", "d:\\src\\a.h", "d:\\src\\a.h"});  // as referenced, and as read from the cache
    index.build(solution);

    EXPECT_EQ((std::vector<std::string>{"", "D:\\src\\a.h", "D:\\SRC\\a.h", "d:\\src\\a.h", "D:\\src\\b.cpp",
                                        "D:\\lib\\c.cpp"}),
              paths());
    EXPECT_EQ("a.h", index.name(2));
    EXPECT_EQ(std::string("\0a.h\0a.h\0a.h\0b.cpp\0c.cpp\0\0", 26),
              std::string(index.foldedNames().begin(), index.foldedNames().end()));
}

// The reference copies every path, keeps the first listing of each, and stable-sorts them by the
// platform's file-name part folded to lower case, by unsigned bytes (as std::string compares them).
TEST_F(FileIndexTest, AgreesWithANaiveIndexOnGeneratedPaths)
{
    std::mt19937 random(7);
    const std::string letters = "aAbBzZ_.9\xE9\xC9\x80\xFF";
    const std::string separators = "\\\\\\/:";
    std::vector<std::string> all;
    for (int p = 0; p < 12; ++p) {
        std::vector<std::string> files;
        for (int f = 0; f < 40 * p; ++f) {  // the first project is empty
            std::string path = std::string("D:\\") + "sS"[random() % 2] + "rc" + separators[random() % 2];
            for (size_t n = random() % 7; n > 0; --n) {
                path += letters[random() % letters.size()];
                if (random() % 8 == 0)
                    path += separators[random() % separators.size()];
            }
            files.push_back(!all.empty() && random() % 5 == 0 ? all[random() % all.size()] : path);
        }
        all.insert(all.end(), files.begin(), files.end());
        add(files);
    }
    index.build(solution);

    std::vector<std::string> expected;
    for (const std::string& path : all) {
        if (std::find(expected.begin(), expected.end(), path) == expected.end())
            expected.push_back(path);
    }
    std::stable_sort(expected.begin(), expected.end(), [](const std::string& a, const std::string& b) {
        return folded(findFileName(a)) < folded(findFileName(b));
    });
    ASSERT_EQ(expected, paths());
    const auto& starts = index.nameStarts();
    for (int32_t i = 0; i < index.size(); ++i) {
        EXPECT_EQ(findFileName(expected[i]), index.name(i));
        EXPECT_STREQ(folded(findFileName(expected[i])).c_str(), index.foldedNames().data() + starts[i]);
    }
}

}  // namespace
