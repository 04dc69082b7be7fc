#include "platform/X11FramePixmaps.h"

#include "platform/LottieFrames.h"

#include <QImage>

#include <xcb/xcb.h>

#include <algorithm>
#include <utility>

namespace {

int batchDepth = 0;
xcb_connection_t* unflushed = nullptr;

} // namespace

X11FramePixmaps::Batch::Batch()
{
    ++batchDepth;
}

X11FramePixmaps::Batch::~Batch()
{
    if (--batchDepth == 0 && unflushed)
        xcb_flush(std::exchange(unflushed, nullptr));
}

X11FramePixmaps::X11FramePixmaps(
    xcb_connection_t* connection, std::uint32_t root, std::uint8_t depth, std::shared_ptr<LottieFrames> frames)
    : m_connection(connection)
    , m_root(root)
    , m_depth(depth)
    , m_frames(std::move(frames))
{
    const xcb_setup_t* setup = xcb_get_setup(m_connection);
    // Our frames are premultiplied ARGB words in this machine's byte order; a server that
    // wants another layout gets the ordinary repaint instead.
    const bool littleEndianHost = QSysInfo::ByteOrder == QSysInfo::LittleEndian;
    const bool sameOrder = (setup->image_byte_order == XCB_IMAGE_ORDER_LSB_FIRST) == littleEndianHost;
    bool fourBytesPerPixel = false;
    for (auto it = xcb_setup_pixmap_formats_iterator(setup); it.rem; xcb_format_next(&it)) {
        if (it.data->depth == m_depth)
            fourBytesPerPixel = it.data->bits_per_pixel == 32 && it.data->scanline_pad == 32;
    }
    if (m_depth != 32 || !sameOrder || !fourBytesPerPixel)
        return;
    // The context must have the frames' depth, which the root window may not have: it is
    // made on a scratch pixmap of that depth.
    const std::uint32_t scratch = xcb_generate_id(m_connection);
    xcb_create_pixmap(m_connection, m_depth, scratch, m_root, 1, 1);
    m_gc = xcb_generate_id(m_connection);
    // Without this every copy would send back an expose event that wakes the program.
    const uint32_t noExposures = 0;
    xcb_create_gc(m_connection, m_gc, scratch, XCB_GC_GRAPHICS_EXPOSURES, &noExposures);
    xcb_free_pixmap(m_connection, scratch);
    m_usable = true;
}

X11FramePixmaps::~X11FramePixmaps()
{
    for (const std::uint32_t pixmap : std::as_const(m_pixmaps)) {
        if (pixmap)
            xcb_free_pixmap(m_connection, pixmap);
    }
    if (m_gc)
        xcb_free_gc(m_connection, m_gc);
    xcb_flush(m_connection);
}

bool X11FramePixmaps::present(int index, std::uint32_t window, QPoint at, const QRect& source)
{
    if (!m_usable)
        return false;
    const std::uint32_t pixmap = upload(index);
    if (!pixmap)
        return false;
    const QRect clipped = source.intersected(QRect(QPoint(0, 0), m_frames->pixelSize()));
    if (!clipped.isEmpty()) {
        xcb_copy_area(m_connection, pixmap, window, m_gc, static_cast<int16_t>(clipped.x()),
            static_cast<int16_t>(clipped.y()), static_cast<int16_t>(at.x() + clipped.x()),
            static_cast<int16_t>(at.y() + clipped.y()), static_cast<uint16_t>(clipped.width()),
            static_cast<uint16_t>(clipped.height()));
    }
    if (batchDepth > 0)
        unflushed = m_connection;
    else
        xcb_flush(m_connection);
    return true;
}

std::uint32_t X11FramePixmaps::upload(int index)
{
    const qint64 id = m_frames->pictureId(index);
    if (const auto found = m_pixmaps.constFind(id); found != m_pixmaps.cend())
        return *found;
    const QImage image = m_frames->frame(index);
    if (image.isNull() || image.format() != QImage::Format_ARGB32_Premultiplied)
        return 0;

    const std::uint32_t pixmap = xcb_generate_id(m_connection);
    const auto width = static_cast<uint16_t>(image.width());
    const auto height = static_cast<uint16_t>(image.height());
    xcb_create_pixmap(m_connection, m_depth, pixmap, m_root, width, height);
    // Big frames go up in bands of rows that fit one request.
    const auto stride = static_cast<std::size_t>(image.bytesPerLine());
    const std::size_t maxBytes = static_cast<std::size_t>(xcb_get_maximum_request_length(m_connection)) * 4 - 64;
    const int rowsPerRequest = std::max<int>(1, static_cast<int>(maxBytes / stride));
    for (int y = 0; y < image.height(); y += rowsPerRequest) {
        const int rows = std::min(rowsPerRequest, image.height() - y);
        xcb_put_image(m_connection, XCB_IMAGE_FORMAT_Z_PIXMAP, pixmap, m_gc, width, static_cast<uint16_t>(rows), 0,
            static_cast<int16_t>(y), 0, m_depth, static_cast<uint32_t>(stride * static_cast<std::size_t>(rows)),
            image.constScanLine(y));
    }
    m_pixmaps.insert(id, pixmap);
    return pixmap;
}
