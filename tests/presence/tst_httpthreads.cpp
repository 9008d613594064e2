#include "PresenceServerProcess.h"
#include "presence/HTTPThreads.h"
#include "presence/PresenceAddress.h"
#include "presence/SiteDefaults.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QPointer>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryFile>
#include <QtTest>

#include <memory>

namespace {

struct TOutcome {
    bool finished = false;
    bool failed = false;
    QByteArray response;
};

// Starts the request and waits for its Finished; finished is true when exactly one came and the request
// then freed itself.
TOutcome Run(THTTPRequestThread *request) {
    TOutcome outcome;
    int finishedCount = 0;
    QPointer<THTTPRequestThread> guard(request);
    QObject::connect(request, &THTTPRequestThread::Finished, request, [&] {
        ++finishedCount;
        outcome.failed = request->Failed;
        outcome.response = request->Response;
    });
    request->Start();
    const bool freed = QTest::qWaitFor([&] { return guard.isNull(); }, 20000);
    delete guard; // a request that never ended must not call back into this frame later
    QTest::qWait(20);
    outcome.finished = freed && finishedCount == 1;
    return outcome;
}

QByteArray Update(const QString &base, const QString &user, int code,
                  const QByteArray &salt = SiteDefaults::PresenceSalt) {
    return PresenceUpdateAddress(base, user, code, salt);
}

} // namespace

class TstHTTPThreads : public QObject {
    Q_OBJECT

    std::unique_ptr<TPresenceServerProcess> server;

    QJsonObject StatusOf(const QString &user) {
        const TOutcome o = Run(new THTTPCheckLatestVersionThread(
            server->BaseUrl().toUtf8() + "/status?username=" + QUrl::toPercentEncoding(user)));
        return QJsonDocument::fromJson(o.response).object();
    }

private Q_SLOTS:
    void init() {
        server = std::make_unique<TPresenceServerProcess>();
        QVERIFY(server->Start());
    }
    void cleanup() { server.reset(); }

    void acceptedUpdateIsStored_data() {
        QTest::addColumn<QString>("user");
        QTest::addColumn<int>("code");
        QTest::newRow("plain") << QStringLiteral("alice") << 1;
        QTest::newRow("needs encoding") << QStringLiteral("a b&status=5#+é") << 10;
    }
    void acceptedUpdateIsStored() {
        QFETCH(QString, user);
        QFETCH(int, code);
        auto *request = new THTTPStatusUpdateThread(Update(server->BaseUrl(), user, code), code);
        QCOMPARE(request->Code, code);
        const TOutcome o = Run(request);
        QVERIFY(o.finished);
        QVERIFY(!o.failed);
        const QJsonObject status = StatusOf(user);
        QCOMPARE(status.value(QLatin1String("username")).toString(), user);
        QCOMPARE(status.value(QLatin1String("code")).toInt(-1), code);
    }

    void refusedOrUnreachableIsFailed_data() {
        QTest::addColumn<QString>("how");
        QTest::newRow("wrong token (403)") << QStringLiteral("token");
        QTest::newRow("server failing (503)") << QStringLiteral("failing");
        QTest::newRow("connection refused") << QStringLiteral("stopped");
        QTest::newRow("bad address") << QStringLiteral("address");
    }
    void refusedOrUnreachableIsFailed() {
        QFETCH(QString, how);
        QByteArray address = Update(server->BaseUrl(), QStringLiteral("bob"), 3);
        if (how == QLatin1String("token"))
            address = Update(server->BaseUrl(), QStringLiteral("bob"), 3, "other salt");
        if (how == QLatin1String("failing"))
            QVERIFY(!Run(new THTTPCheckLatestVersionThread(server->BaseUrl().toUtf8() + "/control/fail?on=1"))
                         .failed);
        if (how == QLatin1String("stopped")) server->Stop();
        if (how == QLatin1String("address")) address = "127.0.0.1:1/updatepresence.php";
        const TOutcome o = Run(new THTTPStatusUpdateThread(address, 3));
        QVERIFY(o.finished);
        QVERIFY(o.failed);
        QVERIFY(o.response.isEmpty());
        if (how != QLatin1String("stopped") && how != QLatin1String("address"))
            QVERIFY(StatusOf(QStringLiteral("bob")).value(QLatin1String("code")).isUndefined());
    }

