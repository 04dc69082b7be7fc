#include "platform/InputShape.h"

#include <QGuiApplication>
#include <QImage>
#include <QList>
#include <QRect>
#include <QtGui/qguiapplication_platform.h>

#include <xcb/xcb.h>
#include <xcb/xcbext.h>

#include <sys/uio.h>

#include <vector>

namespace {

// The SHAPE extension's wire format; its client library is not among our build dependencies,
// and this one request is all we send.
xcb_extension_t shapeExtension = { "SHAPE", 0 };
constexpr uint8_t shapeRectanglesOpcode = 1;
constexpr uint8_t shapeSet = 0;
constexpr uint8_t shapeInput = 2;
constexpr uint8_t unsortedRectangles = 0;

struct ShapeRectanglesRequest
{
    uint8_t majorOpcode;
    uint8_t minorOpcode;
    uint16_t length;
    uint8_t operation;
    uint8_t destinationKind;
    uint8_t ordering;
    uint8_t pad;
    xcb_window_t destination;
    int16_t xOffset;
    int16_t yOffset;
};

xcb_connection_t* x11Connection()
{
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->connection() : nullptr;
}

// The extension is looked up once per connection; the answer is cached by xcb.
bool hasShape(xcb_connection_t* connection)
{
    const xcb_query_extension_reply_t* extension = xcb_get_extension_data(connection, &shapeExtension);
    return extension && extension->present;
}

} // namespace

QRegion InputShape::ofImage(const QImage& frame)
{
    if (frame.isNull())
        return {};
    const QImage argb = frame.format() == QImage::Format_ARGB32_Premultiplied || frame.format() == QImage::Format_ARGB32
        ? frame
        : frame.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    std::vector<QRect> rects;
    QList<QRect> open; // the runs of the band that is still growing downwards
    QList<QRect> row;
    const auto close = [&] {
        rects.insert(rects.end(), open.cbegin(), open.cend());
        open.clear();
    };
    for (int y = 0; y < argb.height(); ++y) {
        const auto* pixels = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
        row.clear();
        for (int x = 0; x < argb.width();) {
            if (qAlpha(pixels[x]) == 0) {
                ++x;
                continue;
            }
            const int start = x;
            while (x < argb.width() && qAlpha(pixels[x]) != 0)
                ++x;
            row.append(QRect(start, y, x - start, 1));
        }
        bool same = row.size() == open.size();
        for (qsizetype i = 0; same && i < row.size(); ++i)
            same = row[i].left() == open[i].left() && row[i].right() == open[i].right();
        if (same && !row.isEmpty()) {
            for (QRect& run : open)
                run.setBottom(y);
        } else {
            close();
            open = row;
        }
    }
    close();
    QRegion region;
    // Bands from top to bottom, runs from left to right, none touching within a band: the
    // banded form QRegion keeps, so it can take them as they are.
    region.setRects(rects.data(), int(rects.size()));
    return region;
}

void InputShape::applyToX11Window(std::uint32_t window, const QRegion& region)
{
    xcb_connection_t* connection = x11Connection();
    if (!connection || window == 0 || !hasShape(connection))
        return;
    std::vector<xcb_rectangle_t> rectangles;
    rectangles.reserve(size_t(region.rectCount()));
    for (const QRect& r : region)
        rectangles.push_back({ int16_t(r.x()), int16_t(r.y()), uint16_t(r.width()), uint16_t(r.height()) });
    ShapeRectanglesRequest request {};
    request.minorOpcode = shapeRectanglesOpcode;
    request.operation = shapeSet;
    request.destinationKind = shapeInput;
    request.ordering = unsortedRectangles;
    request.destination = window;
    iovec parts[4] {};
    parts[2] = { &request, sizeof(request) };
    parts[3] = { rectangles.data(), rectangles.size() * sizeof(xcb_rectangle_t) };
    const xcb_protocol_request_t protocol = { 2, &shapeExtension, shapeRectanglesOpcode, 1 };
    xcb_send_request(connection, 0, parts + 2, &protocol);
    xcb_flush(connection);
}
