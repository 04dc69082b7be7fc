#pragma once

#include "core/NotificationPriority.h"
#include "core/NotificationType.h"

#include <QDateTime>
#include <QMetaType>
#include <QString>
#include <QVariantMap>

#include <optional>

/// One message for the user, shown as a system notification and kept in the history.
struct AppNotification
{
    QString id;
    QString title;
    QString body;
    NotificationType type = NotificationType::general;
    NotificationPriority priority = NotificationPriority::normal;
    QDateTime timestamp;
    std::optional<QVariantMap> data;

    /// A notification with a fresh UUID as its id.
    [[nodiscard]] static AppNotification make(const QString& title, const QString& body, NotificationType type,
        NotificationPriority priority, const QDateTime& timestamp, std::optional<QVariantMap> data = std::nullopt);
};

Q_DECLARE_METATYPE(AppNotification)
