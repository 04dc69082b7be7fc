#pragma once

#include "support/FakeCompanionState.h"
#include "support/FakeMessageSocket.h"

#include <QAbstractHttpServer>
#include <QHostAddress>
#include <QList>
#include <QString>

#include <optional>

/// A scripted answer that replaces (or delays) the fake's ordinary one.
struct ScriptedReply
{
    /// Answer with this status and `body` instead of the endpoint's own answer.
    std::optional<int> status;
    /// The raw reply body: any bytes, valid JSON or not, UTF-8 or not.
    QByteArray body;
    /// Answer this many milliseconds late (the ordinary answer when no status is given).
    int delayMs = 0;
    /// Close the connection without answering at all.
    bool dropConnection = false;
    /// Further header lines of a scripted answer ("Location", "Content-Encoding", ...).
    QList<std::pair<QByteArray, QByteArray>> headers = {};
};

/// The companion server on 127.0.0.1 for tests and for trying the client by hand. It
/// speaks every user, bottle, conversation and friend endpoint with data kept in memory,
/// records every request for assertions, and can be told how to answer the next ones.
class FakeCompanionServer final : public QAbstractHttpServer
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FakeCompanionServer)

public:
    explicit FakeCompanionServer(QObject* parent = nullptr);
    ~FakeCompanionServer() override;

    /// Listens on `address` for HTTP on `port` and for the message socket on `socketPort`;
    /// port 0 lets the system choose. Returns false on failure.
    bool start(const QHostAddress& address = QHostAddress::LocalHost, quint16 port = 0, quint16 socketPort = 0);
    [[nodiscard]] quint16 port() const { return m_port; }
    /// "http://127.0.0.1:<port>/api": the base address a client under test uses.
    [[nodiscard]] QString baseUrl() const;

    [[nodiscard]] const QList<RecordedRequest>& requests() const { return m_requests; }
    [[nodiscard]] const RecordedRequest& lastRequest() const { return m_requests.constLast(); }

    /// The next request (of any path) gets this answer; several queue up in order.
    void scriptNext(ScriptedReply reply) { m_script.append(std::move(reply)); }

    [[nodiscard]] FakeCompanionState& state() { return m_state; }
    /// The friend-message socket; it pushes a message sent over HTTP to a connected receiver.
    [[nodiscard]] FakeMessageSocket& messageSocket() { return m_messageSocket; }

    /// A line per request on standard output ("GET /api/... -> 200"), for the hand-run server.
    void setEcho(bool echo)
    {
        m_echo = echo;
        m_messageSocket.setEcho(echo);
    }

protected:
    bool handleRequest(const QHttpServerRequest& request, QTcpSocket* socket) override;
    void missingHandler(const QHttpServerRequest& request, QTcpSocket* socket) override;

private:
    void answer(QTcpSocket* socket, const RecordedRequest& request, int status, const QByteArray& body,
        const QList<std::pair<QByteArray, QByteArray>>& headers = {});

    FakeCompanionState m_state;
    FakeMessageSocket m_messageSocket { m_state };
    QList<RecordedRequest> m_requests;
    QList<ScriptedReply> m_script;
    quint16 m_port = 0;
    bool m_echo = false;
};
