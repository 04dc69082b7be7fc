#include "platform/Screens.h"

#include <QGuiApplication>
#include <QScreen>

#include <algorithm>
#include <cmath>

namespace {

// Window coordinates are whole pixels; a NaN or absurd value from a bad stored position
// must not turn into an undefined integer.
int toPixel(double value)
{
    constexpr double limit = 1'000'000.0;
    if (std::isnan(value))
        return 0;
    return int(std::lround(std::clamp(value, -limit, limit)));
}

} // namespace

Screens::Screens(QObject* parent)
    : QObject(parent)
    , m_live(true)
{
    auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
    if (!app)
        return;
    connect(app, &QGuiApplication::screenAdded, this, [this](QScreen* screen) {
        watchScreen(screen);
        Q_EMIT screensChanged();
    });
    connect(app, &QGuiApplication::screenRemoved, this, &Screens::screensChanged);
    connect(app, &QGuiApplication::primaryScreenChanged, this, &Screens::screensChanged);
    const auto screens = QGuiApplication::screens();
    for (QScreen* screen : screens)
        watchScreen(screen);
}

Screens::Screens(const QList<ScreenGeometry>& screens, QObject* parent)
    : QObject(parent)
    , m_live(false)
    , m_fixed(screens)
{
}

void Screens::watchScreen(QScreen* screen)
{
    connect(screen, &QScreen::geometryChanged, this, &Screens::screensChanged);
    connect(screen, &QScreen::availableGeometryChanged, this, &Screens::screensChanged);
}

void Screens::setGeometries(const QList<ScreenGeometry>& screens)
{
    if (m_live)
        return;
    m_fixed = screens;
    Q_EMIT screensChanged();
}

QList<ScreenGeometry> Screens::geometries() const
{
    if (!m_live)
        return m_fixed;
    QList<ScreenGeometry> result;
    QScreen* primary = QGuiApplication::primaryScreen();
    if (!primary)
        return result;
    result.append({ primary->geometry(), primary->availableGeometry() });
    const auto screens = QGuiApplication::screens();
    for (QScreen* screen : screens) {
        if (screen != primary)
            result.append({ screen->geometry(), screen->availableGeometry() });
    }
    return result;
}

bool Screens::hasMainScreen() const
{
    if (!m_live)
        return !m_fixed.isEmpty();
    return QGuiApplication::primaryScreen() != nullptr;
}

QRect Screens::mainQtFrame() const
{
    if (!m_live)
        return m_fixed.isEmpty() ? QRect(0, 0, 0, int(fallbackMainHeight)) : m_fixed.first().frame;
    QScreen* primary = QGuiApplication::primaryScreen();
    return primary ? primary->geometry() : QRect(0, 0, 0, int(fallbackMainHeight));
}

double Screens::mainHeight() const
{
    return hasMainScreen() ? mainQtFrame().height() : fallbackMainHeight;
}

std::optional<QRectF> Screens::mainFrame() const
{
    if (!hasMainScreen())
        return std::nullopt;
    return fromQtRect(mainQtFrame());
}

std::optional<QRectF> Screens::mainVisibleFrame() const
{
    const QList<ScreenGeometry> all = geometries();
    if (all.isEmpty())
        return std::nullopt;
    return fromQtRect(all.first().available);
}

QList<QRectF> Screens::frames() const
{
    QList<QRectF> result;
    for (const ScreenGeometry& g : geometries())
        result.append(fromQtRect(g.frame));
    return result;
}

QList<QRectF> Screens::visibleFrames() const
{
    QList<QRectF> result;
    for (const ScreenGeometry& g : geometries())
        result.append(fromQtRect(g.available));
    return result;
}

// The model's y axis flips around the main screen's bottom edge, which in Qt coordinates
// lies at main.y() + main.height(); the model's x is Qt's x shifted so the main screen
// starts at 0.
QRect Screens::toQtRect(const QRectF& modelRect) const
{
    const QRect main = mainQtFrame();
    const double bottom = double(main.y()) + main.height();
    const double left = modelRect.x() + main.x();
    const double top = bottom - modelRect.y() - modelRect.height();
    return { toPixel(left), toPixel(top), toPixel(modelRect.width()), toPixel(modelRect.height()) };
}

QRectF Screens::fromQtRect(const QRect& qtRect) const
{
    const QRect main = mainQtFrame();
    const double bottom = double(main.y()) + main.height();
    return { double(qtRect.x()) - main.x(), bottom - qtRect.y() - qtRect.height(), double(qtRect.width()),
        double(qtRect.height()) };
}

QPoint Screens::toQtPoint(const QPointF& modelPoint) const
{
    const QRect main = mainQtFrame();
    const double bottom = double(main.y()) + main.height();
    return { toPixel(modelPoint.x() + main.x()), toPixel(bottom - modelPoint.y()) };
}

QPointF Screens::fromQtPoint(const QPointF& qtPoint) const
{
    const QRect main = mainQtFrame();
    const double bottom = double(main.y()) + main.height();
    return { qtPoint.x() - main.x(), bottom - qtPoint.y() };
}

QPointF Screens::petOriginFromStored(const QPointF& stored, double mainHeight)
{
    return { stored.x(), mainHeight - stored.y() - petSize };
}

QPointF Screens::storedFromPetOrigin(const QPointF& origin, double mainHeight)
{
    return { origin.x(), mainHeight - origin.y() - petSize };
}
