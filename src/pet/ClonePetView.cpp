#include "pet/ClonePetView.h"

#include "pet/LottieAnimationManager.h"
#include "platform/LogManager.h"
#include "platform/LottiePlayer.h"

using namespace Qt::StringLiterals;

ClonePetView::ClonePetView(PetBehavior behavior, LottieAnimationManager& animations, QWidget* parent)
    : QWidget(parent)
    , m_behavior(behavior)
{
    setAttribute(Qt::WA_TranslucentBackground);
    resize(viewSize, viewSize);
    const std::optional<QString> path = animations.getAnimationPath(behavior);
    const std::optional<AnimationConfig> config = animations.currentConfig().getAnimationConfig(behavior);
    if (!path || !config)
        return;
    auto* player = new LottiePlayer(this);
    player->setGeometry(rect());
    if (!player->setAnimation(*path)) {
        LogManager::log(u"❌ 克隆宠物无法加载动画: "_s + *path, u"MultiPet"_s);
        return;
    }
    m_animationView = player;
    player->setLoopMode(config->loopMode);
    player->setSpeed(config->defaultSpeed);
    player->play();
    LogManager::log(u"🎬 克隆宠物加载动画: "_s + *path, u"MultiPet"_s);
}

LottiePlayer* ClonePetView::player() const
{
    return m_animationView;
}

void ClonePetView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (m_animationView)
        m_animationView->setGeometry(rect());
}
