#include "platform/Alerts.h"

#include <QGridLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QSpacerItem>

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

} // namespace

int Alerts::show(Style style, const QString& title, const QString& text, const QStringList& buttons, QWidget* parent,
    int destructiveButton)
{
    Seam& s = seam();
    if (!s.nextAnswers.isEmpty()) {
        s.answered.append({ style, title, text, buttons, destructiveButton });
        return s.nextAnswers.takeFirst();
    }

    QMessageBox box(parent);
    box.setIcon(iconFor(style));
    box.setTextFormat(Qt::PlainText);
    box.setText(title);
    box.setInformativeText(text);
    // QMessageBox guesses the informative text's format on its own; server and user text
    // must never be read as markup.
    if (auto* informative = box.findChild<QLabel*>(u"qt_msgbox_informativelabel"_s))
        informative->setTextFormat(Qt::PlainText);

    QList<QAbstractButton*> added;
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
    if (destructiveButton >= 0 && destructiveButton < added.size()) {
        QAbstractButton* button = added.at(destructiveButton);
        QPalette palette = button->palette();
        const bool dark = palette.color(QPalette::Button).lightnessF() < 0.5;
        palette.setColor(QPalette::ButtonText, dark ? QColor(255, 105, 97) : QColor(197, 34, 31));
        button->setPalette(palette);
    }

    prepare(box);
    box.exec();
    return int(added.indexOf(box.clickedButton()));
}

void Alerts::prepare(QMessageBox& box)
{
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
