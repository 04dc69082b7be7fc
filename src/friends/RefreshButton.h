#pragma once

#include <QPushButton>

class QVariantAnimation;

/// The friends page's refresh button: a plain button showing the clockwise arrow in its
/// text colour, which spins (a full turn a second, for as long as asked) while the list
/// reloads.
class RefreshButton final : public QPushButton
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(RefreshButton)

public:
    static constexpr int turnMs = 1000;
    /// How long the arrow takes to come to rest upright once spinning stops.
    static constexpr int settleMs = 350;

    explicit RefreshButton(QWidget* parent = nullptr);

    /// Starts the arrow spinning, or brings it to rest upright.
    void setSpinning(bool spinning);
    /// The arrow's clockwise rotation in degrees, 0 at rest.
    [[nodiscard]] qreal angle() const { return m_angle; }
    [[nodiscard]] QVariantAnimation* spin() const { return m_spin; }
    /// The arrow's side in pixels: the body text's size.
    [[nodiscard]] static int symbolSide();

    [[nodiscard]] QSize sizeHint() const override;
    [[nodiscard]] QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QVariantAnimation* m_spin;
    qreal m_angle = 0;
    bool m_spinning = false;
};
