#include "widgets/SecondaryText.h"

#include "platform/SecondaryColour.h"

#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>

#include <initializer_list>

using namespace Qt::StringLiterals;

namespace {

using SecondaryColour::dimmed;
using SecondaryColour::opaqueOver;

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
    return SecondaryColour::contrast(a, b);
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
