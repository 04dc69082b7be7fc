#include "pet/AnimationConfig.h"

using namespace Qt::StringLiterals;

PetAnimationConfigProtocol::PetAnimationConfigProtocol(PetType type, std::map<PetBehavior, AnimationConfig> animations)
    : m_petType(type)
    , m_petDisplayName(displayName(type))
    , m_behaviorAnimations(std::move(animations))
{
}

std::optional<AnimationConfig> PetAnimationConfigProtocol::getAnimationConfig(PetBehavior behavior) const
{
    const auto it = m_behaviorAnimations.find(behavior);
    if (it == m_behaviorAnimations.end())
        return std::nullopt;
    return it->second;
}

QString PetAnimationConfigProtocol::getAnimationDirectory() const
{
    const QString raw = rawValue(m_petType);
    return u"Resources/LottieAnimations/"_s + raw.left(1).toUpper() + raw.mid(1);
}

CatAnimationConfig::CatAnimationConfig()
    : PetAnimationConfigProtocol(PetType::cat,
        {
            { PetBehavior::idle, { u"cat_scratching_butt"_s, true, 0.8, u"抓屁股"_s } },
            { PetBehavior::moving, { u"cat_walking"_s, true, 1.0, u"走路"_s } },
            { PetBehavior::interacting, { u"cat_greeting"_s, false, 1.0, u"打招呼"_s } },
            { PetBehavior::resting, { u"cat_blinking"_s, true, 0.8, u"眨眼"_s } },
            { PetBehavior::thinking, { u"cat_thinking"_s, false, 1.0, u"思考"_s } },
            { PetBehavior::special, { u"cat_gaming"_s, false, 1.0, u"游戏"_s } },
            { PetBehavior::entering, { u"cat_entering"_s, false, 1.2, u"进入"_s } },
            { PetBehavior::exploring, { u"cat_hide_and_seek"_s, false, 2.5, u"躲猫猫"_s } },
        })
{
}

DogAnimationConfig::DogAnimationConfig()
    : PetAnimationConfigProtocol(PetType::dog, { { PetBehavior::idle, { u"dog_sitting"_s, true, 1.0, u"坐着"_s } } })
{
}

RabbitAnimationConfig::RabbitAnimationConfig()
    : PetAnimationConfigProtocol(
        PetType::rabbit, { { PetBehavior::idle, { u"rabbit_sitting"_s, true, 1.0, u"坐着"_s } } })
{
}

RobotAnimationConfig::RobotAnimationConfig()
    : PetAnimationConfigProtocol(PetType::robot, { { PetBehavior::idle, { u"robot_idle"_s, true, 1.0, u"待机"_s } } })
{
}

AlienAnimationConfig::AlienAnimationConfig()
    : PetAnimationConfigProtocol(
        PetType::alien, { { PetBehavior::idle, { u"alien_floating"_s, true, 1.0, u"漂浮"_s } } })
{
}

PlantAnimationConfig::PlantAnimationConfig()
    : PetAnimationConfigProtocol(
        PetType::plant, { { PetBehavior::idle, { u"plant_growing"_s, true, 1.0, u"生长"_s } } })
{
}
