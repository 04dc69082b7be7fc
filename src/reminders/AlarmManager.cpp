#include "reminders/AlarmManager.h"

#include "platform/Clock.h"
#include "platform/Defaults.h"
#include "platform/LogManager.h"
#include "platform/NumberFormat.h"
#include "platform/StoredList.h"
#include "reminders/AlarmWindowManager.h"
#include "reminders/LocalTime.h"
#include "reminders/MinuteTicker.h"

#include <QMetaObject>

using namespace Qt::StringLiterals;

namespace {

const QString category = u"Alarm"_s;
const QString defaultTitle = u"会议闹钟"_s;
const QString defaultMessage = u"会议时间到了！"_s;

const StoredListKeys& storedKeys()
{
    static const StoredListKeys keys { AlarmManager::alarmsKey, AlarmManager::unreadableKey, category, u"闹钟"_s };
    return keys;
}

/// Alarms are kept with their instants in UTC, which the minute check reads cheaply.
Alarm normalised(Alarm alarm)
{
    alarm.time = alarm.time.toUTC();
    alarm.createdAt = alarm.createdAt.toUTC();
    return alarm;
}

/// The next full hour after `now`: at 14:25 it is 15:00, at 23:40 midnight.
QDateTime nextFullHour(const QDateTime& now)
{
    const QDateTime later = now.toLocalTime().addSecs(3600);
    return QDateTime(later.date(), QTime(later.time().hour(), 0));
}

} // namespace

AlarmManager::AlarmManager(
    Clock& clock, Defaults& defaults, MinuteTicker& ticker, Lazy<AlarmWindowManager> windows, QObject* parent)
    : QObject(parent)
    , m_clock(clock)
    , m_defaults(defaults)
    , m_checkTimer(ticker)
    , m_windows(std::move(windows))
{
    loadAlarms();
    checkAndUpdateDefaultAlarms();
    setupDefaultAlarms();
    LogManager::log(u"⏰ AlarmManager 初始化"_s, category);
}

void AlarmManager::loadAlarms()
{
    const std::optional<QList<Alarm>> stored = StoredList::load<Alarm>(m_defaults, storedKeys());
    if (!stored)
        return;
    m_alarms = *stored;
    Q_EMIT alarmsChanged();
    LogManager::log(u"📂 加载闹钟列表，共 "_s + QString::number(m_alarms.size()) + u" 个"_s, category);
    startMonitoringIfNeeded();
}

void AlarmManager::saveAlarms()
{
    m_defaults.setValue(alarmsKey, StoredList::toJson(m_alarms));
    LogManager::log(u"💾 保存闹钟列表，共 "_s + QString::number(m_alarms.size()) + u" 个"_s, category);
}

void AlarmManager::checkAndUpdateDefaultAlarms()
{
    const int stored = m_defaults.integer(alarmVersionKey);
    if (stored >= currentAlarmVersion || m_alarms.isEmpty())
        return;
    const QString current = QString::number(currentAlarmVersion);
    LogManager::log(
        u"🔄 检测到闹钟版本更新 ("_s + QString::number(stored) + u" -> "_s + current + u")，更新默认闹钟"_s, category);
    const auto it = std::find_if(m_alarms.begin(), m_alarms.end(),
        [](const Alarm& a) { return a.type == AlarmType::meeting && a.title == defaultTitle; });
    if (it != m_alarms.end()) {
        it->title = defaultTitle;
        it->message = defaultMessage;
        it->type = AlarmType::meeting;
        it->repeatType = AlarmRepeatType::once;
        it->customWeekdays.clear();
        Q_EMIT alarmsChanged();
        LogManager::log(u"✅ 更新默认闹钟: 会议闹钟 -> 仅一次"_s, category);
    }
    saveAlarms();
    m_defaults.setValue(alarmVersionKey, currentAlarmVersion);
    LogManager::log(u"✅ 闹钟版本已更新到 "_s + current, category);
}

void AlarmManager::setupDefaultAlarms()
{
    if (!m_alarms.isEmpty())
        return;
    const QDateTime now = m_clock.now();
    Alarm alarm;
    alarm.id = Alarm::newId();
    alarm.title = defaultTitle;
    alarm.message = defaultMessage;
    alarm.type = AlarmType::meeting;
    alarm.time = nextFullHour(now);
    alarm.repeatType = AlarmRepeatType::once;
    alarm.isEnabled = false;
    alarm.createdAt = now;
    m_alarms.append(normalised(alarm));
    Q_EMIT alarmsChanged();
    saveAlarms();
    m_defaults.setValue(alarmVersionKey, currentAlarmVersion);
    LogManager::log(
        u"⏰ 创建默认闹钟：会议闹钟（仅一次，版本 "_s + QString::number(currentAlarmVersion) + u"）"_s, category);
}

void AlarmManager::addAlarm(const Alarm& alarm)
{
    m_alarms.append(normalised(alarm));
    Q_EMIT alarmsChanged();
    saveAlarms();
    LogManager::log(u"➕ 添加闹钟: "_s + alarm.title + u" at "_s + alarm.timeText(), category);
    startMonitoringIfNeeded();
}

