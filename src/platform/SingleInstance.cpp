#include "platform/SingleInstance.h"

#include <QByteArray>
#include <QFileInfo>
#include <QLocalSocket>

#include <sys/socket.h>
#include <unistd.h>

#include <utility>

using namespace Qt::StringLiterals;

namespace {

constexpr int connectTimeoutMs = 1000;
constexpr qsizetype maxMessageBytes = 64;

// Only a server run by this same user may take over the launch; a socket planted by
// someone else in a shared folder must not stop the program from starting.
bool peerIsSameUser(const QLocalSocket& socket)
{
    ucred credentials {};
    socklen_t size = sizeof(credentials);
    if (getsockopt(int(socket.socketDescriptor()), SOL_SOCKET, SO_PEERCRED, &credentials, &size) != 0)
        return false;
    return credentials.uid == getuid();
}

} // namespace

SingleInstance::SingleInstance(QString serverName, QObject* parent)
    : QObject(parent)
    , m_serverName(std::move(serverName))
{
    m_server.setSocketOptions(QLocalServer::UserAccessOption);
    connect(&m_server, &QLocalServer::newConnection, this, &SingleInstance::acceptConnections);
}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::defaultServerName()
{
    QString name = u"tamsel-"_s + QString::number(getuid());
    // One pet per display: a pet on another X display must not swallow this launch. The
    // screen number (":0.1") names the same display, so it is left out.
    QString display = qEnvironmentVariable("DISPLAY");
    const qsizetype screen = display.lastIndexOf(u'.');
    if (screen > display.lastIndexOf(u':'))
        display.truncate(screen);
    if (!display.isEmpty()) {
        for (QChar& c : display) {
            if (!(c.unicode() < 128 && c.isLetterOrNumber()) && c != u':' && c != u'.' && c != u'-')
                c = u'_';
        }
        name += u'-' + display;
    }
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QFileInfo(runtime).isDir())
        return runtime + u'/' + name;
    return name;
}

bool SingleInstance::tryBecomePrimary()
{
    if (m_server.isListening())
        return true;
    if (askRunningInstanceToReopen())
        return false;
    // Nobody answered: whatever socket file is left belongs to a program that ended
    // without cleaning up.
    QLocalServer::removeServer(m_serverName);
    if (m_server.listen(m_serverName))
        return true;
    // Another launch may have started listening in between.
    if (askRunningInstanceToReopen())
        return false;
    return true;
}

bool SingleInstance::askRunningInstanceToReopen()
{
    QLocalSocket socket;
    socket.connectToServer(m_serverName);
    if (!socket.waitForConnected(connectTimeoutMs))
        return false;
    if (!peerIsSameUser(socket)) {
        socket.abort();
        return false;
    }
    socket.write(reopenMessage);
    const bool sent = socket.waitForBytesWritten(connectTimeoutMs);
    socket.disconnectFromServer();
    if (socket.state() != QLocalSocket::UnconnectedState)
        socket.waitForDisconnected(connectTimeoutMs);
    return sent;
}

void SingleInstance::acceptConnections()
{
    while (QLocalSocket* socket = m_server.nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        auto handle = [this, socket] {
            // A message is short; anything longer is not one of ours.
            if (socket->bytesAvailable() > maxMessageBytes) {
                socket->abort();
                return;
            }
            if (!socket->canReadLine())
                return;
            const QByteArray line = socket->readLine();
            socket->disconnectFromServer();
            if (line == reopenMessage)
                Q_EMIT reopenRequested();
        };
        connect(socket, &QLocalSocket::readyRead, this, handle);
        handle(); // the bytes may already be there
    }
}
