#include "core/AppNotification.h"

#include <QUuid>

AppNotification AppNotification::make(const QString& title, const QString& body, NotificationType type,
    NotificationPriority priority, const QDateTime& timestamp, std::optional<QVariantMap> data)
{
    return AppNotification { QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper(), title, body, type, priority,
        timestamp, std::move(data) };
}
