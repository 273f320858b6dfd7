#include "platform/linux/sni/StatusNotifierIcon.h"

#include <gtest/gtest.h>

namespace driftmark {
namespace {

TEST(StatusNotifierIconTest, PixelsGoAlphaFirstInNetworkOrderUnpremultiplied) {
    QImage image(2, 1, QImage::Format_ARGB32_Premultiplied);
    image.setPixelColor(0, 0, QColor(0x11, 0x22, 0x33, 0xff));
    image.setPixelColor(1, 0, QColor(0xff, 0x00, 0x80, 0x80));
    const QByteArray bytes = networkOrderArgb(image);
    ASSERT_EQ(bytes.size(), 8);
    EXPECT_EQ(bytes.left(4), QByteArray::fromHex("ff112233"));
    // Half transparent: the colour comes back whole, not darkened by the alpha.
    EXPECT_EQ(static_cast<unsigned char>(bytes[4]), 0x80);
    EXPECT_EQ(static_cast<unsigned char>(bytes[5]), 0xff);
    EXPECT_EQ(static_cast<unsigned char>(bytes[6]), 0x00);
    EXPECT_NEAR(static_cast<unsigned char>(bytes[7]), 0x80, 1);
}

TEST(StatusNotifierIconTest, RowsFollowEachOther) {
    QImage image(1, 2, QImage::Format_ARGB32);
    image.setPixel(0, 0, qRgba(1, 2, 3, 255));
    image.setPixel(0, 1, qRgba(4, 5, 6, 255));
    EXPECT_EQ(networkOrderArgb(image), QByteArray::fromHex("ff010203ff040506"));
}

TEST(StatusNotifierIconTest, TheDiscAtFourSizesWithItsColourInTheMiddle) {
    const DiscIcon icon{18, 2, Color::fromBytes(255, 0, 0), Color{0, 0, 0, 0.2}, 0.5};
    const StatusNotifierPixmaps pixmaps = statusNotifierPixmaps(icon, 1.0);
    ASSERT_EQ(pixmaps.size(), 4);
    const int sizes[] = {16, 22, 32, 48};
    for (int index = 0; index < 4; ++index) {
        const StatusNotifierPixmap& pixmap = pixmaps[index];
        EXPECT_EQ(pixmap.width, sizes[index]);
        EXPECT_EQ(pixmap.height, sizes[index]);
        ASSERT_EQ(pixmap.pixels.size(), sizes[index] * sizes[index] * 4);
        const int centre = (sizes[index] / 2 * sizes[index] + sizes[index] / 2) * 4;
        EXPECT_EQ(pixmap.pixels.mid(centre, 4), QByteArray::fromHex("ffff0000"));
        // The corner lies outside the disc.
        EXPECT_EQ(static_cast<unsigned char>(pixmap.pixels[0]), 0);
    }
}

TEST(StatusNotifierIconTest, OpacityLowersTheAlpha) {
    const DiscIcon icon{18, 2, Color::fromBytes(0, 0, 255), Color{0, 0, 0, 0.2}, 0.5};
    const StatusNotifierPixmap half = statusNotifierPixmaps(icon, 0.5).front();
    const int centre = (8 * 16 + 8) * 4;
    EXPECT_NEAR(static_cast<unsigned char>(half.pixels[centre]), 128, 2);
    EXPECT_EQ(static_cast<unsigned char>(half.pixels[centre + 3]), 255);
}

} // namespace
} // namespace driftmark
