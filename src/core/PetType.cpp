#include "core/PetType.h"

#include "core/EnumFromRaw.h"

using namespace Qt::StringLiterals;

QString rawValue(PetType type)
{
    switch (type) {
    case PetType::cat:
        return u"cat"_s;
    case PetType::dog:
        return u"dog"_s;
    case PetType::rabbit:
        return u"rabbit"_s;
    case PetType::robot:
        return u"robot"_s;
    case PetType::alien:
        return u"alien"_s;
    case PetType::plant:
        return u"plant"_s;
    }
    return {};
}

QString displayName(PetType type)
{
    switch (type) {
    case PetType::cat:
        return u"小猫"_s;
    case PetType::dog:
        return u"小狗"_s;
    case PetType::rabbit:
        return u"小兔"_s;
    case PetType::robot:
        return u"机器人"_s;
    case PetType::alien:
        return u"外星人"_s;
    case PetType::plant:
        return u"小植物"_s;
    }
    return {};
}

QString emoji(PetType type)
{
    switch (type) {
    case PetType::cat:
        return u"🐱"_s;
    case PetType::dog:
        return u"🐶"_s;
    case PetType::rabbit:
        return u"🐰"_s;
    case PetType::robot:
        return u"🤖"_s;
    case PetType::alien:
        return u"👽"_s;
    case PetType::plant:
        return u"🌱"_s;
    }
    return {};
}

std::optional<PetType> petTypeFromRaw(const QString& raw)
{
    return enumFromRaw(allPetTypes, raw);
}
