#pragma once

#include <QWidget>

/// The pet window's content: hands every pointer entry and exit to the opacity manager.
class OpacityTrackingView final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(OpacityTrackingView)

public:
    explicit OpacityTrackingView(QWidget* parent = nullptr);

protected:
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
};
