#include "platform/linux/TrayBackendChoice.h"

#include <gtest/gtest.h>

namespace driftmark {
namespace {

TEST(TrayBackendChoiceTest, ReadsTheTwoNamesAndNothingElse) {
    EXPECT_EQ(parseTrayPreference(""), TrayPreference::automatic);
    EXPECT_EQ(parseTrayPreference("xembed"), TrayPreference::xembed);
    EXPECT_EQ(parseTrayPreference("sni"), TrayPreference::statusNotifier);
    EXPECT_EQ(parseTrayPreference("SNI"), std::nullopt);
    EXPECT_EQ(parseTrayPreference("xembed "), std::nullopt);
    EXPECT_EQ(parseTrayPreference("kde"), std::nullopt);
}

TEST(TrayBackendChoiceTest, AutomaticallyTheWatcherDecides) {
    EXPECT_EQ(trayBackendFor(TrayPreference::automatic, true), TrayBackend::statusNotifier);
    EXPECT_EQ(trayBackendFor(TrayPreference::automatic, false), TrayBackend::xembed);
}

TEST(TrayBackendChoiceTest, AChosenTrayStaysWhateverTheWatcher) {
    EXPECT_EQ(trayBackendFor(TrayPreference::xembed, true), TrayBackend::xembed);
    EXPECT_EQ(trayBackendFor(TrayPreference::xembed, false), TrayBackend::xembed);
    EXPECT_EQ(trayBackendFor(TrayPreference::statusNotifier, false), TrayBackend::statusNotifier);
    EXPECT_EQ(trayBackendFor(TrayPreference::statusNotifier, true), TrayBackend::statusNotifier);
}

} // namespace
} // namespace driftmark
