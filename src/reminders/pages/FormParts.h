#pragma once

#include <QString>

class PlainTextEditor;
class QFormLayout;
class QGroupBox;
class QWidget;

/// Pieces of the alarm and reminder forms.
namespace FormParts {

/// A titled group of the form (no title: a plain group) with a form layout inside.
[[nodiscard]] QGroupBox* section(const QString& title, QWidget* parent, QFormLayout** layout);
/// Makes `editor` as tall as its text, between `minLines` and `maxLines` lines, scrolling
/// beyond that.
void growWithText(PlainTextEditor* editor, int minLines, int maxLines);

} // namespace FormParts
