#pragma once

#include <QColor>
#include <QPointer>
#include <QWidget>

class QGraphicsOpacityEffect;
class QPropertyAnimation;
class QVBoxLayout;

/// A card shown over the whole of its parent: a dimmed backdrop that takes every click
/// (nothing below can be pressed while it shows) and a rounded card in the middle holding
/// the content, raised on a soft shadow. It fades in and out over 0.3 s, easing in and out.
class OverlayCard final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(OverlayCard)

public:
    static constexpr int fadeMs = 300;
    static constexpr int cornerRadius = 20;

    /// `backdropOpacity`: how dark the backdrop is, from 0 (clear) to 1 (black).
    explicit OverlayCard(QWidget* parent, qreal backdropOpacity = 0.3);

    /// Where the content goes.
    [[nodiscard]] QVBoxLayout* cardLayout() const { return m_cardLayout; }
    [[nodiscard]] QWidget* card() const { return m_card; }

    /// Shows the card and fades it in; a fade-out still running is abandoned.
    void fadeIn();
    /// Fades the card out and hides it; a fade-in still running is abandoned.
    void fadeOut();
    [[nodiscard]] qreal opacity() const;

Q_SIGNALS:
    void fadedOut();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void fadeTo(qreal target);

    QColor m_backdrop;
    QWidget* m_card;
    QVBoxLayout* m_cardLayout;
    QGraphicsOpacityEffect* m_effect;
    QPointer<QPropertyAnimation> m_animation;
};
