#pragma once

#include "pet/PetWindowHost.h"

#include <QObject>
#include <QPointF>
#include <QPointer>
#include <QSizeF>

#include <functional>

class AutoBehaviorManager;
class DoNotDisturbManager;
class FloatingWindow;
class InteractionHandler;
class LottieAnimationManager;
class LottiePetView;
class PetState;
class Screens;

/// Owns the pet's 128 × 128 window and moves it to positions in the stored top-left
/// convention: (x, y) is the window's left edge and the distance of its top edge below the
/// top of the main screen's full frame. What else works on the window joins each new one
/// when it is announced (see PetWindowAssembler).
class WindowManager final : public QObject, public PetWindowHost
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(WindowManager)

public:
    static constexpr QSizeF windowSize { 128.0, 128.0 };

    /// The pet view inside each window plays through @p animations and answers clicks through
    /// @p interaction.
    WindowManager(PetState& petState, Screens& screens, LottieAnimationManager& animations,
        InteractionHandler& interaction, QObject* parent = nullptr);
    /// The animation manager, made after this one at start-up, is handed in before the first
    /// window with setAnimationManager().
    WindowManager(PetState& petState, Screens& screens, InteractionHandler& interaction, QObject* parent = nullptr);
    void setAnimationManager(LottieAnimationManager& animations);
    /// What each pet view observes besides the animations, the clicks and the pet's state: the
    /// scheduler, do-not-disturb, the friend list and the account, all made after this manager
    /// at start-up and handed in before the first window.
    void setPetViewObservedObjects(AutoBehaviorManager& autoBehaviorManager, DoNotDisturbManager& doNotDisturbManager,
        QObject& friendManager, QObject& userManager);
    ~WindowManager() override;

    /// Bends every origin the pet window is placed at (do-not-disturb's line); none keeps
    /// origins as they are.
    using PlacementRule = std::function<QPointF(QPointF)>;
    void setPlacementRule(PlacementRule rule);

    /// Builds and shows the pet window at the stored position, replacing any earlier one.
    void createPetWindow();
    /// The pet window, or null before it is built and after it has been closed.
    [[nodiscard]] FloatingWindow* petWindow() const override;
    /// The pet view inside the pet window, or null without a window.
    [[nodiscard]] LottiePetView* petView() const;

    /// Moves the pet window to a stored-convention position (bent by the placement rule)
    /// and announces the move, even when the place is unchanged.
    /// Stores nothing: callers save positions through PetState. Without a window: nothing.
    void updateWindowPosition(QPointF position) override;
    /// Puts the pet window's top-left corner at a screen point (bent by the placement rule)
    /// and announces the move. Without a window: nothing.
    void placeWindowAt(QPointF origin);
    /// The window's position in the stored convention, or the stored one without a window.
    [[nodiscard]] QPointF getCurrentWindowPosition() const override;

Q_SIGNALS:
    /// After every move made by updateWindowPosition(); bubbles that sit beside the pet follow it.
    void petWindowDidMove(FloatingWindow* window);
    /// A new pet window, with the pet view inside it, has been shown.
    void petWindowCreated(FloatingWindow* window);

private:
    void setupWindowObservers();

    PetState& m_petState;
    PlacementRule m_placementRule;
    Screens& m_screens;
    LottieAnimationManager* m_animations = nullptr;
    InteractionHandler& m_interaction;
    QPointer<AutoBehaviorManager> m_autoBehaviorManager;
    QPointer<DoNotDisturbManager> m_doNotDisturbManager;
    QPointer<QObject> m_friendManager;
    QPointer<QObject> m_userManager;
    QPointer<FloatingWindow> m_petWindow;
    QPointer<LottiePetView> m_petView;
};
