#include "TestDoubles.h"
#include "autorespond/SentMessages.h"

#include <QtTest>

#include <stdexcept>

class TstSentMessages : public QObject {
    Q_OBJECT

    struct TFixture {
        TTestClock clock;
        QList<QPair<QByteArray, QByteArray>> sent;
        TSentMessages messages{clock, [this](const QByteArray &to, const QByteArray &text) {
                                   sent.append({to, text});
                               }};
    };

private Q_SLOTS:
    // Each row: a first send at t0, a second one later; was the second sent?
    void secondSend_data() {
        QTest::addColumn<qint64>("start");
        QTest::addColumn<int>("firstHold");
        QTest::addColumn<QByteArray>("secondTo");
        QTest::addColumn<QString>("secondText");
        QTest::addColumn<int>("secondHold");
        QTest::addColumn<qint64>("after");
        QTest::addColumn<bool>("sent");
        const QString text = QStringLiteral("[Auto Response]: Away");
        QTest::newRow("same within hold")
            << 1000LL << 60 << QByteArray("alice") << text << 60 << 30000LL << false;
        QTest::newRow("same at exactly the hold")
            << 1000LL << 60 << QByteArray("alice") << text << 60 << 60000LL << false;
        QTest::newRow("same just after the hold")
            << 1000LL << 60 << QByteArray("alice") << text << 60 << 60001LL << true;
        QTest::newRow("letter case ignored") << 1000LL << 60 << QByteArray("ALICE")
                                             << QStringLiteral("[AUTO RESPONSE]: away") << 60 << 1LL << false;
        QTest::newRow("another person") << 1000LL << 60 << QByteArray("bob") << text << 60 << 1LL << true;
        QTest::newRow("another text") << 1000LL << 60 << QByteArray("alice")
                                      << QStringLiteral("[Auto Response]: On a call") << 60 << 1LL << true;
        QTest::newRow("short hold asked later keeps the long one")
            << 1000LL << 60 << QByteArray("alice") << text << 5 << 10000LL << false;
        QTest::newRow("long hold asked later cannot revive a short one")
            << 1000LL << 5 << QByteArray("alice") << text << 60 << 10000LL << true;
        // 2^31 ms is 24.8 days of uptime; a 32-bit tick count would have turned negative here.
        QTest::newRow("held across 2^31 ms")
            << (1LL << 31) - 1000 << 60 << QByteArray("alice") << text << 60 << 30000LL << false;
        QTest::newRow("expires across 2^31 ms")
            << (1LL << 31) - 1000 << 60 << QByteArray("alice") << text << 60 << 61000LL << true;
        QTest::newRow("held across 2^32 ms")
            << (1LL << 32) - 1000 << 60 << QByteArray("alice") << text << 60 << 30000LL << false;
    }
    void secondSend() {
        QFETCH(qint64, start);
        QFETCH(int, firstHold);
        QFETCH(QByteArray, secondTo);
        QFETCH(QString, secondText);
        QFETCH(int, secondHold);
        QFETCH(qint64, after);
        QFETCH(bool, sent);
        TFixture f;
        f.clock.now = start;
        f.messages.SendMessageOnce("alice", QStringLiteral("[Auto Response]: Away"), firstHold);
        QCOMPARE(f.sent.size(), 1);
        f.clock.Advance(after);
        f.messages.SendMessageOnce(secondTo, secondText, secondHold);
        QCOMPARE(f.sent.size(), sent ? 2 : 1);
        if (sent) QCOMPARE(f.sent.last(), qMakePair(secondTo, secondText.toUtf8()));
    }

    // Three messages within a minute produce one answer; one after the minute gets a new answer, and the
    // expired entries are gone from the list.
    void expiredEntriesAreDropped() {
        TFixture f;
        for (int i = 0; i < 3; ++i) {
            f.messages.SendMessageOnce("alice", QStringLiteral("x"), 60);
            f.clock.Advance(20000);
        }
        QCOMPARE(f.sent.size(), 1);
        f.messages.SendMessageOnce("bob", QStringLiteral("y"), 5);
        f.clock.Advance(6000);
        f.messages.SendMessageOnce("alice", QStringLiteral("x"), 60);
        QCOMPARE(f.sent.size(), 3);
        QCOMPARE(f.messages.Items().size(), 1); // bob's 5-second entry expired too
        QCOMPARE(f.messages.Items().first().SentTick, f.clock.now);
        QCOMPARE(f.messages.Items().first().HoldMs, 60000);
    }

    void nonAsciiTextIsSentAsUtf8AndComparedWithoutCase() {
        TFixture f;
        f.messages.SendMessageOnce("zoë", QStringLiteral("Ärger"), 60);
        f.messages.SendMessageOnce("ZOË", QStringLiteral("ärger"), 60);
        QCOMPARE(f.sent.size(), 1);
        QCOMPARE(f.sent.first().second, QByteArray("\xc3\x84rger"));
    }

    void failingSendIsSwallowedAndNotRecorded() {
        TTestClock clock;
        int calls = 0;
        TSentMessages messages(clock, [&](const QByteArray &, const QByteArray &) {
            ++calls;
            throw std::runtime_error("link down");
        });
        messages.SendMessageOnce("alice", QStringLiteral("x"), 60);
        messages.SendMessageOnce("alice", QStringLiteral("x"), 60);
        QCOMPARE(calls, 2);
        QVERIFY(messages.Items().isEmpty());
    }
};

QTEST_GUILESS_MAIN(TstSentMessages)
#include "tst_sentmessages.moc"
