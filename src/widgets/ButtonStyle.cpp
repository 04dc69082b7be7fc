#include "widgets/ButtonStyle.h"

#include "widgets/ButtonFollower.h"

#include "platform/KeyboardFocus.h"
#include "platform/SecondaryColour.h"
#include "widgets/FocusRing.h"
#include "widgets/ReadableColour.h"
#include "widgets/TextStyle.h"

#include <QApplication>
#include <QPainter>
#include <QPushButton>

using namespace Qt::StringLiterals;

namespace ButtonStyle {

namespace {

struct Metrics
{
    int vertical;
    int horizontal;
    int radius;
};

Metrics metricsFor(ControlSize size)
{
    switch (size) {
    case ControlSize::small:
        return { 2, 8, 5 };
    case ControlSize::regular:
        return { 4, 12, 6 };
    case ControlSize::large:
        return { 7, 16, 8 };
    }
    return { 4, 12, 6 };
}

QString css(const QColor& colour)
{
    return colour.alpha() == 255
        ? colour.name()
        : u"rgba(%1, %2, %3, %4)"_s.arg(colour.red()).arg(colour.green()).arg(colour.blue()).arg(colour.alpha());
}

QColor mix(const QColor& top, const QColor& bottom, qreal share)
{
    QColor laid = top;
    laid.setAlphaF(share);
    return SecondaryColour::opaqueOver(laid, bottom);
}

/// The palette the button stands in, without the colours its own sheet gives it.
QPalette surroundings(const QAbstractButton* button)
{
    return button->parentWidget() ? button->parentWidget()->palette() : QApplication::palette(button);
}

/// The face `style` gives a button on `background`, or an invalid colour where it has none.
QColor faceOf(Style style, const QPalette& palette, const QColor& background, const QColor& text)
{
    switch (style) {
    case Style::plain:
    case Style::borderless:
        return {};
    case Style::bordered:
        // A grey face a shade off the background, light or dark alike.
        return mix(text, background, 0.1);
    case Style::borderedProminent:
        return prominentFace(palette);
    }
    return {};
}

/// The lists' focus ring on a button the keyboard has reached. The sheet's own focus border
/// is a single pixel a shade off the face, which the eye does not find; the ring is drawn
/// over the button as a child on top, so neither the sheet's box nor the layout changes.
/// The mouse gives a button the focus too, but a click needs no mark of where it went: the
/// sheet draws none for the focus, and the ring follows KeyboardFocus as every ring does.
class FocusMark final : public QWidget
{
    Q_OBJECT

public:
    FocusMark(QAbstractButton* button, Style style, ControlSize size)
        : QWidget(button)
        , m_button(button)
        , m_style(style)
        , m_size(size)
    {
        setObjectName(u"buttonFocusMark"_s);
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setFocusPolicy(Qt::NoFocus);
        setGeometry(button->rect());
        hide();
        button->installEventFilter(this);
        KeyboardFocus::whenChanged(this, [this] { follow(); });
    }

    void set(Style style, ControlSize size)
    {
        m_style = style;
        m_size = size;
        update();
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched != m_button)
            return false;
        switch (event->type()) {
        case QEvent::FocusIn:
        case QEvent::FocusOut:
        case QEvent::Resize:
            follow();
            break;
        default:
            break;
        }
        return false;
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        const QPalette palette = surroundings(m_button);
        const QWidget* under = m_button->parentWidget();
        const QColor background = palette.color(under ? under->backgroundRole() : QPalette::Window);
        const QColor text
            = palette.color(under && under->backgroundRole() == QPalette::Base ? QPalette::Text : QPalette::WindowText);
        const QColor face = faceOf(m_style, palette, background, text);
        const int radius = TextStyle::scaled(metricsFor(m_size).radius);
        QPainter painter(this);
        if (!face.isValid()) {
            FocusRing::paint(painter, QRectF(rect()), radius, palette, background);
            return;
        }
        // On a face the ring stands a pixel in, so that a rim of the face parts it from the
        // window around, which it need not stand out from (the prominent face's pale ring on
        // a light window); it stands out from the face on both its sides.
        FocusRing::paint(painter, QRectF(rect()).adjusted(1, 1, -1, -1), radius - 1, palette, face);
    }

private:
    void follow()
    {
        setGeometry(m_button->rect());
        setVisible(KeyboardFocus::shows(m_button));
        if (isVisible())
            raise();
    }

    QAbstractButton* m_button;
    Style m_style;
    ControlSize m_size;
};

/// Keeps one button's style sheet in step with the palette.
class Keeper final : public ButtonFollower
{
public:
    Keeper(QAbstractButton* button, Style style, ControlSize size, const QColor& foreground)
        : ButtonFollower(button, false)
        , m_style(style)
        , m_size(size)
        , m_foreground(foreground)
    {
        setObjectName(u"buttonStyleKeeper"_s);
    }

