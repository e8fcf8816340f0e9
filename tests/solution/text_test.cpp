#include "solution/text.h"

#include <gtest/gtest.h>

#include <string>

namespace {

char lowered(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Every byte value at every place of texts of every length up to two blocks and a few words: the
// sixteen- and four-at-a-time loops and their byte-wise tails must agree with one byte at a time,
// whatever the neighbours (bytes above 127, "@" and "[" beside "A" and "Z", a NUL anywhere).
TEST(TextTest, WordAtATimeAgreesWithByteAtATime)
{
    const size_t lengths[] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 15, 16, 17, 20, 31, 32, 33, 35};
    for (size_t length : lengths) {
        for (size_t place = 0; place < length; ++place) {
            for (int value = 0; value < 256; ++value) {
                std::string text(length, 'Q');
                for (size_t i = 0; i < length; ++i)
                    text[i] = "aZ@[\x80\xC1`{"[i % 8];
                text[place] = static_cast<char>(value);
                SCOPED_TRACE(testing::Message() << "length " << length << " place " << place << " byte " << value);

                std::string expected = text;
                for (char& c : expected)
                    c = lowered(c);
                std::string copy(length, '\0');
                lowerCaseCopy(&copy[0], text.data(), length);
                EXPECT_EQ(expected, copy);
                EXPECT_EQ(expected, lowerCase(text));
                std::string plainCopy(length, '\0');
                copyBytes(&plainCopy[0], text.data(), length);
                EXPECT_EQ(text, plainCopy);

                size_t nul = text.find('\0');
                std::string cut = text;
                size_t before = lowerCaseToNul(&cut[0], length);
                EXPECT_EQ(nul == std::string::npos ? length : nul, before);
                EXPECT_EQ(expected.substr(0, before) + text.substr(before), cut);

                bool either = text.find_first_of("\\:") != std::string::npos;
                EXPECT_EQ(either, containsEitherByte(text.data(), length, '\\', ':'));
                std::string checked(length, '\0');
                bool copied = lowerCaseCopyWithout(&checked[0], text.data(), length, '\\', ':');
                EXPECT_EQ(!either && nul == std::string::npos, copied);
                if (copied) {
                    EXPECT_EQ(expected, checked);
                }
                size_t plain = 0;
                while (plain < length && static_cast<unsigned char>(text[plain]) < 0x80 && text[plain] != '\\' &&
                       text[plain] != '/' && text[plain] != ':')
                    ++plain;
                EXPECT_EQ(plain, plainSpan(text.data(), length, '\\', '/', ':'));
            }
        }
    }
}

// The cheap test must tell a word with a zero byte from one without, whatever its neighbours: a
// borrow out of a zero byte, or a byte of 1 or above 127 beside it.
TEST(TextTest, AnyZeroByteTellsWhetherAWordHoldsAZero)
{
    const unsigned char neighbours[] = {0x00, 0x01, 0x02, 0x7F, 0x80, 0x81, 0xFF, 'a'};
    for (int place = 0; place < 4; ++place) {
        for (int value = 0; value < 256; ++value) {
            for (unsigned char next : neighbours) {
                for (unsigned char rest : neighbours) {
                    unsigned char bytes[4] = {rest, rest, rest, rest};
                    bytes[place] = static_cast<unsigned char>(value);
                    bytes[(place + 1) % 4] = next;
                    uint32_t word = bytes[0] | bytes[1] << 8 | bytes[2] << 16 | static_cast<uint32_t>(bytes[3]) << 24;
                    bool zero = value == 0 || next == 0 || rest == 0;
                    ASSERT_EQ(zero, anyZeroByte(word) != 0) << std::hex << word;
                }
            }
        }
    }
}

}  // namespace
