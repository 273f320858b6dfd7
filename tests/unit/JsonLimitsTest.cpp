#include "support/JsonLimits.h"

#include <gtest/gtest.h>
#include <string>

namespace driftmark {
namespace {

using nlohmann::json;

std::string nested(std::size_t levels, const std::string& open = "[", const std::string& close = "]") {
    std::string text;
    for (std::size_t level = 0; level < levels; ++level) {
        text += open;
    }
    for (std::size_t level = 0; level < levels; ++level) {
        text += close;
    }
    return text;
}

TEST(JsonLimits, ReadsWhatTheJsonParserReads) {
    const JsonLimits limits(4096);
    for (const char* text :
         {R"({"a": [1, -2, 3.5, true, false, null, "x\u00e9"], "b": {"c": {}}, "d": []})", "[]", "{}", "5",
          "\"text\"", "null", R"({"a": 1, "a": {"b": [2]}})", " [ {\"k\": 18446744073709551615} ] "}) {
        const auto reading = limits.read(std::string(text));
        EXPECT_EQ(reading.value, json::parse(text)) << text;
        EXPECT_TRUE(reading.overLimit.empty()) << text;
    }
}

TEST(JsonLimits, TextThatIsNotJsonIsDiscardedWithoutALimitNamed) {
    const JsonLimits limits(4096);
    for (const char* text : {"", "{", "[1,]", "{\"a\" 1}", "[] []", "1e400", "\"\xff\"", "nul"}) {
        const auto reading = limits.read(std::string(text));
        EXPECT_TRUE(reading.value.is_discarded()) << text;
        EXPECT_TRUE(reading.overLimit.empty()) << text;
    }
}

TEST(JsonLimits, NestingIsReadUpToTheDepthAndRefusedBeyondIt) {
    const JsonLimits limits(4096);
    EXPECT_EQ(JsonLimits::standardDepth, 64U);
    const auto deepest = limits.read(nested(64));
    ASSERT_TRUE(deepest.value.is_array());
    const json* level = &deepest.value;
    std::size_t depth = 1;
    for (; !level->empty(); ++depth) {
        level = &level->front();
    }
    EXPECT_EQ(depth, 64U);
    for (const auto& text : {nested(65), nested(65, "{\"a\":", "}"), "{\"a\": [1, " + nested(64) + "]}"}) {
        const auto reading = limits.read(text);
        EXPECT_TRUE(reading.value.is_discarded()) << text;
        EXPECT_EQ(reading.overLimit, "nests deeper than 64 levels") << text;
    }
    const JsonLimits shallow(4096, 2);
    EXPECT_EQ(shallow.read(std::string(R"({"a": {"b": 1}, "c": [2]})")).value["a"]["b"], 1);
    EXPECT_EQ(shallow.read(std::string(R"({"a": {"b": []}})")).overLimit, "nests deeper than 2 levels");
}

// Reading stops at the first level too many, long before the end of the text.
TEST(JsonLimits, AValueNestedAHundredThousandsOfLevelsDeepIsRefused) {
    const JsonLimits limits(1024 * 1024);
    const auto reading = limits.read("{\"a\": " + nested(300'000) + "}");
    EXPECT_TRUE(reading.value.is_discarded());
    EXPECT_EQ(reading.overLimit, "nests deeper than 64 levels");
    // Refused for its depth even where the text would not be JSON further on.
    EXPECT_EQ(limits.read(std::string(100, '[')).overLimit, "nests deeper than 64 levels");
}

TEST(JsonLimits, TextLongerThanTheSizeIsRefusedUnread) {
    const JsonLimits limits(12);
    EXPECT_EQ(limits.read(std::string(R"(["12345678"])")).value, json::array({"12345678"}));
    const auto reading = limits.read(std::string(R"(["123456789"])"));
    EXPECT_TRUE(reading.value.is_discarded());
    EXPECT_EQ(reading.overLimit, "is longer than 12 bytes");
    // The size is counted before any parsing: this would not be JSON at all.
    EXPECT_EQ(limits.read(std::string(13, '}')).overLimit, "is longer than 12 bytes");
}

TEST(JsonLimits, BytesAreReadAsText) {
    const JsonLimits limits(64);
    const std::string text = R"({"id": [1, 2]})";
    EXPECT_EQ(limits.read(std::vector<std::uint8_t>(text.begin(), text.end())).value, json::parse(text));
    EXPECT_EQ(limits.read(std::vector<std::uint8_t>(65, '[')).overLimit, "is longer than 64 bytes");
}

} // namespace
} // namespace driftmark