void AlarmManager::updateAlarm(const Alarm& alarm)
{
    const auto it = std::find_if(m_alarms.begin(), m_alarms.end(), [&](const Alarm& a) { return a.id == alarm.id; });
    if (it == m_alarms.end())
        return;
    *it = normalised(alarm);
    Q_EMIT alarmsChanged();
    saveAlarms();
    LogManager::log(u"✏️ 更新闹钟: "_s + alarm.title, category);
    startMonitoringIfNeeded();
}

void AlarmManager::removeAlarm(const QString& givenId)
{
    // The id may be that of an alarm in the list itself, which the removal overwrites.
    const QString id = givenId;
    if (m_alarms.removeIf([&](const Alarm& a) { return a.id == id; }) > 0)
        Q_EMIT alarmsChanged();
    saveAlarms();
    LogManager::log(u"🗑️ 删除闹钟: "_s + id, category);
}

void AlarmManager::toggleAlarm(const QString& id)
{
    const auto it = std::find_if(m_alarms.begin(), m_alarms.end(), [&](const Alarm& a) { return a.id == id; });
    if (it == m_alarms.end())
        return;
    it->isEnabled = !it->isEnabled;
    const QString line = u"🔄 切换闹钟状态: "_s + it->title + u" -> "_s + (it->isEnabled ? u"启用"_s : u"禁用"_s);
    Q_EMIT alarmsChanged();
    saveAlarms();
    LogManager::log(line, category);
    startMonitoringIfNeeded();
}

QList<Alarm> AlarmManager::getEnabledAlarms() const
{
    QList<Alarm> enabled;
    for (const Alarm& alarm : m_alarms) {
        if (alarm.isEnabled)
            enabled.append(alarm);
    }
    return enabled;
}

void AlarmManager::startMonitoringIfNeeded()
{
    // An enabled alarm must ring whatever screen the user has or has not opened.
    if (!m_isActive && std::any_of(m_alarms.cbegin(), m_alarms.cend(), [](const Alarm& a) { return a.isEnabled; }))
        startMonitoring();
}

void AlarmManager::startMonitoring()
{
    if (m_isActive)
        return;
    m_isActive = true;
    Q_EMIT isActiveChanged(true);
    const double delay = MinuteTicker::secondsToNextMinute(m_clock.now());
    LogManager::log(u"⏰ 闹钟对齐中，"_s + NumberFormat::fixed(delay, 2) + u"秒后到达整分钟"_s, category);
    connect(&m_checkTimer, &MinuteTicker::minuteStarted, this, &AlarmManager::onMinute, Qt::UniqueConnection);
    m_checkTimer.start();
    LogManager::log(u"🚀 开始监控闹钟"_s, category);
}

void AlarmManager::stopMonitoring()
{
    if (!m_isActive)
        return;
    m_isActive = false;
    m_aligned = false;
    disconnect(&m_checkTimer, &MinuteTicker::minuteStarted, this, &AlarmManager::onMinute);
    Q_EMIT isActiveChanged(false);
    LogManager::log(u"⏹️ 停止监控闹钟"_s, category);
}

void AlarmManager::resetToDefaults()
{
    m_alarms.clear();
    m_lastRung.clear();
    stopMonitoring();
    // Seeding announces the new list and stores it with the current defaults version.
    setupDefaultAlarms();
    LogManager::log(u"🔄 闹钟已恢复默认"_s, category);
}

void AlarmManager::onMinute(const QDateTime& minute)
{
    checkAlarms(minute);
    if (!m_aligned) {
        m_aligned = true;
        LogManager::log(u"✅ 闹钟已对齐到整分钟，开始精确监控"_s, category);
    }
}

void AlarmManager::checkAlarms(const QDateTime& minute)
{
    const LocalTime localTime;
    const QDateTime local = localTime(minute);
    const QString minuteKey = local.toString(u"yyyy-MM-dd HH:mm"_s);
    const QList<Alarm> snapshot = getEnabledAlarms();
    for (const Alarm& alarm : snapshot) {
        if (!alarm.shouldTrigger(local, localTime))
            continue;
        // The repeated hour of the autumn change, or a clock set back, brings a local
        // minute round again; it has rung already.
        QString& last = m_lastRung[alarm.id];
        if (last == minuteKey)
            continue;
        last = minuteKey;
        LogManager::log(u"🔔 触发闹钟: "_s + alarm.title + u" at "_s + alarm.timeText(), category);
        triggerAlarm(alarm);
        if (alarm.repeatType == AlarmRepeatType::once)
            toggleAlarm(alarm.id);
    }
}

void AlarmManager::triggerAlarm(const Alarm& alarm)
{
    // Queued, so a card never opens in the middle of the check that rang it.
    QMetaObject::invokeMethod(
        this, [windows = m_windows, alarm] { windows->showAlarm(alarm); }, Qt::QueuedConnection);
}
