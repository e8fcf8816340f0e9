#include "solution/item_path_joiner.h"

#include "solution/path.h"

#include <gtest/gtest.h>

#include <random>

namespace {

// Values of every shape the shell's join treats apart (whole, or as a folder and a name): "." and ".." segments, trailing dots and
// spaces, full and root-relative paths, high bytes (past a name's first sixteen bytes too), lengths
// near the limit. (Not a segment that merely begins with "..", nor a drive in mid-path: Wine's join
// of those is garbage, different at every call.)
TEST(ItemPathJoinerTest, JoinsAsTheShellDoes)
{
    std::mt19937 random(17);
    const std::string pieces[] = {"src", "..", ".", "a b", "x.", "y ", "", "\xC9t\xE9", "Name.cpp", ".git",
                                  std::string(60, 'L'), "A_name_of_twenty_bytes.cpp", "Sixteen_bytes_ab\xC9.h"};
    const char* const starts[] = {"", "\\", "D:\\"};
    const std::string folders[] = {"C:\\s\\app", "C:\\", "C:\\" + std::string(150, 'f')};
    for (const std::string& folder : folders) {
        ItemPathJoiner joiner(folder);
        int splits = 0;
        for (int i = 0; i < 4000; ++i) {
            std::string value = starts[random() % std::size(starts)];
            for (size_t n = 1 + random() % 7; n > 0; --n)
                value += pieces[random() % std::size(pieces)] + (n > 1 ? "\\" : "");
            std::string expected = appendPath(folder, value);
            ASSERT_EQ(expected, joiner.join(value)) << folder << " + " << value;
            const std::string* joinedFolder = nullptr;
            size_t nameStart = 0;
            if (joiner.joinSplit(value, joinedFolder, nameStart)) {
                ++splits;
                ASSERT_EQ(expected, *joinedFolder + "\\" + value.substr(nameStart)) << folder << " + " << value;
                ASSERT_FALSE(joinedFolder->empty() || joinedFolder->back() == '\\') << folder << " + " << value;
            }
        }
        EXPECT_GT(splits, 100) << folder;
    }
}

}  // namespace
