#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <memory>

class QAbstractButton;
class QMessageBox;
class QWidget;

/// Modal message boxes. Texts are always shown as plain text, never as markup.
///
/// Tests queue answers with `setNextAnswers`: while an answer is queued, `show` records the
/// alert and returns that answer without opening anything, so nothing blocks.
class Alerts final
{
public:
    enum class Style {
        Informational,
        Warning,
        Critical,
    };

    struct Record
    {
        Style style = Style::Informational;
        QString title;
        QString text;
        QStringList buttons;
        int destructiveButton = -1;
    };

    /// Runs a modal box with `title` as its headline, `text` below it, and `buttons` in the
    /// order given (the first is the default; one titled "取消" answers the Escape key).
    /// Returns the index of the pressed button, or -1 when the box was dismissed otherwise.
    /// Without buttons the box has a single standard OK button (index 0). The button at
    /// `destructiveButton` is drawn in red, as one that throws something away.
    ///
    /// The box is at least `minimumWidth` wide and wider for longer lines, so short Chinese
    /// sentences stay on one line.
    static int show(Style style, const QString& title, const QString& text, const QStringList& buttons,
        QWidget* parent = nullptr, int destructiveButton = -1);

    /// The box that `show` runs for `alert`, built and ready but not shown, and its buttons in
    /// the order `alert` names them.
    struct Built
    {
        std::unique_ptr<QMessageBox> box;
        QList<QAbstractButton*> buttons;
    };
    [[nodiscard]] static Built build(const Record& alert, QWidget* parent = nullptr);

    static constexpr int minimumWidth = 360;
    static constexpr int maximumWidth = 560;

    /// Readies a message box opened elsewhere like the boxes of `show`, once its texts are
    /// set: its text at least `minimumWidth` wide and wider for longer lines, up to
    /// `maximumWidth`, and its texts drawn by the style, which draws emoji in colour. Like
    /// every box of `show`, it cannot be left minimised.
    static void prepare(QMessageBox& box);

    static void setNextAnswers(const QList<int>& answers);
    /// The alerts answered from the queue, oldest first.
    [[nodiscard]] static QList<Record> answeredAlerts();
    static void clearAnsweredAlerts();

    Alerts() = delete;
};
