// The drift-bottle window's 5 s refresh with 1,000 conversations of which one has a new
// message: the main thread's CPU time from asking for the list to the list being published,
// decoding, the row comparison and the client's own log lines included. The server answers
// from another thread, so its work is not counted. Target: under 20 ms per refresh.
// Prints the median, the 95th percentile and the worst of 60 refreshes, and what the
// list model announced (moves, changed rows, resets).
#include "BenchServices.h"
#include "DriftBottleBenchSetup.h"
#include "driftbottle/ConversationListModel.h"
#include "driftbottle/ConversationManager.h"
#include "driftbottle/DriftBottleManager.h"
#include "platform/Clock.h"
#include "platform/Defaults.h"
#include "platform/TimerSource.h"
#include "server/APIClient.h"
#include "server/UserManager.h"

#include <QCoreApplication>
#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QThread>

#include <QCoroTask>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <ctime>
#include <unistd.h>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

constexpr int conversationCount = 1000;

QJsonObject row(int i, bool newMessage)
{
    return QJsonObject {
        { u"bottle_id"_s, QString(u"bottle-"_s + QString::number(i)) },
        { u"other_user_id"_s, 1000 + i },
        { u"other_user_name"_s, QString(u"漂流者"_s + QString::number(i)) },
        { u"other_user_emoji"_s, u"🐱"_s },
        { u"last_message"_s, newMessage ? u"刚刚收到的新消息"_s : u"今天的海风有点咸，你那边天气怎么样？"_s },
        { u"final_time"_s,
            newMessage ? u"2024-05-02T09:00:00.000Z"_s
                       : u"2024-05-01T08:%1:00.000Z"_s.arg(59 - i % 60, 2, 10, QChar(u'0')) },
        { u"conversation_type"_s, i % 3 ? u"received"_s : u"sent"_s },
        { u"status"_s, u"replied"_s },
        { u"has_reply"_s, 1 },
        { u"unread_count"_s, newMessage ? 1 : 0 },
    };
}

/// The whole HTTP reply: the list as it was, or with conversation 500 lifted to the top by a new message.
QByteArray httpReply(bool withNewMessage)
{
    QJsonArray list;
    if (withNewMessage)
        list.append(row(500, true));
    for (int i = 0; i < conversationCount; ++i) {
        if (!(withNewMessage && i == 500))
            list.append(row(i, false));
    }
    const QByteArray body
        = QJsonDocument(QJsonObject { { u"success"_s, true }, { u"message"_s, u"获取成功"_s }, { u"data"_s, list } })
              .toJson(QJsonDocument::Compact);
    return "HTTP/1.1 200 OK\r\nContent-Type: application/json\r\nConnection: close\r\nContent-Length: "
        + QByteArray::number(body.size()) + "\r\n\r\n" + body;
}

/// Answers every request with the next of two canned replies, alternating, from its own thread.
class CannedServer final : public QObject
{
public:
    CannedServer()
        : m_replies { httpReply(false), httpReply(true) }
    {
    }
    quint16 start()
    {
        m_server->listen(QHostAddress::LocalHost);
        connect(m_server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* socket = m_server->nextPendingConnection()) {
                connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
                    m_pending[socket] += socket->readAll();
                    if (!m_pending[socket].contains("\r\n\r\n"))
                        return;
                    m_pending.remove(socket);
                    socket->write(m_replies[m_next++ % 2]);
                    socket->disconnectFromHost();
                });
                connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            }
        });
        return m_server->serverPort();
    }

private:
    QTcpServer* m_server = new QTcpServer(this); // a child, so it moves to the server thread too
    QByteArray m_replies[2];
    QHash<QTcpSocket*, QByteArray> m_pending;
    int m_next = 0;
};

} // namespace

int main(int argc, char** argv)
{
    // A throw-away home, so the log file and the settings go nowhere near the user's.
    QTemporaryDir home;
    for (const char* name : { "HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME" })
        qputenv(name, home.path().toUtf8());
    FILE* out = bench::figuresStream();

    QCoreApplication app(argc, argv);
    BenchServices services(home.filePath(u"log"_s));

    QThread serverThread;
    auto* server = new CannedServer;
    server->moveToThread(&serverThread);
    serverThread.start();
    quint16 port = 0;
    QMetaObject::invokeMethod(
        server, [&] { port = server->start(); }, Qt::BlockingQueuedConnection);

    Defaults defaults(QDir(home.path()).filePath(u"defaults.json"_s));
    bench::storeSignedInUser(defaults);

    bench::SignedInClient signedIn(defaults, port);
    APIClient& client = signedIn.client();
    UserManager& users = signedIn.users();
    DriftBottleManager bottles(client, users, defaults, Clock::system());
    ConversationManager manager(client, users, bottles, TimerSource::system());

    int moves = 0, changedRows = 0, resets = 0;
    // The list as the drift-bottle window shows it, so a refresh includes the model's row diff.
    ConversationListModel rows(manager, Clock::system());
    QObject::connect(&rows, &QAbstractItemModel::rowsMoved, [&] { ++moves; });
    QObject::connect(&rows, &QAbstractItemModel::modelReset, [&] { ++resets; });
    QObject::connect(&rows, &QAbstractItemModel::dataChanged,
        [&](const QModelIndex& first, const QModelIndex& last) { changedRows += last.row() - first.row() + 1; });

    bool failed = false;
    QCoro::waitFor(bench::refresh(manager, &failed)); // the first list
    resets = 0;
    constexpr int runs = 60;
    std::vector<double> ms;
    for (int i = 0; i < runs && !failed; ++i) {
        const double start = bench::mainThreadCpuMs();
        QCoro::waitFor(bench::refresh(manager, &failed));
        ms.push_back(bench::mainThreadCpuMs() - start);
    }
    QMetaObject::invokeMethod(
        server, [server] { delete server; }, Qt::BlockingQueuedConnection);
    serverThread.quit();
    serverThread.wait();
    if (failed || manager.conversations().size() != conversationCount) {
        std::fprintf(out, "refresh failed\n");
        return 1;
    }

    std::sort(ms.begin(), ms.end());
    std::fprintf(
        out, "refresh of %d conversations, one changed, main-thread CPU time over %d runs:\n", conversationCount, runs);
    std::fprintf(out, "  median %.2f ms, p95 %.2f ms, worst %.2f ms (target < 20 ms)\n", ms[ms.size() / 2],
        ms[ms.size() * 95 / 100], ms.back());
    std::fprintf(out, "  reported: %d moves, %d changed rows, %d resets\n", moves, changedRows, resets);
    std::fclose(out);
    return 0;
}
