#include "platform/linux/sni/KeyCombination.h"

#include <gtest/gtest.h>

namespace driftmark {
namespace {

using Names = std::vector<std::string>;
using namespace menuKeySequence;

TEST(KeyCombinationTest, ALetterWithControlInUpperCase) {
    EXPECT_EQ(dbusMenuKeyCombination("q", controlFlag), (Names{"Control", "Q"}));
}

TEST(KeyCombinationTest, PunctuationKeepsItsCharacter) {
    EXPECT_EQ(dbusMenuKeyCombination(",", controlFlag), (Names{"Control", ","}));
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
