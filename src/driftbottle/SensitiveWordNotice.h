#pragma once

#include <QString>

class QMessageBox;
class QWidget;

/// The server refuses texts with words it will not carry; screens recognise the refusal by
/// its description and answer with one standard alert instead of the error text.
namespace SensitiveWordNotice {

[[nodiscard]] bool isRefusal(const QString& description);
/// Opens the alert "包含敏感词" window-modal over `parent`'s window, without waiting for it.
QMessageBox* open(QWidget* parent);

} // namespace SensitiveWordNotice
