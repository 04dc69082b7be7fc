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

Symbols::Symbol icon(PreferenceTab tab)
{
    using Symbols::Symbol;
    switch (tab) {
    case PreferenceTab::general:
        return Symbol::houseFill;
    case PreferenceTab::account:
        return Symbol::personCircleFill;
    case PreferenceTab::friends:
        return Symbol::person2Fill;
    case PreferenceTab::reminder:
        return Symbol::alarmFill;
    case PreferenceTab::appearance:
        return Symbol::paintbrushFill;
    case PreferenceTab::game:
        return Symbol::gamecontrollerFill;
    case PreferenceTab::advanced:
        break;
    }
    return Symbol::wrenchAndScrewdriverFill;
}

std::optional<PreferenceTab> preferenceTabFromRaw(const QString& raw)
{
    for (PreferenceTab tab : allPreferenceTabs) {
        if (rawValue(tab) == raw)
            return tab;
    }
    return std::nullopt;
}