    void set(Style style, ControlSize size, const QColor& foreground)
    {
        m_style = style;
        m_size = size;
        m_foreground = foreground;
        refresh();
    }

protected:
    void refresh() override
    {
        if (m_updating)
            return;
        m_updating = true;
        const QString sheet = sheetFor(button(), m_style, m_size, m_foreground);
        if (button()->styleSheet() != sheet)
            button()->setStyleSheet(sheet);
        m_updating = false;
    }

private:
    Style m_style;
    ControlSize m_size;
    QColor m_foreground;
    bool m_updating = false;
};

} // namespace

QColor prominentFace(const QPalette& palette)
{
    return ReadableColour::on(palette.color(QPalette::Highlight), QColor(255, 255, 255), 4.5);
}

QString sheetFor(const QAbstractButton* button, Style style, ControlSize size, const QColor& foreground)
{
    const QPalette palette = surroundings(button);
    const QWidget* under = button->parentWidget();
    const QColor background = palette.color(under ? under->backgroundRole() : QPalette::Window);
    const QColor text
        = palette.color(under && under->backgroundRole() == QPalette::Base ? QPalette::Text : QPalette::WindowText);
    const Metrics metrics = metricsFor(size);
    // A symbol alone on a button without a face needs no room around it: it is the button.
    const bool bare = (style == Style::plain || style == Style::borderless) && button->text().isEmpty();
    const int vertical = bare ? 0 : TextStyle::scaled(metrics.vertical);
    const int horizontal = bare ? 0 : TextStyle::scaled(metrics.horizontal);
    const int radius = TextStyle::scaled(metrics.radius);
    // No outline: the style's own focus rectangle would mark a click as well; the ring marks
    // the keyboard's focus instead.
    const QString box
        = u"border-radius: %1px; padding: %2px %3px; outline: none;"_s.arg(radius).arg(vertical).arg(horizontal);

    QColor face;
    QColor title;
    QColor hover;
    QColor pressed;
    switch (style) {
    case Style::plain:
    case Style::borderless:
        if (foreground.isValid())
            title = ReadableColour::on(foreground, background, 4.5);
        else
            title = style == Style::plain ? text
                                          : ReadableColour::on(palette.color(QPalette::Highlight), background, 4.5);
        return u"QAbstractButton { background: transparent; border: 1px solid transparent; color: %1; %2 }"
               "QAbstractButton:pressed { color: %3; }"
               "QAbstractButton:disabled { color: %4; }"_s.arg(
                   css(title), box, css(mix(title, background, 0.55)), css(mix(title, background, 0.4)));
    case Style::bordered:
        face = faceOf(style, palette, background, text);
        hover = mix(text, background, 0.14);
        pressed = mix(text, background, 0.22);
        title = ReadableColour::on(foreground.isValid() ? foreground : text, face, 4.5);
        break;
    case Style::borderedProminent: {
        const QColor white(255, 255, 255);
        face = faceOf(style, palette, background, text);
        hover = face.lighter(108);
        if (SecondaryColour::contrast(white, hover) < 4.5)
            hover = face;
        pressed = face.darker(115);
        title = foreground.isValid() ? ReadableColour::on(foreground, face, 4.5) : white;
        break;
    }
    }
    return u"QAbstractButton { background: %1; color: %2; border: 1px solid transparent; %3 }"
           "QAbstractButton:hover { background: %4; }"
           "QAbstractButton:pressed { background: %5; }"
           "QAbstractButton:disabled { background: %6; color: %7; }"_s.arg(css(face), css(title), box, css(hover),
               css(pressed), css(mix(face, background, 0.5)), css(mix(title, mix(face, background, 0.5), 0.5)));
}

void apply(QAbstractButton* button, Style style, ControlSize size, const QColor& foreground)
{
    if (auto* push = qobject_cast<QPushButton*>(button))
        push->setAutoDefault(false);
    button->setCursor(Qt::PointingHandCursor);
    button->setFont(size == ControlSize::small ? TextStyle::font(TextStyle::Style::subheadline)
                                               : TextStyle::font(TextStyle::Style::body));
    auto* keeper = button->findChild<Keeper*>(u"buttonStyleKeeper"_s, Qt::FindDirectChildrenOnly);
    if (!keeper)
        keeper = new Keeper(button, style, size, foreground);
    keeper->set(style, size, foreground);
    auto* mark = button->findChild<FocusMark*>(u"buttonFocusMark"_s, Qt::FindDirectChildrenOnly);
    if (!mark)
        mark = new FocusMark(button, style, size);
    mark->set(style, size);
}

QPushButton* create(const QString& text, Style style, ControlSize size, QWidget* parent)
{
    auto* button = new QPushButton(text, parent);
    apply(button, style, size);
    return button;
}

} // namespace ButtonStyle

#include "ButtonStyle.moc"
