#pragma once

#include "core/AppNotification.h"
#include "core/SystemHealth.h"
#include "core/TimeSegment.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QString>

class Clock;
class Defaults;
class SystemNotifications;

/// The one place the program tells the user something outside its own windows: filters
/// each notification by the global and per-type switches, keeps the last 50, hands it to
/// the desktop's notification service and announces "appNotificationReceived". Also turns
/// a step into critical load and a change of day segment into notifications.
class NotificationManager final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(NotificationManager)

public:
    static inline const QString settingsKey = QStringLiteral("NotificationSettings");
    static constexpr int maxHistoryCount = 50;

    /// Loads the per-type switches, listens for load and day-segment events and asks the
    /// notification service for permission.
    NotificationManager(
        SystemNotifications& backend, Defaults& defaults, Clock* clock = nullptr, QObject* parent = nullptr);

    [[nodiscard]] bool isNotificationEnabled() const { return m_isNotificationEnabled; }
    /// Newest first.
    [[nodiscard]] const QList<AppNotification>& notificationHistory() const { return m_notificationHistory; }
    [[nodiscard]] const QHash<NotificationType, bool>& notificationSettings() const { return m_notificationSettings; }

    void sendNotification(const AppNotification& notification);
    void sendSystemHealthNotification(const SystemHealth& health);
    void sendPetStatusNotification(const QString& title, const QString& message);
    void sendTimeSegmentNotification(TimeSegment oldSegment, TimeSegment newSegment);

    /// The body of a load notification: CPU and memory in percent and at most one warning.
    [[nodiscard]] static QString systemHealthBody(const SystemHealth& health);

Q_SIGNALS:
    void notificationHistoryChanged();
    void isNotificationEnabledChanged(bool enabled);

private:
    void addToHistory(const AppNotification& notification);
    void setupNotificationObservers();
    void loadNotificationSettings();
    void requestAuthorization();
    void sendSystemNotification(const AppNotification& notification);

    SystemNotifications& m_backend;
    Defaults& m_userDefaults;
    Clock& m_clock;
    bool m_isNotificationEnabled = true;
    QList<AppNotification> m_notificationHistory;
    QHash<NotificationType, bool> m_notificationSettings;
};
