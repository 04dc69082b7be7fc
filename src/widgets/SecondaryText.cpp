#include "widgets/SecondaryText.h"

#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <cmath>
#include <initializer_list>

using namespace Qt::StringLiterals;

namespace {

/// How far towards its background secondary text goes when the contrast allows it.
constexpr int dimmestPercent = 50;
/// Above the least contrast: the thin strokes of small text are smoothed a shade lighter
/// than their colour, and a tint blended by the painter rounds differently from our sum;
/// the text must still reach the least contrast on screen.
constexpr double aimedContrast = SecondaryText::minimumContrast + 0.5;

double linear(double channel)
{
    return channel <= 0.04045 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
}

double luminance(const QColor& colour)
{
    const QColor rgb = colour.toRgb();
    return 0.2126 * linear(rgb.redF()) + 0.7152 * linear(rgb.greenF()) + 0.0722 * linear(rgb.blueF());
}

/// `top` laid over opaque `bottom` at `weight` (0: only bottom, 1: only top), rounded to
/// what the screen can show, so the contrast checked is the contrast drawn.
QColor blend(const QColor& top, const QColor& bottom, double weight)
{
    const QColor t = top.toRgb();
    const QColor b = bottom.toRgb();
    const auto channel
        = [weight](int over, int under) { return int(std::lround(over * weight + under * (1 - weight))); };
    return { channel(t.red(), b.red()), channel(t.green(), b.green()), channel(t.blue(), b.blue()) };
}

QColor opaqueOver(const QColor& colour, const QColor& background)
{
    return blend(colour, background, colour.alphaF());
}

/// The colour closest to `background` on the way from `text`, at most half-way, that keeps
/// the least contrast against every one of `backgrounds` (the first is the one it moves towards).
QColor dimmed(const QColor& text, const QList<QColor>& backgrounds)
{
    const QColor solid = opaqueOver(text, backgrounds.first());
    for (int percent = dimmestPercent; percent < 100; ++percent) {
        const QColor candidate = blend(solid, backgrounds.first(), percent / 100.0);
        if (std::all_of(backgrounds.cbegin(), backgrounds.cend(), [&](const QColor& background) {
                return SecondaryText::contrast(candidate, background) >= aimedContrast;
            }))
            return candidate;
    }
    return solid;
}

/// Keeps one widget's secondary roles in step with the palette it inherits. It lives as the
/// widget's child, so it goes with it.
class Follower final : public QObject
{
public:
    Follower(QWidget* widget, SecondaryText::Part part, const QColor& tint)
        : QObject(widget)
        , m_widget(widget)
        , m_part(part)
        , m_tint(tint)
    {
        setObjectName(objectNameFor(part));
        widget->installEventFilter(this);
    }

    static QString objectNameFor(SecondaryText::Part part)
    {
        return part == SecondaryText::Part::text ? u"secondaryText"_s : u"secondaryPlaceholder"_s;
    }

    void setSecondary(bool secondary)
    {
        const bool was = m_secondary;
        m_secondary = secondary;
        if (secondary)
            update();
        else if (was)
            m_widget->setPalette(QPalette()); // all of it from its container again
    }

    void update()
    {
        if (m_updating || !m_secondary)
            return;
        m_updating = true;
        // The colours the widget would have without us: those of its container, or the
        // application's for a window.
        const QPalette natural
            = m_widget->parentWidget() ? m_widget->parentWidget()->palette() : QApplication::palette(m_widget);
        QPalette palette = m_widget->palette();
        for (const QPalette::ColorGroup group : { QPalette::Active, QPalette::Inactive }) {
            const auto backdrop = [&](QPalette::ColorRole role) {
                const QColor under = palette.color(group, role);
                return m_tint.isValid() ? opaqueOver(m_tint, under) : under;
            };
            // The text may also stand on what the widget or its container paints (a flat
            // button has no face of its own): it must read there too.
            const QColor own = backdrop(m_widget->backgroundRole());
            const QColor around = m_widget->parentWidget() ? backdrop(m_widget->parentWidget()->backgroundRole()) : own;
            const auto set = [&](QPalette::ColorRole target, QPalette::ColorRole source, QPalette::ColorRole under) {
                const QColor text = natural.color(group, source);
                palette.setColor(group, target, dimmed(text, { backdrop(under), own, around }));
            };
            if (m_part == SecondaryText::Part::placeholder) {
                set(QPalette::PlaceholderText, QPalette::Text, QPalette::Base);
                continue;
            }
            set(QPalette::WindowText, QPalette::WindowText, QPalette::Window);
            set(QPalette::Text, QPalette::Text, QPalette::Base);
            set(QPalette::ButtonText, QPalette::ButtonText, QPalette::Button);
        }
        if (palette != m_widget->palette() || palette.resolveMask() != m_widget->palette().resolveMask())
            m_widget->setPalette(palette);
        m_updating = false;
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == m_widget) {
            switch (event->type()) {
            case QEvent::PaletteChange:
            case QEvent::ParentChange:
                update();
                break;
            case QEvent::ApplicationPaletteChange:
                // Containers take the new palette in no fixed order: read theirs once all have.
                QTimer::singleShot(0, this, [this] { update(); });
                break;
            default:
                break;
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QWidget* m_widget;
    SecondaryText::Part m_part;
    QColor m_tint;
    bool m_secondary = true;
    bool m_updating = false;
};

Follower* follower(QWidget* widget, SecondaryText::Part part, const QColor& tint)
{
    auto* existing = dynamic_cast<Follower*>(
        widget->findChild<QObject*>(Follower::objectNameFor(part), Qt::FindDirectChildrenOnly));
    if (existing)
        return existing;
    return new Follower(widget, part, tint);
}

} // namespace

double SecondaryText::contrast(const QColor& a, const QColor& b)
{
    const double one = luminance(a);
    const double other = luminance(b);
    return (std::max(one, other) + 0.05) / (std::min(one, other) + 0.05);
}

QColor SecondaryText::colour(const QColor& text, const QColor& background, const QColor& tint)
{
    return dimmed(text, { tint.isValid() ? opaqueOver(tint, background) : background.toRgb() });
}

void SecondaryText::apply(QWidget* widget, Part part, const QColor& tint)
{
    follower(widget, part, tint)->setSecondary(true);
}

void SecondaryText::setSecondary(QWidget* widget, bool secondary)
{
    follower(widget, Part::text, {})->setSecondary(secondary);
}
