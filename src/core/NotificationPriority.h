#pragma once

#include <QMetaType>

/// How urgent a notification is; chooses its urgency and sound.
enum class NotificationPriority { low = 0, normal = 1, high = 2, critical = 3 };

Q_DECLARE_METATYPE(NotificationPriority)
