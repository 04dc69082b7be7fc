#include "widgets/SecondaryText.h"

#include "platform/SecondaryColour.h"

#include <QAbstractScrollArea>
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
                palette.setColor(group, QPalette::PlaceholderText,
                    dimmed(natural.color(group, QPalette::Text), { placeholderBackdrop(palette, group) }));
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
    /// What the placeholder stands on, inside the field: its base or, for an editor that fills
    /// nothing, whatever shows through it; with the tint laid over.
    QColor placeholderBackdrop(const QPalette& palette, QPalette::ColorGroup group) const
    {
        const auto* area = qobject_cast<const QAbstractScrollArea*>(m_widget);
        QColor under;
        if (area && !area->viewport()->autoFillBackground())
            under = SecondaryText::backdrop(m_widget, group);
        else
            // The viewport takes the field's colours, which reach it only after the field.
            under = palette.color(group, area ? area->viewport()->backgroundRole() : QPalette::Base);
        if (under.alpha() < 255)
            under = opaqueOver(under,
                m_widget->parentWidget() ? SecondaryText::backdrop(m_widget->parentWidget(), group)
                                         : QApplication::palette().color(group, QPalette::Window));
        return m_tint.isValid() ? opaqueOver(m_tint, under) : under;
    }

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

QColor SecondaryText::backdrop(const QWidget* widget, QPalette::ColorGroup group)
{
    if (const auto* area = qobject_cast<const QAbstractScrollArea*>(widget))
        widget = area->viewport();
    // The fills from the top down, until one hides all below it.
    QList<QColor> fills;
    for (const QWidget* w = widget; w; w = w->parentWidget()) {
        if (w->isWindow()) {
            if (!w->testAttribute(Qt::WA_TranslucentBackground))
                fills.append(w->palette().color(group, w->backgroundRole()));
            break;
        }
        if (!w->autoFillBackground())
            continue;
        fills.append(w->palette().color(group, w->backgroundRole()));
        if (fills.last().alpha() == 255)
            break;
    }
    QColor shown = QApplication::palette().color(group, QPalette::Window);
    for (auto fill = fills.crbegin(); fill != fills.crend(); ++fill)
        shown = opaqueOver(*fill, shown);
    return shown;
}

void SecondaryText::apply(QWidget* widget, Part part, const QColor& tint)
{
    follower(widget, part, tint)->setSecondary(true);
}

void SecondaryText::setSecondary(QWidget* widget, bool secondary)
{
    follower(widget, Part::text, {})->setSecondary(secondary);
}
