#include "platform/linux/UnixSignals.h"

#include <QSignalSpy>
#include <QtTest>

#include <csignal>

namespace {
volatile sig_atomic_t previousHandlerRan = 0;
void PreviousHandler(int) {
    previousHandlerRan = 1;
}
} // namespace

class TstUnixSignals : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void signalArrivesInTheEventLoop_data() {
        QTest::addColumn<int>("signalNumber");
        QTest::newRow("SIGTERM") << SIGTERM;
        QTest::newRow("SIGINT") << SIGINT;
    }
    void signalArrivesInTheEventLoop() {
        QFETCH(int, signalNumber);
        TUnixSignals unixSignals;
        QVERIFY(unixSignals.IsActive());
        QSignalSpy spy(&unixSignals, &TUnixSignals::TerminationRequested);
        QCOMPARE(::raise(signalNumber), 0); // the test lives on, so the default action did not run
        QCOMPARE(spy.count(), 0);           // not inside the handler: only once the loop runs
        QTRY_COMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(0).toInt(), signalNumber);
    }

    void oneObjectAtATimeAndPreviousHandlerComesBack() {
        std::signal(SIGTERM, PreviousHandler);
        {
            TUnixSignals first;
            TUnixSignals second;
            QVERIFY(first.IsActive());
            QVERIFY(!second.IsActive());
        }
        previousHandlerRan = 0;
        QCOMPARE(::raise(SIGTERM), 0);
        QCOMPARE(int(previousHandlerRan), 1);
        std::signal(SIGTERM, SIG_DFL);
    }
};

QTEST_GUILESS_MAIN(TstUnixSignals)
#include "tst_unixsignals.moc"
