#pragma once

#include "platform/SystemNotifications.h"

#include <QList>

/// Records what the manager hands to the notification service; answers permission as told.
class FakeNotificationBackend final : public SystemNotifications
{
public:
    bool grant = true;
    QString authorizationError;
    QList<Request> requests;

    FakeNotificationBackend()
        : SystemNotifications(QDBusConnection(QStringLiteral("no-bus")))
    {
    }

    void requestAuthorization(AuthorizationHandler handler) override { handler(grant, authorizationError); }
    void add(const Request& request, CompletionHandler completion) override
    {
        requests.append(request);
        if (completion)
            completion({});
    }
};
