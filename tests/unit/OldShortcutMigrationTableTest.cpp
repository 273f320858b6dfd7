#include "app/KeyboardShortcutsManager.h"
#include "fakes/KeyboardShortcutsTestbed.h"
#include "fakes/ManualClock.h"
#include "fakes/TestEnvironment.h"
#include "support/AppLogger.h"
#include "support/LogCalendar.h"
#include "support/LogFiles.h"

#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <string_view>

namespace driftmark {
namespace {

using KeyboardShortcuts::Key;
using KeyboardShortcuts::ModifierFlags;
using KeyboardShortcuts::Shortcut;

// The keys an earlier release could record, written out by hand as macOS virtual key codes (kVK_*):
// the 26 letters, Return, Tab, Space, Delete (backspace) and Escape.
const std::map<std::int64_t, std::string_view> olderKeys = {
    {0x00, "A"},      {0x01, "S"}, {0x02, "D"}, {0x03, "F"},      {0x04, "H"},     {0x05, "G"},
    {0x06, "Z"},      {0x07, "X"}, {0x08, "C"}, {0x09, "V"},      {0x0B, "B"},     {0x0C, "Q"},
    {0x0D, "W"},      {0x0E, "E"}, {0x0F, "R"}, {0x10, "Y"},      {0x11, "T"},     {0x1F, "O"},
    {0x20, "U"},      {0x22, "I"}, {0x23, "P"}, {0x24, "Return"}, {0x25, "L"},     {0x26, "J"},
    {0x28, "K"},      {0x2D, "N"}, {0x2E, "M"}, {0x30, "Tab"},    {0x31, "Space"}, {0x33, "Delete"},
    {0x35, "Escape"},
};

class OldShortcutMigrationTable : public testing::Test {
protected:
    // The first-entry shortcut after a start with the older settings, and whether they were removed.
    std::pair<std::optional<Shortcut>, bool> startWith(std::int64_t keyCode, std::int64_t modifiers) {
        test::KeyboardShortcutsTestbed bed;
        bed.userDefaults.set("shortcutKeyCode", keyCode);
        bed.userDefaults.set("shortcutModifiers", modifiers);
        KeyboardShortcutsManager manager(bed.module, logger);
        const bool removed =
            !bed.userDefaults.object("shortcutKeyCode") && !bed.userDefaults.object("shortcutModifiers");
        return {bed.module.getShortcut(manager.copyToClipboard()), removed};
    }

    test::TemporaryDirectory directory;
    test::ManualClock clock;
    AppLogger logger{std::make_shared<LogFiles>(directory.path() / "log"), clock,
                     LogCalendar{"UTC", "en_US"}};
};

TEST_F(OldShortcutMigrationTable, EveryListedKeyIsConvertedToItselfAndNoOtherKeyIs) {
    EXPECT_EQ(olderKeys.size(), 31U);
    constexpr std::int64_t optionCommand = 0x800 | 0x100;
    const Shortcut fallback(Key::u, ModifierFlags::control | ModifierFlags::shift);
    for (std::int64_t keyCode = -1; keyCode <= 0x100; ++keyCode) {
        const auto listed = olderKeys.find(keyCode);
        SCOPED_TRACE(testing::Message() << "key code " << keyCode << " "
                                        << (listed != olderKeys.end() ? listed->second : "(not listed)"));
        const auto [shortcut, removed] = startWith(keyCode, optionCommand);
        if (listed != olderKeys.end()) {
            EXPECT_EQ(shortcut, Shortcut(keyCode, optionCommand));
            EXPECT_TRUE(removed);
        } else {
            EXPECT_EQ(shortcut, fallback);
            EXPECT_FALSE(removed);
        }
    }
    for (const std::int64_t keyCode : {std::int64_t{0x10000}, std::int64_t{0x10000} + 0x20}) {
        const auto [shortcut, removed] = startWith(keyCode, optionCommand);
        EXPECT_EQ(shortcut, fallback) << keyCode;
        EXPECT_FALSE(removed) << keyCode;
    }
}

} // namespace
} // namespace driftmark
