#include "model/LeadingCharacters.h"

#include <gtest/gtest.h>
#include <string>

namespace driftmark {
namespace {

std::string repeated(const std::string& piece, int times) {
    std::string text;
    for (int i = 0; i < times; ++i) {
        text += piece;
    }
    return text;
}

TEST(LeadingCharactersTest, CountsUserPerceivedCharacters) {
    const std::string family = "\U0001F468\u200D\U0001F469\u200D\U0001F467\u200D\U0001F466";
    const std::string flag = "\U0001F1E9\U0001F1EA";
    const std::string accented = "e\u0301";
    const std::string hangul = "\u1100\u1161\u11A8"; // one syllable from three jamo
    const std::string crlf = "\r\n";
    for (const std::string& piece : {family, flag, accented, hangul, crlf}) {
        EXPECT_EQ(leadingCharacters(repeated(piece, 25), 20), repeated(piece, 20));
        EXPECT_EQ(leadingCharacters(repeated(piece, 3), 20), repeated(piece, 3));
    }
    EXPECT_EQ(leadingCharacters("ab" + flag + "c" + accented + "d", 4), "ab" + flag + "c");
}

TEST(LeadingCharactersTest, KeepsShortTextWholeAndCutsLongTextExactly) {
    EXPECT_EQ(leadingCharacters("", 20), "");
    EXPECT_EQ(leadingCharacters("hello", 20), "hello");
    EXPECT_EQ(leadingCharacters("12345678901234567890", 20), "12345678901234567890");
    EXPECT_EQ(leadingCharacters("a b c d e f g h i j k l m", 20), "a b c d e f g h i j ");
    EXPECT_EQ(leadingCharacters("abc", 0), "");
}

TEST(LeadingCharactersTest, CutsInvalidUtf8WithoutReadingPastTheText) {
    const std::string broken = "ab\xFF\xFE"
                               "cd";
    EXPECT_EQ(leadingCharacters(broken, 3), "ab\xFF");
    EXPECT_EQ(leadingCharacters(broken, 20), broken);
}

} // namespace
} // namespace driftmark
