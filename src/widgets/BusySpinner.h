#pragma once

#include <QTimer>
#include <QWidget>

/// A small circular activity indicator; it turns only while it is visible.
class BusySpinner final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(BusySpinner)

public:
    explicit BusySpinner(int diameter = 16, QWidget* parent = nullptr);

    [[nodiscard]] QSize sizeHint() const override { return { m_diameter, m_diameter }; }
    [[nodiscard]] bool isSpinning() const { return m_timer.isActive(); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    static constexpr int spokes = 12;

    int m_diameter;
    int m_step = 0;
    QTimer m_timer;
};
