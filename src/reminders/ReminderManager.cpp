#include "reminders/ReminderManager.h"

#include "core/EventCenter.h"
#include "platform/Clock.h"
#include "platform/Defaults.h"
#include "platform/LogManager.h"
#include "platform/NumberFormat.h"
#include "platform/StandardOutput.h"
#include "platform/StoredList.h"
#include "platform/SystemNotifications.h"
#include "reminders/LocalTime.h"
#include "reminders/MinuteTicker.h"
#include "reminders/ReminderSchedule.h"

using namespace Qt::StringLiterals;

namespace {

const QString category = u"Reminder"_s;

const StoredListKeys& storedKeys()
{
    // An entry that cannot be read is reported under the reminders' own load-failure text.
    static const StoredListKeys keys { ReminderManager::remindersKey, ReminderManager::unreadableKey, category,
        u"提醒"_s, u"加载提醒失败: "_s };
    return keys;
}

QString timeOrNone(const std::optional<QDateTime>& time, const LocalTime& local = LocalTime())
{
    return time ? local.timeOfDay(*time).toString(Qt::ISODate) : u"无"_s;
}

/// Reminders are kept with their instants in UTC, which the minute check reads cheaply.
Reminder normalised(Reminder reminder)
{
    reminder.createdAt = reminder.createdAt.toUTC();
    if (reminder.lastTriggered)
        reminder.lastTriggered = reminder.lastTriggered->toUTC();
    return reminder;
}

QString wholeMinutes(double seconds)
{
    // Truncated towards zero, as the interval is shown everywhere else.
    return std::isfinite(seconds) ? QString::number(static_cast<qint64>(seconds / 60.0))
                                  : NumberFormat::shortestDouble(seconds);
}

} // namespace

ReminderManager::ReminderManager(
    Clock& clock, Defaults& defaults, SystemNotifications& notifications, MinuteTicker& ticker, QObject* parent)
    : QObject(parent)
    , m_clock(clock)
    , m_userDefaults(defaults)
    , m_notifications(notifications)
    , m_checkTimer(ticker)
{
    loadReminders();
    checkAndUpdateDefaultReminders();
    setupDefaultReminders();
}

// Freeing the manager at quit ends its minute ticker with it, without announcing a stop: the
// reminders run for the program's whole life.
ReminderManager::~ReminderManager() = default;

void ReminderManager::loadReminders()
{
    const std::optional<QList<Reminder>> stored = StoredList::load<Reminder>(m_userDefaults, storedKeys());
    if (!stored)
        return;
    m_reminders.clear();
    m_reminders.reserve(stored->size());
    for (const Reminder& reminder : *stored)
        m_reminders.append(normalised(reminder));
    Q_EMIT remindersChanged();
    StandardOutput::printLine(u"⏰ 加载了 "_s + QString::number(m_reminders.size()) + u" 个提醒"_s);
}

void ReminderManager::saveReminders()
{
    m_userDefaults.setValue(remindersKey, StoredList::toJson(m_reminders));
}

void ReminderManager::checkAndUpdateDefaultReminders()
{
    const int stored = m_userDefaults.integer(reminderVersionKey);
    if (stored >= currentReminderVersion)
        return;
    const QString current = QString::number(currentReminderVersion);
    LogManager::log(
        u"🔄 检测到提醒版本更新 ("_s + QString::number(stored) + u" -> "_s + current + u")，更新默认提醒内容"_s,
        category);
    for (const ReminderType type : { ReminderType::rest, ReminderType::hydration, ReminderType::eyeRest }) {
        const auto it = std::find_if(
            m_reminders.begin(), m_reminders.end(), [type](const Reminder& r) { return r.type == type; });
        if (it == m_reminders.end())
            continue;
        it->title = displayName(type);
        it->message = defaultMessage(type);
        LogManager::log(u"✅ 更新提醒: "_s + displayName(type), category);
    }
    Q_EMIT remindersChanged();
    saveReminders();
    m_userDefaults.setValue(reminderVersionKey, currentReminderVersion);
    LogManager::log(u"✅ 提醒版本已更新到 "_s + current, category);
}

