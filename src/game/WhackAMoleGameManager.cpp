#include "game/WhackAMoleGameManager.h"

#include "core/PetBehavior.h"
#include "game/GameCatView.h"
#include "game/GameCatWindow.h"
#include "game/GameScoreBoardView.h"
#include "pet/AutoBehaviorManager.h"
#include "pet/LottieAnimationManager.h"
#include "pet/OpacityManager.h"
#include "pet/PetWindowHost.h"
#include "pet/SimpleFireworkView.h"
#include "platform/Alerts.h"
#include "platform/Defaults.h"
#include "platform/FloatingWindow.h"
#include "platform/LogManager.h"
#include "platform/NumberFormat.h"
#include "platform/RandomSource.h"
#include "platform/Resources.h"
#include "platform/Screens.h"
#include "widgets/TextStyle.h"

#include <cmath>
#include <utility>

using namespace Qt::StringLiterals;

namespace {
const QString category = u"WhackAMole"_s;

int toMs(double seconds)
{
    return static_cast<int>(std::lround(seconds * 1000.0));
}
} // namespace

WhackAMoleGameManager::WhackAMoleGameManager(Defaults& defaults, Screens& screens, Resources& resources,
    LottieAnimationManager& animations, OpacityManager& opacity, AutoBehaviorManager& behavior, PetWindowHost& pet,
    TimerSource& timers, RandomSource& random, QObject* parent)
    : QObject(parent)
    , m_defaults(defaults)
    , m_screens(screens)
    , m_resources(resources)
    , m_animations(animations)
    , m_opacity(opacity)
    , m_behavior(behavior)
    , m_pet(pet)
    , m_timers(timers)
    , m_random(random)
{
    // The stored length is written back as read; a missing one becomes the default.
    setGameDuration(m_defaults.integer(gameDurationKey));
    if (m_gameDuration == 0)
        setGameDuration(defaultGameDuration);
}

WhackAMoleGameManager::~WhackAMoleGameManager()
{
    m_pending.clear();
    m_gameTimer.reset();
    for (const QPointer<QWidget>& window : std::as_const(m_ownedWindows))
        delete window.data();
}

void WhackAMoleGameManager::setDifficulty(GameDifficulty difficulty)
{
    if (difficulty == m_difficulty)
        return;
    m_difficulty = difficulty;
    Q_EMIT difficultyChanged(difficulty);
}

void WhackAMoleGameManager::setGameDuration(int seconds)
{
    m_gameDuration = seconds;
    m_defaults.setValue(gameDurationKey, seconds);
    Q_EMIT gameDurationChanged(seconds);
}

void WhackAMoleGameManager::setScore(int score)
{
    m_score = score;
    Q_EMIT scoreChanged(score);
}

void WhackAMoleGameManager::setTimeRemaining(int seconds)
{
    m_timeRemaining = seconds;
    Q_EMIT timeRemainingChanged(seconds);
}

void WhackAMoleGameManager::setGameActive(bool active)
{
    if (active == m_isGameActive)
        return;
    m_isGameActive = active;
    Q_EMIT isGameActiveChanged(active);
}

QList<GameCatWindow*> WhackAMoleGameManager::gameWindows() const
{
    QList<GameCatWindow*> cats;
    for (const QPointer<GameCatWindow>& cat : m_gameWindows) {
        if (cat)
            cats.append(cat.data());
    }
    return cats;
}

FloatingWindow* WhackAMoleGameManager::scoreWindow() const
{
    return m_scoreWindow;
}

QList<FloatingWindow*> WhackAMoleGameManager::fireworkWindows() const
{
    QList<FloatingWindow*> windows;
    for (const QPointer<FloatingWindow>& window : m_fireworkWindows) {
        if (window)
            windows.append(window.data());
    }
    return windows;
}

