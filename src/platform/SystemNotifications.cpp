#include "platform/SystemNotifications.h"

#include <QCoreApplication>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QMetaObject>
#include <QVariantMap>

using namespace Qt::StringLiterals;

namespace {

const QString service = u"org.freedesktop.Notifications"_s;
const QString path = u"/org/freedesktop/Notifications"_s;
const QString interface = u"org.freedesktop.Notifications"_s;
const QString appName = u"Tamsel"_s;
const QString noBusError = u"没有可用的会话总线 (D-Bus session bus)"_s;

} // namespace

SystemNotifications::SystemNotifications(const QDBusConnection& bus, QObject* parent)
    : QObject(parent)
    , m_bus(bus)
{
}

QString SystemNotifications::escapeMarkup(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        if (c == u'&')
            out += u"&amp;"_s;
        else if (c == u'<')
            out += u"&lt;"_s;
        else if (c == u'>')
            out += u"&gt;"_s;
        else
            out += c;
    }
    return out;
}

bool SystemNotifications::bodyNeedsEscaping() const
{
    // A service that does not read markup shows entities literally; until it has told us
    // what it reads, assume it reads markup, since unescaped text could be taken as tags.
    return !m_capabilities || m_capabilities->contains(u"body-markup"_s);
}

void SystemNotifications::rememberCapabilities(const QStringList& capabilities)
{
    m_capabilities = capabilities;
    if (!m_watchingClosed) {
        m_watchingClosed = m_bus.connect(
            service, path, interface, u"NotificationClosed"_s, this, SLOT(onNotificationClosed(uint, uint)));
    }
}

void SystemNotifications::onNotificationClosed(uint id, uint /*reason*/)
{
    for (auto it = m_shownIds.begin(); it != m_shownIds.end(); ++it) {
        if (it.value() == id) {
            m_shownIds.erase(it);
            return;
        }
    }
}

void SystemNotifications::requestAuthorization(AuthorizationHandler handler)
{
    if (!m_bus.isConnected()) {
        QMetaObject::invokeMethod(
            this, [handler] { handler(false, noBusError); }, Qt::QueuedConnection);
        return;
    }
    // The service answering at all is the permission: there is nothing else to ask for.
    const QDBusMessage call = QDBusMessage::createMethodCall(service, path, interface, u"GetCapabilities"_s);
    auto* watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, handler](QDBusPendingCallWatcher* w) {
        w->deleteLater();
        const QDBusPendingReply<QStringList> reply = *w;
        if (reply.isError()) {
            handler(false, reply.error().message());
            return;
        }
        rememberCapabilities(reply.value());
        handler(true, {});
    });
}

void SystemNotifications::add(const Request& request, CompletionHandler completion)
{
    if (!m_bus.isConnected()) {
        if (completion) {
            QMetaObject::invokeMethod(
                this, [completion] { completion(noBusError); }, Qt::QueuedConnection);
        }
        return;
    }
    QVariantMap hints;
    hints.insert(u"urgency"_s, QVariant::fromValue(static_cast<uchar>(request.urgency)));
    switch (request.sound) {
    case Sound::none:
        hints.insert(u"suppress-sound"_s, true);
        break;
    case Sound::standard:
        hints.insert(u"sound-name"_s, u"message-new-instant"_s);
        break;
    case Sound::critical:
        hints.insert(u"sound-name"_s, u"dialog-warning"_s);
        break;
    }
    const QString body = bodyNeedsEscaping() ? escapeMarkup(request.body) : request.body;
    const uint replacesId = m_shownIds.value(request.identifier, 0);

    QDBusMessage call = QDBusMessage::createMethodCall(service, path, interface, u"Notify"_s);
    call << appName << replacesId << QString() << request.title << body << QStringList() << hints
         << static_cast<qint32>(-1);
    auto* watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(call), this);
    const QString identifier = request.identifier;
    connect(
        watcher, &QDBusPendingCallWatcher::finished, this, [this, identifier, completion](QDBusPendingCallWatcher* w) {
            w->deleteLater();
            const QDBusPendingReply<uint> reply = *w;
            if (reply.isError()) {
                if (completion)
                    completion(reply.error().message());
                return;
            }
            m_shownIds.insert(identifier, reply.value());
            if (completion)
                completion({});
        });
}
