#pragma once

#include <QObject>
#include <QPointF>
#include <QPointer>
#include <QSizeF>

class AutoBehaviorManager;
class DoNotDisturbManager;
class DragEventHandler;
class FloatingWindow;
class InteractionHandler;
class LottieAnimationManager;
class LottiePetView;
class OpacityManager;
class PetState;
class Screens;

/// Owns the pet's 128 × 128 window and moves it to positions in the stored top-left
/// convention: (x, y) is the window's left edge and the distance of its top edge below the
/// top of the main screen's full frame.
class WindowManager final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(WindowManager)

public:
    static constexpr QSizeF windowSize { 128.0, 128.0 };

    /// The pet view inside each window plays through @p animations and answers clicks through
    /// @p interaction.
    WindowManager(PetState& petState, Screens& screens, LottieAnimationManager& animations,
        InteractionHandler& interaction, QObject* parent = nullptr);
    ~WindowManager() override;

    /// The managers that work on the pet window. They are created after the window manager
    /// (some of them need it), so the composition root hands them over once they exist;
    /// any left null is simply not used.
    struct PetWindowParts
    {
        AutoBehaviorManager* scheduler = nullptr;
        DragEventHandler* dragging = nullptr;
        OpacityManager* opacity = nullptr;
        DoNotDisturbManager* doNotDisturb = nullptr;
    };
    void setPetWindowParts(const PetWindowParts& parts);

    /// Builds and shows the pet window at the stored position, replacing any earlier one.
    void createPetWindow();
    /// The pet window, or null before it is built and after it has been closed.
    [[nodiscard]] FloatingWindow* petWindow() const;
    /// The pet view inside the pet window, or null without a window.
    [[nodiscard]] LottiePetView* petView() const;

    /// Moves the pet window to a stored-convention position (bent onto the do-not-disturb
    /// line while that is on) and announces the move, even when the place is unchanged.
    /// Stores nothing: callers save positions through PetState. Without a window: nothing.
    void updateWindowPosition(QPointF position);
    /// Puts the pet window's top-left corner at a screen point (bent onto the
    /// do-not-disturb line while that is on) and announces the move. Without a window: nothing.
    void placeWindowAt(QPointF origin);
    /// The window's position in the stored convention, or the stored one without a window.
    [[nodiscard]] QPointF getCurrentWindowPosition() const;

Q_SIGNALS:
    /// After every move made by updateWindowPosition(); bubbles that sit beside the pet follow it.
    void petWindowDidMove(FloatingWindow* window);
    /// A new pet window has been shown.
    void petWindowCreated(FloatingWindow* window);

private:
    void setupWindowObservers();

    PetState& m_petState;
    PetWindowParts m_parts;
    Screens& m_screens;
    LottieAnimationManager& m_animations;
    InteractionHandler& m_interaction;
    QPointer<FloatingWindow> m_petWindow;
    QPointer<LottiePetView> m_petView;
};