    // The body is kept up to the size cap; a larger answer counts as a failure.
    void versionFileBody_data() {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<bool>("failed");
        QTest::newRow("version") << QByteArray("1.2.3.4\n") << false;
        QTest::newRow("at the cap") << QByteArray(THTTPRequestThread::MaxResponseBytes, 'v') << false;
        QTest::newRow("over the cap") << QByteArray(THTTPRequestThread::MaxResponseBytes + 1, 'v') << true;
    }
    void versionFileBody() {
        QFETCH(QByteArray, body);
        QFETCH(bool, failed);
        QTemporaryFile file;
        QVERIFY(file.open());
        file.write(body);
        file.close();
        server = std::make_unique<TPresenceServerProcess>();
        QVERIFY(server->Start({QStringLiteral("--version-file"), file.fileName()}));
        const TOutcome o =
            Run(new THTTPCheckLatestVersionThread(server->BaseUrl().toUtf8() + "/orviversion.txt"));
        QVERIFY(o.finished);
        QCOMPARE(o.failed, failed);
        QCOMPARE(o.response, failed ? QByteArray() : body);
    }

    // A peer that accepts the connection and never answers: the transfer time-out ends the request.
    void silentServerTimesOut() {
        QTcpServer silent;
        QVERIFY(silent.listen(QHostAddress::LocalHost));
        const QByteArray address = "http://127.0.0.1:" + QByteArray::number(silent.serverPort()) + "/x";
        const TOutcome o = Run(new THTTPStatusUpdateThread(address, 1, 300));
        QVERIFY(o.finished);
        QVERIFY(o.failed);
    }

    // A request whose owner goes first is cancelled with it and never calls back.
    void ownerGoneCancelsRequest() {
        QTcpServer silent;
        QVERIFY(silent.listen(QHostAddress::LocalHost));
        auto owner = std::make_unique<QObject>();
        auto *request = new THTTPStatusUpdateThread(
            "http://127.0.0.1:" + QByteArray::number(silent.serverPort()) + "/x", 1, 200, owner.get());
        int finishedCount = 0;
        connect(request, &THTTPRequestThread::Finished, this, [&] { ++finishedCount; });
        request->Start();
        QVERIFY(QTest::qWaitFor([&] { return silent.hasPendingConnections(); }, 5000));
        owner.reset();
        QTest::qWait(400);
        QCOMPARE(finishedCount, 0);
    }

    void redirectIsFollowed() {
        const QByteArray target = Update(server->BaseUrl(), QStringLiteral("carol"), 5);
        QTcpServer redirector;
        QVERIFY(redirector.listen(QHostAddress::LocalHost));
        connect(&redirector, &QTcpServer::newConnection, &redirector, [&] {
            QTcpSocket *socket = redirector.nextPendingConnection();
            connect(socket, &QTcpSocket::readyRead, socket, [socket, target] {
                socket->readAll();
                socket->write("HTTP/1.1 302 Found\r\nLocation: " + target +
                              "\r\nContent-Length: 0\r\nConnection: close\r\n\r\n");
                socket->disconnectFromHost();
            });
        });
        const QByteArray address = "http://127.0.0.1:" + QByteArray::number(redirector.serverPort()) + "/old";
        QVERIFY(!Run(new THTTPStatusUpdateThread(address, 5)).failed);
        QCOMPARE(StatusOf(QStringLiteral("carol")).value(QLatin1String("code")).toInt(-1), 5);
    }
};

QTEST_GUILESS_MAIN(TstHTTPThreads)
#include "tst_httpthreads.moc"
