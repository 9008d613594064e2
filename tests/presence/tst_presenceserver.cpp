#include "PresenceServerProcess.h"
#include "presence/PresenceAddress.h"
#include "presence/SiteDefaults.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QtTest>

class TstPresenceServer : public QObject {
    Q_OBJECT

    TPresenceServerProcess server;
    QNetworkAccessManager manager;

    struct TAnswer {
        int status = 0;
        QByteArray body;
        QByteArray type;
    };

    TAnswer Get(const QByteArray &pathAndQuery) {
        QNetworkReply *reply =
            manager.get(QNetworkRequest(QUrl::fromEncoded(server.BaseUrl().toUtf8() + pathAndQuery)));
        if (!QTest::qWaitFor([reply] { return reply->isFinished(); }, 10000)) reply->abort();
        TAnswer answer{reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt(), reply->readAll(),
                       reply->header(QNetworkRequest::ContentTypeHeader).toByteArray()};
        delete reply;
        return answer;
    }

    TAnswer Update(const QString &user, const QByteArray &status) {
        const QByteArray address = PresenceUpdateAddress(QString(), user, 0, SiteDefaults::PresenceSalt);
        return Get(QByteArray(address).replace("&status=0&", "&status=" + status + "&"));
    }

private Q_SLOTS:
    void initTestCase() { QVERIFY(server.Start({QStringLiteral("--fail-first"), QStringLiteral("1")})); }

    // Runs first: the one failure asked for on the command line, then normal service.
    void failFirstThenAccept() {
        QCOMPARE(Update(QStringLiteral("dave"), "1").status, 503);
        QCOMPARE(Update(QStringLiteral("dave"), "1").status, 200);
    }

    void updateAnswers_data() {
        const QByteArray token = PresenceToken(QStringLiteral("alice"), SiteDefaults::PresenceSalt);
        QTest::addColumn<QByteArray>("query");
        QTest::addColumn<int>("status");
        QTest::newRow("valid") << "username=alice&status=3&uniqid=" + token << 200;
        QTest::newRow("upper-case token") << "username=alice&status=3&uniqid=" + token.toUpper() << 403;
        QTest::newRow("token of another name") << "username=Alice&status=3&uniqid=" + token << 403;
        QTest::newRow("no token") << QByteArray("username=alice&status=3") << 400;
        QTest::newRow("no status") << "username=alice&uniqid=" + token << 400;
        QTest::newRow("status not a number") << "username=alice&status=x1&uniqid=" + token << 400;
        QTest::newRow("code 8 has no word") << "username=alice&status=8&uniqid=" + token << 400;
        QTest::newRow("code 11") << "username=alice&status=11&uniqid=" + token << 400;
        QTest::newRow("empty name") << "username=&status=1&uniqid=" +
                                           PresenceToken({}, SiteDefaults::PresenceSalt)
                                    << 400;
    }
    void updateAnswers() {
        QFETCH(QByteArray, query);
        QFETCH(int, status);
        QCOMPARE(Get("/updatepresence.php?" + query).status, status);
    }

    void statusIsLatestCodeFoundWithoutCase() {
        QCOMPARE(Update(QStringLiteral("Erin O'Neil"), "9").status, 200);
        QCOMPARE(Update(QStringLiteral("Erin O'Neil"), "10").status, 200);
        const TAnswer answer = Get("/status?username=erin%20o'neil");
        QCOMPARE(answer.status, 200);
        const QJsonObject json = QJsonDocument::fromJson(answer.body).object();
        QCOMPARE(json.value(QLatin1String("username")).toString(), QStringLiteral("Erin O'Neil"));
        QCOMPARE(json.value(QLatin1String("code")).toInt(), 10);
        QCOMPARE(json.value(QLatin1String("status")).toString(), QStringLiteral("ONCALL"));
        const QDateTime time =
            QDateTime::fromString(json.value(QLatin1String("time")).toString(), Qt::ISODate);
        QVERIFY(qAbs(time.secsTo(QDateTime::currentDateTimeUtc())) < 60);
        QCOMPARE(Get("/status?username=nobody").status, 404);
    }

    void badgeShowsStatusAndEscapesName() {
        QCOMPARE(Update(QStringLiteral("<b>&frank"), "5").status, 200);
        const TAnswer answer = Get("/badge?username=%3Cb%3E%26frank");
        QCOMPARE(answer.status, 200);
        QCOMPARE(answer.type, QByteArray("image/svg+xml"));
        QVERIFY(answer.body.contains(">Do Not Disturb<"));
        QVERIFY(answer.body.contains("&lt;b&gt;&amp;frank"));
        QVERIFY(!answer.body.contains("<b>"));
        QVERIFY(Get("/badge?username=nobody").body.contains(">Unknown<"));
    }

    void failControlFromLoopback() {
        QCOMPARE(Get("/control/fail?on=1").status, 200);
        QCOMPARE(Update(QStringLiteral("gina"), "1").status, 503);
        QCOMPARE(Get("/control/fail?on=maybe").status, 400);
        QCOMPARE(Get("/control/fail?on=0").status, 200);
        QCOMPARE(Update(QStringLiteral("gina"), "1").status, 200);
        const QJsonObject state = QJsonDocument::fromJson(Get("/control/state").body).object();
        QCOMPARE(state.value(QLatin1String("failing")).toBool(true), false);
        QVERIFY(state.value(QLatin1String("accepted")).toInt() >= 2);
    }

    void versionFileAbsent() { QCOMPARE(Get("/orviversion.txt").status, 404); }
};

QTEST_GUILESS_MAIN(TstPresenceServer)
#include "tst_presenceserver.moc"