void ReminderManager::setupDefaultReminders()
{
    if (!m_reminders.isEmpty())
        return;
    for (const ReminderType type : { ReminderType::rest, ReminderType::hydration, ReminderType::eyeRest })
        m_reminders.append(normalised(createDefaultReminder(type)));
    Q_EMIT remindersChanged();
    saveReminders();
    m_userDefaults.setValue(reminderVersionKey, currentReminderVersion);
    LogManager::log(u"⏰ 创建默认提醒（版本 "_s + QString::number(currentReminderVersion) + u"）"_s, category);
}

Reminder ReminderManager::createDefaultReminder(ReminderType type) const
{
    return ::createDefaultReminder(type, m_clock.now());
}

void ReminderManager::resetToDefaults()
{
    m_reminders.clear();
    // Seeding announces the new list and stores it with the current defaults version.
    setupDefaultReminders();
}

QList<Reminder> ReminderManager::getReminders(ReminderType type) const
{
    QList<Reminder> ofType;
    std::copy_if(m_reminders.cbegin(), m_reminders.cend(), std::back_inserter(ofType),
        [type](const Reminder& r) { return r.type == type; });
    return ofType;
}

std::optional<ReminderManager::NextReminder> ReminderManager::getNextReminder() const
{
    std::optional<NextReminder> first;
    for (const Reminder& reminder : m_reminders) {
        const std::optional<QDateTime> next = reminder.getNextTriggerTime();
        if (next && (!first || *next < first->triggerTime))
            first = NextReminder { reminder, *next };
    }
    return first;
}

QStringList ReminderManager::getReminderStatusInfo() const
{
    QStringList lines;
    for (const Reminder& reminder : m_reminders) {
        const QString state
            = reminder.isEnabled ? u"下次: "_s + timeOrNone(reminder.getNextTriggerTime()) : u"已禁用"_s;
        lines.append(emoji(reminder.type) + u' ' + reminder.title + u", 间隔: "_s + wholeMinutes(reminder.interval)
            + u"分钟, "_s + state);
    }
    return lines;
}

void ReminderManager::startReminderSystem()
{
    if (m_isActive)
        return;
    m_isActive = true;
    m_aligned = false;
    Q_EMIT isActiveChanged(true);
    const double delay = MinuteTicker::secondsToNextMinute(m_clock.now());
    LogManager::log(u"⏰ 提醒系统对齐中，"_s + NumberFormat::fixed(delay, 2) + u"秒后到达整分钟"_s, category);
    connect(&m_checkTimer, &MinuteTicker::minuteStarted, this, &ReminderManager::onMinute, Qt::UniqueConnection);
    m_checkTimer.start();
    LogManager::log(u"⏰ 提醒系统已启动，检查间隔: "_s + NumberFormat::fixed(checkInterval, 1) + u"秒"_s, category);
    LogManager::log(u"⏰ 当前提醒总数: "_s + QString::number(m_reminders.size()) + u"，启用数: "_s
            + QString::number(getEnabledReminders().size()),
        category);
}

void ReminderManager::stopReminderSystem()
{
    if (!m_isActive)
        return;
    m_isActive = false;
    disconnect(&m_checkTimer, &MinuteTicker::minuteStarted, this, &ReminderManager::onMinute);
    Q_EMIT isActiveChanged(false);
    StandardOutput::printLine(u"⏰ 提醒系统已停止"_s);
}

void ReminderManager::onMinute(const QDateTime& minute)
{
    checkPendingReminders(minute);
    if (!m_aligned) {
        m_aligned = true;
        LogManager::log(u"✅ 提醒系统已对齐到整分钟，开始精确监控"_s, category);
    }
}

void ReminderManager::addReminder(const Reminder& reminder)
{
    m_reminders.append(normalised(reminder));
    Q_EMIT remindersChanged();
    saveReminders();
    LogManager::log(u"⏰ 添加提醒: "_s + reminder.title + u", 间隔: "_s + wholeMinutes(reminder.interval)
            + u"分钟, 下次: "_s + timeOrNone(reminder.getNextTriggerTime()),
        category);
}

void ReminderManager::updateReminder(const Reminder& reminder)
{
    replaceReminder(reminder, true, LocalTime());
}

