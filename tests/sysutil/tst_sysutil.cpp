#include "ScriptedPrompts.h"
#include "sysutil/enumStuff.h"
#include "sysutil/pvlUrl.h"

#include <QtTest>

namespace {
class TFixedProcesses final : public TProcessSource {
public:
    std::optional<TProcessList> list;
    std::optional<TProcessList> ReadProcesses() const override { return list; }
};
} // namespace

class TstSysUtil : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void browserArguments_data() {
        const QString url = QStringLiteral("http://example.com/a page?q=x y");
        QTest::addColumn<QStringList>("command");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("%u alone") << QStringList{"firefox", "%u"} << QStringList{"firefox", url};
        QTest::newRow("%U after options")
            << QStringList{"chromium", "--new-window", "%U"} << QStringList{"chromium", "--new-window", url};
        QTest::newRow("%f and arguments after it")
            << QStringList{"b", "%f", "--tail"} << QStringList{"b", url, "--tail"};
        QTest::newRow("%F") << QStringList{"b", "%F"} << QStringList{"b", url};
        QTest::newRow("no field code: appended")
            << QStringList{"browser", "-nohome"} << QStringList{"browser", "-nohome", url};
        QTest::newRow("inside an argument")
            << QStringList{"b", "--url=%u"} << QStringList{"b", "--url=" + url};
        QTest::newRow("other codes dropped")
            << QStringList{"b", "%i", "%c", "%k", "%u"} << QStringList{"b", url};
        QTest::newRow("literal percent") << QStringList{"b", "100%%", "%u"} << QStringList{"b", "100%", url};
        QTest::newRow("only the first code takes it")
            << QStringList{"b", "%u", "%U"} << QStringList{"b", url};
    }
    void browserArguments() {
        QFETCH(QStringList, command);
        QFETCH(QStringList, expected);
        QCOMPARE(BrowserArguments(command, QStringLiteral("http://example.com/a page?q=x y")), expected);
    }

    void unreadableProcessListIsReportedAndEmpty() {
        TFixedProcesses source;
        TScriptedPrompts prompts;
        QVERIFY(GetProcessList(source, prompts).isEmpty());
        QCOMPARE(prompts.shown.size(), 1);
        QCOMPARE(prompts.shown[0].kind, QStringLiteral("inform"));
        QCOMPARE(prompts.shown[0].caption, QStringLiteral("Error..."));
        QCOMPARE(prompts.shown[0].text, QStringLiteral("Error reading Performace Data."));
        QCOMPARE(prompts.shown[0].icon, TPrompts::TIcon::None);
    }

    void processFoundAnywhereInTheList() {
        TFixedProcesses source;
        source.list = TProcessList();
        for (quint32 id = 1; id <= 700; ++id) // far beyond the 501 entries once looked at
            source.list->append({id, QStringLiteral("proc%1").arg(id)});
        source.list->append({701, QStringLiteral("Skype")});
        TScriptedPrompts prompts;
        const TProcessList list = GetProcessList(source, prompts);
        QCOMPARE(list.size(), 701);
        QVERIFY(prompts.shown.isEmpty());
        QVERIFY(ContainsProcess(list, QStringLiteral("skype")));
        QVERIFY(!ContainsProcess(list, QStringLiteral("skyp")));
        QVERIFY(!ContainsProcess(TProcessList(), QStringLiteral("skype")));
    }

    void skypeNamesFollowTheEnvironment_data() {
        QTest::addColumn<QByteArray>("exe");
        QTest::addColumn<QByteArray>("path");
        QTest::addColumn<QString>("expectedExe");
        QTest::addColumn<QString>("expectedPath");
        QTest::newRow("defaults") << QByteArray() << QByteArray() << "skype"
                                  << "/usr/bin/skype";
        QTest::newRow("overridden") << QByteArray("skypesim") << QByteArray("/opt/sim/skypesim") << "skypesim"
                                    << "/opt/sim/skypesim";
    }
    void skypeNamesFollowTheEnvironment() {
        QFETCH(QByteArray, exe);
        QFETCH(QByteArray, path);
        QFETCH(QString, expectedExe);
        QFETCH(QString, expectedPath);
        qputenv("ORVI_SKYPE_EXE", exe);
        qputenv("ORVI_SKYPE_PATH", path);
        QCOMPARE(SkypeProcessName(), expectedExe);
        QCOMPARE(SkypeProgramPath(), expectedPath);
    }
};

QTEST_GUILESS_MAIN(TstSysUtil)
#include "tst_sysutil.moc"
