#include "platform/OutsideText.h"

#include <gtest/gtest.h>
#include <string>

namespace driftmark {
namespace {

TEST(OutsideTextTest, PlainTextAndUnicodeStayAsTheyAre) {
    EXPECT_EQ(OutsideText::escaped("Hello, wörld ✓ 𝄞 \\n"), "Hello, wörld ✓ 𝄞 \\n");
}

TEST(OutsideTextTest, LineBreaksAndTerminalControlsAreSpelledOut) {
    EXPECT_EQ(OutsideText::escaped("one\ntwo\r\tthree"), "one\\ntwo\\r\\tthree");
    EXPECT_EQ(OutsideText::escaped("\x1b[31mred\x1b]0;title\x07"), "\\x1b[31mred\\x1b]0;title\\x07");
    EXPECT_EQ(OutsideText::escaped(std::string("nul\0del\x7f", 8)), "nul\\x00del\\x7f");
}

TEST(OutsideTextTest, C1ControlsAreSpelledOut) {
    // U+009B is the one-character CSI, U+0085 the next-line character.
    EXPECT_EQ(OutsideText::escaped("a\u009b2Jb\u0085c\u00a0d"), "a\\u009b2Jb\\u0085c\u00a0d");
}

TEST(OutsideTextTest, BytesThatAreNotUtf8AreSpelledOut) {
    EXPECT_EQ(OutsideText::escaped("raw \x9b csi"), "raw \\x9b csi");
    EXPECT_EQ(OutsideText::escaped("cut \xe2\x9c"), "cut \\xe2\\x9c");
    EXPECT_EQ(OutsideText::escaped("overlong \xc0\x8a"), "overlong \\xc0\\x8a");
    EXPECT_EQ(OutsideText::escaped("surrogate \xed\xa0\x80"), "surrogate \\xed\\xa0\\x80");
}

TEST(OutsideTextTest, EscapingTwiceChangesNothing) {
    const std::string once = OutsideText::escaped("a\nb\x1b\u0085\xff");
    EXPECT_EQ(OutsideText::escaped(once), once);
}

TEST(OutsideTextTest, ExcerptKeepsShortTextWhole) {
    EXPECT_EQ(OutsideText::excerpt("short\n", 6), "short\\n");
}

TEST(OutsideTextTest, ExcerptCutsLongTextWithAnEllipsis) {
    const std::string huge(5 * 1024 * 1024, 'x');
    const std::string shown = OutsideText::excerpt(huge);
    EXPECT_EQ(shown, std::string(OutsideText::echoLimit, 'x') + "…");
}

TEST(OutsideTextTest, ExcerptNeverSplitsACharacter) {
    // "✓" is three bytes: a limit inside it leaves it out.
    EXPECT_EQ(OutsideText::excerpt("ab✓cd", 3), "ab…");
    EXPECT_EQ(OutsideText::excerpt("ab✓cd", 4), "ab…");
    EXPECT_EQ(OutsideText::excerpt("ab✓cd", 5), "ab✓…");
}

TEST(OutsideTextTest, ExcerptEscapesWhatItKeeps) {
    EXPECT_EQ(OutsideText::excerpt("a\nb\nc\nd", 4), "a\\nb\\n…");
}

TEST(OutsideTextTest, MeasuredExcerptQuotesShortTextWholeAndGivesTheLengthOfLongText) {
    EXPECT_EQ(OutsideText::measuredExcerpt(R"({"XTerm": 5})"), R"({"XTerm": 5})");
    EXPECT_EQ(OutsideText::measuredExcerpt(std::string(100, 'x')), std::string(100, 'x'));
    EXPECT_EQ(OutsideText::measuredExcerpt(std::string(300'000, '[')), std::string(100, '[') + "… (300000 bytes)");
    // A two-byte character straddling the limit is left out whole.
    EXPECT_EQ(OutsideText::measuredExcerpt(std::string(99, 'x') + "é"), std::string(99, 'x') + "… (101 bytes)");
    EXPECT_EQ(OutsideText::measuredExcerpt("a\nb\x7f\xff"), "a\\nb\\x7f\\xff");
}

} // namespace
} // namespace driftmark
