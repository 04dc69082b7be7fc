#pragma once

#include "widgets/Symbols.h"

#include <QString>

#include <array>
#include <optional>

/// The preferences window's sidebar entries, in their order. The raw values are the
/// titles, and callers name a tab by its title when they open the window.
enum class PreferenceTab { general, account, friends, reminder, appearance, game, advanced };

inline constexpr std::array<PreferenceTab, 7> allPreferenceTabs { PreferenceTab::general, PreferenceTab::account,
    PreferenceTab::friends, PreferenceTab::reminder, PreferenceTab::appearance, PreferenceTab::game,
    PreferenceTab::advanced };

/// "通用", "账号", "好友", "提醒/闹钟", "外观", "游戏", "高级".
[[nodiscard]] QString rawValue(PreferenceTab tab);
/// The symbol drawn beside the title in the sidebar.
[[nodiscard]] Symbols::Symbol icon(PreferenceTab tab);
/// The tab whose title is exactly the text; none for any other text.
[[nodiscard]] std::optional<PreferenceTab> preferenceTabFromRaw(const QString& raw);
