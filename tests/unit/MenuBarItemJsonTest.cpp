#include "model/MenuBarItemJson.h"

#include "fakes/ManualClock.h"
#include "fakes/TestEnvironment.h"
#include "model/ClipboardTextItem.h"
#include "model/MenuItemManager.h"
#include "support/AppLogger.h"
#include "support/LogCalendar.h"
#include "support/LogFiles.h"
#include "support/MemoryPreferencesStore.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <iostream>
#include <memory>
#include <sstream>
#include <string>

namespace driftmark {
namespace {

using namespace std::chrono_literals;

Bytes bytesOf(const std::string& text) {
    return Bytes(text.begin(), text.end());
}

const std::string storedItem = R"({"id":"E621E1F8-C36C-495A-93FC-0C247A3E6E5F","text":"mine","title":"Mine",)"
                               R"("iconColor":{"red":0.25,"green":0.5,"blue":1,"alpha":0.75},)"
                               R"("usesSmartPaste":false,"order":0,"createdAt":757382400)";

const std::string legacyRecord =
    R"({"id":"3F2504E0-4F89-41D3-9A0C-0305E82C3301","text":"old text","isActive":true,"createdAt":7e8)";

// An unknown member nested far deeper than any stored value, which nothing walking the list survives.
std::string withDeepMember(const std::string& openObject, std::size_t levels) {
    return "[" + openObject + R"(,"extra":)" + std::string(levels, '[') + std::string(levels, ']') + "}]";
}

TEST(MenuBarItemJson, AListNestedBeyondTheDepthLimitIsUnreadable) {
    // The list and its entry are two levels of the 64.
    ASSERT_TRUE(decodeMenuBarItems(bytesOf(withDeepMember(storedItem, 62))));
    EXPECT_FALSE(decodeMenuBarItems(bytesOf(withDeepMember(storedItem, 63))));
    EXPECT_FALSE(decodeMenuBarItems(bytesOf(withDeepMember(storedItem, 300'000))));
}

// One more byte than 64 MiB, built in place: the object's last member is a string filling the rest.
Bytes listBeyondTheSize(const std::string& openObject) {
    const std::string start = "[" + openObject + R"(,"extra":")";
    const std::string end = "\"}]";
    Bytes list(64 * 1024 * 1024 + 1, 'x');
    std::copy(start.begin(), start.end(), list.begin());
    std::copy(end.begin(), end.end(), list.end() - static_cast<std::ptrdiff_t>(end.size()));
    return list;
}

// Refused before it is parsed.
TEST(MenuBarItemJson, AListBeyondItsSizeIsUnreadable) {
    EXPECT_FALSE(decodeMenuBarItems(listBeyondTheSize(storedItem)));
    EXPECT_FALSE(decodeClipboardTextItems(listBeyondTheSize(legacyRecord)));
}

TEST(MenuBarItemJson, OldRecordsNestedBeyondTheDepthLimitAreUnreadable) {
    ASSERT_TRUE(decodeClipboardTextItems(bytesOf(withDeepMember(legacyRecord, 62))));
    EXPECT_FALSE(decodeClipboardTextItems(bytesOf(withDeepMember(legacyRecord, 300'000))));
}

// What happens to any list that cannot be read: kept byte for byte before the default entry replaces it.
TEST(MenuBarItemJson, ADeeplyNestedStoredListIsKeptAsideAsUnreadable) {
    test::TemporaryDirectory directory;
    test::ManualClock clock{std::chrono::sys_days{std::chrono::year{2024} / 3 / 5} + 12h};
    AppLogger logger{std::make_shared<LogFiles>(directory.path()), clock, LogCalendar{"UTC", "en_US"}};
    MemoryPreferencesStore preferences;
    const Bytes deep = bytesOf(withDeepMember(storedItem, 300'000));
    preferences.set(MenuItemManager::storageKey, deep);

    std::ostringstream standardError;
    std::streambuf* const previous = std::cerr.rdbuf(standardError.rdbuf());
    const MenuItemManager manager(preferences, logger);
    std::cerr.rdbuf(previous);

    ASSERT_EQ(manager.items().size(), 1U);
    EXPECT_EQ(manager.items()[0].title, "Driftmark");
    EXPECT_EQ(preferences.data(MenuItemManager::unreadableStorageKey), deep);
    EXPECT_EQ(standardError.str(),
              "Stored menu bar items could not be read; kept them under \"menuBarItems.unreadable\"\n");
}

} // namespace
} // namespace driftmark
