#include "support/FakeCompanionServer.h"

#include <QHttpServerRequest>
#include <QHttpServerResponder>
#include <QJsonDocument>
#include <QMetaEnum>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <QUrl>

#include <cstdio>

using namespace Qt::StringLiterals;

namespace {

QByteArray methodName(QHttpServerRequest::Method method)
{
    const QMetaEnum meta = QMetaEnum::fromType<QHttpServerRequest::Method>();
    return QByteArray(meta.valueToKey(static_cast<int>(method))).toUpper();
}

/// Query decoding as web frameworks do it: pairs split on "&" and "=", "+" read as a blank.
QList<std::pair<QString, QString>> decodeQuery(const QByteArray& query)
{
    QList<std::pair<QString, QString>> out;
    for (QByteArray pair : query.split('&')) {
        if (pair.isEmpty())
            continue;
        pair.replace('+', ' ');
        const qsizetype eq = pair.indexOf('=');
        const QByteArray key = eq < 0 ? pair : pair.left(eq);
        const QByteArray value = eq < 0 ? QByteArray() : pair.mid(eq + 1);
        out.append({ QUrl::fromPercentEncoding(key), QUrl::fromPercentEncoding(value) });
    }
    return out;
}

QByteArray reason(int status)
{
    const QMetaEnum meta = QMetaEnum::fromType<QHttpServerResponder::StatusCode>();
    const char* key = meta.valueToKey(status);
    return key ? QByteArray(key) : QByteArray("Status");
}

} // namespace

FakeCompanionServer::FakeCompanionServer(QObject* parent)
    : QAbstractHttpServer(parent)
{
}

FakeCompanionServer::~FakeCompanionServer() = default;

bool FakeCompanionServer::start(const QHostAddress& address, quint16 port, quint16 socketPort)
{
    m_port = listen(address, port);
    return m_port != 0 && m_messageSocket.start(address, socketPort);
}

QString FakeCompanionServer::baseUrl() const
{
    return u"http://127.0.0.1:"_s + QString::number(m_port) + u"/api"_s;
}

bool FakeCompanionServer::handleRequest(const QHttpServerRequest& request, QTcpSocket* socket)
{
    RecordedRequest r;
    r.method = methodName(request.method());
    const QUrl url = request.url();
    r.path = url.path();
    r.target = url.path(QUrl::FullyEncoded).toUtf8();
    if (url.hasQuery())
        r.target += '?' + url.query(QUrl::FullyEncoded).toUtf8();
    r.query = decodeQuery(url.query(QUrl::FullyEncoded).toUtf8());
    for (const auto& [name, value] : request.headers())
        r.headers.append({ name, value });
    r.body = request.body();
    m_requests.append(r);

    const ScriptedReply script = m_script.isEmpty() ? ScriptedReply {} : m_script.takeFirst();
    const QPointer<QTcpSocket> guard(socket);
    auto respond = [this, guard, r, script] {
        if (!guard)
            return;
        if (script.dropConnection) {
            if (m_echo)
                std::printf("%s %s -> (connection dropped)\n", r.method.constData(), r.target.constData());
            guard->abort();
            return;
        }
        if (script.status) {
            answer(guard, r, *script.status, script.body, script.headers);
            return;
        }
        const FakeAnswer a = m_state.handle(r);
        answer(guard, r, a.status, QJsonDocument(a.body).toJson(QJsonDocument::Compact));
        m_messageSocket.deliverPending();
    };
    // Answer from the event loop, never from inside the server's own parsing of the request.
    QTimer::singleShot(std::max(0, script.delayMs), this, respond);
    return true;
}

void FakeCompanionServer::missingHandler(const QHttpServerRequest&, QTcpSocket* socket)
{
    socket->abort();
}

void FakeCompanionServer::answer(QTcpSocket* socket, const RecordedRequest& request, int status, const QByteArray& body,
    const QList<std::pair<QByteArray, QByteArray>>& headers)
{
    QByteArray out = "HTTP/1.1 " + QByteArray::number(status) + ' ' + reason(status) + "\r\n";
    out += "Content-Type: application/json; charset=utf-8\r\n";
    for (const auto& [name, value] : headers)
        out += name + ": " + value + "\r\n";
    out += "Content-Length: " + QByteArray::number(body.size()) + "\r\n";
    out += "Connection: keep-alive\r\n\r\n";
    out += body;
    socket->write(out);
    if (m_echo) {
        std::printf("%s %s -> %d\n", request.method.constData(), request.target.constData(), status);
        std::fflush(stdout);
    }
}