void ReminderManager::replaceReminder(const Reminder& reminder, bool store, const LocalTime& local)
{
    const auto it
        = std::find_if(m_reminders.begin(), m_reminders.end(), [&](const Reminder& r) { return r.id == reminder.id; });
    if (it == m_reminders.end())
        return;
    Reminder updated = normalised(reminder);
    // NaN never equals itself; a stored NaN must not count as changed on every edit.
    const bool intervalChanged
        = !(it->interval == reminder.interval || (std::isnan(it->interval) && std::isnan(reminder.interval)));
    if (intervalChanged)
        updated.lastTriggered = m_clock.nowUtc();
    *it = updated;
    Q_EMIT remindersChanged();
    if (store)
        saveReminders();
    LogManager::log(u"⏰ 更新提醒: "_s + updated.title + u", 间隔: "_s + wholeMinutes(updated.interval)
            + u"分钟, 下次: "_s + timeOrNone(updated.getNextTriggerTime(), local) + u", 间隔已变化: "_s
            + (intervalChanged ? u"true"_s : u"false"_s),
        category);
}

void ReminderManager::toggleReminder(const QString& id)
{
    const auto it = std::find_if(m_reminders.begin(), m_reminders.end(), [&](const Reminder& r) { return r.id == id; });
    if (it == m_reminders.end())
        return;
    it->isEnabled = !it->isEnabled;
    Q_EMIT remindersChanged();
    saveReminders();
    StandardOutput::printLine(u"⏰ 切换提醒状态: "_s + it->title + u" -> "_s + (it->isEnabled ? u"启用"_s : u"禁用"_s));
}

void ReminderManager::removeReminder(const QString& givenId)
{
    // The id may be that of a reminder in the list itself, which the removal overwrites.
    const QString id = givenId;
    if (m_reminders.removeIf([&](const Reminder& r) { return r.id == id; }) > 0)
        Q_EMIT remindersChanged();
    saveReminders();
    StandardOutput::printLine(u"⏰ 移除提醒: "_s + id);
}

QList<Reminder> ReminderManager::getEnabledReminders() const
{
    QList<Reminder> enabled;
    for (const Reminder& reminder : m_reminders) {
        if (reminder.isEnabled)
            enabled.append(reminder);
    }
    return enabled;
}

void ReminderManager::checkPendingReminders(const QDateTime& minute)
{
    const LocalTime local;
    const QDateTime now = m_clock.nowUtc();
    // A beat may come a hair before the minute it stands for; that minute is what counts.
    const QDateTime checkTime = std::max(now, minute.toUTC());
    const QList<Reminder> snapshot = getEnabledReminders();
    LogManager::log(u"⏰ 开始检查提醒 - 当前时间: "_s + local(now).toString(u"HH:mm:ss"_s) + u", 启用提醒数: "_s
            + QString::number(snapshot.size()),
        category);
    bool fired = false;
    for (const Reminder& reminder : snapshot) {
        const std::optional<QDateTime> next = reminder.getNextTriggerTime();
        const bool due = next && !(checkTime < *next);
        LogManager::log(u"   ["_s + reminder.title + u"] 下次: "_s + timeOrNone(next, local) + u", 应触发: "_s
                + (due ? u"true"_s : u"false"_s),
            category);
        if (due) {
            triggerReminder(reminder, local);
            fired = true;
        }
    }
    // One write for the whole check, however many fired.
    if (fired)
        saveReminders();
}

void ReminderManager::triggerReminder(const Reminder& reminder, const LocalTime& local)
{
    LogManager::log(u"🔔 触发提醒: "_s + reminder.title, category);
    Reminder fired = reminder;
    fired.lastTriggered = m_clock.nowUtc();
    replaceReminder(fired, false, local);
    sendReminderNotification(reminder);
    Q_EMIT EventCenter::shared().reminderTriggered(reminder);
    LogManager::log(u"📢 已发送提醒通知和应用内通知"_s, category);
}

void ReminderManager::sendReminderNotification(const Reminder& reminder)
{
    SystemNotifications::Request request;
    request.identifier = u"reminder_"_s + reminder.id;
    request.title = emoji(reminder.type) + u' ' + reminder.title;
    request.body = reminder.message;
    request.urgency = SystemNotifications::Urgency::normal;
    request.sound = SystemNotifications::Sound::standard;
    m_notifications.add(request, [](const QString& error) {
        if (!error.isEmpty())
            StandardOutput::printLine(u"发送提醒通知失败: "_s + error);
    });
}
