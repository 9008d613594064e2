#include "TestDoubles.h"
#include "shell/TraceLog.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

class TstTraceLog : public QObject {
    Q_OBJECT

    static QByteArray Read(const QString &path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }

private Q_SLOTS:
    void startEmptiesFileAndStoresFalseWhenOff() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Debug.log"));
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("last run\r\n");
        old.close();

        TMemoryLogSwitch sw(false);
        TTraceLog log(sw, path);
        log.Start();
        QCOMPARE(sw.stores, 1); // the element is made present as false
        QCOMPARE(Read(path), QByteArray());
        log.WriteLog(QStringLiteral("1.0- made it to Main. create"));
        QCOMPARE(Read(path), QByteArray());
    }

    void startLeavesSwitchOnUntouched() {
        QTemporaryDir dir;
        TMemoryLogSwitch sw(true);
        TTraceLog log(sw, dir.filePath(QStringLiteral("Debug.log")));
        log.Start();
        QCOMPARE(sw.stores, 0);
    }

    void lineHasTimePrefixAndCrLf() {
        QTemporaryDir dir;
        TMemoryLogSwitch sw(true);
        TTraceLog log(sw, dir.filePath(QStringLiteral("Debug.log")));
        log.Start();
        log.WriteLog(QStringLiteral("SkypeControl1Pong"));
        log.WriteLog(QStringLiteral("two\nlines"));
        const QString text = QString::fromLocal8Bit(Read(log.LogFilePath()));
        static const QRegularExpression shape(QStringLiteral(
            "^\\d\\d:\\d\\d:\\d\\d : SkypeControl1Pong\r\n\\d\\d:\\d\\d:\\d\\d : two\nlines\r\n$"));
        QVERIFY2(shape.match(text).hasMatch(), qPrintable(text));
    }

    void switchIsReadForEveryLine() {
        QTemporaryDir dir;
        TMemoryLogSwitch sw(true);
        TTraceLog log(sw, dir.filePath(QStringLiteral("Debug.log")));
        log.Start();
        log.WriteLog(QStringLiteral("a"));
        sw.on = false;
        log.WriteLog(QStringLiteral("b"));
        sw.on = true;
        log.WriteLog(QStringLiteral("c"));
        const QByteArray text = Read(log.LogFilePath());
        QVERIFY(text.contains(" : a\r\n") && !text.contains(" : b") && text.contains(" : c\r\n"));
    }

    void deletedFileIsCreatedAgain() {
        QTemporaryDir dir;
        TMemoryLogSwitch sw(true);
        TTraceLog log(sw, dir.filePath(QStringLiteral("Debug.log")));
        log.Start();
        log.WriteLog(QStringLiteral("first"));
        QVERIFY(QFile::remove(log.LogFilePath()));
        log.WriteLog(QStringLiteral("second"));
        const QByteArray text = Read(log.LogFilePath());
        QVERIFY(!text.contains("first") && text.endsWith(" : second\r\n"));
    }

    void missingFolderIsSilent() {
        QTemporaryDir dir;
        TMemoryLogSwitch sw(true);
        TTraceLog log(sw, dir.filePath(QStringLiteral("no/such/folder/Debug.log")));
        log.Start();
        log.WriteLog(QStringLiteral("dropped"));
        QVERIFY(!QFile::exists(log.LogFilePath()));
    }

    void failedWriteThrowsAndGuardCatches() {
        if (!QFile::exists(QStringLiteral("/dev/full"))) QSKIP("no /dev/full on this system");
        TMemoryLogSwitch sw(true);
        TTraceLog log(sw, QStringLiteral("/dev/full"));
        QVERIFY_THROWS_EXCEPTION(TLogWriteError, log.WriteLog(QStringLiteral("x")));
        bool after = false;
        Guarded(log, [] { throw std::runtime_error("boom"); });
        after = true; // the guard swallowed both the exception and the failing "Exception" line
        QVERIFY(after);
    }

    void guardWritesException() {
        QTemporaryDir dir;
        TMemoryLogSwitch sw(true);
        TTraceLog log(sw, dir.filePath(QStringLiteral("Debug.log")));
        log.Start();
        Guarded(log, [] { throw std::runtime_error("boom"); });
        Guarded(
            log, [] { throw 1; }, QStringLiteral("Exception in ContainerForm >> TrayIcon1Click"));
        const QByteArray text = Read(log.LogFilePath());
        QVERIFY(text.contains(" : Exception\r\n"));
        QVERIFY(text.contains(" : Exception in ContainerForm >> TrayIcon1Click\r\n"));
        QVERIFY(!text.contains("boom"));
    }
};

QTEST_GUILESS_MAIN(TstTraceLog)
#include "tst_tracelog.moc"