QString WhackAMoleGameManager::getScoreComment(int score)
{
    if (score <= 10)
        return u"加油哦！多练习就能提高了！"_s;
    if (score <= 20)
        return u"不错！继续努力！"_s;
    if (score <= 30)
        return u"很棒！你的反应很快！"_s;
    if (score <= 40)
        return u"太厉害了！你是打猫猫高手！"_s;
    return u"简直神了！你是打猫猫大师！"_s;
}

void WhackAMoleGameManager::after(int ms, std::function<void()> step)
{
    const quint64 id = m_nextPending++;
    m_pending.emplace(id, m_timers.start(ms, false, [this, id, step = std::move(step)] {
        // The timer runs a copy of this callback, so dropping its handle here is safe.
        m_pending.erase(id);
        step();
    }));
}

void WhackAMoleGameManager::own(QWidget* window)
{
    m_ownedWindows.removeIf([](const QPointer<QWidget>& owned) { return owned.isNull(); });
    m_ownedWindows.append(window);
}

bool WhackAMoleGameManager::isInGame(const GameCatWindow* cat) const
{
    if (!cat)
        return false;
    for (const QPointer<GameCatWindow>& entry : m_gameWindows) {
        if (entry == cat)
            return true;
    }
    return false;
}

void WhackAMoleGameManager::startGame()
{
    LogManager::log(u"🎮 开始打猫猫游戏 - 难度: "_s + rawValue(m_difficulty), category);
    if (m_isGameActive) {
        LogManager::log(u"⚠️ 检测到游戏正在运行，先清理"_s, category);
        cleanupGame();
    }
    m_opacity.pauseOpacityManagement();
    if (FloatingWindow* pet = m_pet.petWindow()) {
        pet->stopFade();
        m_savedMainWindowOpacity = pet->givenOpacity();
        pet->fadeTo(dimmedPetOpacity, 0);
        // The user sees the cats only: a hammer blow landing on the faint pet goes on to
        // what lies below it instead of picking the pet up.
        pet->setClickThrough(true);
        LogManager::log(u"💾 保存主窗口透明度: "_s + NumberFormat::shortestDouble(m_savedMainWindowOpacity)
                + u"，临时设置为: "_s + NumberFormat::shortestDouble(dimmedPetOpacity),
            category);
    }
    // A restart finds the behaviour paused by the game it replaces: what counts is before that.
    if (!m_isGameActive)
        m_resumeBehavior = m_behavior.isRunning();
    setScore(0);
    setTimeRemaining(m_gameDuration);
    setGameActive(true);
    m_behavior.pauseScheduling();
    showScoreBoard();
    createGameCats();
    startGameTimer();
    LogManager::log(u"✅ 游戏已启动，创建了"_s + QString::number(m_gameWindows.size()) + u"只猫猫"_s, category);
}

void WhackAMoleGameManager::cleanupGame()
{
    m_gameTimer.reset();
    dismissAllGameCats();
    for (const QPointer<FloatingWindow>& window : std::as_const(m_fireworkWindows)) {
        if (window)
            window->close();
    }
    m_fireworkWindows.clear();
    closeScoreBoard();
    restorePetOpacity(u"🔄 清理时恢复主窗口透明度: "_s);
    m_opacity.resumeOpacityManagement();
    LogManager::log(u"🧹 游戏资源已清理"_s, category);
}

void WhackAMoleGameManager::endGame()
{
    LogManager::log(u"🏁 游戏结束 - 最终得分: "_s + QString::number(m_score), category);
    setGameActive(false);
    m_gameTimer.reset();
    dismissAllGameCats();
    restorePetOpacity(u"🔄 恢复主窗口透明度: "_s);
    m_opacity.resumeOpacityManagement();
    if (std::exchange(m_resumeBehavior, false) && m_behavior.isActive()) {
        m_behavior.startBehaviorSystem();
        LogManager::log(u"自动行为系统已恢复"_s, u"AutoBehavior"_s);
    }
    after(gameOverDelayMs, [this] { showGameOverScreen(); });
}

