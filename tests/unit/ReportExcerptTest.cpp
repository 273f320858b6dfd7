#include "support/ReportExcerpt.h"

#include <gtest/gtest.h>
#include <string>

namespace driftmark {
namespace {

TEST(ReportExcerpt, ShortTextIsQuotedWhole) {
    EXPECT_EQ(reportExcerpt(""), "");
    EXPECT_EQ(reportExcerpt(R"({"XTerm": 5})"), R"({"XTerm": 5})");
    EXPECT_EQ(reportExcerpt(std::string(100, 'x')), std::string(100, 'x'));
}

TEST(ReportExcerpt, LongTextIsCutAfterAHundredCharactersWithItsLength) {
    EXPECT_EQ(reportExcerpt(std::string(101, 'x')), std::string(100, 'x') + "… (101 bytes)");
    EXPECT_EQ(reportExcerpt(std::string(300'000, '[')), std::string(100, '[') + "… (300000 bytes)");
}

TEST(ReportExcerpt, CharactersAreNeverCutInTwo) {
    std::string accents;
    for (int count = 0; count < 150; ++count) {
        accents += "é";
    }
    std::string expected;
    for (int count = 0; count < 100; ++count) {
        expected += "é";
    }
    EXPECT_EQ(reportExcerpt(accents), expected + "… (300 bytes)");
    EXPECT_EQ(reportExcerpt(std::string(99, 'x') + "😀😀"), std::string(99, 'x') + "😀… (107 bytes)");
}

TEST(ReportExcerpt, ControlCharactersAndBytesThatAreNotUtf8ShowAsQuestionMarks) {
    EXPECT_EQ(reportExcerpt("a\nb\tc\x7f"), "a?b?c?");
    EXPECT_EQ(reportExcerpt("\xff\xc3 \xe2\x82"), "?? ??");
    EXPECT_EQ(reportExcerpt("ok \xf0\x9f\x98\x80"), "ok 😀");
}

} // namespace
} // namespace driftmark
