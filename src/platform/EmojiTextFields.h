#pragma once

class QWidget;

/// Line edits, text editors and selectable labels lay out their text themselves, past the
/// style's drawItemText that draws other labels and menus. They get the colour emoji font for their emoji sequences
/// through text formats instead; the text itself is never changed.
namespace EmojiTextFields {

/// Equips `widget` if it is a line edit, a text editor or a label and has not been equipped yet; any
/// other widget is left alone. Without a colour emoji font installed, nothing happens.
void equip(QWidget* widget);

} // namespace EmojiTextFields