void WhackAMoleGameManager::restorePetOpacity(const QString& message)
{
    FloatingWindow* pet = m_pet.petWindow();
    if (!pet)
        return;
    pet->fadeTo(m_savedMainWindowOpacity, 0);
    pet->setClickThrough(false);
    LogManager::log(message + NumberFormat::shortestDouble(m_savedMainWindowOpacity), category);
}

void WhackAMoleGameManager::createGameCats()
{
    const std::optional<QRectF> visible = m_screens.mainVisibleFrame();
    if (!visible)
        return;
    const QString animationPath = m_animations.getAnimationPath(PetBehavior::idle).value_or(QString());
    const QCursor cursor = loadHammerCursor(m_resources.find(u"hammer"_s, u"png"_s));
    for (int i = 0; i < catCount(m_difficulty); ++i) {
        // A visible area smaller than a cat leaves no range: the cat takes its lower-left edge.
        const double x = m_random.uniformReal(visible->left(), visible->right() - catSize);
        const double y = m_random.uniformReal(visible->top(), visible->bottom() - catSize);
        auto* cat = new GameCatWindow(
            QPointF(x, y), QSizeF(catSize, catSize), this, animationPath, cursor, m_screens, m_random);
        m_gameWindows.append(cat);
        own(cat);
        cat->show();
        cat->raise();
        startCatAppearanceCycle(cat);
        LogManager::log(u"➕ 创建游戏猫猫["_s + QString::number(i) + u"] at ("_s
                + QString::number(static_cast<qint64>(x)) + u", "_s + QString::number(static_cast<qint64>(y)) + u")"_s,
            category);
    }
}

void WhackAMoleGameManager::startCatAppearanceCycle(GameCatWindow* cat)
{
    const QPointer<GameCatWindow> weakCat(cat);
    after(toMs(m_random.uniformReal(0.0, 1.0)), [this, weakCat] {
        if (!isInGame(weakCat) || !m_isGameActive) {
            LogManager::log(u"🛑 猫猫循环已停止（游戏结束）"_s, category);
            return;
        }
        weakCat->showAtRandomPosition();
        after(toMs(visibleDuration(m_difficulty)), [this, weakCat] {
            if (!isInGame(weakCat) || !m_isGameActive)
                return;
            if (!weakCat->isCatVisible()) {
                startCatAppearanceCycle(weakCat); // hit meanwhile: it is already down
                return;
            }
            const QPointer<WhackAMoleGameManager> self(this);
            weakCat->hideTemporarily([self, weakCat] {
                if (self && self->isInGame(weakCat) && self->m_isGameActive)
                    self->startCatAppearanceCycle(weakCat);
            });
        });
    });
}

void WhackAMoleGameManager::catClicked(GameCatWindow* cat)
{
    if (!m_isGameActive) {
        LogManager::log(u"⚠️ 游戏已结束，忽略点击"_s, category);
        return;
    }
    LogManager::log(u"🎯 击中猫猫！得分+1"_s, category);
    setScore(m_score + 1);
    if (!cat)
        return;
    const QPointer<WhackAMoleGameManager> self(this);
    const QPointer<GameCatWindow> weakCat(cat);
    cat->hideTemporarily([self, weakCat] {
        if (!self)
            return;
        self->after(reshowDelayMs, [self, weakCat] {
            if (self->isInGame(weakCat) && self->m_isGameActive)
                weakCat->showAtRandomPosition();
        });
    });
}

