#include "platform/WindowFront.h"

#include <QApplication>
#include <QWidget>
#include <QtGui/qguiapplication_platform.h>

#include <xcb/xcb.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace {

// The Motif window-manager hints: five 32-bit fields, of which the first says which of the
// next two the window manager is to read. A set "all" bit turns a field's other bits into
// the list of what is taken away.
constexpr uint32_t hintsFunctions = 1U << 0;
constexpr uint32_t hintsDecorations = 1U << 1;
constexpr uint32_t functionAll = 1U << 0;
constexpr uint32_t functionMinimise = 1U << 3;
constexpr uint32_t decorationAll = 1U << 0;
constexpr uint32_t decorationMinimise = 1U << 5;
using MotifHints = std::array<uint32_t, 5>;

// Takes minimise out of one field: with no field yet, "all but minimise"; with "all" set, minimise
// joins what is taken away; otherwise its bit is cleared from what is offered.
void withoutMinimiseIn(uint32_t& flags, uint32_t& field, uint32_t fieldFlag, uint32_t all, uint32_t minimise)
{
    if (!(flags & fieldFlag)) {
        flags |= fieldFlag;
        field = all | minimise;
    } else if (field & all) {
        field |= minimise;
    } else {
        field &= ~minimise;
    }
}

MotifHints withoutMinimise(MotifHints hints)
{
    withoutMinimiseIn(hints[0], hints[1], hintsFunctions, functionAll, functionMinimise);
    withoutMinimiseIn(hints[0], hints[2], hintsDecorations, decorationAll, decorationMinimise);
    return hints;
}

xcb_atom_t motifHintsAtom(xcb_connection_t* connection)
{
    static constexpr char name[] = "_MOTIF_WM_HINTS";
    const std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> reply(
        xcb_intern_atom_reply(connection, xcb_intern_atom(connection, 0, sizeof name - 1, name), nullptr), &std::free);
    return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
}

} // namespace

namespace WindowFront {

void bringForward(QWidget& window)
{
    if (window.isMinimized())
        window.setWindowState(window.windowState() & ~Qt::WindowMinimized);
    window.show();
    window.raise();
    // A sheet open over the window holds its keyboard: the window manager minimised the two
    // together, and the window under the sheet takes no keys while the sheet is up.
    QWidget* sheet = QApplication::activeModalWidget();
    for (const QWidget* owner = sheet ? sheet->parentWidget() : nullptr; owner; owner = owner->parentWidget()) {
        if (owner == &window) {
            if (sheet->isMinimized())
                sheet->setWindowState(sheet->windowState() & ~Qt::WindowMinimized);
            sheet->show();
            sheet->raise();
            sheet->activateWindow();
            return;
        }
    }
    if (!window.windowFlags().testFlag(Qt::WindowDoesNotAcceptFocus))
        window.activateWindow();
}

void refuseMinimise(const QWidget& window)
{
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!x11 || !x11->connection() || !window.testAttribute(Qt::WA_WState_Created))
        return;
    xcb_connection_t* connection = x11->connection();
    static const xcb_atom_t atom = motifHintsAtom(connection);
    if (atom == XCB_ATOM_NONE)
        return;
    const auto id = static_cast<xcb_window_t>(window.winId());
    // Qt's own hints (title, border, the other buttons) stay as they are.
    MotifHints hints {};
    const std::unique_ptr<xcb_get_property_reply_t, decltype(&std::free)> reply(
        xcb_get_property_reply(connection, xcb_get_property(connection, 0, id, atom, atom, 0, hints.size()), nullptr),
        &std::free);
    if (reply && reply->format == 32 && reply->type == atom) {
        const auto length = std::min<std::size_t>(
            std::size_t(xcb_get_property_value_length(reply.get())), sizeof(uint32_t) * hints.size());
        std::memcpy(hints.data(), xcb_get_property_value(reply.get()), length);
    }
    const MotifHints refused = withoutMinimise(hints);
    xcb_change_property(
        connection, XCB_PROP_MODE_REPLACE, id, atom, atom, 32, uint32_t(refused.size()), refused.data());
    xcb_flush(connection);
}

} // namespace WindowFront
