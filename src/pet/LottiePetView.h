#pragma once

#include "core/PetBehavior.h"
#include "pet/AutoBehavior.h"

#include <QPoint>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <QWidget>

class InteractionHandler;
class LottieAnimationManager;
class LottiePlayer;
class RandomSource;

/// The pet window's content: plays the animation manager's current behaviour in 128 × 128,
/// tells a single tap from a double tap, offers the right-click menu and turns each change
/// of the scheduler's behaviour into the matching animation.
class LottiePetView final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(LottiePetView)

public:
    static constexpr int viewSize = 128;

    LottiePetView(LottieAnimationManager& manager, InteractionHandler& interaction, QWidget* parent = nullptr,
        RandomSource* random = nullptr);

    /// The player that shows the animation; null until a first animation file was found.
    [[nodiscard]] LottiePlayer* player() const;
    /// The file loaded last (also when loading it failed).
    [[nodiscard]] QString currentPath() const { return m_currentPath; }
    /// The scheduler's behaviour as last seen; a change from it plays a new animation.
    [[nodiscard]] AutoBehavior lastAutoBehavior() const { return m_lastAutoBehavior; }
    void setLastAutoBehavior(AutoBehavior behavior) { m_lastAutoBehavior = behavior; }

public Q_SLOTS:
    /// The scheduler's current behaviour; plays the matching animation only when it differs
    /// from the one seen before.
    void onAutoBehaviorChanged(AutoBehavior behavior);
    /// Brings the shown animation in line with the animation manager.
    void render();

Q_SIGNALS:
    /// A right click on the pet; the pet menu opens there.
    void contextMenuRequested(QPoint globalPos);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void scheduleRender();
    /// Plays the animation that goes with a scheduled behaviour.
    void updateAnimationForBehavior(AutoBehavior behavior);
    void handleSingleTap();
    void handleDoubleTap();
    void loadAnimation(bool loop, double speed);

    LottieAnimationManager& m_manager;
    RandomSource& m_random;
    InteractionHandler& m_interaction;
    QPointer<LottiePlayer> m_animationView;
    QString m_currentPath;
    AutoBehavior m_lastAutoBehavior = AutoBehavior::scratching;
    QTimer m_singleTapTimer;
    bool m_pressed = false;
    bool m_secondPress = false;
    bool m_renderQueued = false;
};
