#include "model/MenuBarItem.h"

#include "model/MenuBarItemJson.h"
#include "model/ReferenceDate.h"

#include <chrono>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

namespace driftmark {
namespace {

using nlohmann::json;

Bytes bytesOf(const std::string& text) {
    return Bytes(text.begin(), text.end());
}

Bytes bytesOf(const json& document) {
    return bytesOf(document.dump());
}

json parsed(const Bytes& bytes) {
    return json::parse(bytes.begin(), bytes.end());
}

// A complete stored object; tests take keys away or change them.
json storedItem() {
    return json{{"id", "E621E1F8-C36C-495A-93FC-0C247A3E6E5F"},
                {"text", "Hello"},
                {"title", "Greeting"},
                {"iconColor", {{"red", 0.25}, {"green", 0.5}, {"blue", 1}, {"alpha", 0.75}}},
                {"usesSmartPaste", true},
                {"prependNewline", true},
                {"keyboardShortcutName", "greeting"},
                {"order", 3},
                {"createdAt", 757382400.125}};
}

std::optional<MenuBarItem> decodeOne(const json& object) {
    const auto items = decodeMenuBarItems(bytesOf(json::array({object})));
    if (!items) {
        return std::nullopt;
    }
    EXPECT_EQ(items->size(), 1U);
    return items->front();
}

TEST(MenuBarItemTest, ConstructorBuildsAFreshEntry) {
    const double before = secondsSinceReferenceDate(std::chrono::system_clock::now());
    const MenuBarItem item("Some text", "Name", Color::systemGreen(), true, 4);
    const double after = secondsSinceReferenceDate(std::chrono::system_clock::now());

    EXPECT_EQ(item.text, "Some text");
    EXPECT_EQ(item.title, "Name");
    EXPECT_EQ(item.iconColor, CodableColor::fromPlatformColor(Color::systemGreen()));
    EXPECT_TRUE(item.usesSmartPaste);
    EXPECT_FALSE(item.prependNewline);
    EXPECT_FALSE(item.keyboardShortcutName);
    EXPECT_EQ(item.order, 4);
    EXPECT_GE(item.createdAt, before);
    EXPECT_LE(item.createdAt, after);
    EXPECT_NE(MenuBarItem("Some text", "Name", Color::systemGreen(), true, 4).id(), item.id());
}

TEST(MenuBarItemTest, EmptyTitleTakesTheFirstTwentyCharactersOfTheText) {
    const Color blue = Color::systemBlue();
    EXPECT_EQ(MenuBarItem("The quick brown fox jumps", "", blue, false, 0).title, "The quick brown fox ");
    EXPECT_EQ(MenuBarItem("short", "", blue, false, 0).title, "short");
    EXPECT_EQ(MenuBarItem("", "", blue, false, 0).title, "");
    const std::string longTitle = "A title that is longer than twenty characters";
    EXPECT_EQ(MenuBarItem("text", longTitle, blue, false, 0).title, longTitle);

    std::string flags;
    for (int i = 0; i < 25; ++i) {
        flags += "\U0001F1EF\U0001F1F5";
    }
    const std::string title = MenuBarItem(flags, "", blue, false, 0).title;
    EXPECT_EQ(title, flags.substr(0, 20 * std::string("\U0001F1EF\U0001F1F5").size()));
}

TEST(MenuBarItemTest, EqualityCoversEveryField) {
    const MenuBarItem item("text", "title", Color::systemRed(), false, 1);
    MenuBarItem copy = item;
    EXPECT_EQ(copy, item);

    copy.order = 2;
    EXPECT_NE(copy, item);
    copy = item;
    copy.createdAt += 0.001;
    EXPECT_NE(copy, item);
    copy = item;
    copy.keyboardShortcutName = "";
    EXPECT_NE(copy, item);

    const MenuBarItem sameFieldsOtherId(Uuid::random(), item.text, item.title, item.iconColor,
                                        item.usesSmartPaste, item.prependNewline, item.keyboardShortcutName,
                                        item.order, item.createdAt);
    EXPECT_NE(sameFieldsOtherId, item);
}

TEST(MenuBarItemTest, ColourConvertsBothWays) {
    const Color gray = Color::systemGray();
    EXPECT_NEAR(gray.red, 0.557, 0.001);
    EXPECT_NEAR(gray.blue, 0.576, 0.001);
    EXPECT_NEAR(Color::systemBlue().green, 0.478, 0.001);

    const CodableColor stored = CodableColor::fromPlatformColor(Color{0.1, 0.2, 0.3, 0.4});
    EXPECT_EQ(stored, (CodableColor{0.1, 0.2, 0.3, 0.4}));
    EXPECT_EQ(stored.toPlatformColor(), (Color{0.1, 0.2, 0.3, 0.4}));
}

TEST(MenuBarItemJsonTest, WritesCompactObjectsWithUpperCaseIds) {
    MenuBarItem item("text", "title", Color::systemBlue(), false, 0);
    const auto withoutName = encodeMenuBarItems({item});
    ASSERT_TRUE(withoutName);
    const std::string text(withoutName->begin(), withoutName->end());
    EXPECT_EQ(text.find_first_of(" \n"), std::string::npos);

    const json object = parsed(*withoutName).at(0);
    EXPECT_EQ(object.size(), 8U);
    EXPECT_FALSE(object.contains("keyboardShortcutName"));
    EXPECT_EQ(object.at("id"), item.id().toString());
    EXPECT_EQ(object.at("iconColor").size(), 4U);
    EXPECT_EQ(object.at("prependNewline"), false);
    EXPECT_TRUE(object.at("order").is_number_integer());

    item.keyboardShortcutName = "name";
    const json named = parsed(*encodeMenuBarItems({item})).at(0);
    EXPECT_EQ(named.size(), 9U);
    EXPECT_EQ(named.at("keyboardShortcutName"), "name");
}

TEST(MenuBarItemJsonTest, RoundTripKeepsEveryField) {
    MenuBarItem first("Line one\nline two \"quoted\" \u00E9\U0001F600", "", Color{0.1, 0.2, 0.3, 0.4}, true,
                      -7);
    first.prependNewline = true;
    first.keyboardShortcutName = "first";
    first.createdAt = 757382400.123456789;
    const MenuBarItem second("", "second", Color::systemTeal(), false, 1LL << 40);

    const std::vector<MenuBarItem> items{first, second};
    const auto bytes = encodeMenuBarItems(items);
    ASSERT_TRUE(bytes);
    EXPECT_EQ(decodeMenuBarItems(*bytes), items);
    EXPECT_EQ(decodeMenuBarItems(*encodeMenuBarItems({})), std::vector<MenuBarItem>{});
}

TEST(MenuBarItemJsonTest, OptionalKeysDefaultWhenMissingOrNull) {
    json object = storedItem();
    object.erase("prependNewline");
    object.erase("keyboardShortcutName");
    auto item = decodeOne(object);
    ASSERT_TRUE(item);
    EXPECT_FALSE(item->prependNewline);
    EXPECT_FALSE(item->keyboardShortcutName);
    EXPECT_FALSE(parsed(*encodeMenuBarItems({*item})).at(0).contains("keyboardShortcutName"));

    object["prependNewline"] = nullptr;
    object["keyboardShortcutName"] = nullptr;
    item = decodeOne(object);
    ASSERT_TRUE(item);
    EXPECT_FALSE(item->prependNewline);
    EXPECT_FALSE(item->keyboardShortcutName);

    item = decodeOne(storedItem());
    ASSERT_TRUE(item);
    EXPECT_TRUE(item->prependNewline);
    EXPECT_EQ(item->keyboardShortcutName, "greeting");
    EXPECT_EQ(item->id().toString(), "E621E1F8-C36C-495A-93FC-0C247A3E6E5F");
    EXPECT_EQ(item->iconColor, (CodableColor{0.25, 0.5, 1, 0.75}));
    EXPECT_EQ(item->order, 3);
    EXPECT_EQ(item->createdAt, 757382400.125);
}

TEST(MenuBarItemJsonTest, AcceptsLowerCaseIdsIntegerTimestampsAndUnknownKeys) {
    json object = storedItem();
    object["id"] = "e621e1f8-c36c-495a-93fc-0c247a3e6e5f";
    object["createdAt"] = 757382400;
    object["futureField"] = {1, 2, 3};
    object["iconColor"]["extra"] = "x";
    const auto item = decodeOne(object);
    ASSERT_TRUE(item);
    EXPECT_EQ(item->createdAt, 757382400.0);
    EXPECT_EQ(parsed(*encodeMenuBarItems({*item})).at(0).at("id"), "E621E1F8-C36C-495A-93FC-0C247A3E6E5F");
}

TEST(MenuBarItemJsonTest, AnyMissingRequiredKeyFailsTheWholeArray) {
    for (const char* key : {"id", "text", "title", "iconColor", "usesSmartPaste", "order", "createdAt"}) {
        json broken = storedItem();
        broken.erase(key);
        EXPECT_FALSE(decodeMenuBarItems(bytesOf(json::array({storedItem(), broken})))) << key;
    }
    for (const char* key : {"red", "green", "blue", "alpha"}) {
        json broken = storedItem();
        broken["iconColor"].erase(key);
        EXPECT_FALSE(decodeMenuBarItems(bytesOf(json::array({broken, storedItem()})))) << key;
    }
}

TEST(MenuBarItemJsonTest, WrongKindsFailTheWholeArray) {
    const std::vector<std::pair<const char*, json>> wrong{
        {"id", "not-a-uuid"},
        {"id", 42},
        {"text", nullptr},
        {"title", 1},
        {"iconColor", "blue"},
        {"usesSmartPaste", 1},
        {"usesSmartPaste", nullptr},
        {"prependNewline", "yes"},
        {"keyboardShortcutName", 5},
        {"order", 1.5},
        {"order", 1.0},
        {"order", "1"},
        {"order", 9223372036854775808ULL},
        {"createdAt", "2024-01-01"},
        {"createdAt", true},
    };
    for (const auto& [key, value] : wrong) {
        json broken = storedItem();
        broken[key] = value;
        EXPECT_FALSE(decodeMenuBarItems(bytesOf(json::array({storedItem(), broken})))) << key << " " << value;
    }
    json colour = storedItem();
    colour["iconColor"]["red"] = "1";
    EXPECT_FALSE(decodeMenuBarItems(bytesOf(json::array({colour}))));

    json largest = storedItem();
    largest["order"] = std::numeric_limits<std::int64_t>::min();
    EXPECT_TRUE(decodeOne(largest));
}

TEST(MenuBarItemJsonTest, OnlyAJsonArrayOfObjectsDecodes) {
    for (const std::string text : {"", "{}", "null", "[1]", "[[]]", "[{}]", "[", "not json"}) {
        EXPECT_FALSE(decodeMenuBarItems(bytesOf(text))) << text;
    }
    EXPECT_FALSE(decodeMenuBarItems(Bytes{0x5B, 0xFF, 0x5D}));
    EXPECT_EQ(decodeMenuBarItems(bytesOf(std::string("[]"))), std::vector<MenuBarItem>{});
}

TEST(MenuBarItemJsonTest, EncodingFailsForValuesJsonCannotHold) {
    MenuBarItem item("text", "title", Color::systemBlue(), false, 0);
    MenuBarItem broken = item;
    broken.text = "ab\xFF";
    EXPECT_FALSE(encodeMenuBarItems({item, broken}));
    broken = item;
    broken.createdAt = std::nan("");
    EXPECT_FALSE(encodeMenuBarItems({broken}));
    broken = item;
    broken.iconColor.red = std::numeric_limits<double>::infinity();
    EXPECT_FALSE(encodeMenuBarItems({broken}));
}

} // namespace
} // namespace driftmark
