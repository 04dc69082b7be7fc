#include "menus/PetContextMenu.h"

#include "menus/MenuFitting.h"
#include "pet/AutoBehaviorManager.h"
#include "pet/DoNotDisturbManager.h"
#include "pet/LottieAnimationManager.h"
#include "pet/LottiePetView.h"
#include "pet/MultiPetManager.h"
#include "pet/WindowManager.h"
#include "platform/FloatingWindow.h"

#include <QCoreApplication>
#include <QMenu>

using namespace Qt::StringLiterals;

const PetContextMenu::BehaviorItem PetContextMenu::behaviorItems[8] = {
    { u"🚶 走路", PetBehavior::moving, AutoBehavior::walk },
    { u"🏃 进入", PetBehavior::entering, AutoBehavior::enter },
    { u"😉 眨眼", PetBehavior::resting, AutoBehavior::blink },
    { u"🤔 思考", PetBehavior::thinking, AutoBehavior::thinking },
    { u"🎮 玩耍", PetBehavior::special, AutoBehavior::gaming },
    { u"👋 打招呼", PetBehavior::interacting, AutoBehavior::greeting },
    { u"🙈 躲猫猫", PetBehavior::exploring, AutoBehavior::explore },
    { u"🐾 抓屁股", PetBehavior::idle, AutoBehavior::scratching },
};

PetContextMenu::PetContextMenu(DoNotDisturbManager& doNotDisturb, LottieAnimationManager& animations,
    AutoBehaviorManager& scheduler, Lazy<MultiPetManager> clones, QObject* parent)
    : QObject(parent)
    , m_doNotDisturb(doNotDisturb)
    , m_animations(animations)
    , m_scheduler(scheduler)
    , m_clones(std::move(clones))
{
}

void PetContextMenu::attach(LottiePetView* view)
{
    if (!view)
        return;
    connect(view, &LottiePetView::contextMenuRequested, this, &PetContextMenu::popup, Qt::UniqueConnection);
}

void PetContextMenu::popup(QPoint globalPos)
{
    QMenu* menu = createAnimationContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    // A pet that walks off leaves its menu hanging in the air.
    m_scheduler.holdStill(true);
    connect(menu, &QMenu::aboutToHide, this, [this] { m_scheduler.holdStill(false); });
    menu->popup(globalPos);
}

QMenu* PetContextMenu::createAnimationContextMenu(QWidget* parent)
{
    auto* menu = new QMenu(parent);
    menu->setObjectName(u"petMenu"_s);

    QMenu* interact = menu->addMenu(u"🐾 互动"_s);
    for (const BehaviorItem& item : behaviorItems)
        interact->addAction(QString::fromUtf16(item.title), this, [this, &item] { runBehavior(item); });
    menu->addSeparator();
    // The friends' entries and the pinned friends stand right above the drift bottles.
    if (m_friendsSection)
        m_friendsSection(menu);

    menu->addAction(u"🍾 漂流瓶"_s, this, &PetContextMenu::openDriftBottles);
    menu->addSeparator();
    menu->addAction(u"⏰ 提醒/闹钟"_s, this, &PetContextMenu::reminderPageRequested);
    menu->addSeparator();

    // The game keeps do-not-disturb as it is: it only dims the pet where it stands.
    menu->addAction(u"🔨 打猫猫"_s, this, &PetContextMenu::gameRequested);
    menu->addAction(u"✨ 撒豆成兵"_s, this, &PetContextMenu::performTransformation);
    menu->addSeparator();

    // Read when the menu is built: the title offers the opposite of the current state.
    const QString dndTitle = m_doNotDisturb.isDoNotDisturbMode() ? u"🌙 关闭勿扰"_s : u"🌙 开启勿扰"_s;
    menu->addAction(dndTitle, this, &PetContextMenu::toggleDoNotDisturb);
    menu->addSeparator();
    // Friends' names and their number come from the server.
    MenuFitting::fit(menu);
    return menu;
}

void PetContextMenu::runBehavior(const BehaviorItem& item)
{
    m_doNotDisturb.exitIfActiveDueToUserAction();
    m_animations.playBehavior(item.animation);
    m_scheduler.forceBehavior(item.behavior);
}

void PetContextMenu::performTransformation()
{
    m_doNotDisturb.exitIfActiveDueToUserAction();
    m_clones->performTransformation();
}

void PetContextMenu::openDriftBottles()
{
    m_doNotDisturb.exitIfActiveDueToUserAction();
    if (m_openDriftBottles)
        m_openDriftBottles();
}

void PetContextMenu::toggleDoNotDisturb()
{
    m_doNotDisturb.toggleDoNotDisturbMode();
}
