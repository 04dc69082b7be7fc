#pragma once

#include <QObject>
#include <QPointer>

class QAbstractButton;
class QWidget;

/// Keeps something of a button's look in step with the colours around it: it lives as the
/// button's child and calls refresh() whenever the button's palette or its container's
/// changes. A button with a style sheet keeps the palette its sheet gave it, so a new palette
/// of its container reaches it only through the container.
class ButtonFollower : public QObject
{
    Q_DISABLE_COPY_MOVE(ButtonFollower)

public:
    /// With `onStyleChange`, a new style or sheet of the button (a new title colour) counts
    /// as a change too.
    ButtonFollower(QAbstractButton* button, bool onStyleChange);

    bool eventFilter(QObject* watched, QEvent* event) override;

protected:
    virtual void refresh() = 0;
    [[nodiscard]] QAbstractButton* button() const { return m_button; }

private:
    void watchParent();

    QAbstractButton* m_button;
    QPointer<QWidget> m_parent;
    bool m_onStyleChange;
};
