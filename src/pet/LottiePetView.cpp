#include "pet/LottiePetView.h"

#include "pet/AutoBehaviorManager.h"
#include "pet/DoNotDisturbManager.h"
#include "pet/InteractionHandler.h"
#include "pet/LottieAnimationManager.h"
#include "platform/LogManager.h"
#include "platform/LottiePlayer.h"
#include "platform/RandomSource.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QMouseEvent>

#include <array>

using namespace Qt::StringLiterals;

LottiePetView::LottiePetView(const PetViewObjects& objects, QWidget* parent, RandomSource* random)
    : QWidget(parent)
    , m_lottieManager(objects.lottieManager)
    , m_autoBehaviorManager(objects.autoBehaviorManager)
    , m_interactionHandler(objects.interactionHandler)
    , m_petState(objects.petState)
    , m_doNotDisturbManager(objects.doNotDisturbManager)
    , m_friendManager(objects.friendManager)
    , m_userManager(objects.userManager)
    , m_random(random ? *random : RandomSource::system())
{
    setObjectName(u"petView"_s);
    setAttribute(Qt::WA_TranslucentBackground);
    resize(viewSize, viewSize);

    // A tap waits out the double-click interval, so that a double tap is never also a single one.
    m_singleTapTimer.setSingleShot(true);
    m_singleTapTimer.setTimerType(Qt::PreciseTimer);
    connect(&m_singleTapTimer, &QTimer::timeout, this, &LottiePetView::handleSingleTap);

    // The speed follows the behaviour on every successful play, so by then both are current.
    // The view catches up once control returns to the event loop: the manager has then
    // logged what it plays before the view reports a file it cannot show, and several plays
    // in one go load only the last.
    connect(&m_lottieManager, &LottieAnimationManager::animationSpeedChanged, this, &LottiePetView::scheduleRender);
    // The scheduler only announces its behaviour; the view turns each change into an animation.
    if (m_autoBehaviorManager) {
        m_lastAutoBehavior = m_autoBehaviorManager->currentBehavior();
        connect(m_autoBehaviorManager, &AutoBehaviorManager::currentBehaviorChanged, this,
            &LottiePetView::onAutoBehaviorChanged);
    }
    render();
}

void LottiePetView::scheduleRender()
{
    if (m_renderQueued)
        return;
    m_renderQueued = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_renderQueued = false;
            render();
        },
        Qt::QueuedConnection);
}

LottiePlayer* LottiePetView::player() const
{
    return m_animationView;
}

void LottiePetView::render()
{
    const PetBehavior behavior = m_lottieManager.currentBehavior();
    const auto path = m_lottieManager.getAnimationPath(behavior);
    const auto config = m_lottieManager.currentConfig().getAnimationConfig(behavior);
    // Nothing to play (its file is missing; the manager has said so): the pet stays as it
    // was rather than vanishing from the desktop.
    if (!path || !config)
        return;
    const bool loop = config->loopMode;
    const double speed = m_lottieManager.animationSpeed();

    if (!m_animationView) {
        m_animationView = new LottiePlayer(this);
        m_animationView->setObjectName(u"petAnimation"_s);
        m_animationView->setGeometry(rect());
        m_animationView->setAttribute(Qt::WA_TransparentForMouseEvents);
        // Clicks on the empty pixels around the cat belong to the window below.
        m_animationView->setShapesWindowInput(true);
        m_animationView->show();
        m_currentPath = *path;
        loadAnimation(loop, speed);
        return;
    }
    // Loop mode and speed apply to the running animation; only a new file is loaded.
    m_animationView->setLoopMode(loop);
    m_animationView->setSpeed(speed);
    if (m_currentPath == *path)
        return;
    m_currentPath = *path;
    loadAnimation(loop, speed);
}

void LottiePetView::loadAnimation(bool loop, double speed)
{
    if (!m_animationView->setAnimation(m_currentPath)) {
        // The player keeps showing what it showed before.
        LogManager::log(u"❌ 无法加载 Lottie 动画: "_s + m_currentPath, u"Lottie"_s);
        return;
    }
    m_animationView->setLoopMode(loop);
    m_animationView->setSpeed(speed);
    m_animationView->play();
}

void LottiePetView::onAutoBehaviorChanged(AutoBehavior behavior)
{
    if (behavior == m_lastAutoBehavior)
        return;
    m_lastAutoBehavior = behavior;
    updateAnimationForBehavior(behavior);
}

void LottiePetView::updateAnimationForBehavior(AutoBehavior behavior)
{
    m_lottieManager.playBehavior(LottieAnimationManager::selectBehaviorForAutoBehavior(behavior));
}

void LottiePetView::handleSingleTap()
{
    m_interactionHandler.handleSingleClick();
    m_lottieManager.playBehavior(PetBehavior::resting);
}

void LottiePetView::handleDoubleTap()
{
    static constexpr std::array<PetBehavior, 3> choices { PetBehavior::thinking, PetBehavior::special,
        PetBehavior::interacting };
    const int index = m_random.uniformInt(0, int(choices.size()) - 1);
    m_lottieManager.playBehavior(choices.at(size_t(qBound(0, index, int(choices.size()) - 1))));
}

void LottiePetView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    m_pressed = true;
    m_secondPress = m_singleTapTimer.isActive();
    event->accept();
}

void LottiePetView::mouseDoubleClickEvent(QMouseEvent* event)
{
    // Qt turns the second press of a quick pair into this event; it is still a press.
    mousePressEvent(event);
}

void LottiePetView::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !m_pressed) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    m_pressed = false;
    event->accept();
    if (!rect().contains(event->position().toPoint())) {
        m_secondPress = false;
        return;
    }
    if (m_secondPress) {
        m_secondPress = false;
        m_singleTapTimer.stop();
        handleDoubleTap();
        return;
    }
    m_singleTapTimer.start(QApplication::doubleClickInterval());
}

void LottiePetView::contextMenuEvent(QContextMenuEvent* event)
{
    event->accept();
    Q_EMIT contextMenuRequested(event->globalPos());
}

void LottiePetView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (m_animationView)
        m_animationView->setGeometry(rect());
}
