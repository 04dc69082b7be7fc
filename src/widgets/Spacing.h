#pragma once

/// The spacings every screen shares.
namespace Spacing {

/// The standard padding: what a screen leaves on each side wherever it gives a box the
/// platform's default padding. One value, so that the pages of one window line up.
inline constexpr int standardPadding = 16;

} // namespace Spacing
