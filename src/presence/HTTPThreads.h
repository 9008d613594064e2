#pragma once
// The program's HTTP requests: one GET each, redirects followed, with a transfer time-out. A request
// never blocks the caller: it runs on the event loop of the thread that made it, records the outcome in
// its own fields, emits Finished once and then deletes itself (connect to Finished before Start).

#include <QByteArray>
#include <QNetworkAccessManager>
#include <QObject>

#include <utility>

class QNetworkReply;

class THTTPRequestThread : public QObject {
    Q_OBJECT

public:
    static constexpr int DefaultTimeoutMs = 30000;
    // A larger answer is cut off and counts as a failure; the answers we expect are a few bytes.
    static constexpr qint64 MaxResponseBytes = 1024 * 1024;

    const QByteArray URL; // the complete address, percent-encoded
    QByteArray Response;  // body of a successful answer
    bool Failed = false;  // no connection, time-out, or an answer that is not a 2xx success

    void Start();

Q_SIGNALS:
    void Finished();

protected:
    THTTPRequestThread(QByteArray url, int timeoutMs, QObject *parent);

private:
    void Done(QNetworkReply *reply);

    // A child, so that it goes only after this object's connections are cut.
    QNetworkAccessManager *manager;
    int timeoutMs;
};

// Publishes one web status code to the presence server.
class THTTPStatusUpdateThread final : public THTTPRequestThread {
    Q_OBJECT

public:
    THTTPStatusUpdateThread(QByteArray url, int code, int timeoutMs = DefaultTimeoutMs,
                            QObject *parent = nullptr)
        : THTTPRequestThread(std::move(url), timeoutMs, parent), Code(code) {}

    const int Code; // the web status code this request publishes
};

// Fetches the version file of the product site; its body is in Response.
class THTTPCheckLatestVersionThread final : public THTTPRequestThread {
    Q_OBJECT

public:
    explicit THTTPCheckLatestVersionThread(QByteArray url, int timeoutMs = DefaultTimeoutMs,
                                           QObject *parent = nullptr)
        : THTTPRequestThread(std::move(url), timeoutMs, parent) {}
};
