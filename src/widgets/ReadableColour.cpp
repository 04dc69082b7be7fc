#include "widgets/ReadableColour.h"

#include "widgets/SecondaryText.h"

#include <QApplication>
#include <QEvent>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QWidget>

namespace ReadableColour {

namespace {

/// `top` laid over opaque `bottom` by its alpha.
QColor over(const QColor& top, const QColor& bottom)
{
    const double a = top.alphaF();
    const auto channel = [a](double t, double b) { return t * a + b * (1 - a); };
    return QColor::fromRgbF(channel(top.redF(), bottom.redF()), channel(top.greenF(), bottom.greenF()),
        channel(top.blueF(), bottom.blueF()));
}

void applyTint(QWidget* widget, const QColor& wanted, const QColor& backdrop)
{
    // The widget draws on its container's colours, or the application's for a window.
    const QPalette natural = widget->parentWidget() ? widget->parentWidget()->palette() : QApplication::palette(widget);
    QColor readable;
    QPalette::ColorRole role = QPalette::WindowText;
    if (qobject_cast<QPushButton*>(widget) && !static_cast<QPushButton*>(widget)->isFlat()) {
        // Styles shade a button's face a little above and below its palette colour (Fusion
        // runs a gradient over it): the title must read on the lightest and the darkest.
        const QColor face = natural.color(QPalette::Button);
        readable = on(on(wanted, face.lighter(125)), face.darker(112));
        role = QPalette::ButtonText;
    } else {
        const QColor window = natural.color(QPalette::Window);
        readable = on(wanted, backdrop.isValid() ? over(backdrop, window) : window);
    }
    if (widget->palette().color(role) == readable)
        return; // also ends the palette change that setting it causes
    QPalette palette = widget->palette();
    palette.setColor(role, readable);
    widget->setPalette(palette);
}

class TintKeeper final : public QObject
{
public:
    TintKeeper(QWidget* widget, const QColor& wanted, const QColor& backdrop)
        : QObject(widget)
        , m_wanted(wanted)
        , m_backdrop(backdrop)
    {
        widget->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        auto* widget = static_cast<QWidget*>(watched);
        if (event->type() == QEvent::PaletteChange || event->type() == QEvent::ParentChange) {
            applyTint(widget, m_wanted, m_backdrop);
        } else if (event->type() == QEvent::ApplicationPaletteChange) {
            // Containers take the new palette in no fixed order: read theirs once all have.
            const QPointer<QWidget> later(widget);
            QTimer::singleShot(0, this, [this, later] {
                if (later)
                    applyTint(later, m_wanted, m_backdrop);
            });
        }
        return false;
    }

private:
    QColor m_wanted;
    QColor m_backdrop;
};

} // namespace

QColor on(const QColor& wanted, const QColor& background, double ratio)
{
    return SecondaryColour::readable(wanted, background, ratio);
}

void tint(QWidget* widget, const QColor& wanted, const QColor& backdrop)
{
    applyTint(widget, wanted, backdrop);
    new TintKeeper(widget, wanted, backdrop);
}

} // namespace ReadableColour
