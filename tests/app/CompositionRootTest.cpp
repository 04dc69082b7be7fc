// The composition root: what only a user's action needs comes into being at that action,
// and everything made, early or late, is freed without touching what is already gone.
#include "app/CompositionRoot.h"

#include "game/WhackAMoleGameManager.h"
#include "menus/PetContextMenu.h"
#include "pet/AutoBehaviorManager.h"
#include "pet/LottieAnimationManager.h"
#include "pet/MultiPetManager.h"
#include "pet/WindowManager.h"
#include "platform/Alerts.h"
#include "platform/Defaults.h"
#include "platform/LogManager.h"

#include <QAction>
#include <QMenu>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

bool logged(const QString& message)
{
    const QList<LogManager::LogEntry> entries = LogManager::shared().logs();
    return std::any_of(
        entries.cbegin(), entries.cend(), [&](const LogManager::LogEntry& e) { return e.message == message; });
}

void choose(PetContextMenu& petMenu, const QString& text)
{
    std::unique_ptr<QMenu> menu(petMenu.createAnimationContextMenu());
    for (QAction* action : menu->actions()) {
        if (action->text() == text) {
            action->trigger();
            return;
        }
    }
    FAIL() << "no item " << text.toStdString();
}

} // namespace

TEST(CompositionRoot, MakesWhatOnlyAUserNeedsAtItsFirstUseAndFreesEverything)
{
    auto root = std::make_unique<CompositionRoot>();
    root->createManagers();
    const CompositionRoot::Managers& managers = root->managers();
    managers.windows->createPetWindow();

    // The pet view is handed the scheduler and plays each behaviour it switches to.
    const AutoBehavior next
        = managers.scheduler->currentBehavior() == AutoBehavior::gaming ? AutoBehavior::greeting : AutoBehavior::gaming;
    managers.scheduler->forceBehavior(next);
    EXPECT_EQ(managers.animations->currentBehavior(), LottieAnimationManager::selectBehaviorForAutoBehavior(next));

    EXPECT_EQ(root->apiClientIfMade(), nullptr);
    EXPECT_EQ(managers.clones.ifMade(), nullptr);
    EXPECT_EQ(managers.game.ifMade(), nullptr);
    EXPECT_FALSE(root->defaults().contains(u"CloneDismissTime"_s));
    EXPECT_FALSE(logged(u"⏰ AlarmWindowManager 初始化"_s));

    // Signed out, the drift bottles only ask to sign in: no conversations, no server client.
    Alerts::setNextAnswers({ 1 });
    choose(*managers.petMenu, u"🍾 漂流瓶"_s);
    EXPECT_EQ(Alerts::answeredAlerts().size(), 1);
    EXPECT_FALSE(logged(u"💬 ConversationManager 初始化完成"_s));
    EXPECT_FALSE(logged(u"🍾 DriftBottleManager 初始化完成"_s));
    EXPECT_EQ(root->apiClientIfMade(), nullptr);

    choose(*managers.petMenu, u"✨ 撒豆成兵"_s);
    ASSERT_NE(managers.clones.ifMade(), nullptr);
    EXPECT_TRUE(root->defaults().contains(u"CloneDismissTime"_s));
    EXPECT_FALSE(managers.clones->clonedWindows().isEmpty());

    choose(*managers.petMenu, u"🔨 打猫猫"_s);
    ASSERT_NE(managers.game.ifMade(), nullptr);
    EXPECT_TRUE(managers.game->isGameActive());

    // Made last, freed first: the running game and the clones go while the pet they use is there.
    root.reset();
}
