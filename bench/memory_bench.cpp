// The whole program fed what a broken or hostile server may send: a conversation list of
// 50 MB at every refresh of the open drift-bottle window, then 10,000 friend messages of
// 60 KB each over the message socket. Prints the resident memory at rest, the peak of each
// feed and what stays once it is over (target: peak at most 150 MB above rest, back within
// 10 MB of it after).
//
// The server runs in a child process (this program with --serve), so that its own buffers
// are not counted; it takes the ports the program uses for a server on this machine, 3005
// for HTTP and 3000 for the socket.
//
// Usage: tamsel_bench_memory_bench [list MB, default 50] [messages, default 10000] [message KB, default 60]
#include "BenchScript.h"
#include "DriftBottleBenchSetup.h"
#include "app/CompositionRoot.h"
#include "app/DesktopPetApp.h"
#include "driftbottle/ConversationManager.h"
#include "driftbottle/DriftBottleWindowManager.h"
#include "menus/PetContextMenu.h"
#include "platform/Defaults.h"
#include "platform/LogManager.h"
#include "platform/MemoryRelease.h"
#include "server/APIClient.h"

#include <QApplication>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMenu>
#include <QProcess>
#include <QSocketNotifier>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTimer>
#include <QWebSocket>
#include <QWebSocketServer>

#include <cstdio>
#include <functional>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

struct Sizes
{
    int listMb = 50;
    int messages = 10000;
    int messageKb = 60;
};

Sizes sizesFrom(const QStringList& args)
{
    Sizes s;
    s.listMb = args.value(0).toInt() > 0 ? args.value(0).toInt() : s.listMb;
    s.messages = args.value(1).toInt() > 0 ? args.value(1).toInt() : s.messages;
    s.messageKb = args.value(2).toInt() > 0 ? args.value(2).toInt() : s.messageKb;
    return s;
}

QByteArray httpReply(const QByteArray& body)
{
    return "HTTP/1.1 200 OK\r\nContent-Type: application/json\r\nConnection: close\r\nContent-Length: "
        + QByteArray::number(body.size()) + "\r\n\r\n" + body;
}

/// A well-formed conversation list of about `bytes`: rows with long last messages.
QByteArray conversationList(qint64 bytes)
{
    const QString text(900, u'海');
    QJsonArray rows;
    const qint64 rowBytes = 3 * text.size() + 300;
    for (qint64 i = 0; i * rowBytes < bytes; ++i) {
        rows.append(QJsonObject { { u"bottle_id"_s, QString(u"bottle-"_s + QString::number(i)) },
            { u"other_user_id"_s, 1000 + i }, { u"other_user_name"_s, QString(u"漂流者"_s + QString::number(i)) },
            { u"other_user_emoji"_s, u"🐱"_s }, { u"last_message"_s, text },
            { u"final_time"_s, u"2024-05-01T08:00:00.000Z"_s }, { u"conversation_type"_s, u"received"_s },
            { u"status"_s, u"replied"_s }, { u"has_reply"_s, 1 }, { u"unread_count"_s, 0 } });
    }
    return QJsonDocument(QJsonObject { { u"success"_s, true }, { u"message"_s, u"获取成功"_s }, { u"data"_s, rows } })
        .toJson(QJsonDocument::Compact);
}

QString frame(const QJsonObject& json)
{
    return QString::fromUtf8(QJsonDocument(json).toJson(QJsonDocument::Compact));
}

