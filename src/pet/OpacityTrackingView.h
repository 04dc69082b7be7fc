#pragma once

#include <QPointer>
#include <QWidget>

/// The pet window's content: announces every pointer entry and exit (the window manager
/// hands them to the opacity manager), each once.
///
/// A menu opened from the pet takes the pointer away from the window without the widgets
/// inside it ever hearing of it, and no event follows when the menu closes with the pointer
/// elsewhere. The view therefore follows its window's own entries and exits, and while a
/// menu is open judges by where the pointer is when the menu goes.
class OpacityTrackingView final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(OpacityTrackingView)

public:
    explicit OpacityTrackingView(QWidget* parent = nullptr);

    /// The pointer is over the pet, as last announced.
    [[nodiscard]] bool isPointerInside() const { return m_inside; }

Q_SIGNALS:
    void pointerEntered();
    void pointerExited();

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void watchWindow();
    void pointerArrived();
    void pointerLeft();
    /// The pointer left for a menu: decide when the menu closes.
    void awaitPopupClosing(QWidget* popup);
    void popupClosed();
    /// Where the pointer really is: over the window's part that takes it, or not.
    [[nodiscard]] bool pointerIsOverWindow() const;

    QPointer<QWidget> m_window;
    QPointer<QWidget> m_popup;
    bool m_inside = false;
};
