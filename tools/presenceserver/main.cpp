// presenceserver: run a presence server for the program's web presence updates.

#include "PresenceServer.h"
#include "presence/SiteDefaults.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <cstdio>

int main(int argc, char *argv[]) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("presenceserver"));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Accepts web presence updates and serves each user's status as JSON and as a badge."));
    parser.addHelpOption();
    const QCommandLineOption port(QStringLiteral("port"),
                                  QStringLiteral("Port to listen on; 0 picks a free one (default 8462)."),
                                  QStringLiteral("N"), QStringLiteral("8462"));
    const QCommandLineOption address(QStringLiteral("address"),
                                     QStringLiteral("Address to listen on (default 127.0.0.1)."),
                                     QStringLiteral("IP"), QStringLiteral("127.0.0.1"));
    const QCommandLineOption salt(QStringLiteral("salt"), QStringLiteral("Salt of the update token."),
                                  QStringLiteral("TEXT"), QString::fromLatin1(SiteDefaults::PresenceSalt));
    const QCommandLineOption versionFile(QStringLiteral("version-file"),
                                         QStringLiteral("File served as /orviversion.txt."),
                                         QStringLiteral("PATH"));
    const QCommandLineOption failFirst(QStringLiteral("fail-first"),
                                       QStringLiteral("Test control: answer the first N updates with 503."),
                                       QStringLiteral("N"), QStringLiteral("0"));
    parser.addOptions({port, address, salt, versionFile, failFirst});
    parser.process(app);

    bool portOk = false;
    const uint portNumber = parser.value(port).toUInt(&portOk);
    bool failOk = false;
    const int failCount = parser.value(failFirst).toInt(&failOk);
    const QHostAddress host(parser.value(address));
    if (!portOk || portNumber > 65535 || !failOk || failCount < 0 || host.isNull()) {
        std::fprintf(stderr, "presenceserver: bad --port, --address or --fail-first\n");
        return 2;
    }

    TPresenceServer server({parser.value(salt).toUtf8(), parser.value(versionFile), failCount});
    const quint16 listening = server.Listen(host, quint16(portNumber));
    if (listening == 0) {
        std::fprintf(stderr, "presenceserver: cannot listen on %s port %u\n", qPrintable(host.toString()),
                     portNumber);
        return 1;
    }
    // The first line of output is the port, so that whoever started us can read it.
    std::printf("%u\n", unsigned(listening));
    std::fflush(stdout);
    return app.exec();
}
