#pragma once

#include <QMetaType>

#include <array>

/// How urgent a notification is; chooses its urgency and sound.
enum class NotificationPriority { low = 0, normal = 1, high = 2, critical = 3 };

inline constexpr std::array<NotificationPriority, 4> allNotificationPriorities { NotificationPriority::low,
    NotificationPriority::normal, NotificationPriority::high, NotificationPriority::critical };

Q_DECLARE_METATYPE(NotificationPriority)
