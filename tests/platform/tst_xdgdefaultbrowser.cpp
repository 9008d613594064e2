#include "ScriptedPrompts.h"
#include "platform/linux/DesktopEntry.h"
#include "platform/linux/XdgDefaultBrowser.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

class TstXdgDefaultBrowser : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> root;

    QString Path(const QString &relative) const { return root->filePath(relative); }

    bool Write(const QString &relative, const QByteArray &contents) const {
        const QString path = Path(relative);
        QFile file(path);
        return QDir().mkpath(QFileInfo(path).path()) && file.open(QIODevice::WriteOnly) &&
               file.write(contents) == contents.size();
    }

    bool WriteEntry(const QString &relative, const QString &exec,
                    const QByteArray &extra = QByteArray()) const {
        return Write(relative,
                     "[Desktop Entry]\nType=Application\nName=Test\nExec=" + exec.toUtf8() + "\n" + extra);
    }

    static QByteArray Defaults(const QByteArray &ids) {
        return "[Default Applications]\ntext/html=" + ids + "\n";
    }

    // A browser that writes each argument it gets on its own line; the folder name has a blank in it.
    QString MakeRecorder() const {
        const QString script = Path(QStringLiteral("my bin/recorder.sh"));
        const QString out = Path(QStringLiteral("args.txt"));
        if (!Write(QStringLiteral("my bin/recorder.sh"),
                   "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > '" + out.toUtf8() +
                       ".tmp'\n"
                       "mv '" +
                       out.toUtf8() + ".tmp' '" + out.toUtf8() + "'\n"))
            return QString();
        QFile::setPermissions(script,
                              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        return script;
    }

private Q_SLOTS:
    void init() {
        root = std::make_unique<QTemporaryDir>();
        qputenv("XDG_CONFIG_HOME", Path(QStringLiteral("config")).toLocal8Bit());
        qputenv("XDG_CONFIG_DIRS", Path(QStringLiteral("sysconfig")).toLocal8Bit());
        qputenv("XDG_DATA_HOME", Path(QStringLiteral("data")).toLocal8Bit());
        qputenv("XDG_DATA_DIRS", Path(QStringLiteral("sysdata")).toLocal8Bit());
        qunsetenv("XDG_CURRENT_DESKTOP");
    }

    void addressWithBlanksArrivesAsOneArgument() {
        const QString recorder = MakeRecorder();
        QVERIFY(!recorder.isEmpty());
        QVERIFY(WriteEntry(QStringLiteral("data/applications/recorder.desktop"),
                           DesktopEntry::ExecLine({recorder, QStringLiteral("--new-window")}) +
                               QStringLiteral(" %u")));
        QVERIFY(Write(QStringLiteral("config/mimeapps.list"), Defaults("recorder.desktop")));

        TXdgDefaultBrowser source;
        TScriptedPrompts prompts;
        TpvlUrl launcher(source, prompts);
        launcher.Url = QStringLiteral("http://example.com/a page?x=1 2;rm -rf $HOME");
        QCOMPARE(launcher.LaunchDefaultBrowser(), TpvlUrl::TLaunchResult::Launched);
        QTRY_VERIFY(QFile::exists(Path(QStringLiteral("args.txt"))));
        QFile args(Path(QStringLiteral("args.txt")));
        QVERIFY(args.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromUtf8(args.readAll()),
                 QStringLiteral("--new-window\n") + launcher.Url + QLatin1Char('\n'));
        QVERIFY(prompts.shown.isEmpty());
    }

    void withoutAUsableEntryNothingHappens_data() {
        QTest::addColumn<QByteArray>("mimeapps");
        QTest::addColumn<QByteArray>("entryExtra");
        QTest::newRow("no mimeapps.list") << QByteArray() << QByteArray();
        QTest::newRow("no text/html default")
            << QByteArray("[Default Applications]\ntext/plain=b.desktop\n") << QByteArray();
        QTest::newRow("default not installed") << Defaults("missing.desktop") << QByteArray();
        QTest::newRow("entry hidden") << Defaults("b.desktop") << QByteArray("Hidden=true\n");
    }
    void withoutAUsableEntryNothingHappens() {
        QFETCH(QByteArray, mimeapps);
        QFETCH(QByteArray, entryExtra);
        QVERIFY(WriteEntry(QStringLiteral("data/applications/b.desktop"), QStringLiteral("/bin/true %u"),
                           entryExtra));
        if (!mimeapps.isEmpty()) QVERIFY(Write(QStringLiteral("config/mimeapps.list"), mimeapps));
        TXdgDefaultBrowser source;
        TScriptedPrompts prompts;
        TpvlUrl launcher(source, prompts);
        launcher.Url = QStringLiteral("http://example.com/");
        QCOMPARE(launcher.LaunchDefaultBrowser(), TpvlUrl::TLaunchResult::NoBrowser);
        QVERIFY(prompts.shown.isEmpty());
    }

    void browserThatCannotStartIsReported() {
        QVERIFY(WriteEntry(QStringLiteral("data/applications/gone.desktop"),
                           Path(QStringLiteral("nowhere/browser")) + QStringLiteral(" %u")));
        QVERIFY(Write(QStringLiteral("config/mimeapps.list"), Defaults("gone.desktop")));
        TXdgDefaultBrowser source;
        TScriptedPrompts prompts;
        TpvlUrl launcher(source, prompts);
        launcher.Url = QStringLiteral("http://example.com/");
        QCOMPARE(launcher.LaunchDefaultBrowser(), TpvlUrl::TLaunchResult::Failed);
        QCOMPARE(prompts.shown.size(), 1);
        QCOMPARE(prompts.shown[0].kind, QStringLiteral("inform"));
        QCOMPARE(prompts.shown[0].caption, QStringLiteral("Orvi"));
        QCOMPARE(prompts.shown[0].text, QStringLiteral("Couldn't launch default browser"));
        QCOMPARE(prompts.shown[0].icon, TPrompts::TIcon::Error);
    }

    void defaultFollowsTheXdgOrder_data() {
        QTest::addColumn<QString>("desktop");
        QTest::addColumn<QString>("winner");
        QTest::newRow("user's list before the system's") << QString() << QStringLiteral("user");
        QTest::newRow("desktop's own list first") << QStringLiteral("Test:Other") << QStringLiteral("desk");
    }
    void defaultFollowsTheXdgOrder() {
        QFETCH(QString, desktop);
        QFETCH(QString, winner);
        for (const char *name : {"user", "desk", "sysconf", "data", "sysdata"})
            QVERIFY(WriteEntry(QStringLiteral("sysdata/applications/%1.desktop").arg(QLatin1String(name)),
                               QLatin1String(name)));
        // A listed entry that is not installed gives way to the next one of the same list.
        QVERIFY(Write(QStringLiteral("config/mimeapps.list"), Defaults("absent.desktop;user.desktop")));
        QVERIFY(Write(QStringLiteral("config/test-mimeapps.list"), Defaults("desk.desktop")));
        QVERIFY(Write(QStringLiteral("sysconfig/mimeapps.list"), Defaults("sysconf.desktop")));
        QVERIFY(Write(QStringLiteral("data/applications/mimeapps.list"), Defaults("data.desktop")));
        QVERIFY(Write(QStringLiteral("sysdata/applications/mimeapps.list"), Defaults("sysdata.desktop")));
        if (!desktop.isEmpty()) qputenv("XDG_CURRENT_DESKTOP", desktop.toLocal8Bit());
        QCOMPARE(TXdgDefaultBrowser().BrowserCommand(), std::optional<QStringList>(QStringList{winner}));
    }

    void systemListsServeWhenTheUserHasNone() {
        QVERIFY(
            WriteEntry(QStringLiteral("sysdata/applications/sysdata.desktop"), QStringLiteral("sysdata %U")));
        QVERIFY(Write(QStringLiteral("sysdata/applications/mimeapps.list"), Defaults("sysdata.desktop")));
        QCOMPARE(TXdgDefaultBrowser().BrowserCommand(),
                 std::optional<QStringList>(QStringList{QStringLiteral("sysdata"), QStringLiteral("%U")}));
    }

    void execSplitting_data() {
        QTest::addColumn<QString>("exec");
        QTest::addColumn<QStringList>("expected");
        QTest::addColumn<bool>("valid");
        QTest::newRow("plain") << "firefox  --new-window %u" << QStringList{"firefox", "--new-window", "%u"}
                               << true;
        QTest::newRow("quoted with blank")
            << "\"/opt/my app/b\" %u" << QStringList{"/opt/my app/b", "%u"} << true;
        QTest::newRow("escapes in quotes") << "\"a\\\"b\\$c\\\\d\\`e\"" << QStringList{"a\"b$c\\d`e"} << true;
        QTest::newRow("empty quoted argument") << "b \"\" x" << QStringList{"b", "", "x"} << true;
        QTest::newRow("open quote") << "\"/opt/b %u" << QStringList{} << false;
    }
    void execSplitting() {
        QFETCH(QString, exec);
        QFETCH(QStringList, expected);
        QFETCH(bool, valid);
        const std::optional<QStringList> split = DesktopEntry::SplitExec(exec);
        QCOMPARE(split.has_value(), valid);
        if (valid) QCOMPARE(*split, expected);
    }
};

QTEST_GUILESS_MAIN(TstXdgDefaultBrowser)
#include "tst_xdgdefaultbrowser.moc"
