#pragma once

#include <QObject>

class DoNotDisturbManager;
class DragEventHandler;
class FloatingWindow;
class InteractionHandler;
class OpacityManager;
class WindowManager;

/// Joins each pet window the window manager builds to the parts that work on it: the pointer
/// over the pet lifts its opacity, dragging follows the new window, do-not-disturb bends every
/// move, and the click handler's drags move the window. None of those parts knows the others.
class PetWindowAssembler final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PetWindowAssembler)

public:
    PetWindowAssembler(WindowManager& windows, OpacityManager& opacity, DragEventHandler& dragging,
        DoNotDisturbManager& doNotDisturb, InteractionHandler& interaction, QObject* parent = nullptr);
    /// Takes do-not-disturb's rule back from the window manager, which may outlive it.
    ~PetWindowAssembler() override;

private:
    void assemble(FloatingWindow* window);

    WindowManager& m_windows;
    OpacityManager& m_opacity;
    DragEventHandler& m_dragging;
};
