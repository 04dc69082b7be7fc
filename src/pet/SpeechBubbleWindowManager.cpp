#include "pet/SpeechBubbleWindowManager.h"

#include "core/EventCenter.h"
#include "core/Reminder.h"
#include "pet/SpeechBubbleView.h"
#include "pet/WindowManager.h"
#include "platform/BubblePlacement.h"
#include "platform/FloatingWindow.h"
#include "platform/LogManager.h"
#include "platform/NumberFormat.h"
#include "platform/Screens.h"
#include "platform/StandardOutput.h"

#include <QCoreApplication>
#include <QEvent>

using namespace Qt::StringLiterals;

namespace {
const QString category = u"SpeechBubble"_s;

void log(const QString& message)
{
    LogManager::log(message, category);
}

QString pointText(QPointF p)
{
    return NumberFormat::shortestDouble(p.x()) + u", "_s + NumberFormat::shortestDouble(p.y());
}

QString frameText(const QRectF& frame)
{
    return u"origin=("_s + pointText(frame.topLeft()) + u"), size=("_s + NumberFormat::shortestDouble(frame.width())
        + u", "_s + NumberFormat::shortestDouble(frame.height()) + u")"_s;
}

/// Beside the pet with its vertical middle level with the pet's, on the side where it fits.
QPointF placeBeside(const FloatingWindow& pet, const QRectF& petFrame, double height)
{
    const double y = petFrame.y() + petFrame.height() * 0.5 - height * 0.5;
    return BubblePlacement::besidePet(petFrame, QSizeF(SpeechBubbleWindowManager::bubbleSize.width(), height),
        SpeechBubbleWindowManager::gap, y, BubblePlacement::areaAround(petFrame, pet.screens().visibleFrames()));
}

} // namespace

SpeechBubbleWindowManager::SpeechBubbleWindowManager(
    WindowManager& windowManager, SpeechBubbleLook look, QObject* parent)
    : QObject(parent)
    , m_windowManager(windowManager)
    , m_look(std::move(look))
{
    setupNotificationObservers();
    StandardOutput::printLine(u"💬 气泡窗口管理器已初始化"_s);
}

SpeechBubbleWindowManager::~SpeechBubbleWindowManager()
{
    delete m_bubbleWindow.data();
}

FloatingWindow* SpeechBubbleWindowManager::bubbleWindow() const
{
    return m_bubbleWindow;
}

SpeechBubbleView* SpeechBubbleWindowManager::bubbleView() const
{
    return m_bubbleView;
}

void SpeechBubbleWindowManager::setupNotificationObservers()
{
    EventCenter& events = EventCenter::shared();
    connect(&events, &EventCenter::reminderTriggered, this, &SpeechBubbleWindowManager::handleReminderTriggered);
    connect(&events, &EventCenter::showSpeechBubble, this, &SpeechBubbleWindowManager::showBubble);
    log(u"💬 气泡管理器已设置通知监听"_s);
}

void SpeechBubbleWindowManager::handleReminderTriggered(const Reminder& reminder)
{
    log(u"💬 收到提醒触发通知"_s);
    log(u"💬 提醒内容: "_s + reminder.title + u" - "_s + reminder.message);
    showBubble(reminder.title, reminder.message, emoji(reminder.type));
}

void SpeechBubbleWindowManager::showBubble(const QString& title, const QString& message, const QString& emoji)
{
    log(u"💬 showBubble 被调用: "_s + title);
    showBubbleWindow(title, message, emoji);
}

