#include "widgets/ButtonStyle.h"

#include "widgets/ButtonFollower.h"

#include "platform/SecondaryColour.h"
#include "widgets/ReadableColour.h"
#include "widgets/TextStyle.h"

#include <QApplication>
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
    const QString box = u"border-radius: %1px; padding: %2px %3px;"_s.arg(radius).arg(vertical).arg(horizontal);

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
               "QAbstractButton:focus { border: 1px solid %4; }"
               "QAbstractButton:disabled { color: %5; }"_s.arg(css(title), box, css(mix(title, background, 0.55)),
                   css(palette.color(QPalette::Highlight)), css(mix(title, background, 0.4)));
    case Style::bordered:
        // A grey face a shade off the background, light or dark alike.
        face = mix(text, background, 0.1);
        hover = mix(text, background, 0.14);
        pressed = mix(text, background, 0.22);
        title = ReadableColour::on(foreground.isValid() ? foreground : text, face, 4.5);
        break;
    case Style::borderedProminent: {
        const QColor white(255, 255, 255);
        face = prominentFace(palette);
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
           "QAbstractButton:focus { border: 1px solid %6; }"
           "QAbstractButton:disabled { background: %7; color: %8; }"_s.arg(css(face), css(title), box, css(hover),
               css(pressed),
               css(style == Style::borderedProminent ? face.darker(140) : palette.color(QPalette::Highlight)),
               css(mix(face, background, 0.5)), css(mix(title, mix(face, background, 0.5), 0.5)));
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
}

QPushButton* create(const QString& text, Style style, ControlSize size, QWidget* parent)
{
    auto* button = new QPushButton(text, parent);
    apply(button, style, size);
    return button;
}

} // namespace ButtonStyle
