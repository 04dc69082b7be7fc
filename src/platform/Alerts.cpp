#include "platform/Alerts.h"

#include "platform/SecondaryColour.h"
#include "platform/WindowFront.h"

#include <QApplication>
#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QSpacerItem>
#include <QTimer>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

struct Seam
{
    QList<int> nextAnswers;
    QList<Alerts::Record> answered;
};

Seam& seam()
{
    static Seam instance;
    return instance;
}

QMessageBox::Icon iconFor(Alerts::Style style)
{
    switch (style) {
    case Alerts::Style::Warning:
        return QMessageBox::Warning;
    case Alerts::Style::Critical:
        return QMessageBox::Critical;
    case Alerts::Style::Informational:
        break;
    }
    return QMessageBox::Information;
}

/// Keeps a destructive button's title red and readable on its face, in the palette it is
/// built in and in any the desktop switches to while the box is open.
class DestructiveTint final : public QObject
{
public:
    explicit DestructiveTint(QAbstractButton* button)
        : QObject(button)
    {
        button->installEventFilter(this);
        apply(button);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        // Not while the button is being taken apart: it is a plain widget by then.
        auto* button = qobject_cast<QAbstractButton*>(watched);
        if (!button)
            return false;
        if (event->type() == QEvent::PaletteChange || event->type() == QEvent::ParentChange) {
            apply(button);
        } else if (event->type() == QEvent::ApplicationPaletteChange) {
            // The box and its button row take the new palette in no fixed order.
            const QPointer<QAbstractButton> later(button);
            QTimer::singleShot(0, this, [later] {
                if (later)
                    apply(later);
            });
        }
        return false;
    }

private:
    static void apply(QAbstractButton* button)
    {
        const QPalette natural
            = button->parentWidget() ? button->parentWidget()->palette() : QApplication::palette(button);
        const QColor face = natural.color(QPalette::Button);
        // Styles shade a face above and below its colour (Fusion runs a gradient over it, on
        // a dark face up to four tenths lighter, a little more under the mouse): the title
        // reads on the shades behind it, a little above 4.5:1 so that its smoothed strokes
        // still do.
        constexpr double aim = SecondaryColour::minimumContrast + 0.1;
        const QColor red = SecondaryColour::readable(
            SecondaryColour::readable(QColor(197, 34, 31), face.lighter(140), aim), face.darker(112), aim);
        if (button->palette().color(QPalette::ButtonText) == red)
            return; // also ends the palette change that setting it causes
        QPalette palette = button->palette();
        palette.setColor(QPalette::ButtonText, red);
        button->setPalette(palette);
    }
};

/// Keeps a box in sight while it waits for its answer. It blocks every other window of the
/// program, the pet's too, so once minimised nothing would bring it back: window managers
/// that read the Motif hints offer no minimise button, and where one minimises it anyway
/// (openbox does), it comes straight back.
class StaysInSight final : public QObject
{
public:
    explicit StaysInSight(QWidget* box)
        : QObject(box)
    {
        box->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        auto* box = qobject_cast<QWidget*>(watched);
        if (!box)
            return false;
        if (event->type() == QEvent::Show) {
            WindowFront::refuseMinimise(*box);
        } else if (event->type() == QEvent::WindowStateChange && box->isMinimized()) {
            // Once the window manager has finished minimising it.
            const QPointer<QWidget> later(box);
            QTimer::singleShot(0, this, [later] {
                if (later && later->isVisible() && later->isMinimized())
                    WindowFront::bringForward(*later);
            });
        }
        return false;
    }
};

} // namespace

int Alerts::show(Style style, const QString& title, const QString& text, const QStringList& buttons, QWidget* parent,
    int destructiveButton)
{
    Seam& s = seam();
    if (!s.nextAnswers.isEmpty()) {
        s.answered.append({ style, title, text, buttons, destructiveButton });
        return s.nextAnswers.takeFirst();
    }

    const Built built = build({ style, title, text, buttons, destructiveButton }, parent);
    built.box->exec();
    return int(built.buttons.indexOf(built.box->clickedButton()));
}

Alerts::Built Alerts::build(const Record& alert, QWidget* parent)
{
    Built built { std::make_unique<QMessageBox>(parent), {} };
    QMessageBox& box = *built.box;
    box.setIcon(iconFor(alert.style));
    box.setTextFormat(Qt::PlainText);
    box.setText(alert.title);
    box.setInformativeText(alert.text);
    // QMessageBox guesses the informative text's format on its own; server and user text
    // must never be read as markup.
    if (auto* informative = box.findChild<QLabel*>(u"qt_msgbox_informativelabel"_s))
        informative->setTextFormat(Qt::PlainText);

    QList<QAbstractButton*>& added = built.buttons;
    const QStringList& buttons = alert.buttons;
    if (buttons.isEmpty()) {
        added.append(box.addButton(QMessageBox::Ok));
    } else {
        for (qsizetype i = 0; i < buttons.size(); ++i) {
            const QString& label = buttons.at(i);
            const QMessageBox::ButtonRole role = i == 0 ? QMessageBox::AcceptRole
                : label == u"取消"_s                    ? QMessageBox::RejectRole
                                                        : QMessageBox::ActionRole;
            QPushButton* button = box.addButton(label, role);
            // Also in the first place, where it keeps its accept role so as not to move.
            if (label == u"取消"_s)
                box.setEscapeButton(button);
            added.append(button);
        }
    }
    if (auto* first = qobject_cast<QPushButton*>(added.first()))
        box.setDefaultButton(first);
    if (alert.destructiveButton >= 0 && alert.destructiveButton < added.size())
        new DestructiveTint(added.at(alert.destructiveButton));

    prepare(box);
    return built;
}

void Alerts::prepare(QMessageBox& box)
{
    new StaysInSight(&box);
    // A selectable label lays its text out on its own, past the style, and would draw emoji
    // in black and white. Alert texts are read, not copied.
    for (QLabel* label : box.findChildren<QLabel*>()) {
        if (label->objectName() == u"qt_msgbox_label"_s || label->objectName() == u"qt_msgbox_informativelabel"_s)
            label->setTextInteractionFlags(Qt::NoTextInteraction);
    }

    // Left alone, the box wraps at about 190 px and breaks Chinese sentences mid-word. Its
    // width follows the longest line instead, within bounds; the spacer holds it there.
    const QFontMetrics metrics(box.font());
    int longest = 0;
    for (const QString& line : QString(box.text() + u'\n' + box.informativeText()).split(u'\n'))
        longest = std::max(longest, metrics.horizontalAdvance(line));
    const int textWidth = std::clamp(longest + 8, minimumWidth, maximumWidth);
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout()))
        grid->addItem(new QSpacerItem(textWidth, 0, QSizePolicy::Minimum, QSizePolicy::Fixed), grid->rowCount(),
            grid->columnCount() - 1);
}

void Alerts::setNextAnswers(const QList<int>& answers)
{
    seam().nextAnswers = answers;
}

QList<Alerts::Record> Alerts::answeredAlerts()
{
    return seam().answered;
}

void Alerts::clearAnsweredAlerts()
{
    seam().answered.clear();
}
