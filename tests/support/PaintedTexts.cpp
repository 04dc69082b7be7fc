#include "support/PaintedTexts.h"

#include "platform/EmojiStyle.h"

#include <QFontMetricsF>
#include <QGuiApplication>
#include <QHash>
#include <QImage>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QScreen>
#include <QTextItem>
#include <QWidget>

#include <cmath>

const QChar glyphRun = QChar(0xFFFC);

namespace {

/// The box the glyphs of `item` cover, relative to the start of its baseline: its own glyphs
/// drawn once on a large picture and measured, as the fallback fonts really draw them. Drawn
/// again from its characters, a run that a text layout shaped could take other glyphs.
QRect inkOf(const QTextItem& item)
{
    const QString text = item.text();
    const QFont font = item.font();
    static QHash<QString, QRect> cache;
    const QString key = font.key() + QChar(0x1F) + text;
    if (const auto it = cache.constFind(key); it != cache.cend())
        return *it;
    const QFontMetricsF metrics(font);
    const int width = int(std::ceil(metrics.horizontalAdvance(text))) + 4 * int(metrics.height()) + 8;
    const int height = 4 * int(std::ceil(metrics.height())) + 8;
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    const QPoint origin(2 * int(metrics.height()) + 4, 2 * int(std::ceil(metrics.height())) + 4);
    {
        QPainter painter(&image);
        painter.setFont(font);
        painter.setPen(Qt::black);
        // A colour glyph drawn from the item comes out partly transparent on a picture of
        // its own; drawn from its characters in its font it is whole.
        if (EmojiStyle::emojiRuns(text).isEmpty())
            painter.drawTextItem(origin, item);
        else
            painter.drawText(origin, text);
    }
    QRect box;
    for (int y = 0; y < image.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if (qAlpha(row[x]) > 40)
                box |= QRect(x, y, 1, 1);
        }
    }
    const QRect relative = box.translated(-origin);
    cache.insert(key, relative);
    return relative;
}

class RecordingEngine final : public QPaintEngine
{
public:
    explicit RecordingEngine(Painted& out, const QRect& whole)
        : QPaintEngine(QPaintEngine::AllFeatures)
        , m_out(out)
        , m_whole(whole)
    {
    }

    bool begin(QPaintDevice*) override { return true; }
    bool end() override { return true; }
    void updateState(const QPaintEngineState&) override { }
    Type type() const override { return QPaintEngine::User; }

    void drawPath(const QPainterPath&) override { }
    void drawPolygon(const QPointF*, int, PolygonDrawMode) override { }
    void drawPolygon(const QPoint*, int, PolygonDrawMode) override { }
    void drawLines(const QLineF*, int) override { }
    void drawLines(const QLine*, int) override { }
    void drawRects(const QRectF*, int) override { }
    void drawRects(const QRect*, int) override { }
    void drawEllipse(const QRectF&) override { }
    void drawPoints(const QPointF*, int) override { }
    void drawTiledPixmap(const QRectF&, const QPixmap&, const QPointF&) override { }

    void drawPixmap(const QRectF& r, const QPixmap&, const QRectF&) override { picture(r); }
    void drawImage(const QRectF& r, const QImage&, const QRectF&, Qt::ImageConversionFlags) override { picture(r); }

    void drawTextItem(const QPointF& p, const QTextItem& item) override
    {
        const QString text = item.text();
        // Text laid out by a document (editors) comes as glyphs without their characters.
        const bool glyphsOnly = text.isEmpty() && item.width() > 0;
        if (text.trimmed().isEmpty() && !glyphsOnly)
            return;
        const QTransform t = painter()->deviceTransform();
        PaintedText run;
        run.text = glyphsOnly ? QString(glyphRun) : text;
        run.font = item.font();
        run.pixelSize = pixelSizeOf(item.font());
        const QRectF line(p.x(), p.y() - item.ascent(), item.width(), item.ascent() + item.descent());
        run.line = t.mapRect(line).toAlignedRect();
        // The ink scales with the painter as the line does (the transforms in use only move).
        const QPointF origin = t.map(p);
        run.ink = glyphsOnly ? run.line : inkOf(item).translated(origin.toPoint());
        run.clip = currentClip();
        m_out.texts.append(run);
    }

private:
    void picture(const QRectF& r)
    {
        const QRect box = painter()->deviceTransform().mapRect(r).toAlignedRect();
        m_out.pictures.append({ box, currentClip() });
    }

    [[nodiscard]] QRect currentClip() const
    {
        QRect clip = m_whole;
        if (!systemClip().isEmpty())
            clip &= systemClip().boundingRect();
        if (painter()->hasClipping())
            clip &= painter()->deviceTransform().mapRect(painter()->clipBoundingRect()).toAlignedRect();
        return clip;
    }

    [[nodiscard]] static double pixelSizeOf(const QFont& font)
    {
        if (font.pixelSize() > 0)
            return font.pixelSize();
        return font.pointSizeF() * QGuiApplication::primaryScreen()->logicalDotsPerInchY() / 72.0;
    }

    Painted& m_out;
    QRect m_whole;
};

class RecordingDevice final : public QPaintDevice
{
public:
    RecordingDevice(Painted& out, const QSize& size)
        : m_size(size)
        , m_engine(out, QRect(QPoint(), size))
    {
    }

    QPaintEngine* paintEngine() const override { return &m_engine; }

protected:
    int metric(PaintDeviceMetric metric) const override
    {
        const QScreen* screen = QGuiApplication::primaryScreen();
        switch (metric) {
        case PdmWidth:
            return m_size.width();
        case PdmHeight:
            return m_size.height();
        case PdmWidthMM:
            return int(m_size.width() * 25.4 / screen->physicalDotsPerInchX());
        case PdmHeightMM:
            return int(m_size.height() * 25.4 / screen->physicalDotsPerInchY());
        case PdmNumColors:
            return INT_MAX;
        case PdmDepth:
            return 32;
        case PdmDpiX:
        case PdmPhysicalDpiX:
            return int(screen->logicalDotsPerInchX());
        case PdmDpiY:
        case PdmPhysicalDpiY:
            return int(screen->logicalDotsPerInchY());
        case PdmDevicePixelRatio:
            return 1;
        case PdmDevicePixelRatioScaled:
            return int(QPaintDevice::devicePixelRatioFScale());
        }
        return 0;
    }

private:
    QSize m_size;
    mutable RecordingEngine m_engine;
};

bool isEmojiPart(char32_t c)
{
    return c == 0x200D || (c >= 0xFE00 && c <= 0xFE0F) || (c >= 0x1F000 && c <= 0x1FAFF) || (c >= 0x2600 && c <= 0x27BF)
        || (c >= 0x2300 && c <= 0x23FF) || (c >= 0x2B00 && c <= 0x2BFF) || (c >= 0xE0020 && c <= 0xE007F) || c == 0x20E3
        || c == 0x2122 || c == 0x2139 || (c >= 0x2190 && c <= 0x21FF) || c == 0x3030 || c == 0x303D || c == 0x3297
        || c == 0x3299 || c == 0x00A9 || c == 0x00AE || c == 0x203C || c == 0x2049;
}

} // namespace

Painted paintedBy(QWidget* root)
{
    Painted out;
    RecordingDevice device(out, root->size());
    root->render(&device, QPoint(), QRegion(), QWidget::DrawChildren);
    return out;
}

bool isEmojiOnly(const QString& text)
{
    bool any = false;
    for (const char32_t c : text.toUcs4()) {
        if (c == u' ')
            continue;
        if (!isEmojiPart(c))
            return false;
        any = true;
    }
    return any;
}
