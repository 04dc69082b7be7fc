#pragma once

#include <QWidget>

/// The pet window's content: announces every pointer entry and exit (the window manager
/// hands them to the opacity manager).
class OpacityTrackingView final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(OpacityTrackingView)

public:
    explicit OpacityTrackingView(QWidget* parent = nullptr);

Q_SIGNALS:
    void pointerEntered();
    void pointerExited();

protected:
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
};