/// The child: answers the conversation list with the big list and everything else with an
/// empty success; on the socket, authenticates anybody and, on "push" from standard input,
/// sends the messages, a batch whenever the last one has left.
int serve(int argc, char** argv, const Sizes& sizes)
{
    QCoreApplication app(argc, argv);
    const QByteArray bigList = httpReply(conversationList(qint64(sizes.listMb) * 1024 * 1024));
    const QByteArray smallList = httpReply(conversationList(64 * 1024));
    bool big = false;
    const QByteArray empty = httpReply(R"({"success":true,"message":"ok","data":[]})");
    QTcpServer http;
    QWebSocketServer sockets(u"bench"_s, QWebSocketServer::NonSecureMode);
    if (!http.listen(QHostAddress::LocalHost, 3005) || !sockets.listen(QHostAddress::LocalHost, 3000)) {
        std::printf("error: ports 3005 and 3000 must be free\n");
        return 1;
    }
    QObject::connect(&http, &QTcpServer::newConnection, [&] {
        while (QTcpSocket* socket = http.nextPendingConnection()) {
            auto request = std::make_shared<QByteArray>();
            QObject::connect(socket, &QTcpSocket::readyRead, socket, [&, socket, request] {
                *request += socket->readAll();
                if (!request->contains("\r\n\r\n"))
                    return;
                if (request->contains("/bottles/conversations"))
                    socket->write(big ? bigList : smallList);
                else
                    socket->write(empty);
                socket->disconnectFromHost();
            });
            QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        }
    });
    QList<QWebSocket*> clients;
    QObject::connect(&sockets, &QWebSocketServer::newConnection, [&] {
        QWebSocket* socket = sockets.nextPendingConnection();
        clients.append(socket);
        QObject::connect(socket, &QWebSocket::textMessageReceived, socket, [socket](const QString& text) {
            const QString type = QJsonDocument::fromJson(text.toUtf8()).object().value(u"type"_s).toString();
            if (type == u"auth"_s)
                socket->sendTextMessage(frame({ { u"type"_s, u"auth_success"_s }, { u"userId"_s, 1 } }));
            else if (type == u"ping"_s)
                socket->sendTextMessage(frame({ { u"type"_s, u"pong"_s } }));
        });
        QObject::connect(socket, &QWebSocket::disconnected, socket, [&clients, socket] {
            clients.removeAll(socket);
            socket->deleteLater();
        });
    });

    const QString content(sizes.messageKb * 1024, u'x');
    int sent = 0;
    std::function<void()> pushBatch = [&] {
        if (clients.isEmpty()) {
            std::printf("error: the program never opened its message socket\n");
            std::fflush(stdout);
            return;
        }
        for (int i = 0; i < 100 && sent < sizes.messages; ++i, ++sent) {
            const QJsonObject data { { u"messageId"_s, sent + 1 }, { u"senderId"_s, 2 },
                { u"senderNickname"_s, u"朋友"_s }, { u"senderAvatar"_s, u"🐶"_s }, { u"receiverId"_s, 1 },
                { u"content"_s, content }, { u"isOffline"_s, false },
                { u"timestamp"_s, u"2024-05-01T08:00:00.000Z"_s } };
            clients.first()->sendTextMessage(frame({ { u"type"_s, u"friend_message"_s }, { u"data"_s, data } }));
        }
        if (sent < sizes.messages) {
            QTimer::singleShot(1, pushBatch);
            return;
        }
        std::printf("pushed\n");
        std::fflush(stdout);
    };
    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, [&] {
        char line[64] {};
        if (::read(STDIN_FILENO, line, sizeof line - 1) <= 0)
            QCoreApplication::quit(); // the bench is gone
        else if (QByteArray(line).startsWith("push"))
            pushBatch();
        else if (QByteArray(line).startsWith("big"))
            big = true;
    });
    std::printf("ready\n");
    std::fflush(stdout);
    return app.exec();
}

/// "VmRSS" or "VmHWM" of this process, in MB.
double memoryMb(const char* field)
{
    QFile status(u"/proc/self/status"_s);
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(field))
            return line.mid(qstrlen(field) + 1).trimmed().split(' ').value(0).toDouble() / 1024.0;
    }
    return -1;
}

void resetPeak()
{
    QFile clear(u"/proc/self/clear_refs"_s);
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
}

} // namespace

