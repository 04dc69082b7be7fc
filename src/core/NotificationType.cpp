#include "core/NotificationType.h"

#include "core/EnumFromRaw.h"

using namespace Qt::StringLiterals;

QString rawValue(NotificationType type)
{
    switch (type) {
    case NotificationType::reminder:
        return u"reminder"_s;
    case NotificationType::systemHealth:
        return u"systemHealth"_s;
    case NotificationType::petStatus:
        return u"petStatus"_s;
    case NotificationType::timeSegment:
        return u"timeSegment"_s;
    case NotificationType::general:
        return u"general"_s;
    }
    return {};
}

std::optional<NotificationType> notificationTypeFromRaw(const QString& raw)
{
    return enumFromRaw(allNotificationTypes, raw);
}

QString displayName(NotificationType type)
{
    switch (type) {
    case NotificationType::reminder:
        return u"提醒通知"_s;
    case NotificationType::systemHealth:
        return u"系统健康"_s;
    case NotificationType::petStatus:
        return u"宠物状态"_s;
    case NotificationType::timeSegment:
        return u"时间变化"_s;
    case NotificationType::general:
        return u"一般通知"_s;
    }
    return {};
}
