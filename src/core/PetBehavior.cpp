#include "core/PetBehavior.h"

#include "core/EnumFromRaw.h"

using namespace Qt::StringLiterals;

QString rawValue(PetBehavior behavior)
{
    switch (behavior) {
    case PetBehavior::idle:
        return u"idle"_s;
    case PetBehavior::moving:
        return u"moving"_s;
    case PetBehavior::interacting:
        return u"interacting"_s;
    case PetBehavior::resting:
        return u"resting"_s;
    case PetBehavior::thinking:
        return u"thinking"_s;
    case PetBehavior::special:
        return u"special"_s;
    case PetBehavior::entering:
        return u"entering"_s;
    case PetBehavior::exploring:
        return u"exploring"_s;
    }
    return {};
}

QString displayName(PetBehavior behavior)
{
    switch (behavior) {
    case PetBehavior::idle:
        return u"待机"_s;
    case PetBehavior::moving:
        return u"移动"_s;
    case PetBehavior::interacting:
        return u"交互"_s;
    case PetBehavior::resting:
        return u"休息"_s;
    case PetBehavior::thinking:
        return u"思考"_s;
    case PetBehavior::special:
        return u"特殊"_s;
    case PetBehavior::entering:
        return u"进入"_s;
    case PetBehavior::exploring:
        return u"探索"_s;
    }
    return {};
}

std::optional<PetBehavior> petBehaviorFromRaw(const QString& raw)
{
    return enumFromRaw(allPetBehaviors, raw);
}
