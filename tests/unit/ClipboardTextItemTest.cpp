#include "model/ClipboardTextItem.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace driftmark {
namespace {

using nlohmann::json;

Bytes bytesOf(const json& document) {
    const std::string text = document.dump();
    return Bytes(text.begin(), text.end());
}

json legacyRecord() {
    return json{{"id", "3F2504E0-4F89-41D3-9A0C-0305E82C3301"},
                {"text", "old text"},
                {"isActive", true},
                {"createdAt", 700000000.5}};
}

TEST(ClipboardTextItemTest, DecodesArraysOfCompleteRecords) {
    json second = legacyRecord();
    second["isActive"] = false;
    second["text"] = "second";
    const auto records = decodeClipboardTextItems(bytesOf(json::array({legacyRecord(), second})));
    ASSERT_TRUE(records);
    ASSERT_EQ(records->size(), 2U);
    EXPECT_EQ(records->at(0).id.toString(), "3F2504E0-4F89-41D3-9A0C-0305E82C3301");
    EXPECT_EQ(records->at(0).text, "old text");
    EXPECT_TRUE(records->at(0).isActive);
    EXPECT_EQ(records->at(0).createdAt, 700000000.5);
    EXPECT_EQ(records->at(1).text, "second");
    EXPECT_FALSE(records->at(1).isActive);
    const auto empty = decodeClipboardTextItems(bytesOf(json::array()));
    ASSERT_TRUE(empty);
    EXPECT_TRUE(empty->empty());
}

TEST(ClipboardTextItemTest, EveryKeyIsRequired) {
    for (const char* key : {"id", "text", "isActive", "createdAt"}) {
        json broken = legacyRecord();
        broken.erase(key);
        EXPECT_FALSE(decodeClipboardTextItems(bytesOf(json::array({legacyRecord(), broken})))) << key;
        broken[key] = nullptr;
        EXPECT_FALSE(decodeClipboardTextItems(bytesOf(json::array({broken})))) << key;
    }
    json badId = legacyRecord();
    badId["id"] = "3F2504E0";
    EXPECT_FALSE(decodeClipboardTextItems(bytesOf(json::array({badId}))));
    EXPECT_FALSE(decodeClipboardTextItems(bytesOf(legacyRecord())));
}

} // namespace
} // namespace driftmark
