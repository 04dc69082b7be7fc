#pragma once

#include <QList>
#include <QObject>
#include <QPoint>
#include <QPointF>
#include <QRect>
#include <QRectF>

#include <optional>

/// One screen as Qt reports it: full geometry and the part not taken by panels and docks,
/// both in Qt's virtual-desktop coordinates (origin top left, y downwards).
struct ScreenGeometry
{
    QRect frame;
    QRect available;
};

/// The program's screen model. All placement maths uses a bottom-left model: the main
/// screen (Qt's primary screen) has its frame at (0, 0, width, H), x grows to the right and
/// y grows upwards from the main screen's bottom edge. Other screens sit around it as they
/// do on the virtual desktop. Windows are converted to Qt's top-left coordinates only when
/// they are moved or read.
///
/// The production instance follows Qt's screens live; tests build one over fixed
/// geometries (the first entry is the main screen) and may replace them to announce a
/// configuration change.
class Screens final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(Screens)

public:
    /// The main screen's height when there is no screen at all.
    static constexpr double fallbackMainHeight = 1080.0;
    /// The pet window's fixed edge, used by the stored-position convention.
    static constexpr double petSize = 128.0;

    /// Follows the application's screens (QGuiApplication must exist).
    explicit Screens(QObject* parent = nullptr);
    /// Fixed screens; the first is the main screen, an empty list means no screen.
    explicit Screens(const QList<ScreenGeometry>& screens, QObject* parent = nullptr);

    /// Replaces fixed screens and announces the change; only for instances built over fixed
    /// geometries (the live instance keeps following Qt).
    void setGeometries(const QList<ScreenGeometry>& screens);

    [[nodiscard]] QList<ScreenGeometry> geometries() const;
    [[nodiscard]] bool hasMainScreen() const;
    /// The main screen's full frame height H, or 1080 without a screen.
    [[nodiscard]] double mainHeight() const;
    /// The main screen's frame in the model: (0, 0, width, H). None without a screen.
    [[nodiscard]] std::optional<QRectF> mainFrame() const;
    /// The main screen's area without panels and docks, in the model.
    [[nodiscard]] std::optional<QRectF> mainVisibleFrame() const;
    /// Every screen's frame in the model, the main screen first.
    [[nodiscard]] QList<QRectF> frames() const;
    [[nodiscard]] QList<QRectF> visibleFrames() const;

    [[nodiscard]] QRect toQtRect(const QRectF& modelRect) const;
    [[nodiscard]] QRectF fromQtRect(const QRect& qtRect) const;
    [[nodiscard]] QPoint toQtPoint(const QPointF& modelPoint) const;
    [[nodiscard]] QPointF fromQtPoint(const QPointF& qtPoint) const;

    /// A stored pet position (left edge, distance of the top edge below the main screen's
    /// top) as the bottom-left origin of the 128 × 128 pet window: (x, H − y − 128).
    [[nodiscard]] static QPointF petOriginFromStored(const QPointF& stored, double mainHeight);
    /// The inverse: y = H − origin y − 128.
    [[nodiscard]] static QPointF storedFromPetOrigin(const QPointF& origin, double mainHeight);
    [[nodiscard]] QPointF petOriginFromStored(const QPointF& stored) const
    {
        return petOriginFromStored(stored, mainHeight());
    }
    [[nodiscard]] QPointF storedFromPetOrigin(const QPointF& origin) const
    {
        return storedFromPetOrigin(origin, mainHeight());
    }

Q_SIGNALS:
    /// A screen was added or removed, the main screen changed, or a geometry changed.
    void screensChanged();

private:
    void watchScreen(class QScreen* screen);
    /// The main screen's frame in Qt coordinates; the fallback without a screen keeps the
    /// conversions defined (origin at 0, height 1080).
    [[nodiscard]] QRect mainQtFrame() const;

    bool m_live;
    QList<ScreenGeometry> m_fixed;
};
