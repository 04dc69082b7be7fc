#pragma once

#include <QSize>
#include <QString>

class PlainLabel;
class PlainTextEditor;
class QBoxLayout;
class QDialog;
class QFormLayout;
class QGroupBox;
class QFrame;
class QPushButton;
class QWidget;

/// Small pieces the alarm and reminder pages and their forms share.
namespace PageParts {

/// A heading in the bold title 2 style.
[[nodiscard]] PlainLabel* heading(const QString& text, QWidget* parent);
/// A one-line note in the caption style, red (as dark or light a red as reads on the page).
[[nodiscard]] PlainLabel* warningNote(const QString& text, QWidget* parent);
[[nodiscard]] QFrame* divider(QWidget* parent);
/// The filled accent button of a form or page header.
[[nodiscard]] QPushButton* prominentButton(const QString& text, QWidget* parent);
/// The quieter bordered button beside it.
[[nodiscard]] QPushButton* borderedButton(const QString& text, QWidget* parent);
/// The centred "取消" and "保存" row at the foot of a form, added to `column`: "取消" rejects
/// `form`. Returns "保存" for the form to connect.
[[nodiscard]] QPushButton* addFormButtons(QDialog* form, QBoxLayout* column);
/// "添加…" in the page header: a prominent button led by a plus in a circle.
[[nodiscard]] QPushButton* addButton(const QString& text, QWidget* parent);

/// The header of a management page, added to `column` with a divider under it: the title,
/// the "添加…" button (returned for the page to connect) and a warning note under them.
[[nodiscard]] QPushButton* addPageHeader(
    const QString& title, const QString& addText, const QString& note, QWidget* page, QBoxLayout* column);

/// Asks before the Delete key deletes the row titled `title`, a `kind` ("闹钟", "提醒"):
/// "取消" comes first and is the default, so Return or Escape keeps the row. True to delete.
[[nodiscard]] bool askToDelete(const QString& kind, const QString& title, QWidget* parent);

/// A titled group of a form (no title: a plain group) with a form layout inside.
[[nodiscard]] QGroupBox* section(const QString& title, QWidget* parent, QFormLayout** layout);
/// Makes `editor` as tall as its text, between `minLines` and `maxLines` lines, scrolling
/// beyond that.
void growWithText(PlainTextEditor* editor, int minLines, int maxLines);
/// Fixes `form` at its stated size, grown with the application font, and further where its
/// fields as they are shown now need more room: a desktop's own large font is the baseline
/// the type scale grows from, so only the content can tell.
void fitForm(QDialog* form, QSize stated);

} // namespace PageParts
