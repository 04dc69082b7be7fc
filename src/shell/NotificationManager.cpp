#include "shell/NotificationManager.h"

#include "core/EventCenter.h"
#include "platform/Clock.h"
#include "platform/Defaults.h"
#include "platform/NumberFormat.h"
#include "platform/StandardOutput.h"
#include "platform/SystemNotifications.h"

#include <QCoreApplication>
#include <QJsonObject>
#include <QPointer>

using namespace Qt::StringLiterals;

namespace {

SystemNotifications::Urgency urgencyFor(NotificationPriority priority)
{
    switch (priority) {
    case NotificationPriority::low:
        return SystemNotifications::Urgency::low;
    case NotificationPriority::normal:
    case NotificationPriority::high:
        return SystemNotifications::Urgency::normal;
    case NotificationPriority::critical:
        return SystemNotifications::Urgency::critical;
    }
    return SystemNotifications::Urgency::normal;
}

SystemNotifications::Sound soundFor(NotificationPriority priority)
{
    switch (priority) {
    case NotificationPriority::low:
        // A sound of no name: low-priority notices (day segments, the pet's mood) arrive silently.
        return SystemNotifications::Sound::none;
    case NotificationPriority::normal:
    case NotificationPriority::high:
        return SystemNotifications::Sound::standard;
    case NotificationPriority::critical:
        return SystemNotifications::Sound::critical;
    }
    return SystemNotifications::Sound::standard;
}

QString percent(double fraction)
{
    return NumberFormat::fixed(fraction * 100.0, 1);
}

} // namespace

NotificationManager::NotificationManager(
    SystemNotifications& backend, Defaults& defaults, Clock* clock, QObject* parent)
    : QObject(parent)
    , m_backend(backend)
    , m_userDefaults(defaults)
    , m_clock(clock ? *clock : Clock::system())
{
    loadNotificationSettings();
    setupNotificationObservers();
    requestAuthorization();
}

void NotificationManager::loadNotificationSettings()
{
    const QJsonValue stored = m_userDefaults.value(settingsKey);
    if (!stored.isObject())
        return;
    const QJsonObject object = stored.toObject();
    // Only a dictionary of flags counts; one value of another kind spoils the whole value.
    for (auto it = object.begin(); it != object.end(); ++it) {
        if (!it.value().isBool())
            return;
    }
    for (auto it = object.begin(); it != object.end(); ++it) {
        if (const std::optional<NotificationType> type = notificationTypeFromRaw(it.key()))
            m_notificationSettings.insert(*type, it.value().toBool());
    }
}

void NotificationManager::setupNotificationObservers()
{
    EventCenter& events = EventCenter::shared();
    connect(&events, &EventCenter::systemHealthCritical, this,
        [this](const SystemHealth& health) { sendSystemHealthNotification(health); });
    connect(&events, &EventCenter::timeSegmentDidChange, this, [this](TimeSegment oldSegment, TimeSegment newSegment) {
        sendTimeSegmentNotification(oldSegment, newSegment);
    });
    connect(&events, &EventCenter::petEmotionChanged, this,
        [this] { sendPetStatusNotification(u"情绪变化"_s, u"宠物情绪发生了变化"_s); });
}

void NotificationManager::requestAuthorization()
{
    QPointer<NotificationManager> self(this);
    m_backend.requestAuthorization([self](bool granted, const QString& error) {
        if (!self)
            return;
        if (granted) {
            StandardOutput::printLine(u"📢 通知权限已获得"_s);
        } else {
            StandardOutput::printLine(u"📢 通知权限被拒绝"_s);
            if (self->m_isNotificationEnabled) {
                self->m_isNotificationEnabled = false;
                Q_EMIT self->isNotificationEnabledChanged(false);
            }
        }
        if (!error.isEmpty())
            StandardOutput::printLine(u"📢 通知权限请求错误: "_s + error);
    });
}

void NotificationManager::sendNotification(const AppNotification& notification)
{
    if (!m_isNotificationEnabled)
        return;
    if (!m_notificationSettings.value(notification.type, true))
        return;
    addToHistory(notification);
    sendSystemNotification(notification);
    Q_EMIT EventCenter::shared().appNotificationReceived(notification);
    StandardOutput::printLine(u"📢 发送通知: ["_s + displayName(notification.type) + u"] "_s + notification.title);
}

void NotificationManager::addToHistory(const AppNotification& notification)
{
    m_notificationHistory.prepend(notification);
    if (m_notificationHistory.size() > maxHistoryCount)
        m_notificationHistory.removeLast();
    Q_EMIT notificationHistoryChanged();
}

void NotificationManager::sendSystemNotification(const AppNotification& notification)
{
    SystemNotifications::Request request;
    request.identifier = rawValue(notification.type) + u'_' + notification.id;
    request.title = notification.title;
    request.body = notification.body;
    request.urgency = urgencyFor(notification.priority);
    request.sound = soundFor(notification.priority);
    m_backend.add(request, [](const QString& error) {
        if (!error.isEmpty())
            StandardOutput::printLine(u"📢 发送系统通知失败: "_s + error);
    });
}

QString NotificationManager::systemHealthBody(const SystemHealth& health)
{
    QString body = u"CPU: "_s + percent(health.cpuUsage) + u"%, 内存: "_s + percent(health.memoryUsage) + u"%"_s;
    if (health.cpuUsage > 0.8)
        body += u"\n⚠️ CPU使用率过高"_s;
    else if (health.memoryUsage > 0.8)
        body += u"\n⚠️ 内存使用率过高"_s;
    else if (health.diskUsage > 0.9)
        body += u"\n⚠️ 磁盘空间不足"_s;
    return body;
}

void NotificationManager::sendSystemHealthNotification(const SystemHealth& health)
{
    const HealthLevel level = health.overallHealth;
    const QVariantMap data {
        { u"cpuUsage"_s, health.cpuUsage },
        { u"memoryUsage"_s, health.memoryUsage },
        { u"diskUsage"_s, health.diskUsage },
        { u"healthLevel"_s, rawValue(level) },
    };
    sendNotification(AppNotification::make(u"系统状态: "_s + emoji(level) + u' ' + displayName(level),
        systemHealthBody(health), NotificationType::systemHealth,
        level == HealthLevel::critical ? NotificationPriority::critical : NotificationPriority::high, m_clock.now(),
        data));
}

void NotificationManager::sendPetStatusNotification(const QString& title, const QString& message)
{
    sendNotification(AppNotification::make(
        u"🐱 "_s + title, message, NotificationType::petStatus, NotificationPriority::low, m_clock.now()));
}

void NotificationManager::sendTimeSegmentNotification(TimeSegment oldSegment, TimeSegment newSegment)
{
    const QVariantMap data {
        { u"oldSegment"_s, rawValue(oldSegment) },
        { u"newSegment"_s, rawValue(newSegment) },
    };
    sendNotification(AppNotification::make(u"时间变化 "_s + emoji(newSegment),
        u"现在是"_s + displayName(newSegment) + u"时间，宠物行为将相应调整"_s, NotificationType::timeSegment,
        NotificationPriority::low, m_clock.now(), data));
}
