#pragma once
// A small presence server: keeps the latest web status code of each user who sent a valid update and
// shows it as JSON and as a badge. It can be told to fail, for tests of the program's fallback.

#include <QByteArray>
#include <QDateTime>
#include <QHash>
#include <QHostAddress>
#include <QHttpServer>
#include <QString>

class QHttpServerRequest;
class QHttpServerResponse;

class TPresenceServer {
public:
    struct Options {
        QByteArray salt;
        QString versionFile; // served as /orviversion.txt; empty: not served
        int failFirst = 0;   // answer this many updates with 503 before accepting any
    };

    explicit TPresenceServer(Options options);

    // The port listened on (the free one chosen for port 0), or 0 when listening failed.
    quint16 Listen(const QHostAddress &address, quint16 port);

private:
    struct Entry {
        QString name; // as last sent; users are looked up without regard to case
        int code = 0;
        QDateTime time;
    };

    QHttpServerResponse Update(const QHttpServerRequest &request);
    QHttpServerResponse Status(const QHttpServerRequest &request) const;
    QHttpServerResponse Badge(const QHttpServerRequest &request) const;
    QHttpServerResponse Version() const;
    QHttpServerResponse Control(const QHttpServerRequest &request);
    QHttpServerResponse ControlState() const;
    const Entry *Find(const QHttpServerRequest &request) const;

    Options options;
    QHttpServer server;
    QHash<QString, Entry> users;
    bool failing = false;
    int accepted = 0;
    int refused = 0;
};
