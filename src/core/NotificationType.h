#pragma once

#include <QMetaType>
#include <QString>

#include <array>
#include <optional>

/// What a notification is about; each kind can be switched off on its own.
enum class NotificationType { reminder, systemHealth, petStatus, timeSegment, general };

inline constexpr std::array<NotificationType, 5> allNotificationTypes { NotificationType::reminder,
    NotificationType::systemHealth, NotificationType::petStatus, NotificationType::timeSegment,
    NotificationType::general };

[[nodiscard]] QString rawValue(NotificationType type);
[[nodiscard]] std::optional<NotificationType> notificationTypeFromRaw(const QString& raw);
[[nodiscard]] QString displayName(NotificationType type);

Q_DECLARE_METATYPE(NotificationType)
