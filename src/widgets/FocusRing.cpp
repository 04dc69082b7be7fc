#include "widgets/FocusRing.h"

#include "platform/KeyboardFocus.h"
#include "widgets/ReadableColour.h"

#include <QEvent>
#include <QPainter>
#include <QPalette>
#include <QPointer>
#include <QStyleOptionViewItem>
#include <QWidget>

#include <algorithm>

namespace FocusRing {

bool shows(const QStyleOptionViewItem& option)
{
    // The view marks its current row with this flag only while it has the focus; a view
    // that was asked to paint for a picture, with no focus, shows none, and one the mouse
    // works in needs none.
    return (option.state & QStyle::State_HasFocus) && option.widget && KeyboardFocus::shows(option.widget);
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
        // The keyboard watcher outlives a control removed on its own: its ring goes with it.
        connect(control, &QObject::destroyed, this, &QObject::deleteLater);
        KeyboardFocus::whenChanged(this, [this] { follow(); });
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched != m_control)
            return false;
        switch (event->type()) {
        case QEvent::ParentChange:
            // A layout that takes the control into another widget takes its ring along.
            setParent(m_control->parentWidget());
            break;
        case QEvent::FocusIn:
        case QEvent::FocusOut:
        case QEvent::Move:
        case QEvent::Resize:
        case QEvent::Show:
        case QEvent::Hide:
            break;
        default:
            return false;
        }
        follow();
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
    void follow()
    {
        if (!m_control)
            return;
        setGeometry(m_control->geometry().adjusted(-reach, -reach, reach, reach));
        setVisible(parentWidget() && KeyboardFocus::shows(m_control) && m_control->isVisible());
        if (isVisible())
            raise();
    }

    QPointer<QWidget> m_control;
};

} // namespace

void ringAround(QWidget* control)
{
    if (control->parentWidget())
        new Halo(control);
}

} // namespace FocusRing
