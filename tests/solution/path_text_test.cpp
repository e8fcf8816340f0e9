#include "solution/path.h"
#include "solution/text.h"

#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

namespace {

TEST(PathTest, BuildsPathsLikeTheShell)
{
    EXPECT_EQ("C:\\a", removeFileSpec("C:\\a\\b.txt"));
    EXPECT_EQ("C:\\", removeFileSpec("C:\\b.txt"));
    EXPECT_EQ("", removeFileSpec("b.txt"));  // nothing to remove
    EXPECT_EQ("C:\\s\\common\\util.cpp", appendPath("C:\\s\\app", "..\\common\\.\\util.cpp"));
    EXPECT_EQ("C:\\s\\a.cpp", appendPath("C:\\s\\", "a.cpp"));
    EXPECT_EQ("D:\\x\\y.cpp", appendPath("C:\\s", "D:\\x\\y.cpp"));
    EXPECT_EQ("C:\\s\\a.cpp", renameExtension("C:\\s\\a.h", ".cpp"));
    EXPECT_EQ("C:\\s.d\\a.xaml.cs", renameExtension("C:\\s.d\\a.xaml", ".xaml.cs"));
    EXPECT_EQ("C:\\s.d\\a.cpp", renameExtension("C:\\s.d\\a", ".cpp"));
    EXPECT_EQ("b.txt", findFileName("C:\\a\\b.txt"));
    EXPECT_EQ("b.txt", findFileName("b.txt"));
}

TEST(PathTest, ResultsBeyondThePathLimitAreEmpty)
{
    std::string dir = "C:\\" + std::string(240, 'd');
    EXPECT_EQ(dir + "\\" + std::string(15, 'f'), appendPath(dir, std::string(15, 'f')));
    EXPECT_EQ("", appendPath(dir, std::string(20, 'f')));
    // Input is cut to 259 characters before the platform sees it.
    EXPECT_EQ(dir, removeFileSpec(dir + "\\" + std::string(30, 'f')));
}

TEST(PathTest, ExistenceTestsSeeFilesAndFolders)
{
    TempDir dir;
    std::string file = dir.write("a.txt", "x");
    EXPECT_TRUE(pathExists(file));
    EXPECT_TRUE(statExists(file));
    EXPECT_TRUE(pathExists(dir.path()));
    EXPECT_FALSE(pathExists(dir.path("missing.txt")));
    EXPECT_FALSE(statExists(dir.path("missing.txt")));
}

TEST(TextTest, LowerCaseFoldsOnlyAsciiLettersAndDecimalTextHasNoGrouping)
{
    EXPECT_EQ("c:\\abc-z@[\xC4\xE4]", lowerCase("C:\\ABc-Z@[\xC4\xE4]"));
    EXPECT_EQ("1234567", decimalText(1234567));
    EXPECT_EQ("-2147483648", decimalText(INT32_MIN));
}

}  // namespace
