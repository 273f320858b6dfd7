#include "platform/linux/ContentTypes.h"

#include <gtest/gtest.h>

namespace driftmark {
namespace {

using Types = std::vector<std::string>;

TEST(ContentTypesTest, EveryOfferedTypeIsReadInOfferedOrder) {
    EXPECT_EQ(contentTypes({"text/plain;charset=utf-8", "text/plain", "UTF8_STRING", "STRING", "TEXT"}),
              (Types{"text/plain;charset=utf-8", "text/plain", "UTF8_STRING", "STRING", "TEXT"}))
        << "the names wl-copy and XWayland give text are restored as they were offered";
    EXPECT_EQ(contentTypes({"image/png", "text/html"}), (Types{"image/png", "text/html"}));
}

TEST(ContentTypesTest, TypesWithoutContentsOfTheirOwnAreLeftOut) {
    EXPECT_EQ(contentTypes({"TARGETS", "image/png", "TIMESTAMP", "SAVE_TARGETS", "MULTIPLE", "PIXMAP"}),
              (Types{"image/png"}));
    EXPECT_EQ(contentTypes({"application/x-qt-image", "image/png", "text/uri-list", "text/x-moz-url"}),
              (Types{"image/png", "text/uri-list"}));
    EXPECT_TRUE(contentTypes({"", "TARGETS"}).empty());
}

TEST(ContentTypesTest, ATypeOfferedTwiceIsReadOnce) {
    EXPECT_EQ(contentTypes({"text/plain", "image/png", "text/plain"}), (Types{"text/plain", "image/png"}));
}

} // namespace
} // namespace driftmark
