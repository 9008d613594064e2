#include "TestDoubles.h"
#include "platform/linux/Autostart.h"
#include "platform/linux/DesktopEntry.h"
#include "shell/TraceLog.h"

#include <QCoreApplication>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

class TstAutostart : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> config;
    std::unique_ptr<QTemporaryDir> machine;

    QString MachineEntry() const { return machine->filePath(QStringLiteral("orvi.desktop")); }

    static bool Touch(const QString &path) {
        QFile file(path);
        return file.open(QIODevice::WriteOnly) && file.write("[Desktop Entry]\n") > 0;
    }

    static QString ExecOf(const QString &path) {
        return DesktopEntry::ReadGroup(path, QStringLiteral("Desktop Entry")).value(QStringLiteral("Exec"));
    }

private Q_SLOTS:
    void init() {
        config = std::make_unique<QTemporaryDir>();
        machine = std::make_unique<QTemporaryDir>();
        qputenv("XDG_CONFIG_HOME", config->path().toLocal8Bit());
    }

    void entryStartsTheInstalledProgram() {
        TXdgAutostart autostart;
        QCOMPARE(autostart.SetUserEntry(true), QString());
        QCOMPARE(TXdgAutostart::UserEntryPath(), config->filePath(QStringLiteral("autostart/orvi.desktop")));
        const QStringList command = *DesktopEntry::SplitExec(ExecOf(TXdgAutostart::UserEntryPath()));
        QCOMPARE(command, QStringList{QStringLiteral(ORVI_INSTALLED_PATH)});
        QVERIFY(command.first() != QCoreApplication::applicationFilePath());
    }

    void execLineQuotesWhatNeedsIt_data() {
        QTest::addColumn<QString>("program");
        QTest::newRow("plain") << QStringLiteral("/usr/bin/orvi");
        QTest::newRow("blank") << QStringLiteral("/opt/My Programs/orvi");
        QTest::newRow("quote, dollar, backslash, grave") << QStringLiteral("/opt/a\"b$c\\d`e/orvi");
    }
    void execLineQuotesWhatNeedsIt() {
        QFETCH(QString, program);
        TXdgAutostart autostart(program, machine->path());
        QCOMPARE(autostart.SetUserEntry(true), QString());
        const std::optional<QStringList> command =
            DesktopEntry::SplitExec(ExecOf(TXdgAutostart::UserEntryPath()));
        QVERIFY(command);
        QCOMPARE(*command, QStringList{program});
    }

    void switchingOffRemovesTheEntry() {
        TXdgAutostart autostart(QStringLiteral("/usr/bin/orvi"), machine->path());
        QCOMPARE(autostart.SetUserEntry(true), QString());
        QVERIFY(QFile::exists(TXdgAutostart::UserEntryPath()));
        QCOMPARE(autostart.SetUserEntry(false), QString());
        QVERIFY(!QFile::exists(TXdgAutostart::UserEntryPath()));
        QCOMPARE(autostart.SetUserEntry(false), QString()); // nothing there is not a failure
    }

    void runEntryStepsStandAlone_data() {
        QTest::addColumn<bool>("userFails");
        QTest::addColumn<bool>("machineFails");
        QTest::addColumn<int>("exceptions");
        QTest::newRow("both steps succeed") << false << false << 0;
        QTest::newRow("machine step refused") << false << true << 1;
        QTest::newRow("user step fails") << true << false << 1;
        QTest::newRow("both fail") << true << true << 2;
    }
    void runEntryStepsStandAlone() {
        QFETCH(bool, userFails);
        QFETCH(bool, machineFails);
        QFETCH(int, exceptions);
        if (userFails) // a file where the autostart folder should go
            QVERIFY(Touch(config->filePath(QStringLiteral("autostart"))));
        QVERIFY(Touch(MachineEntry()));
        const QString machineFolder =
            machineFails ? machine->filePath(QStringLiteral("missing")) : machine->path();
        TXdgAutostart autostart(QStringLiteral("/usr/bin/orvi"), machineFolder);
        TMemoryLogSwitch logSwitch(true);
        TTraceLog log(logSwitch, config->filePath(QStringLiteral("Debug.log")));

        SetRunEntry(autostart, log, false);

        QFile logFile(log.LogFilePath());
        const QString text =
            logFile.open(QIODevice::ReadOnly) ? QString::fromUtf8(logFile.readAll()) : QString();
        QCOMPARE(text.count(QStringLiteral(" : Exception\r\n")), exceptions);
        QCOMPARE(QFile::exists(TXdgAutostart::UserEntryPath()), !userFails);
        QCOMPARE(QFile::exists(MachineEntry()), machineFails);
    }

    void removingTurnsStartupOff() {
        TXdgAutostart autostart(QStringLiteral("/usr/bin/orvi"), machine->path());
        QCOMPARE(autostart.SetUserEntry(true), QString());
        TMemoryLogSwitch logSwitch(true);
        TTraceLog log(logSwitch, config->filePath(QStringLiteral("Debug.log")));
        SetRunEntry(autostart, log, true);
        QVERIFY(!QFile::exists(TXdgAutostart::UserEntryPath()));
    }

    void startHiddenWhenValueIsNotZero_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<bool>("hidden");
        QTest::newRow("missing") << QByteArray() << false;
        QTest::newRow("1") << QByteArray("[General]\nStartHidden=1\n") << true;
        QTest::newRow("0") << QByteArray("[General]\nStartHidden=0\n") << false;
        QTest::newRow("7") << QByteArray("[General]\nStartHidden=7\n") << true;
        QTest::newRow("not a number") << QByteArray("[General]\nStartHidden=yes\n") << false;
    }
    void startHiddenWhenValueIsNotZero() {
        QFETCH(QByteArray, file);
        QFETCH(bool, hidden);
        // Each row gets a fresh folder, so no cached settings file carries over.
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, config->path());
        if (!file.isEmpty()) {
            QVERIFY(QDir().mkpath(config->filePath(QStringLiteral("CoolTrayIcon"))));
            QFile conf(config->filePath(QStringLiteral("CoolTrayIcon/StartOrviPro.conf")));
            QVERIFY(conf.open(QIODevice::WriteOnly));
            conf.write(file);
        }
        QCOMPARE(StartHidden(), hidden);
    }
};

QTEST_GUILESS_MAIN(TstAutostart)
#include "tst_autostart.moc"
