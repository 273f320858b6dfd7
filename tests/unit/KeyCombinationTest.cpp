#include "platform/linux/sni/KeyCombination.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace driftmark {
namespace {

using Names = std::vector<std::string>;
using namespace menuKeySequence;

TEST(KeyCombinationTest, ALetterWithControlInUpperCase) {
    EXPECT_EQ(dbusMenuKeyCombination("q", controlFlag), (Names{"Control", "Q"}));
}

// GTK's dbusmenu hands the key to gtk_accelerator_parse, which knows keys by their X key symbol names.
TEST(KeyCombinationTest, PunctuationAndOtherCharactersByTheirKeySymbolNames) {
    EXPECT_EQ(dbusMenuKeyCombination(",", controlFlag), (Names{"Control", "comma"}));
    EXPECT_EQ(dbusMenuKeyCombination(".", controlFlag), (Names{"Control", "period"}));
    EXPECT_EQ(dbusMenuKeyCombination("/", optionFlag), (Names{"Alt", "slash"}));
    EXPECT_EQ(dbusMenuKeyCombination("\u00e9", controlFlag), (Names{"Control", "eacute"}));
    EXPECT_EQ(dbusMenuKeyCombination("7", controlFlag), (Names{"Control", "7"}));
}

TEST(KeyCombinationTest, KeysQtNamesOtherwiseByTheirKeySymbolNames) {
    EXPECT_EQ(dbusMenuKeyCombination(" ", controlFlag), (Names{"Control", "space"}));
    EXPECT_EQ(dbusMenuKeyCombination("\u21DE", controlFlag), (Names{"Control", "Page_Up"}));
    EXPECT_EQ(dbusMenuKeyCombination("\u21DF", controlFlag), (Names{"Control", "Page_Down"}));
    EXPECT_EQ(dbusMenuKeyCombination("\u232B", controlFlag), (Names{"Control", "BackSpace"}));
    EXPECT_EQ(dbusMenuKeyCombination("\u2326", controlFlag), (Names{"Control", "Delete"}));
    EXPECT_EQ(dbusMenuKeyCombination("\u238B", controlFlag), (Names{"Control", "Escape"}));
    EXPECT_EQ(dbusMenuKeyCombination("\u2196", controlFlag), (Names{"Control", "Home"}));
}

// libdbusmenu-qt hands the key to QKeySequence, which knows characters only as themselves.
TEST(KeyCombinationTest, AQtHostGetsCharactersAndQtsPagingKeyNames) {
    EXPECT_EQ(qtHostKeyName("comma"), ",");
    EXPECT_EQ(qtHostKeyName("period"), ".");
    EXPECT_EQ(qtHostKeyName("eacute"), "\u00e9");
    EXPECT_EQ(qtHostKeyName("Page_Up"), "PgUp");
    EXPECT_EQ(qtHostKeyName("Page_Down"), "PgDown");
}

TEST(KeyCombinationTest, AQtHostReadsTheOtherNamesAsTheyAre) {
    for (const char* name :
         {"K", "7", "F5", "Return", "Tab", "space", "BackSpace", "Delete", "Escape", "Home", "Up", "Help"}) {
        EXPECT_EQ(qtHostKeyName(name), name);
    }
}

TEST(KeyCombinationTest, ModifiersInAFixedOrderWithCommandAsSuper) {
    EXPECT_EQ(dbusMenuKeyCombination("k", commandFlag | shiftFlag | optionFlag | controlFlag),
              (Names{"Control", "Alt", "Shift", "Super", "K"}));
}

TEST(KeyCombinationTest, NamedAndFunctionKeys) {
    EXPECT_EQ(dbusMenuKeyCombination("\u21A9", optionFlag), (Names{"Alt", "Return"}));
    EXPECT_EQ(dbusMenuKeyCombination("\uF708", 0), (Names{"F5"}));
}

TEST(KeyCombinationTest, NoKeyNoCombination) {
    EXPECT_TRUE(dbusMenuKeyCombination("", controlFlag).empty());
    EXPECT_TRUE(dbusMenuKeyCombination("ab", controlFlag).empty());
}

} // namespace
} // namespace driftmark
