#include "PresenceServer.h"

#include "presence/PresenceAddress.h"
#include "presence/WebStatus.h"

#include <QFile>
#include <QHttpServerRequest>
#include <QHttpServerResponse>
#include <QJsonObject>
#include <QUrlQuery>

#include <utility>

namespace {

using Status = QHttpServerResponse::StatusCode;

QString QueryValue(const QHttpServerRequest &request, const char *key) {
    return request.query().queryItemValue(QString::fromLatin1(key), QUrl::FullyDecoded);
}

QHttpServerResponse Text(const char *text, Status status) {
    return QHttpServerResponse("text/plain", QByteArray(text) + '\n', status);
}

QHttpServerResponse Fresh(QHttpServerResponse response) {
    // Web pages embed these; a cached answer would show a stale status.
    response.setHeader("Cache-Control", "no-cache");
    return response;
}

struct BadgeLook {
    const char *label;
    const char *colour;
};

BadgeLook LookOf(int code) {
    switch (code) {
    case WebStatus::Online:
        return {"Online", "#4c1"};
    case WebStatus::SkypeMe:
        return {"Skype Me", "#4c1"};
    case WebStatus::Away:
        return {"Away", "#dfb317"};
    case WebStatus::NA:
        return {"Not Available", "#fe7d37"};
    case WebStatus::DND:
        return {"Do Not Disturb", "#e05d44"};
    case WebStatus::OnCall:
        return {"On a Call", "#e05d44"};
    case WebStatus::Offline:
    case WebStatus::Invisible:
    case WebStatus::LoggedOut:
        return {"Offline", "#9f9f9f"};
    default:
        return {"Unknown", "#9f9f9f"};
    }
}

QByteArray BadgeSvg(const QString &user, const BadgeLook &look) {
    // Widths from a rough 7 px per character; the text is centred in each half.
    const QByteArray left = "Skype";
    const QByteArray right = look.label;
    const int leftWidth = 10 + 7 * int(left.size());
    const int rightWidth = 10 + 7 * int(right.size());
    const QByteArray title = (user.toHtmlEscaped() + QStringLiteral(": ")).toUtf8() + right;
    return "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + QByteArray::number(leftWidth + rightWidth) +
           "\" height=\"20\" role=\"img\" aria-label=\"" + title + "\"><title>" + title + "</title>" +
           "<rect width=\"" + QByteArray::number(leftWidth) + "\" height=\"20\" fill=\"#555\"/>" +
           "<rect x=\"" + QByteArray::number(leftWidth) + "\" width=\"" + QByteArray::number(rightWidth) +
           "\" height=\"20\" fill=\"" + look.colour + "\"/>" +
           "<g fill=\"#fff\" text-anchor=\"middle\" font-family=\"DejaVu Sans,Verdana,sans-serif\" "
           "font-size=\"11\"><text x=\"" +
           QByteArray::number(leftWidth / 2) + "\" y=\"14\">" + left + "</text><text x=\"" +
           QByteArray::number(leftWidth + rightWidth / 2) + "\" y=\"14\">" + right + "</text></g></svg>\n";
}

} // namespace

TPresenceServer::TPresenceServer(Options options) : options(std::move(options)) {
    server.route("/updatepresence.php", [this](const QHttpServerRequest &r) { return Update(r); });
    server.route("/status", [this](const QHttpServerRequest &r) { return Status(r); });
    server.route("/badge", [this](const QHttpServerRequest &r) { return Badge(r); });
    server.route("/orviversion.txt", [this] { return Version(); });
    server.route("/control/fail", [this](const QHttpServerRequest &r) { return Control(r); });
    server.route("/control/state", [this](const QHttpServerRequest &r) {
        return r.remoteAddress().isLoopback() ? ControlState() : Text("Forbidden", Status::Forbidden);
    });
}

quint16 TPresenceServer::Listen(const QHostAddress &address, quint16 port) {
    return server.listen(address, port);
}

QHttpServerResponse TPresenceServer::Update(const QHttpServerRequest &request) {
    const QUrlQuery query = request.query();
    for (const char *key : {"username", "status", "uniqid"})
        if (!query.hasQueryItem(QString::fromLatin1(key))) return Text("Missing key", Status::BadRequest);
    const QString user = QueryValue(request, "username");
    bool isNumber = false;
    const int code = QueryValue(request, "status").toInt(&isNumber);
    if (user.isEmpty() || !isNumber || WebStatus::ToWord(code).isEmpty())
        return Text("Bad user name or status", Status::BadRequest);
    if (QueryValue(request, "uniqid").toLatin1() != PresenceToken(user, options.salt)) {
        ++refused;
        return Text("Wrong token", Status::Forbidden);
    }
    if (failing || options.failFirst > 0) {
        options.failFirst = qMax(0, options.failFirst - 1);
        ++refused;
        return Text("Failing on purpose", Status::ServiceUnavailable);
    }
    users.insert(user.toCaseFolded(), Entry{user, code, QDateTime::currentDateTimeUtc()});
    ++accepted;
    return Text("OK", Status::Ok);
}

const TPresenceServer::Entry *TPresenceServer::Find(const QHttpServerRequest &request) const {
    const auto it = users.constFind(QueryValue(request, "username").toCaseFolded());
    return it == users.constEnd() ? nullptr : &*it;
}

QHttpServerResponse TPresenceServer::Status(const QHttpServerRequest &request) const {
    const Entry *entry = Find(request);
    if (!entry)
        return Fresh(QHttpServerResponse(
            QJsonObject{{"username", QueryValue(request, "username")}, {"error", "unknown user"}},
            Status::NotFound));
    return Fresh(QHttpServerResponse(QJsonObject{
        {"username", entry->name},
        {"code", entry->code},
        {"status", QString::fromLatin1(WebStatus::ToWord(entry->code))},
        {"time", entry->time.toString(Qt::ISODate)},
    }));
}

QHttpServerResponse TPresenceServer::Badge(const QHttpServerRequest &request) const {
    const Entry *entry = Find(request);
    const QString user = entry ? entry->name : QueryValue(request, "username");
    return Fresh(QHttpServerResponse("image/svg+xml", BadgeSvg(user, LookOf(entry ? entry->code : -1))));
}

QHttpServerResponse TPresenceServer::Version() const {
    QFile file(options.versionFile);
    if (options.versionFile.isEmpty() || !file.open(QIODevice::ReadOnly))
        return Text("Not Found", Status::NotFound);
    return QHttpServerResponse("text/plain", file.readAll());
}

// A test control: only a process on this machine may make the server fail.
QHttpServerResponse TPresenceServer::Control(const QHttpServerRequest &request) {
    if (!request.remoteAddress().isLoopback()) return Text("Forbidden", Status::Forbidden);
    const QString on = QueryValue(request, "on");
    if (on != QLatin1String("1") && on != QLatin1String("0"))
        return Text("Use on=1 or on=0", Status::BadRequest);
    failing = on == QLatin1String("1");
    if (!failing) options.failFirst = 0;
    return ControlState();
}

QHttpServerResponse TPresenceServer::ControlState() const {
    return QHttpServerResponse(QJsonObject{{"failing", failing || options.failFirst > 0},
                                           {"failFirst", options.failFirst},
                                           {"accepted", accepted},
                                           {"refused", refused}});
}