void SpeechBubbleWindowManager::showBubbleWindow(const QString& title, const QString& message, const QString& emoji)
{
    log(u"开始显示气泡窗口"_s);
    log(u"标题: "_s + title);
    log(u"消息: "_s + message);
    hideBubbleWindow();

    WindowManager& windows = m_windowManager;
    FloatingWindow* pet = windows.petWindow();
    if (!pet) {
        log(u"❌ 无法获取宠物窗口"_s);
        return;
    }
    const QRectF petFrame = pet->modelFrame();
    log(u"🐱 宠物窗口初始位置: "_s + frameText(petFrame));
    const double right = petFrame.x() + petFrame.width();
    const QPointF origin = placeBeside(*pet, petFrame, bubbleSize.height());
    log(u"💬 气泡窗口计算: 宠物右边缘="_s + NumberFormat::shortestDouble(right) + u", 间距=10"_s);
    log(u"💬 气泡初始位置: "_s + frameText(QRectF(origin, bubbleSize)));

    auto* window = new FloatingWindow(FloatingWindow::Focus::Refuse, pet->screens());
    window->setObjectName(u"speechBubbleWindow"_s);
    window->setModelFrame(QRectF(origin, bubbleSize));
    window->setFixedSize(bubbleSize.toSize());
    // The close action belongs to this bubble: once another bubble has replaced it, its
    // timer or button must not take the newer one away.
    const QPointer<FloatingWindow> own(window);
    auto* view = new SpeechBubbleView(
        message, title, emoji,
        [self = QPointer<SpeechBubbleWindowManager>(this), own] {
            StandardOutput::printLine(u"💬 气泡关闭回调被调用"_s);
            if (self && own && self->m_bubbleWindow == own)
                self->hideBubbleWindow();
        },
        m_look, window);
    view->setGeometry(0, 0, int(bubbleSize.width()), int(bubbleSize.height()));
    m_bubbleWindow = window;
    m_bubbleView = view;
    window->setWindowOpacity(0.0);
    window->show();
    window->raise();
    window->setModelFrame(QRectF(origin, bubbleSize));
    // The origin the bubble was given: a framing window manager reports the real one only
    // later, and reading it back before then gives a place where the bubble never stood.
    log(u"✅ 气泡窗口已创建: 期望位置=("_s + pointText(origin) + u"), 实际位置=("_s + pointText(origin) + u")"_s);

    // Every move of the pet is followed: the window manager's own announcement of a move
    // and the window system's (a drag moves the window directly).
    m_positionObserver = connect(&windows, &WindowManager::petWindowDidMove, this, [this, pet](FloatingWindow* moved) {
        if (moved == pet)
            updateBubblePosition();
    });
    m_observedPetWindow = pet;
    pet->installEventFilter(this);
    log(u"已添加宠物窗口位置观察者"_s);
}

bool SpeechBubbleWindowManager::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Move && watched == m_observedPetWindow && m_positionObserver)
        updateBubblePosition();
    return QObject::eventFilter(watched, event);
}

void SpeechBubbleWindowManager::updateBubblePosition()
{
    FloatingWindow* pet = m_observedPetWindow;
    if (!m_bubbleWindow || !pet)
        return;
    const QRectF petFrame = pet->modelFrame();
    const QRectF old = m_bubbleWindow->modelFrame();
    const QPointF origin = placeBeside(*pet, petFrame, old.height());
    log(u"🔄 更新气泡位置:"_s);
    log(u"   宠物当前: "_s + frameText(petFrame));
    log(u"   气泡旧frame: "_s + frameText(old));
    log(u"   气泡新位置: origin=("_s + pointText(origin) + u")"_s);
    m_bubbleWindow->setModelFrame(QRectF(origin, old.size()));
    log(u"   气泡实际位置: origin=("_s + pointText(m_bubbleWindow->modelFrame().topLeft()) + u")"_s);
}

void SpeechBubbleWindowManager::hideBubbleWindow()
{
    log(u"隐藏气泡窗口"_s);
    if (m_positionObserver) {
        disconnect(m_positionObserver);
        m_positionObserver = {};
        if (m_observedPetWindow)
            m_observedPetWindow->removeEventFilter(this);
        m_observedPetWindow = nullptr;
        log(u"已移除位置观察者"_s);
    }
    if (FloatingWindow* window = m_bubbleWindow) {
        m_bubbleWindow = nullptr;
        m_bubbleView = nullptr;
        window->hide();
        window->deleteLater();
    }
}
