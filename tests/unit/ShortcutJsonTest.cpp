#include "KeyboardShortcuts/ShortcutJson.h"

#include <gtest/gtest.h>
#include <string>

namespace driftmark::KeyboardShortcuts {
namespace {

std::string storedWith(const std::string& extra) {
    return R"({"carbonKeyCode":40,"carbonModifiers":6144,"extra":)" + extra + "}";
}

TEST(ShortcutJson, AStoredShortcutNestedBeyondTheDepthLimitIsNone) {
    const std::string shallow = std::string(60, '[') + std::string(60, ']');
    EXPECT_EQ(decodeJson(storedWith(shallow)), Shortcut::asStored(40, 6144));
    const std::string deep = std::string(300'000, '[') + std::string(300'000, ']');
    EXPECT_FALSE(decodeJson(storedWith(deep)));
}

TEST(ShortcutJson, AStoredShortcutBeyondItsSizeIsNone) {
    const std::string fits = storedWith("\"" + std::string(4096 - storedWith("\"\"").size(), 'x') + "\"");
    ASSERT_EQ(fits.size(), 4096U);
    EXPECT_EQ(decodeJson(fits), Shortcut::asStored(40, 6144));
    EXPECT_FALSE(decodeJson(storedWith("\"" + std::string(4097 - storedWith("\"\"").size(), 'x') + "\"")));
}

} // namespace
} // namespace driftmark::KeyboardShortcuts
