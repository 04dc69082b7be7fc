// The fake companion server as a program of its own, to try the client by hand:
//   tamsel_fake_server [--port N] [--socket-port M]   (defaults 3005 and 3000, the client's ports)
//       [--latest-version V] [--release-notes TEXT]   (what the version check offers)
// Leave "ServerHost" unset (or "localhost") and start Tamsel; data lives until the server quits.
// With "localhost" in its address the client opens the message socket on port 3000.
#include "support/FakeCompanionServer.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDateTime>

#include <cstdio>

using namespace Qt::StringLiterals;

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(u"Tamsel fake companion server"_s);
    parser.addHelpOption();
    const QCommandLineOption portOption(u"port"_s, u"Port to listen on (default 3005)."_s, u"port"_s, u"3005"_s);
    const QCommandLineOption socketPortOption(
        u"socket-port"_s, u"Port of the friend-message socket (default 3000)."_s, u"port"_s, u"3000"_s);
    const QCommandLineOption latestOption(u"latest-version"_s,
        u"The newest version the version check offers (default 1.0.0)."_s, u"version"_s, u"1.0.0"_s);
    const QCommandLineOption notesOption(
        u"release-notes"_s, u"Release notes that go with the newest version."_s, u"text"_s);
    parser.addOption(portOption);
    parser.addOption(socketPortOption);
    parser.addOption(latestOption);
    parser.addOption(notesOption);
    parser.process(app);

    const auto readPort = [&](const QCommandLineOption& option) -> uint {
        bool ok = false;
        const uint value = parser.value(option).toUInt(&ok);
        return ok && value > 0 && value <= 65535 ? value : 0;
    };
    const uint port = readPort(portOption);
    const uint socketPort = readPort(socketPortOption);
    if (port == 0 || socketPort == 0) {
        std::fprintf(stderr, "invalid port: %s / %s\n", qPrintable(parser.value(portOption)),
            qPrintable(parser.value(socketPortOption)));
        return 2;
    }

    FakeCompanionServer server;
    server.setEcho(true);
    server.state().setNow(QDateTime::currentDateTimeUtc());
    server.state().latestVersion = parser.value(latestOption);
    if (parser.isSet(notesOption))
        server.state().releaseNotes = parser.value(notesOption);
    if (!server.start(QHostAddress::LocalHost, static_cast<quint16>(port), static_cast<quint16>(socketPort))) {
        std::fprintf(stderr, "cannot listen on 127.0.0.1:%u and :%u\n", port, socketPort);
        return 1;
    }
    // "localhost" may resolve to ::1 first; answer there too when the system allows it.
    server.listen(QHostAddress::LocalHostIPv6, static_cast<quint16>(port));
    std::printf("Fake companion server on http://localhost:%u/api and ws://localhost:%u/ws (Ctrl+C to stop)\n", port,
        socketPort);
    std::fflush(stdout);
    return app.exec();
}
