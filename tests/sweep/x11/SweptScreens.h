#pragma once

#include <QPointer>
#include <QStringList>
#include <QWidget>

#include <functional>
#include <memory>

/// One screen the program shows, built and shown at the application's current font and
/// palette, together with everything it works on. Destroying it closes the screen first.
class BuiltScreen
{
public:
    BuiltScreen() = default;
    BuiltScreen(const BuiltScreen&) = delete;
    BuiltScreen& operator=(const BuiltScreen&) = delete;
    virtual ~BuiltScreen() = default;

    /// What is drawn and measured: the screen's window, card or menu.
    [[nodiscard]] virtual QWidget* root() const = 0;
};

struct SweptScreen
{
    const char* name;
    std::function<std::unique_ptr<BuiltScreen>()> build;
    /// Object names of parts that must lie in sight whole once the screen is built.
    QStringList inSight = {};
    /// Texts that a screen may draw shortened with "…".
    QStringList mayElide = {};
    /// Object names of parts that tell something by their colour alone (a state's dot): each
    /// is on screen and stands out at 3:1 from what is drawn around it, as a glyph does.
    QStringList graphics = {};
};

/// Every screen the program can show, each in the state that shows its parts.
[[nodiscard]] const QList<SweptScreen>& sweptScreens();
