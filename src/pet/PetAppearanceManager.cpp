#include "pet/PetAppearanceManager.h"

#include "core/EventCenter.h"
#include "pet/AnimationConfigFactory.h"
#include "platform/Defaults.h"
#include "platform/StandardOutput.h"

#include <QCoreApplication>

#include <array>

using namespace Qt::StringLiterals;

namespace {

// One row per species in PetType order, one column per PetAnimation case.
const std::array<std::array<const char16_t*, 9>, 6> emojiTable { {
    { u"😴", u"😋", u"😸", u"💃", u"🏃♂️", u"🤸♂️", u"🌪️", u"🤸♂️", u"🤔" },
    { u"😴", u"🍖", u"🎾", u"💃", u"🏃♂️", u"🤸♂️", u"🌪️", u"🤸♂️", u"🤔" },
    { u"😴", u"🥕", u"🐇", u"💃", u"🏃♂️", u"🦘", u"🌪️", u"🤸♂️", u"🤔" },
    { u"💤", u"🔋", u"⚡", u"🕺", u"💨", u"🚀", u"🌪️", u"🔧", u"💭" },
    { u"💤", u"🌌", u"✨", u"🕺", u"🛸", u"🚀", u"🌪️", u"🔮", u"🧠" },
    { u"🌙", u"💧", u"🌸", u"🌺", u"🍃", u"🌿", u"🌪️", u"🌱", u"🤔" },
} };

} // namespace

PetAppearanceManager::PetAppearanceManager(Defaults& defaults, QObject* parent)
    : QObject(parent)
    , m_userDefaults(defaults)
{
    loadPetType();
    m_availablePetTypes = AnimationConfigFactory().getAvailablePetTypes();
    Q_EMIT availablePetTypesChanged(m_availablePetTypes);
}

void PetAppearanceManager::changePetType(PetType type)
{
    const PetType oldType = m_currentPetType;
    m_currentPetType = type;
    Q_EMIT currentPetTypeChanged(type);
    savePetType();
    StandardOutput::printLine(u"🎭 宠物造型变化: "_s + displayName(oldType) + u" -> "_s + displayName(type));
    Q_EMIT EventCenter::shared().petTypeDidChange(oldType, type);
}

QString PetAppearanceManager::getPetAnimationEmoji(PetAnimation animation) const
{
    const auto row = static_cast<size_t>(m_currentPetType);
    const auto column = static_cast<size_t>(animation);
    return QString::fromUtf16(emojiTable.at(row).at(column));
}

void PetAppearanceManager::savePetType()
{
    m_userDefaults.setValue(petTypeKey, rawValue(m_currentPetType));
}

void PetAppearanceManager::loadPetType()
{
    const auto stored = petTypeFromRaw(m_userDefaults.string(petTypeKey));
    if (!stored) {
        m_currentPetType = PetType::cat;
        savePetType();
        return;
    }
    if (AnimationConfigFactory().isPetTypeAvailable(*stored)) {
        m_currentPetType = *stored;
        return;
    }
    m_currentPetType = PetType::cat;
    savePetType();
    StandardOutput::printLine(u"⚠️ 宠物类型 "_s + displayName(*stored) + u" 暂无动画资源，已切换到小猫"_s);
}
