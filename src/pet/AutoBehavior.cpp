#include "pet/AutoBehavior.h"

using namespace Qt::StringLiterals;

AutoBehaviorTraits traits(AutoBehavior behavior)
{
    switch (behavior) {
    case AutoBehavior::walk:
        return { 1.0, 10, 5, 150, PetBehavior::moving };
    case AutoBehavior::enter:
        return { 0.8, 5, 3, 200, PetBehavior::entering };
    case AutoBehavior::blink:
        return { 0.8, 3, 1, 50, PetBehavior::resting };
    case AutoBehavior::thinking:
        return { 0.7, 8, 3, 100, PetBehavior::thinking };
    case AutoBehavior::gaming:
        return { 0.9, 10, 6, 120, PetBehavior::special };
    case AutoBehavior::greeting:
        return { 0.8, 5, 2, 90, PetBehavior::interacting };
    case AutoBehavior::explore:
        return { 0.6, 3, 2, 100, PetBehavior::exploring };
    case AutoBehavior::scratching:
        return { 0.8, 8, 1, 40, PetBehavior::idle };
    }
    return { 0.8, 8, 1, 40, PetBehavior::idle };
}

QString rawValue(AutoBehavior behavior)
{
    switch (behavior) {
    case AutoBehavior::walk:
        return u"walk"_s;
    case AutoBehavior::enter:
        return u"enter"_s;
    case AutoBehavior::blink:
        return u"blink"_s;
    case AutoBehavior::thinking:
        return u"thinking"_s;
    case AutoBehavior::gaming:
        return u"gaming"_s;
    case AutoBehavior::greeting:
        return u"greeting"_s;
    case AutoBehavior::explore:
        return u"explore"_s;
    case AutoBehavior::scratching:
        return u"scratching"_s;
    }
    return {};
}

QString displayName(AutoBehavior behavior)
{
    switch (behavior) {
    case AutoBehavior::walk:
        return u"走路"_s;
    case AutoBehavior::enter:
        return u"进入"_s;
    case AutoBehavior::blink:
        return u"眨眼"_s;
    case AutoBehavior::thinking:
        return u"思考"_s;
    case AutoBehavior::gaming:
        return u"玩耍"_s;
    case AutoBehavior::greeting:
        return u"打招呼"_s;
    case AutoBehavior::explore:
        return u"躲猫猫"_s;
    case AutoBehavior::scratching:
        return u"抓屁股"_s;
    }
    return {};
}
