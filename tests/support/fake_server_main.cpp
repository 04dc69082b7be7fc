// The fake companion server as a program of its own, to try the client by hand:
//   tamsel_fake_server [--port N]     (default 3005, the port the client uses)
// Leave "ServerHost" unset (or "localhost") and start Tamsel; data lives until the server quits.
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
    parser.addOption(portOption);
    parser.process(app);

    bool ok = false;
    const uint port = parser.value(portOption).toUInt(&ok);
    if (!ok || port == 0 || port > 65535) {
        std::fprintf(stderr, "invalid port: %s\n", qPrintable(parser.value(portOption)));
        return 2;
    }

    FakeCompanionServer server;
    server.setEcho(true);
    server.state().setNow(QDateTime::currentDateTimeUtc());
    if (!server.start(QHostAddress::LocalHost, static_cast<quint16>(port))) {
        std::fprintf(stderr, "cannot listen on 127.0.0.1:%u\n", port);
        return 1;
    }
    // "localhost" may resolve to ::1 first; answer there too when the system allows it.
    server.listen(QHostAddress::LocalHostIPv6, static_cast<quint16>(port));
    std::printf("Fake companion server on http://localhost:%u/api (Ctrl+C to stop)\n", port);
    std::fflush(stdout);
    return app.exec();
}
