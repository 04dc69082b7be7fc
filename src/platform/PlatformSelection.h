#pragma once

#include <QByteArray>

/// The pet places its own windows, which Wayland does not allow; on a Wayland session the
/// program therefore runs through XWayland.
namespace PlatformSelection {

/// The Qt platform to force for the given environment values, or empty to leave Qt's
/// choice alone: "xcb" on a Wayland session unless the user chose a platform.
[[nodiscard]] QByteArray platformFor(
    const QByteArray& sessionType, const QByteArray& waylandDisplay, const QByteArray& qpaPlatform);

/// Applies `platformFor` to this process's environment; call before QApplication exists.
void choosePlatformBeforeApplication();

} // namespace PlatformSelection
