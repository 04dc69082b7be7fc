#include "pet/LottieAnimationManager.h"

#include "core/EventCenter.h"
#include "pet/AnimationConfigFactory.h"
#include "pet/PetAppearanceManager.h"
#include "platform/LogManager.h"
#include "platform/NumberFormat.h"
#include "platform/Resources.h"

#include <QCoreApplication>

using namespace Qt::StringLiterals;

namespace {
const QString category = u"Lottie"_s;
}

LottieAnimationManager::LottieAnimationManager(PetAppearanceManager& appearance, Resources& resources, QObject* parent)
    : QObject(parent)
    , m_currentPetType(appearance.currentPetType())
    , m_currentConfig(m_factory.getConfig(m_currentPetType))
    , m_petAppearanceManager(appearance)
    , m_resources(resources)
{
    LogManager::log(u"Lottie 动画管理器已初始化，当前宠物: "_s + displayName(m_currentPetType), category);

    setupPetTypeObserver();
    // Nothing is played yet: start-up plays the idle animation once the pet window exists.
}

void LottieAnimationManager::setupPetTypeObserver()
{
    connect(&EventCenter::shared(), &EventCenter::petTypeDidChange, this,
        [this](PetType, PetType newType) { switchPetType(newType); });
}

void LottieAnimationManager::switchPetType(PetType type)
{
    m_currentPetType = type;
    m_currentConfig = m_factory.getConfig(type);
    playBehavior(m_currentConfig.defaultIdleBehavior());
    LogManager::log(u"🎭 切换到新宠物: "_s + displayName(type), category);
}

void LottieAnimationManager::playBehavior(PetBehavior behavior)
{
    const auto config = m_currentConfig.getAnimationConfig(behavior);
    if (!config) {
        LogManager::log(u"⚠️ 当前宠物不支持行为: "_s + displayName(behavior), category);
        return;
    }
    m_currentBehavior = behavior;
    Q_EMIT currentBehaviorChanged(behavior);
    m_animationSpeed = config->defaultSpeed;
    Q_EMIT animationSpeedChanged(m_animationSpeed);
    LogManager::log(u"播放动画: "_s + config->displayName + u" (速度: "_s
            + NumberFormat::shortestDouble(config->defaultSpeed) + u")"_s,
        category);
}

PetBehavior LottieAnimationManager::selectBehaviorForAutoBehavior(AutoBehavior behavior)
{
    return animationBehavior(behavior);
}

std::optional<AnimationConfig> LottieAnimationManager::getCurrentAnimationConfig() const
{
    return m_currentConfig.getAnimationConfig(m_currentBehavior);
}

std::optional<QString> LottieAnimationManager::getAnimationPath(PetBehavior behavior) const
{
    const auto config = m_currentConfig.getAnimationConfig(behavior);
    if (!config)
        return std::nullopt;
    const QString directory = m_currentConfig.getAnimationDirectory();
    const QString inDirectory = m_resources.findIn(config->fileName, u"json"_s, directory);
    if (!inDirectory.isEmpty())
        return inDirectory;
    const QString atRoot = m_resources.findIn(config->fileName, u"json"_s);
    if (!atRoot.isEmpty()) {
        LogManager::log(u"⚠️ 在主Bundle找到动画文件，建议移动到: "_s + directory, category);
        return atRoot;
    }
    LogManager::log(u"❌ 未找到动画文件: "_s + config->fileName + u".json in "_s + directory, category);
    return std::nullopt;
}

std::optional<QString> LottieAnimationManager::getCurrentAnimationPath() const
{
    return getAnimationPath(m_currentBehavior);
}
