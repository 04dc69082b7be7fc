#include "FakeNotificationService.h"

#include <QDBusMessage>

using namespace Qt::StringLiterals;

namespace {
const QString serviceName = u"org.freedesktop.Notifications"_s;
const QString objectPath = u"/org/freedesktop/Notifications"_s;
} // namespace

FakeNotificationService::FakeNotificationService(const QDBusConnection& bus, QStringList capabilities)
    : m_bus(bus)
    , m_capabilities(std::move(capabilities))
{
    if (!m_bus.isConnected())
        return;
    m_registered
        = m_bus.registerObject(objectPath, this, QDBusConnection::ExportAllSlots) && m_bus.registerService(serviceName);
}

FakeNotificationService::~FakeNotificationService()
{
    if (m_bus.isConnected()) {
        m_bus.unregisterService(serviceName);
        m_bus.unregisterObject(objectPath);
    }
}

void FakeNotificationService::closeNotification(uint id)
{
    QDBusMessage signal = QDBusMessage::createSignal(objectPath, serviceName, u"NotificationClosed"_s);
    signal << id << uint(2);
    m_bus.send(signal);
}

QStringList FakeNotificationService::GetCapabilities()
{
    return m_capabilities;
}

uint FakeNotificationService::Notify(const QString& appName, uint replacesId, const QString& /*appIcon*/,
    const QString& summary, const QString& body, const QStringList& /*actions*/, const QVariantMap& hints,
    int expireTimeout)
{
    m_calls.append({ appName, replacesId, summary, body, hints, expireTimeout });
    return replacesId != 0 ? replacesId : m_nextId++;
}

void FakeNotificationService::CloseNotification(uint /*id*/)
{
}

QString FakeNotificationService::GetServerInformation(QString& vendor, QString& version, QString& specVersion)
{
    vendor = u"Tamsel tests"_s;
    version = u"1"_s;
    specVersion = u"1.2"_s;
    return u"fake"_s;
}
