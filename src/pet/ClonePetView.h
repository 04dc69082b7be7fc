#pragma once

#include "core/PetBehavior.h"

#include <QPointer>
#include <QWidget>

class LottieAnimationManager;
class LottiePlayer;

/// The content of one clone window: the current species' animation of one behaviour, at
/// 128 × 128, or nothing when the species has no such animation.
class ClonePetView final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ClonePetView)

public:
    static constexpr int viewSize = 128;

    explicit ClonePetView(PetBehavior behavior, LottieAnimationManager& animations, QWidget* parent = nullptr);

    [[nodiscard]] PetBehavior behavior() const { return m_behavior; }
    /// The player, or null when there is nothing to show.
    [[nodiscard]] LottiePlayer* player() const;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    PetBehavior m_behavior;
    QPointer<LottiePlayer> m_animationView;
};