int main(int argc, char** argv)
{
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args.append(QString::fromLocal8Bit(argv[i]));
    if (args.value(0) == u"--serve"_s)
        return serve(argc, argv, sizesFrom(args.mid(1)));
    const Sizes sizes = sizesFrom(args);

    MemoryRelease::configureAllocator();
    QTemporaryDir home;
    qputenv("HOME", home.path().toUtf8());
    qputenv("XDG_CONFIG_HOME", (home.path() + u"/.config"_s).toUtf8());
    qputenv("XDG_DATA_HOME", (home.path() + u"/.local/share"_s).toUtf8());
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    FILE* out = bench::figuresStream();
    QApplication app(argc, argv);
    QApplication::setApplicationName(u"Tamsel"_s);
    QApplication::setQuitOnLastWindowClosed(false);
    {
        // As an earlier session would have left it: signed in, on the server of this machine.
        Defaults settings(Defaults::defaultFilePath());
        bench::storeSignedInUser(settings);
        settings.setValue(APIClient::serverHostKey, u"localhost"_s);
    }

    QProcess server;
    server.start(QString::fromLocal8Bit(argv[0]),
        { u"--serve"_s, QString::number(sizes.listMb), QString::number(sizes.messages),
            QString::number(sizes.messageKb) });
    if (!server.waitForReadyRead(120000) || !server.readLine().startsWith("ready")) {
        std::fprintf(out, "the server did not start: %s\n", server.readAll().constData());
        return 1;
    }

    CompositionRoot root;
    DesktopPetApp petApp(root);

    std::fprintf(out, "feeds: a %d MB conversation list, %d friend messages of %d KB\n", sizes.listMb, sizes.messages,
        sizes.messageKb);
    double rest = 0;
    const auto report = [&](const char* what) {
        std::fprintf(out, "  %-34s peak %7.1f MB (%+7.1f), after %7.1f MB (%+6.1f)\n", what, memoryMb("VmHWM"),
            memoryMb("VmHWM") - rest, memoryMb("VmRSS"), memoryMb("VmRSS") - rest);
        std::fflush(out);
        resetPeak();
    };
    // The newest line of a category in the program's own log: what the program made of a feed.
    const auto lastLine = [](const QString& category) {
        const QList<LogManager::LogEntry> logs = LogManager::shared().logs();
        for (auto it = logs.crbegin(); it != logs.crend(); ++it) {
            if (it->category == category)
                return it->message.left(160).toStdString();
        }
        return std::string("-");
    };
    const auto bottleWindow = [] {
        const QWidgetList windows = QApplication::topLevelWidgets();
        for (QWidget* window : windows) {
            if (window->isVisible() && window->windowTitle() == DriftBottleWindowManager::windowTitle)
                return window;
        }
        return static_cast<QWidget*>(nullptr);
    };
    const auto openBottleWindow = [&] {
        // As the user opens it: the pet's menu, "🍾 漂流瓶".
        std::unique_ptr<QMenu> menu(root.managers().petMenu->createAnimationContextMenu());
        for (QAction* action : menu->actions()) {
            if (action->text().contains(u"漂流瓶"_s))
                action->trigger();
        }
    };
    bench::Script script;
    // Past the start-up, the friend connection (2 s) and the update check (5 s), the window
    // is opened once on an ordinary list, so that what it costs by itself (fonts, styles)
    // counts as the program at rest.
    script.then(8000, openBottleWindow);
    script.then(3000, [&] {
        if (QWidget* window = bottleWindow())
            window->close();
    });
    script.then(3000, [&] {
        rest = memoryMb("VmRSS");
        std::fprintf(out, "  at rest (window shown once)        %7.1f MB\n", rest);
        resetPeak();
        server.write("big\n");
        openBottleWindow();
    });
    // Three refreshes of the open window, 5 s apart; then the window is closed.
    script.then(ConversationManager::refreshInterval * 3 - 1000, [&] {
        std::fprintf(out, "  window open: %s; last line: %s\n", bottleWindow() ? "yes" : "no",
            lastLine(u"Conversation"_s).c_str());
        if (QWidget* window = bottleWindow())
            window->close();
    });
    script.then(3000, [&] { report("conversation list, window closed:"); });
    script.then(0, [&] { server.write("push\n"); });
    const qint64 messageBytes = qint64(sizes.messages) * sizes.messageKb * 1024;
    script.then(static_cast<int>(std::max<qint64>(5000, messageBytes / (20 * 1024 * 1024))), [&] {
        std::fprintf(out, "  server: %s; last line: %s\n", server.readAll().trimmed().constData(),
            lastLine(u"Friend"_s).c_str());
    });
    script.then(3000, [&] { report("friend messages, 3 s later:"); });
    script.then(0, [] { QCoreApplication::quit(); });
    script.run();
    const int code = QApplication::exec();
    server.closeWriteChannel();
    server.waitForFinished(5000);
    return code;
}
