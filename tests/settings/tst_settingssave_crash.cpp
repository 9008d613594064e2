// Saving under a kill -9 and on a full disk: the file on disk is always one whole version.

#include "settings/Settings5.h"

#include <QDir>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/types.h>

namespace {
const QString Writer = QStringLiteral(ORVI_SETTINGS_WRITER);

// The version number of a whole file, or -1 when the file is damaged or mixes versions.
int VersionOf(const QString &path) {
    const TSettingsLoad load = LoadSettings(path);
    if (!load.error.isEmpty()) return -1;
    const QString name = load.root.LastOwnerSkypeUsername();
    const TXMLFavoritesListType favorites = load.root.Owner().Item(0)->FavoritesList();
    for (int i = 0; i < favorites.Count(); ++i)
        if (favorites.Item(i) != QStringLiteral("%1-%2").arg(name).arg(i)) return -1;
    return favorites.Count() == 2000 || name == QLatin1String("v0") ? name.mid(1).toInt() : -1;
}

void WriteVersionZero(const QString &path) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    const TXMLSettingsType root = NewSettings();
    root.SetLastOwnerSkypeUsername(QStringLiteral("v0"));
    root.Owner().Add().SetSkypeHandle(QStringLiteral("v0"));
    QCOMPARE(SaveSettingsFile(root, path), QString());
}
} // namespace

class TestSettingsSaveCrash : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void killDuringSaveNeverDamagesTheFile();
    void fullDiskLeavesTheOldFileWhole();
};

void TestSettingsSaveCrash::killDuringSaveNeverDamagesTheFile() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Settings.xml"));
    WriteVersionZero(path);
    QRandomGenerator random(7);
    int last = 0;
    int advanced = 0;
    for (int round = 0; round < 300; ++round) {
        QProcess writer;
        writer.start(Writer, {QStringLiteral("loop"), path});
        QVERIFY(writer.waitForStarted());
        QThread::usleep(random.bounded(2000, 40000));
        ::kill(pid_t(writer.processId()), SIGKILL);
        QVERIFY(writer.waitForFinished());
        QCOMPARE(writer.exitStatus(), QProcess::CrashExit);
        const int version = VersionOf(path);
        QVERIFY2(version >= 0, qPrintable(QStringLiteral("damaged after round %1").arg(round)));
        advanced += version != last ? 1 : 0;
        last = version;
    }
    // The kills must have landed among saves, or this test proved nothing.
    const int leftovers = QDir(dir.path()).entryList({QStringLiteral("Settings.xml.*")}, QDir::Files).size();
    qInfo("rounds in which the file changed: %d of 300; temporary files of killed saves: %d", advanced,
          leftovers);
    QVERIFY(advanced > 30);
}

void TestSettingsSaveCrash::fullDiskLeavesTheOldFileWhole() {
    QTemporaryDir dir;
    const QString fixed = dir.filePath(QStringLiteral("home/Settings.xml"));
    WriteVersionZero(fixed);
    QDir().mkpath(dir.filePath(QStringLiteral("cwd")));
    QFile file(fixed);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray before = file.readAll();

    QProcess writer;
    writer.start(Writer, {QStringLiteral("limited"), dir.path(), QString::number(16 * 1024)});
    QVERIFY(writer.waitForFinished());
    QCOMPARE(writer.exitStatus(), QProcess::NormalExit);
    QVERIFY2(writer.exitCode() == 0, writer.readAllStandardOutput().constData()); // the error was reported
    QFile again(fixed);
    QVERIFY(again.open(QIODevice::ReadOnly));
    QCOMPARE(again.readAll(), before);
    QCOMPARE(QDir(dir.filePath(QStringLiteral("home"))).entryList(QDir::Files), QStringList{"Settings.xml"});
    QCOMPARE(QDir(dir.filePath(QStringLiteral("cwd"))).entryList(QDir::Files), QStringList());
}

QTEST_GUILESS_MAIN(TestSettingsSaveCrash)
#include "tst_settingssave_crash.moc"
