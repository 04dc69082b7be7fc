#include "reminders/AlarmWindowManager.h"

#include "platform/FloatingWindow.h"
#include "platform/LogManager.h"
#include "platform/Screens.h"
#include "reminders/AlarmWindowView.h"

#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

const QString category = u"Alarm"_s;

} // namespace

AlarmWindowManager::AlarmWindowManager(Screens& screens, QObject* parent)
    : QObject(parent)
    , m_screens(screens)
{
    LogManager::log(u"⏰ AlarmWindowManager 初始化"_s, category);
}

AlarmWindowManager::~AlarmWindowManager()
{
    qDeleteAll(m_alarmWindows);
    for (const QPointer<FloatingWindow>& window : std::as_const(m_closing))
        delete window.data();
}

QRectF AlarmWindowManager::cardFrame(const QRectF& visibleFrame, qsizetype openCards)
{
    // A larger font makes larger cards; the gap between two stays as it is.
    const QSize size = AlarmWindowView::cardSize();
    const double width = size.width();
    const double height = size.height();
    const double pitch = height + (step - AlarmWindowView::cardHeight);
    return { visibleFrame.right() - width - margin, visibleFrame.bottom() - height - margin - pitch * double(openCards),
        width, height };
}

void AlarmWindowManager::showAlarm(const Alarm& alarm)
{
    LogManager::log(u"🔔 显示闹钟: "_s + alarm.title, category);
    if (FloatingWindow* old = m_alarmWindows.take(alarm.id))
        delete old;

    const std::optional<QRectF> visible = m_screens.mainVisibleFrame();
    if (!visible)
        return;

    auto* window = new FloatingWindow(FloatingWindow::Focus::Refuse, m_screens);
    window->setObjectName(u"alarmWindow"_s);
    const QString id = alarm.id;
    auto* view = new AlarmWindowView(
        alarm, [this, id] { closeAlarm(id); }, window);
    auto* layout = new QVBoxLayout(window);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(view);
    // In the model y grows upwards, so the rectangle's "bottom" is the visible area's top edge.
    window->setModelFrame(cardFrame(*visible, m_alarmWindows.size()));
    m_alarmWindows.insert(alarm.id, window);
    window->show();
    window->raise();
    LogManager::log(u"✅ 闹钟窗口已显示，当前共 "_s + QString::number(m_alarmWindows.size()) + u" 个"_s, category);
}

void AlarmWindowManager::closeAlarm(const QString& alarmId)
{
    FloatingWindow* window = m_alarmWindows.take(alarmId);
    if (!window)
        return;
    LogManager::log(u"🚪 关闭闹钟窗口: "_s + alarmId, category);
    m_closing.append(window);
    QPointer<FloatingWindow> guard(window);
    window->fadeTo(0.0, fadeOutMs, [this, guard] {
        m_closing.removeAll(guard);
        if (guard) {
            guard->hide();
            guard->deleteLater();
        }
    });
    LogManager::log(u"✅ 闹钟窗口已关闭，剩余 "_s + QString::number(m_alarmWindows.size()) + u" 个"_s, category);
}

void AlarmWindowManager::closeAllAlarms()
{
    const QStringList ids = m_alarmWindows.keys();
    for (const QString& id : ids)
        closeAlarm(id);
}
