#include "menus/MenuBarInteractionActions.h"

#include "pet/AutoBehaviorManager.h"
#include "pet/DoNotDisturbManager.h"
#include "pet/LottieAnimationManager.h"
#include "platform/LogManager.h"

using namespace Qt::StringLiterals;

const MenuBarInteractionActions::Action MenuBarInteractionActions::walk { PetBehavior::moving, AutoBehavior::walk,
    u"🚶 触发走路动作" };
const MenuBarInteractionActions::Action MenuBarInteractionActions::enter { PetBehavior::entering, AutoBehavior::enter,
    u"🏃 触发进入动作" };
const MenuBarInteractionActions::Action MenuBarInteractionActions::blink { PetBehavior::resting, AutoBehavior::blink,
    u"😉 触发眨眼动作" };
const MenuBarInteractionActions::Action MenuBarInteractionActions::think { PetBehavior::thinking,
    AutoBehavior::thinking, u"🤔 触发思考动作" };
const MenuBarInteractionActions::Action MenuBarInteractionActions::play { PetBehavior::special, AutoBehavior::gaming,
    u"🎮 触发玩耍动作" };
const MenuBarInteractionActions::Action MenuBarInteractionActions::greet { PetBehavior::interacting,
    AutoBehavior::greeting, u"👋 触发打招呼动作" };
const MenuBarInteractionActions::Action MenuBarInteractionActions::hideAndSeek { PetBehavior::exploring,
    AutoBehavior::explore, u"🙈 触发躲猫猫动作" };
const MenuBarInteractionActions::Action MenuBarInteractionActions::scratch { PetBehavior::idle,
    AutoBehavior::scratching, u"🐾 触发抓屁股动作" };

MenuBarInteractionActions::MenuBarInteractionActions(LottieAnimationManager& lottieManager,
    AutoBehaviorManager& autoBehaviorManager, DoNotDisturbManager& doNotDisturbManager, QObject* parent)
    : QObject(parent)
    , m_lottieManager(lottieManager)
    , m_autoBehaviorManager(autoBehaviorManager)
    , m_doNotDisturbManager(doNotDisturbManager)
{
}

void MenuBarInteractionActions::run(const Action& action)
{
    m_doNotDisturbManager.exitIfActiveDueToUserAction();
    m_lottieManager.playBehavior(action.animation);
    m_autoBehaviorManager.forceBehavior(action.behavior);
    LogManager::log(QString::fromUtf16(action.logLine), u"Interaction"_s);
}
