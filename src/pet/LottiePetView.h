#pragma once

#include "core/PetBehavior.h"
#include "pet/AutoBehavior.h"

#include <QPoint>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <QWidget>

class AutoBehaviorManager;
class DoNotDisturbManager;
class InteractionHandler;
class LottieAnimationManager;
class LottiePlayer;
class PetState;
class RandomSource;

/// The objects a pet view observes, each the program's only one and longer-lived than any pet
/// window. The scheduler, do-not-disturb, the friend list and the account come into being after
/// the window manager and may be left out (a view without the scheduler plays only what it is
/// told). The friend list and the account belong to libraries above the pet's, so the view
/// knows them as plain objects.
struct PetViewObjects
{
    LottieAnimationManager& lottieManager;
    AutoBehaviorManager* autoBehaviorManager = nullptr;
    InteractionHandler& interactionHandler;
    PetState& petState;
    DoNotDisturbManager* doNotDisturbManager = nullptr;
    QObject* friendManager = nullptr;
    QObject* userManager = nullptr;
};

/// The pet window's content: plays the animation manager's current behaviour in 128 × 128,
/// tells a single tap from a double tap, offers the right-click menu and turns each change
/// of the scheduler's behaviour into the matching animation.
class LottiePetView final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(LottiePetView)

public:
    static constexpr int viewSize = 128;

    explicit LottiePetView(const PetViewObjects& objects, QWidget* parent = nullptr, RandomSource* random = nullptr);

    /// The player that shows the animation; null until a first animation file was found.
    [[nodiscard]] LottiePlayer* player() const;
    /// The file loaded last (also when loading it failed).
    [[nodiscard]] QString currentPath() const { return m_currentPath; }
    /// The scheduler's behaviour as last seen; a change from it plays a new animation.
    [[nodiscard]] AutoBehavior lastAutoBehavior() const { return m_lastAutoBehavior; }

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

    LottieAnimationManager& m_lottieManager;
    QPointer<AutoBehaviorManager> m_autoBehaviorManager;
    InteractionHandler& m_interactionHandler;
    // The pet's state is observed but not read here; do-not-disturb, the friend list and the
    // account are what the pet's menu shows, and the menu holds them itself.
    PetState& m_petState;
    QPointer<DoNotDisturbManager> m_doNotDisturbManager;
    QPointer<QObject> m_friendManager;
    QPointer<QObject> m_userManager;
    RandomSource& m_random;
    QPointer<LottiePlayer> m_animationView;
    QString m_currentPath;
    AutoBehavior m_lastAutoBehavior = AutoBehavior::scratching;
    QTimer m_singleTapTimer;
    bool m_pressed = false;
    bool m_secondPress = false;
    bool m_renderQueued = false;
};
