#include "widgets/FocusRing.h"

#include "widgets/ReadableColour.h"

#include <QEvent>
#include <QFocusEvent>
#include <QPainter>
#include <QPalette>
#include <QStyleOptionViewItem>
#include <QVariant>
#include <QWidget>

#include <algorithm>

namespace FocusRing {

bool shows(const QStyleOptionViewItem& option)
{
    // The view marks its current row with this flag only while it has the focus; a view
    // that was asked to paint for a picture, with no focus, shows none.
    if (!(option.state & QStyle::State_HasFocus) || !option.widget || !option.widget->hasFocus())
        return false;
    // A row made current by a click is the one the user sees working; no ring.
    const QVariant keyboard = option.widget->property(keyboardAtRow);
    return !keyboard.isValid() || keyboard.toBool();
}

QColor colour(const QPalette& palette, const QColor& background)
{
    return ReadableColour::on(palette.color(QPalette::Active, QPalette::Highlight), background, contrast);
}

void paint(QPainter& painter, const QRectF& rect, double radius, const QPalette& palette, const QColor& background)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    // Centred a half width in, so the straight edges fill whole pixels.
    const double inset = width / 2.0;
    painter.setPen(QPen(colour(palette, background), width));
    painter.setBrush(Qt::NoBrush);
    const double corner = std::max(0.0, radius - inset);
    painter.drawRoundedRect(rect.adjusted(inset, inset, -inset, -inset), corner, corner);
    painter.restore();
}

bool byKeyboard(const QWidget* widget, Qt::FocusReason reason, bool was)
{
    switch (reason) {
    case Qt::TabFocusReason:
    case Qt::BacktabFocusReason:
    case Qt::ShortcutFocusReason:
        return true;
    case Qt::MouseFocusReason:
        return false;
    case Qt::PopupFocusReason:
    case Qt::ActiveWindowFocusReason:
        return was;
    default:
        // Given by the program: marked once the keyboard has moved the focus in the window.
        return widget->window()->testAttribute(Qt::WA_KeyboardFocusChange);
    }
}

bool followFocus(const QWidget* widget, const QEvent* event, bool was)
{
    const auto* focus = static_cast<const QFocusEvent*>(event);
    switch (event->type()) {
    case QEvent::FocusIn:
        return byKeyboard(widget, focus->reason(), was);
    case QEvent::FocusOut:
        return focus->reason() == Qt::PopupFocusReason || focus->reason() == Qt::ActiveWindowFocusReason ? was : false;
    default:
        return was;
    }
}

namespace {

/// How far the ring stands from the control: its width and a pixel between.
constexpr int reach = width + 1;

/// The ring, a sibling laid over the control and around it, so the control needs no room of
/// its own for it.
class Halo final : public QWidget
{
public:
    explicit Halo(QWidget* control)
        : QWidget(control->parentWidget())
        , m_control(control)
    {
        setObjectName(QStringLiteral("focusHalo"));
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setFocusPolicy(Qt::NoFocus);
        hide();
        control->installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched != m_control)
            return false;
        switch (event->type()) {
        case QEvent::FocusIn:
        case QEvent::FocusOut:
            m_keyboard = followFocus(m_control, event, m_keyboard);
            break;
        case QEvent::ParentChange:
            // A layout that takes the control into another widget takes its ring along.
            setParent(m_control->parentWidget());
            break;
        case QEvent::Move:
        case QEvent::Resize:
        case QEvent::Show:
        case QEvent::Hide:
            break;
        default:
            return false;
        }
        setGeometry(m_control->geometry().adjusted(-reach, -reach, reach, reach));
        setVisible(parentWidget() && m_keyboard && m_control->hasFocus() && m_control->isVisible());
        if (isVisible())
            raise();
        return false;
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        const QWidget* under = parentWidget();
        const QPalette palette = under->palette();
        QPainter painter(this);
        FocusRing::paint(painter, QRectF(rect()), height() / 2.0, palette, palette.color(under->backgroundRole()));
    }

private:
    QWidget* m_control;
    bool m_keyboard = false;
};

} // namespace

void ringAround(QWidget* control)
{
    if (control->parentWidget())
        new Halo(control);
}

} // namespace FocusRing
