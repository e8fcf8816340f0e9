#include "solution/path.h"
#include "solution/text.h"

#include <gtest/gtest.h>

namespace {

TEST(PathTest, SplitsAndJoinsLikeTheShellWithinThePathLimit)
{
    EXPECT_EQ("C:\\a", removeFileSpec("C:\\a\\b.txt"));
    EXPECT_EQ("", removeFileSpec("b.txt"));  // nothing to remove
    EXPECT_EQ("C:\\s\\common\\util.cpp", appendPath("C:\\s\\app\\", "..\\common\\.\\util.cpp"));
    EXPECT_EQ("D:\\x\\y.cpp", appendPath("C:\\s", "D:\\x\\y.cpp"));
    EXPECT_EQ("C:\\s.d\\a.xaml.cs", renameExtension("C:\\s.d\\a.xaml", ".xaml.cs"));
    EXPECT_EQ("C:\\s.d\\a.cpp", renameExtension("C:\\s.d\\a", ".cpp"));
    EXPECT_EQ("b.txt", findFileName("C:\\a\\b.txt"));

    std::string dir = "C:\\" + std::string(240, 'd');
    EXPECT_EQ(dir + "\\" + std::string(15, 'f'), appendPath(dir, std::string(15, 'f')));
    EXPECT_EQ("", appendPath(dir, std::string(16, 'f')));
    EXPECT_EQ(dir, removeFileSpec(dir + "\\" + std::string(30, 'f')));  // input cut to 259 characters
}

TEST(TextTest, LowerCaseFoldsOnlyAsciiLettersAndDecimalTextHasNoGrouping)
{
    EXPECT_EQ("c:\\abc-z@[\xC4\xE4]", lowerCase("C:\\ABc-Z@[\xC4\xE4]"));
    EXPECT_EQ("-2147483648", decimalText(INT32_MIN));
}

}  // namespace
