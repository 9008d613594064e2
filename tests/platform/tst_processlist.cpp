#include "ScriptedPrompts.h"
#include "platform/linux/ProcProcessSource.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

class TstProcessList : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void findsAProcessItStarted_data() {
        QTest::addColumn<QString>("name");
        QTest::newRow("short name") << QStringLiteral("orvisleeper");
        QTest::newRow("name longer than the kernel keeps") << QStringLiteral("orvi-test-sleeper-long-name");
    }
    void findsAProcessItStarted() {
        QFETCH(QString, name);
        const QString sleep = QStandardPaths::findExecutable(QStringLiteral("sleep"));
        QVERIFY(!sleep.isEmpty());
        QTemporaryDir dir;
        const QString link = dir.filePath(name);
        QVERIFY(QFile::link(sleep, link));
        QProcess sleeper;
        sleeper.start(link, {QStringLiteral("30")});
        QVERIFY(sleeper.waitForStarted());
        const qint64 pid = sleeper.processId();

        TScriptedPrompts prompts;
        const TProcessList list = GetProcessList(TProcProcessSource(), prompts);
        sleeper.kill();
        sleeper.waitForFinished();

        QVERIFY(prompts.shown.isEmpty());
        const auto found = std::find_if(list.cbegin(), list.cend(),
                                        [&](const TProcessEntry &entry) { return entry.ExeName == name; });
        QVERIFY(found != list.cend());
        QCOMPARE(qint64(found->ProcessID), pid);
        QVERIFY(ContainsProcess(list, name.toUpper()));
        QVERIFY(!ContainsProcess(list, QStringLiteral("orvi-no-such-process")));
        QVERIFY(
            std::is_sorted(list.cbegin(), list.cend(), [](const TProcessEntry &a, const TProcessEntry &b) {
                return a.ProcessID < b.ProcessID;
            }));
    }

    void unreadableProcFolderShowsTheMessage() {
        TScriptedPrompts prompts;
        QVERIFY(GetProcessList(TProcProcessSource(QStringLiteral("/nonexistent/proc")), prompts).isEmpty());
        QCOMPARE(prompts.shown.size(), 1);
        QCOMPARE(prompts.shown[0].text, QStringLiteral("Error reading Performace Data."));
    }

    void listedInProcessIdOrderWithoutOtherEntries() {
        QTemporaryDir proc;
        for (const char *id : {"100", "20", "3", "self", "77"}) {
            QVERIFY(QDir(proc.path()).mkdir(QString::fromLatin1(id)));
            QFile comm(proc.filePath(QString::fromLatin1(id) + QStringLiteral("/comm")));
            if (QByteArray(id) != "77") // 77 ended while the list was read
                QVERIFY(comm.open(QIODevice::WriteOnly) && comm.write(QByteArray("p") + id + "\n") > 0);
        }
        const std::optional<TProcessList> list = TProcProcessSource(proc.path()).ReadProcesses();
        QVERIFY(list);
        QStringList seen;
        for (const TProcessEntry &entry : *list)
            seen << QStringLiteral("%1:%2").arg(entry.ProcessID).arg(entry.ExeName);
        QCOMPARE(seen, (QStringList{"3:p3", "20:p20", "100:p100"}));
    }
};

QTEST_GUILESS_MAIN(TstProcessList)
#include "tst_processlist.moc"
