#pragma once

#include <QWidget>

/// A rounded rectangle in the colour of text-field backgrounds (the palette's base): the
/// face of the cards, bubbles and panels that sit on a window or float over it.
class RoundedPanel final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(RoundedPanel)

public:
    explicit RoundedPanel(qreal radius, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    qreal m_radius;
};
