#include "pet/AnimationConfigFactory.h"

PetAnimationConfigProtocol AnimationConfigFactory::getConfig(PetType type) const
{
    switch (type) {
    case PetType::cat:
        return CatAnimationConfig();
    case PetType::dog:
        return DogAnimationConfig();
    case PetType::rabbit:
        return RabbitAnimationConfig();
    case PetType::robot:
        return RobotAnimationConfig();
    case PetType::alien:
        return AlienAnimationConfig();
    case PetType::plant:
        return PlantAnimationConfig();
    }
    return CatAnimationConfig();
}

QList<PetType> AnimationConfigFactory::getAvailablePetTypes() const
{
    return { PetType::cat };
}

bool AnimationConfigFactory::isPetTypeAvailable(PetType type) const
{
    return getAvailablePetTypes().contains(type);
}
