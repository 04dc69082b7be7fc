#include "platform/Alerts.h"

#include <QLabel>
#include <QMessageBox>
#include <QPushButton>

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

int Alerts::show(Style style, const QString& title, const QString& text, const QStringList& buttons, QWidget* parent)
{
    Seam& s = seam();
    if (!s.nextAnswers.isEmpty()) {
        s.answered.append({ style, title, text, buttons });
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
            if (role == QMessageBox::RejectRole)
                box.setEscapeButton(button);
            added.append(button);
        }
    }
    if (auto* first = qobject_cast<QPushButton*>(added.first()))
        box.setDefaultButton(first);
    box.exec();
    return int(added.indexOf(box.clickedButton()));
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
