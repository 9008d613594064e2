#include "shell/SingleInstance.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLocalSocket>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

#include <sys/stat.h>
#include <unistd.h>

class TstSingleInstance : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> runtime;
    std::unique_ptr<QTemporaryDir> home;

    QString SettingsFolder() const { return home->path(); }

    // The helper finds the same instance through the environment it inherits.
    static bool RunHelper(QProcess &helper, const QStringList &args) {
        helper.start(QStringLiteral(ORVI_SINGLEINSTANCE_HELPER), args);
        return helper.waitForStarted(5000);
    }

    // The sending copy ends with code 0 only when the running copy acknowledged its parameters.
    static bool EndedAcknowledged(QProcess &helper) {
        if (helper.state() != QProcess::NotRunning) helper.waitForFinished(10000);
        return helper.state() == QProcess::NotRunning && helper.exitStatus() == QProcess::NormalExit &&
               helper.exitCode() == 0;
    }

    static QByteArray Framed(const QByteArray &payload) {
        QByteArray header(4, '\0');
        qToBigEndian<quint32>(quint32(payload.size()), header.data());
        return header + payload;
    }

private Q_SLOTS:
    void init() {
        runtime = std::make_unique<QTemporaryDir>();
        home = std::make_unique<QTemporaryDir>();
        qputenv("XDG_RUNTIME_DIR", runtime->path().toLocal8Bit());
        qputenv("ORVI_HOME", home->path().toLocal8Bit());
    }

    void secondCopyHandsOverItsParameters_data() {
        QTest::addColumn<QStringList>("params");
        QTest::newRow("two page commands")
            << QStringList{QStringLiteral("IMTO://alice/"), QStringLiteral("CALL://bob/")};
        QTest::newRow("blanks and non-ASCII")
            << QStringList{QStringLiteral("a b"), QStringLiteral("Zoë ünï")};
        QTest::newRow("no parameters") << QStringList{};
        QTest::newRow("empty parameter kept") << QStringList{QString(), QStringLiteral("x")};
    }
    void secondCopyHandsOverItsParameters() {
        QFETCH(QStringList, params);
        TSingleInstance primary(SettingsFolder());
        QCOMPARE(primary.Claim(), TSingleInstance::TRole::Primary);
        QSignalSpy created(&primary, &TSingleInstance::InstanceCreated);
        QSignalSpy received(&primary, &TSingleInstance::ParametersReceived);
        QSignalSpy destroyed(&primary, &TSingleInstance::InstanceDestroyed);

        QProcess helper;
        QVERIFY(RunHelper(helper, QStringList{QStringLiteral("send")} + params));
        QTRY_COMPARE_WITH_TIMEOUT(received.count(), 1, 10000);
        QCOMPARE(received.at(0).at(0).toStringList(), params);
        QCOMPARE(created.count(), 1);
        QTRY_COMPARE_WITH_TIMEOUT(destroyed.count(), 1, 10000);
        QVERIFY(EndedAcknowledged(helper));
    }

    void copyOfAKilledPrimaryIsReplaced() {
        QProcess holder;
        QVERIFY(RunHelper(holder, {QStringLiteral("hold")}));
        QVERIFY(holder.waitForReadyRead(10000));
        QCOMPARE(holder.readAllStandardOutput(), QByteArray("primary\n"));
        holder.kill();
        QVERIFY(holder.waitForFinished(5000));

        TSingleInstance primary(SettingsFolder());
        QVERIFY(QFile::exists(primary.LockPath()));
        QVERIFY(QFile::exists(primary.SocketPath()));
        QCOMPARE(primary.Claim(), TSingleInstance::TRole::Primary);

        QSignalSpy received(&primary, &TSingleInstance::ParametersReceived);
        QProcess sender;
        QVERIFY(RunHelper(sender, {QStringLiteral("send"), QStringLiteral("IMTO://alice/")}));
        QTRY_COMPARE_WITH_TIMEOUT(received.count(), 1, 10000);
        QCOMPARE(received.at(0).at(0).toStringList(), QStringList{QStringLiteral("IMTO://alice/")});
        QVERIFY(EndedAcknowledged(sender));
    }

    void badInputIsRefused_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("length beyond the cap")
            << Framed(QByteArray(TSingleInstance::MaxMessageBytes + 1, 'x'));
        QTest::newRow("huge length alone") << QByteArray("\xff\xff\xff\xff", 4);
        QTest::newRow("invalid UTF-8") << Framed(QByteArray("\xc3\x28\0", 3));
        QTest::newRow("text without terminator") << Framed(QByteArray("IMTO://alice/"));
    }
    void badInputIsRefused() {
        QFETCH(QByteArray, bytes);
        TSingleInstance primary(SettingsFolder());
        QCOMPARE(primary.Claim(), TSingleInstance::TRole::Primary);
        QSignalSpy received(&primary, &TSingleInstance::ParametersReceived);

        QLocalSocket intruder;
        intruder.connectToServer(primary.SocketPath());
        QVERIFY(intruder.waitForConnected(2000));
        intruder.write(bytes);
        QTRY_COMPARE(intruder.state(), QLocalSocket::UnconnectedState);
        QCOMPARE(intruder.readAll(), QByteArray()); // never acknowledged
        QCOMPARE(received.count(), 0);

        // The running copy still serves the next honest copy.
        QProcess sender;
        QVERIFY(RunHelper(sender, {QStringLiteral("send"), QStringLiteral("ok")}));
        QTRY_COMPARE_WITH_TIMEOUT(received.count(), 1, 10000);
        QVERIFY(EndedAcknowledged(sender));
    }

    void sendGivesUpAtTheTimeLimit_data() {
        QTest::addColumn<bool>("socketRemoved");
        QTest::newRow("running copy does not answer") << false;
        QTest::newRow("running copy does not listen") << true;
    }
    void sendGivesUpAtTheTimeLimit() {
        QFETCH(bool, socketRemoved);
        TSingleInstance primary(SettingsFolder());
        QCOMPARE(primary.Claim(), TSingleInstance::TRole::Primary);
        if (socketRemoved) QVERIFY(QFile::remove(primary.SocketPath()));

        // Same process: while the second object waits, the first cannot answer.
        TSingleInstance second(SettingsFolder());
        QCOMPARE(second.Claim(), TSingleInstance::TRole::Secondary);
        QElapsedTimer clock;
        clock.start();
        QVERIFY(!second.SendToPrimary({QStringLiteral("IMTO://alice/")}, 300));
        QVERIFY2(clock.elapsed() < 5000, "the wait outlived its limit by far"); // a hang guard, not a timing
    }

    void instancesAreKeptApartBySettingsFolder() {
        QTemporaryDir otherHome;
        TSingleInstance mine(SettingsFolder());
        TSingleInstance other(otherHome.path());
        QVERIFY(mine.RuntimeFolder() != other.RuntimeFolder());
        QCOMPARE(mine.Claim(), TSingleInstance::TRole::Primary);
        QCOMPARE(other.Claim(), TSingleInstance::TRole::Primary);
    }

    void runtimeFolderIsPrivate() {
        TSingleInstance instance(SettingsFolder());
        QVERIFY(instance.RuntimeFolder().startsWith(runtime->path() + QLatin1Char('/')));
        QVERIFY(QDir().mkpath(instance.RuntimeFolder()));
        QVERIFY(QFile::setPermissions(instance.RuntimeFolder(),
                                      QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                          QFileDevice::ExeOwner | QFileDevice::ReadOther |
                                          QFileDevice::ExeOther));
        QCOMPARE(instance.Claim(), TSingleInstance::TRole::Primary);
        struct stat info {};
        QCOMPARE(::stat(QFile::encodeName(instance.RuntimeFolder()).constData(), &info), 0);
        QCOMPARE(info.st_mode & 0777, 0700u);
    }

    void symlinkedRuntimeFolderIsRefused() {
        QTemporaryDir elsewhere;
        TSingleInstance instance(SettingsFolder());
        QVERIFY(QFile::link(elsewhere.path(), instance.RuntimeFolder()));
        QCOMPARE(instance.Claim(), TSingleInstance::TRole::Failed);
        QVERIFY(!QFile::exists(elsewhere.filePath(QStringLiteral("instance.lock"))));
    }

    void withoutRuntimeDirAUserFolderUnderTmpServes() {
        qunsetenv("XDG_RUNTIME_DIR");
        const QString base = QStringLiteral("/tmp/orvi-%1").arg(::getuid());
        QString folder;
        {
            TSingleInstance instance(SettingsFolder());
            folder = instance.RuntimeFolder();
            QCOMPARE(QFileInfo(folder).path(), base);
            QCOMPARE(instance.Claim(), TSingleInstance::TRole::Primary);
            struct stat info {};
            QCOMPARE(::stat(QFile::encodeName(base).constData(), &info), 0);
            QCOMPARE(info.st_mode & 0777, 0700u);
        }
        QVERIFY(QDir().rmdir(folder)); // lock and socket went with the instance
    }

    void commandLineJoins_data() {
        QTest::addColumn<QStringList>("params");
        QTest::addColumn<QString>("own");
        QTest::addColumn<QString>("forwarded");
        QTest::newRow("two") << QStringList{QStringLiteral("IMTO://alice/"), QStringLiteral("x")}
                             << QStringLiteral("IMTO://alice/x") << QStringLiteral("IMTO://alice/\r\nx\r\n");
        QTest::newRow("one") << QStringList{QStringLiteral("CALL://bob/")} << QStringLiteral("CALL://bob/")
                             << QStringLiteral("CALL://bob/\r\n");
        QTest::newRow("none") << QStringList{} << QString() << QString();
    }
    void commandLineJoins() {
        QFETCH(QStringList, params);
        QFETCH(QString, own);
        QFETCH(QString, forwarded);
        QCOMPARE(JoinOwnCommandLine(params), own);
        QCOMPARE(JoinForwardedCommandLine(params), forwarded);
    }
};

QTEST_GUILESS_MAIN(TstSingleInstance)
#include "tst_singleinstance.moc"
