#pragma once

#include <QPointer>
#include <QWidget>

#include <initializer_list>

/// Keeps the keyboard with the user while the program disables the control they worked in
/// for a while, a send button and its editor while a reply goes out, say. Left alone, Qt
/// hands the focus on along the chain to the next control that takes it, often a button at
/// the window's top left, where the next Space presses something the user never went to.
/// Held here, on a widget that takes no keys, it goes back once the work is done.
class FocusHold final
{
public:
    /// Moves the focus onto `holder` if one of `controls`, about to be disabled, has it.
    void take(QWidget* holder, std::initializer_list<const QWidget*> controls);
    /// Hands the focus to `to`, if it is still where `take` left it; the user may have
    /// moved it meanwhile, and then it stays where they took it.
    void giveTo(QWidget* to);

private:
    QPointer<QWidget> m_holder;
};