void WhackAMoleGameManager::showFireworkAt(QPointF position)
{
    LogManager::log(u"💥 在位置 ("_s + NumberFormat::shortestDouble(position.x()) + u", "_s
            + NumberFormat::shortestDouble(position.y()) + u") 创建烟花窗口"_s,
        category);
    auto* window = new FloatingWindow(FloatingWindow::Focus::Ignore, m_screens);
    window->setObjectName(u"fireworkWindow"_s);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setModelFrame(
        QRectF(position.x(), position.y() + 20.0, SimpleFireworkView::viewSize, SimpleFireworkView::viewSize));
    window->setFixedSize(SimpleFireworkView::viewSize, SimpleFireworkView::viewSize);
    new SimpleFireworkView(window, &m_random);
    m_fireworkWindows.append(window);
    own(window);
    window->setWindowOpacity(1.0);
    window->show();
    window->raise();

    const QPointer<FloatingWindow> weakWindow(window);
    after(fireworkShownMs, [this, weakWindow] {
        if (!weakWindow)
            return;
        const QPointer<WhackAMoleGameManager> self(this);
        weakWindow->fadeTo(0.0, fireworkFadeMs, [self, weakWindow] {
            if (!weakWindow)
                return;
            weakWindow->hide();
            if (self)
                self->m_fireworkWindows.removeAll(weakWindow);
            weakWindow->close();
            LogManager::log(u"💥 烟花窗口已关闭"_s, category);
        });
    });
}

void WhackAMoleGameManager::dismissAllGameCats()
{
    if (m_gameWindows.isEmpty())
        return;
    LogManager::log(
        u"🧹 开始清除所有游戏猫猫，共"_s + QString::number(m_gameWindows.size()) + u"只"_s, category);
    const QPointer<FloatingWindow> pet = m_pet.petWindow();
    const QList<QPointer<GameCatWindow>> cats = std::exchange(m_gameWindows, {});
    for (qsizetype i = 0; i < cats.size(); ++i) {
        GameCatWindow* cat = cats.at(i);
        if (!cat)
            continue;
        cat->closeCat();
        LogManager::log(u"🚪 游戏猫窗口["_s + QString::number(i) + u"]已关闭"_s, category);
    }
    if (pet) {
        after(petRaiseDelayMs, [pet] {
            if (!pet)
                return;
            PetWindowHost::bringPetToFront(*pet);
            LogManager::log(u"✅ 确认主窗口仍然可见，应用已激活"_s, category);
        });
    }
    LogManager::log(u"✅ 所有游戏猫猫清除完成"_s, category);
}

void WhackAMoleGameManager::startGameTimer()
{
    m_gameTimer = m_timers.start(countdownMs, true, [this] {
        setTimeRemaining(m_timeRemaining - 1);
        if (m_timeRemaining < 1)
            endGame();
    });
}

void WhackAMoleGameManager::showScoreBoard()
{
    const std::optional<QRectF> visible = m_screens.mainVisibleFrame();
    if (!visible)
        return;
    auto* window = new FloatingWindow(FloatingWindow::Focus::Refuse, m_screens);
    window->setObjectName(u"scoreBoardWindow"_s);
    window->setAttribute(Qt::WA_DeleteOnClose);
    // The board grows with a larger application font, so that its figures are never cut.
    const QSize boardSize(TextStyle::scaled(scoreBoardSize.width()), TextStyle::scaled(scoreBoardSize.height()));
    const QSizeF size(boardSize);
    window->setModelFrame(
        QRectF(QPointF(visible->right() - size.width() - 20.0, visible->bottom() - size.height() - 20.0), size));
    window->setFixedSize(boardSize);
    auto* board = new GameScoreBoardView(*this, window);
    board->setGeometry(window->rect());
    m_scoreWindow = window;
    own(window);
    window->show();
    window->raise();
}

void WhackAMoleGameManager::closeScoreBoard()
{
    if (FloatingWindow* window = m_scoreWindow.data()) {
        m_scoreWindow = nullptr;
        window->close();
    }
}

void WhackAMoleGameManager::showGameOverScreen()
{
    closeScoreBoard();
    after(0, [this] {
        const QPointer<WhackAMoleGameManager> self(this);
        const int answer = Alerts::show(Alerts::Style::Informational, u"游戏结束！"_s,
            u"你的得分："_s + QString::number(m_score) + u" 分\n"_s + getScoreComment(m_score),
            { u"再来一局"_s, u"关闭"_s });
        // The modal alert runs the event loop: the program may have begun to quit meanwhile.
        if (answer == 0 && self)
            self->after(0, [self] { self->startGame(); });
    });
}
