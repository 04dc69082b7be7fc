#include "pet/MultiPetManager.h"

#include "core/PetBehavior.h"
#include "pet/ClonePetView.h"
#include "pet/LottieAnimationManager.h"
#include "pet/PetWindowHost.h"
#include "platform/Defaults.h"
#include "platform/FloatingWindow.h"
#include "platform/LogManager.h"
#include "platform/MemoryRelease.h"
#include "platform/NumberFormat.h"
#include "platform/RandomSource.h"
#include "platform/Screens.h"

#include <QCoreApplication>
#include <QDebug>

#include <algorithm>
#include <cmath>
#include <limits>

using namespace Qt::StringLiterals;

namespace {
const QString category = u"MultiPet"_s;

bool isUsableDismissTime(double seconds)
{
    return std::isfinite(seconds) && seconds > 0.0;
}

QString describe(const FloatingWindow* window)
{
    if (!window)
        return u"nil"_s;
    QString text;
    QDebug(&text).nospace() << window;
    return u"Optional("_s + text + u")"_s;
}
} // namespace

MultiPetManager::MultiPetManager(Defaults& defaults, Screens& screens, PetWindowHost& pet,
    LottieAnimationManager& animations, RandomSource* random, QObject* parent)
    : QObject(parent)
    , m_defaults(defaults)
    , m_screens(screens)
    , m_pet(pet)
    , m_animations(animations)
    , m_random(random ? *random : RandomSource::system())
{
    m_dismissTimer.setSingleShot(true);
    m_dismissTimer.setTimerType(Qt::PreciseTimer);
    connect(&m_dismissTimer, &QTimer::timeout, this, &MultiPetManager::dismissTimerFired);
    // The stored value is written back at once; a missing or unusable one becomes 3 s.
    setCloneDismissTime(m_defaults.doubleValue(cloneDismissTimeKey));
}

MultiPetManager::~MultiPetManager()
{
    for (const QPointer<FloatingWindow>& window : std::as_const(m_clonedWindows))
        delete window.data();
}

void MultiPetManager::setCloneDismissTime(double seconds)
{
    // Zero, a negative number or not a number would leave the clones on screen for good
    // (or take them away before they were seen): such a value means the default.
    if (!isUsableDismissTime(seconds))
        seconds = defaultCloneDismissTime;
    m_cloneDismissTime = seconds;
    m_defaults.setValue(cloneDismissTimeKey, seconds);
    Q_EMIT cloneDismissTimeChanged(seconds);
}

int MultiPetManager::timerIntervalMs(double seconds)
{
    if (!(seconds > 0.0))
        return 0;
    const double ms = std::ceil(seconds * 1000.0);
    return ms >= std::numeric_limits<int>::max() ? std::numeric_limits<int>::max() : static_cast<int>(ms);
}

QList<FloatingWindow*> MultiPetManager::clonedWindows() const
{
    QList<FloatingWindow*> windows;
    for (const QPointer<FloatingWindow>& window : m_clonedWindows) {
        if (window)
            windows.append(window.data());
    }
    return windows;
}

void MultiPetManager::performTransformation()
{
    LogManager::log(u"🎭 开始执行撒豆成兵特效"_s, category);
    dismissAllClones();
    FloatingWindow* pet = m_pet.petWindow();
    LogManager::log(u"📍 主窗口引用: "_s + describe(pet), category);

    const std::optional<QRectF> visible = m_screens.mainVisibleFrame();
    if (!visible) {
        LogManager::log(u"❌ 无法获取屏幕信息"_s, category);
        return;
    }
    for (int i = 0; i < cloneCount; ++i) {
        const int index = m_random.uniformInt(0, static_cast<int>(allPetBehaviors.size()) - 1);
        const PetBehavior behavior = allPetBehaviors.at(static_cast<std::size_t>(std::clamp(index, 0, 7)));
        // A visible frame smaller than a clone leaves no range: the clone takes its lower bound.
        const double x = m_random.uniformReal(visible->x(), visible->x() + visible->width() - cloneSize);
        const double y = m_random.uniformReal(visible->y(), visible->y() + visible->height() - cloneSize);

        auto* window = new FloatingWindow(FloatingWindow::Focus::Ignore, m_screens);
        window->setObjectName(u"cloneWindow"_s);
        window->setAttribute(Qt::WA_DeleteOnClose);
        window->setModelFrame(QRectF(x, y, cloneSize, cloneSize));
        window->setFixedSize(cloneSize, cloneSize);
        new ClonePetView(behavior, m_animations, window);
        m_clonedWindows.append(window);
        window->setWindowOpacity(0.0);
        window->show();
        window->fadeTo(1.0, fadeInMs, {}, QEasingCurve::OutQuad);
        LogManager::log(u"➕ 创建克隆["_s + QString::number(i) + u"]: "_s + displayName(behavior) + u" at ("_s
                + QString::number(static_cast<qint64>(x)) + u", "_s + QString::number(static_cast<qint64>(y)) + u")"_s,
            category);
    }
    LogManager::log(
        u"✨ 撒豆成兵已触发，创建了"_s + QString::number(m_clonedWindows.size()) + u"个克隆宠物"_s, category);
    if (pet) {
        pet->raise();
        // No window manager handles the clones, so they open above every window it does,
        // the pet too; each goes right below the pet instead.
        if (pet->isVisible()) {
            for (const QPointer<FloatingWindow>& clone : std::as_const(m_clonedWindows))
                clone->stackBelow(*pet);
        }
        LogManager::log(u"📌 确认主窗口可见"_s, category);
    }
    m_dismissTimer.start(timerIntervalMs(m_cloneDismissTime));
}

void MultiPetManager::dismissTimerFired()
{
    LogManager::log(
        u"⏰ "_s + NumberFormat::shortestDouble(m_cloneDismissTime) + u"秒计时器触发，开始清除克隆"_s, category);
    dismissAllClones();
}

void MultiPetManager::dismissAllClones()
{
    if (m_clonedWindows.isEmpty())
        return;
    LogManager::log(u"🌟 开始清除"_s + QString::number(m_clonedWindows.size()) + u"个克隆宠物"_s, category);
    const QPointer<FloatingWindow> pet = m_pet.petWindow();
    for (qsizetype i = 0; i < m_clonedWindows.size(); ++i) {
        const QPointer<FloatingWindow> window = m_clonedWindows.at(i);
        if (!window)
            continue;
        window->fadeTo(
            0.0, fadeOutMs,
            [window, i] {
                if (!window)
                    return;
                window->hide();
                LogManager::log(u"🚪 克隆窗口["_s + QString::number(i) + u"]已隐藏"_s, category);
                QTimer::singleShot(closeDelayMs, Qt::PreciseTimer, window, [window] {
                    if (window && !window->isVisible())
                        window->close();
                    // What the burst's windows held goes back to the system, not to the next burst.
                    MemoryRelease::trimSoon();
                });
            },
            QEasingCurve::InQuad);
    }
    // Each window lives on until its fade-out and close have run.
    m_clonedWindows.clear();
    m_dismissTimer.stop();
    QTimer::singleShot(petRaiseDelayMs, Qt::PreciseTimer, this, [pet] {
        if (!pet)
            return;
        PetWindowHost::bringPetToFront(*pet);
        LogManager::log(u"✅ 确认主窗口仍然可见，应用已激活"_s, category);
    });
    LogManager::log(u"✅ 所有克隆宠物清除完成"_s, category);
}
