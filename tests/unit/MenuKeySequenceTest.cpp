#include "platform/linux/keys/MenuKeySequence.h"

#include <gtest/gtest.h>

namespace driftmark {
namespace {

constexpr std::uint64_t shift = 0x20000;
constexpr std::uint64_t control = 0x40000;
constexpr std::uint64_t option = 0x80000;
constexpr std::uint64_t command = 0x100000;
constexpr std::uint64_t function = 0x800000;

TEST(MenuKeySequence, ModifiersAreTheKeysPressedOnLinux) {
    EXPECT_EQ(portableKeySequence("k", 0), "k");
    EXPECT_EQ(portableKeySequence("k", command), "Meta+k");
    EXPECT_EQ(portableKeySequence("k", option), "Alt+k");
    EXPECT_EQ(portableKeySequence("k", control | shift), "Ctrl+Shift+k");
    EXPECT_EQ(portableKeySequence("k", command | shift | option | control), "Ctrl+Alt+Shift+Meta+k");
    // Fn and device-dependent bits show nothing.
    EXPECT_EQ(portableKeySequence("k", function | command | 0x8), "Meta+k");
}

TEST(MenuKeySequence, KeySymbolsBecomeQtKeyNames) {
    EXPECT_EQ(portableKeySequence("\u21A9", command), "Meta+Return");
    EXPECT_EQ(portableKeySequence("\u21E5", control), "Ctrl+Tab");
    EXPECT_EQ(portableKeySequence(" ", control), "Ctrl+Space");
    EXPECT_EQ(portableKeySequence("\u232B", 0), "Backspace");
    EXPECT_EQ(portableKeySequence("\u2326", 0), "Del");
    EXPECT_EQ(portableKeySequence("\u238B", 0), "Esc");
    EXPECT_EQ(portableKeySequence("?\u20DD", 0), "Help");
    EXPECT_EQ(portableKeySequence("\u2196", 0), "Home");
    EXPECT_EQ(portableKeySequence("\u2198", 0), "End");
    EXPECT_EQ(portableKeySequence("\u21DE", 0), "PgUp");
    EXPECT_EQ(portableKeySequence("\u21DF", 0), "PgDown");
    EXPECT_EQ(portableKeySequence("\u2191", shift), "Shift+Up");
    EXPECT_EQ(portableKeySequence("\u2193", 0), "Down");
    EXPECT_EQ(portableKeySequence("\u2190", 0), "Left");
    EXPECT_EQ(portableKeySequence("\u2192", 0), "Right");
}

TEST(MenuKeySequence, FunctionKeyCharactersBecomeFunctionKeys) {
    EXPECT_EQ(portableKeySequence("\uF704", 0), "F1");
    EXPECT_EQ(portableKeySequence("\uF708", option), "Alt+F5");
    EXPECT_EQ(portableKeySequence("\uF717", 0), "F20");
    EXPECT_EQ(portableKeySequence("\uF726", 0), "F35");
}

TEST(MenuKeySequence, OtherCharactersAreTheirOwnKey) {
    EXPECT_EQ(portableKeySequence("+", control), "Ctrl++");
    EXPECT_EQ(portableKeySequence(",", control), "Ctrl+,");
    EXPECT_EQ(portableKeySequence("\u00E9", command), "Meta+\u00E9");
    EXPECT_EQ(portableKeySequence("\u0444", command), "Meta+\u0444");
    EXPECT_EQ(portableKeySequence("\U0001F600", 0), "\U0001F600");
}

TEST(MenuKeySequence, TextThatNamesNoSingleKeyShowsNoShortcut) {
    EXPECT_FALSE(portableKeySequence("", command));
    EXPECT_FALSE(portableKeySequence("ab", command));
    EXPECT_FALSE(portableKeySequence("\u00E9e", 0));
    EXPECT_FALSE(portableKeySequence("\t", 0)) << "control character";
    EXPECT_FALSE(portableKeySequence("\x7F", 0));
    EXPECT_FALSE(portableKeySequence("\xC3", 0)) << "cut-off sequence";
    EXPECT_FALSE(portableKeySequence("\xA9", 0)) << "stray continuation byte";
    EXPECT_FALSE(portableKeySequence("\xE2\x86\x41", 0)) << "bad continuation byte";
    EXPECT_FALSE(portableKeySequence("\xF8\x80\x80\x80", 0)) << "no such lead byte";
}

} // namespace
} // namespace driftmark
