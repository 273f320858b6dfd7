#include "platform/linux/x11/XcbImage.h"

#include "platform/linux/x11/XcbReply.h"

#include <QtEndian>
#include <algorithm>
#include <cstring>

namespace driftmark {

namespace {

// X transfers pixels in the server's byte order; QImage keeps them in the host's.
bool serverSwapsBytes(xcb_connection_t* connection) {
    const bool serverLittleEndian = xcb_get_setup(connection)->image_byte_order == XCB_IMAGE_ORDER_LSB_FIRST;
    return serverLittleEndian != (QSysInfo::ByteOrder == QSysInfo::LittleEndian);
}

void swapPixels(QImage& image) {
    for (int row = 0; row < image.height(); ++row) {
        auto* pixels = reinterpret_cast<quint32*>(image.scanLine(row));
        std::transform(pixels, pixels + image.width(), pixels, [](quint32 pixel) { return qbswap(pixel); });
    }
}

} // namespace

void putWindowImage(xcb_connection_t* connection, xcb_window_t window, std::uint8_t depth,
                    const QImage& image) {
    QImage pixels =
        image.convertToFormat(depth == 32 ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
    if (serverSwapsBytes(connection)) {
        swapPixels(pixels);
    }
    const xcb_gcontext_t context = xcb_generate_id(connection);
    xcb_create_gc(connection, context, window, 0, nullptr);
    // Large icons are sent in bands of rows that fit into one request.
    const auto rowBytes = static_cast<std::uint32_t>(pixels.bytesPerLine());
    const std::uint32_t maximumBytes = xcb_get_maximum_request_length(connection) * 4 - 64;
    const int bandRows = static_cast<int>(std::max<std::uint32_t>(1, maximumBytes / rowBytes));
    for (int top = 0; top < pixels.height(); top += bandRows) {
        const int rows = std::min(bandRows, pixels.height() - top);
        xcb_put_image(connection, XCB_IMAGE_FORMAT_Z_PIXMAP, window, context,
                      static_cast<std::uint16_t>(pixels.width()), static_cast<std::uint16_t>(rows), 0,
                      static_cast<std::int16_t>(top), 0, depth, static_cast<std::uint32_t>(rows) * rowBytes,
                      pixels.constScanLine(top));
    }
    xcb_free_gc(connection, context);
    xcb_flush(connection);
}

QImage windowImage(xcb_connection_t* connection, xcb_window_t window, QSize size) {
    // A window that is not viewable answers with an error, which is only dropped.
    xcb_generic_error_t* error = nullptr;
    const XcbReply<xcb_get_image_reply_t> reply(
        xcb_get_image_reply(connection,
                            xcb_get_image(connection, XCB_IMAGE_FORMAT_Z_PIXMAP, window, 0, 0,
                                          static_cast<std::uint16_t>(size.width()),
                                          static_cast<std::uint16_t>(size.height()), ~0u),
                            &error));
    const XcbReply<xcb_generic_error_t> dropped(error);
    const auto bytes = static_cast<qsizetype>(size.width()) * size.height() * 4;
    if (!reply || xcb_get_image_data_length(reply.get()) < bytes) {
        return {};
    }
    QImage image(size, QImage::Format_RGB32);
    for (int row = 0; row < size.height(); ++row) {
        std::memcpy(image.scanLine(row), xcb_get_image_data(reply.get()) + row * size.width() * 4,
                    static_cast<std::size_t>(size.width()) * 4);
    }
    if (serverSwapsBytes(connection)) {
        swapPixels(image);
    }
    // A depth-24 pixel leaves its top byte undefined; QImage wants it opaque.
    for (int row = 0; row < image.height(); ++row) {
        auto* pixels = reinterpret_cast<quint32*>(image.scanLine(row));
        std::transform(pixels, pixels + image.width(), pixels,
                       [](quint32 pixel) { return pixel | 0xff000000u; });
    }
    return image;
}

} // namespace driftmark
