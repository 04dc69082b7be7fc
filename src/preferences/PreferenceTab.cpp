#include "preferences/PreferenceTab.h"

using namespace Qt::StringLiterals;

QString rawValue(PreferenceTab tab)
{
    switch (tab) {
    case PreferenceTab::general:
        return u"通用"_s;
    case PreferenceTab::account:
        return u"账号"_s;
    case PreferenceTab::friends:
        return u"好友"_s;
    case PreferenceTab::reminder:
        return u"提醒/闹钟"_s;
    case PreferenceTab::appearance:
        return u"外观"_s;
    case PreferenceTab::game:
        return u"游戏"_s;
    case PreferenceTab::advanced:
        break;
    }
    return u"高级"_s;
}

QString icon(PreferenceTab tab)
{
    switch (tab) {
    case PreferenceTab::general:
        return u"🏠"_s;
    case PreferenceTab::account:
        return u"👤"_s;
    case PreferenceTab::friends:
        return u"👥"_s;
    case PreferenceTab::reminder:
        return u"⏰"_s;
    case PreferenceTab::appearance:
        return u"🎨"_s;
    case PreferenceTab::game:
        return u"🎮"_s;
    case PreferenceTab::advanced:
        break;
    }
    return u"🔧"_s;
}

std::optional<PreferenceTab> preferenceTabFromRaw(const QString& raw)
{
    for (PreferenceTab tab : allPreferenceTabs) {
        if (rawValue(tab) == raw)
            return tab;
    }
    return std::nullopt;
}
