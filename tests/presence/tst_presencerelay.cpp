#include "TestDoubles.h"
#include "autorespond/SentMessages.h"
#include "presence/PresenceRelay.h"

#include <QtTest>

class TstPresenceRelay : public QObject {
    Q_OBJECT

    struct TFixture {
        TTestClock clock;
        bool skypeConnected = true;
        QList<QPair<QByteArray, QByteArray>> sent;
        TSentMessages messages{clock, [this](const QByteArray &to, const QByteArray &text) {
                                   sent.append({to, text});
                               }};
        TPresenceRelay relay{messages, skypeConnected};
    };

    using TSent = QList<QPair<QByteArray, QByteArray>>;
    static QPair<QByteArray, QByteArray> ToRelay(const QByteArray &body) {
        return {"orvi-presence-relay-server", body};
    }

private Q_SLOTS:
    void presenceCodeOncePerFiveSeconds() {
        TFixture f;
        QVERIFY(f.relay.RelayPresence(1));
        f.clock.Advance(3000);
        QVERIFY(f.relay.RelayPresence(1)); // held back by the sender, still counts as relayed
        QVERIFY(f.relay.RelayPresence(10));
        f.clock.Advance(2001);
        QVERIFY(f.relay.RelayPresence(1));
        QCOMPARE(f.sent, (TSent{ToRelay("1"), ToRelay("10"), ToRelay("1")}));
    }

    void versionOncePerMinute() {
        TFixture f;
        QVERIFY(f.relay.RelayVersion(QStringLiteral("1.0.0.0")));
        f.clock.Advance(59000);
        QVERIFY(f.relay.RelayVersion(QStringLiteral("1.0.0.0")));
        QCOMPARE(f.sent, (TSent{ToRelay("1.0.0.0")}));
        f.clock.Advance(1001);
        QVERIFY(f.relay.RelayVersion(QStringLiteral("1.0.0.0")));
        QCOMPARE(f.sent.size(), 2);
    }

    void nothingWhileSkypeIsNotConnected() {
        TFixture f;
        f.skypeConnected = false;
        QVERIFY(!f.relay.RelayPresence(2));
        QVERIFY(!f.relay.RelayVersion(QStringLiteral("1.0.0.0")));
        QVERIFY(f.sent.isEmpty());
        f.skypeConnected = true;
        QVERIFY(f.relay.RelayPresence(2));
        QCOMPARE(f.sent, (TSent{ToRelay("2")}));
    }
};

QTEST_GUILESS_MAIN(TstPresenceRelay)
#include "tst_presencerelay.moc"
