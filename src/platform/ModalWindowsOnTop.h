#pragma once

#include <QObject>

/// Lifts every modal window of the program (alerts, sheets, editors) into the stays-on-top
/// level as it is shown. The pet and its bubbles float in that level, and a dialog below it
/// opens at the screen's centre, right where the pet likes to sit, under the pet.
///
/// Watches the whole application while it exists.
class ModalWindowsOnTop final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ModalWindowsOnTop)

public:
    explicit ModalWindowsOnTop(QObject* parent = nullptr);
    ~ModalWindowsOnTop() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};
