// The settings store: start-up load, saving, owner selection and the working document.

#include "settings/SettingsStore.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

namespace {
void WriteFile(const QString &path, const QByteArray &bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

QByteArray ReadFile(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList AsideCopies(const QString &path) {
    const QFileInfo info(path);
    return info.dir().entryList({info.fileName() + QStringLiteral(".bad-*")}, QDir::Files);
}

QStringList Handles(const TXMLSettingsType &root) {
    QStringList handles;
    for (int i = 0; i < root.Owner().Count(); ++i)
        handles << root.Owner().Item(i)->SkypeHandle();
    return handles;
}

const char *const None = "-";
} // namespace

class TestSettingsStore : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void startUpLoad_data();
    void startUpLoad();
    void ownersOfSeveralUsers();
    void switchingEmptiesTheWorkingStores();
    void unusableFixedFolderFallsBackToTheCurrentDirectory();
    void bothLocationsUnwritable();
    void logSwitchIsTheRootsLogFile();

private:
    TSettingsStore Store() const { return TSettingsStore({fixedPath, barePath}); }

    std::unique_ptr<QTemporaryDir> dir;
    QString fixedPath;
    QString barePath;
};

void TestSettingsStore::init() {
    dir = std::make_unique<QTemporaryDir>();
    fixedPath = dir->filePath(QStringLiteral("home/Settings.xml"));
    barePath = dir->filePath(QStringLiteral("cwd/Settings.xml"));
    QDir().mkpath(dir->filePath(QStringLiteral("cwd"))); // the current directory always exists
}

void TestSettingsStore::startUpLoad_data() {
    QTest::addColumn<QByteArray>("fixed");
    QTest::addColumn<QByteArray>("bare");
    QTest::addColumn<QString>("owner");      // SkypeHandle of the owner in force
    QTest::addColumn<QString>("from");       // "fixed", "bare" or "" for a new document
    QTest::addColumn<QStringList>("owners"); // every owner of the document in force
    QTest::addColumn<QString>("aside");      // the location whose file is copied aside by the first save

    const QByteArray ab =
        "<Settings><LastOwnerSkypeUsername>B</LastOwnerSkypeUsername>"
        "<Owner><SkypeHandle>a</SkypeHandle></Owner><Owner><SkypeHandle>b</SkypeHandle></Owner>"
        "</Settings>";
    const QByteArray unmatched =
        "<Settings><LastOwnerSkypeUsername>zed</LastOwnerSkypeUsername>"
        "<Owner><SkypeHandle>a</SkypeHandle></Owner><Owner><SkypeHandle>b</SkypeHandle>"
        "</Owner></Settings>";
    const QByteArray c = "<Settings><LastOwnerSkypeUsername>c</LastOwnerSkypeUsername>"
                         "<Owner><SkypeHandle>c</SkypeHandle></Owner></Settings>";
    const QByteArray damaged = "<Settings><Owner><SkypeHandle>a</SkypeHandle></Owner";
    const QStringList none{QString()};

    QTest::newRow("no file anywhere") << QByteArray(None) << QByteArray(None) << ""
                                      << "" << none << "";
    QTest::newRow("fixed matches") << ab << c << "b"
                                   << "fixed" << QStringList{"a", "b"} << "bare";
    QTest::newRow("fixed missing, bare matches") << QByteArray(None) << ab << "b"
                                                 << "bare" << QStringList{"a", "b"} << "";
    QTest::newRow("fixed damaged") << damaged << QByteArray(None) << ""
                                   << "" << none << "fixed";
    QTest::newRow("fixed damaged, bare matches") << damaged << c << "c"
                                                 << "bare" << QStringList{"c"} << "fixed";
    QTest::newRow("no owner matches: the first is kept in force") << unmatched << QByteArray(None) << "a"
                                                                  << "fixed" << QStringList{"a", "b"} << "";
    QTest::newRow("no owner at all: a new one")
        << QByteArray("<Settings><LastOwnerSkypeUsername>q</LastOwnerSkypeUsername></Settings>")
        << QByteArray(None) << ""
        << "fixed" << none << "";
    QTest::newRow("fixed unmatched, bare matches: fixed kept aside") << unmatched << c << "c"
                                                                     << "bare" << QStringList{"c"} << "fixed";
    QTest::newRow("no LastOwner: the owner with no name")
        << QByteArray("<Settings><Owner><SkypeHandle>a</SkypeHandle></Owner><Owner/></Settings>")
        << QByteArray(None) << ""
        << "fixed" << QStringList{"a", ""} << "";
}

void TestSettingsStore::startUpLoad() {
    QFETCH(QByteArray, fixed);
    QFETCH(QByteArray, bare);
    QFETCH(QString, owner);
    QFETCH(QString, from);
    QFETCH(QStringList, owners);
    QFETCH(QString, aside);
    if (fixed != None) WriteFile(fixedPath, fixed);
    if (bare != None) WriteFile(barePath, bare);

    TSettingsStore store = Store();
    store.Load();
    QCOMPARE(store.CurrentOwner().SkypeHandle(), owner);
    QCOMPARE(store.LoadedFrom(), from == "fixed" ? fixedPath : from == "bare" ? barePath : QString());
    QCOMPARE(Handles(store.SettingsRoot()), owners);
    QVERIFY(store.CurrentOwner().Element().parentNode() == store.SettingsRoot().Element());
    QVERIFY(!QFileInfo::exists(fixedPath) || ReadFile(fixedPath) == fixed); // loading writes nothing

    // Make the fixed path unwritable for one save, to see that the bare file is kept aside as well.
    const bool blockFixed = aside == "bare";
    if (blockFixed)
        QVERIFY(QFile::setPermissions(fixedPath, QFileDevice::ReadOwner) &&
                QFile::rename(fixedPath, fixedPath + "~") && QDir().mkdir(fixedPath));
    QCOMPARE(store.SaveSettings(), QString());
    const QString asidePath = aside == "fixed" ? fixedPath : aside == "bare" ? barePath : QString();
    for (const QString &path : {fixedPath, barePath}) {
        const QStringList copies = AsideCopies(path);
        QCOMPARE(copies.size(), path == asidePath ? 1 : 0);
        if (!copies.isEmpty())
            QCOMPARE(ReadFile(QFileInfo(path).dir().filePath(copies[0])), path == fixedPath ? fixed : bare);
    }
    const QString saved = blockFixed ? barePath : fixedPath;
    QCOMPARE(Handles(LoadSettings(saved).root), owners);
    QCOMPARE(store.SaveSettings(), QString()); // later saves make no further copies
    QCOMPARE(AsideCopies(fixedPath).size() + AsideCopies(barePath).size(), asidePath.isEmpty() ? 0 : 1);
}

void TestSettingsStore::ownersOfSeveralUsers() {
    {
        TSettingsStore store = Store();
        store.Load();
        const TOwnerSelection alice = store.SelectOwner(QStringLiteral("alice"));
        QCOMPARE(int(alice.change), int(TOwnerChange::Created));
        QCOMPARE(alice.error, QString());
        const TXMLOrviTabsType tabs = store.CurrentOwner().OrviTabs();
        QCOMPARE(tabs.Count(), 4);
        const QStringList names{"ElTabPresence", "ElTabAutoresponder", "ElTabCallForwarding",
                                "ElTabOrviCommunity"};
        for (int i = 0; i < 4; ++i) {
            QCOMPARE(tabs.Item(i)->TabName(), names[i]);
            QCOMPARE(tabs.Item(i)->Visible(), true);
            QVERIFY(tabs.Item(i)->Element().firstChildElement(QStringLiteral("Enabled")).isNull());
        }
        QCOMPARE(store.SettingsRoot().LastOwnerSkypeUsername(), QStringLiteral("alice"));
        QCOMPARE(Handles(store.SettingsRoot()), (QStringList{"", "alice"})); // the empty owner stays
        QCOMPARE(store.SaveSettings(), QString());
        store.ExitSave();
    }
    {
        TSettingsStore store = Store();
        store.Load();
        QCOMPARE(store.CurrentOwner().SkypeHandle(), QStringLiteral("alice"));
        QCOMPARE(int(store.SelectOwner(QStringLiteral("ALICE")).change), int(TOwnerChange::Kept));
        QCOMPARE(int(store.SelectOwner(QStringLiteral("bob")).change), int(TOwnerChange::Created));
        store.ExitSave();
    }
    TSettingsStore store = Store();
    store.Load();
    QCOMPARE(store.CurrentOwner().SkypeHandle(), QStringLiteral("bob")); // created last
    QCOMPARE(int(store.SelectOwner(QStringLiteral("Alice")).change), int(TOwnerChange::Switched));
    QCOMPARE(store.CurrentOwner().SkypeHandle(), QStringLiteral("alice"));
    QCOMPARE(store.SettingsRoot().LastOwnerSkypeUsername(), QStringLiteral("bob"));
    QCOMPARE(Handles(store.SettingsRoot()), (QStringList{"", "alice", "bob"}));

    const TOwnerSelection bad = store.SelectOwner(QStringLiteral("c\x01"));
    QCOMPARE(int(bad.change), int(TOwnerChange::Created));
    QVERIFY(!bad.error.isEmpty());
    QCOMPARE(store.SaveSettings(), QString()); // the file stays loadable
    QVERIFY(LoadSettings(fixedPath).error.isEmpty());
}

void TestSettingsStore::switchingEmptiesTheWorkingStores() {
    TSettingsStore store = Store();
    store.Load();
    const TXMLSettingsType working = store.WorkingDocument();
    auto fill = [&] {
        store.ContactCache().Add().SetHANDLE(QStringLiteral("friend"));
        working.CallStack().Add().SetCallID(12);
        working.IMStack().Add().SetChatMsgID(34);
    };
    fill();
    QVERIFY(store.SecondContactList().Add().SetHANDLE(QStringLiteral("me")));
    QVERIFY(!(store.ContactCache() == store.SecondContactList()));

    QCOMPARE(int(store.SelectOwner(QString()).change),
             int(TOwnerChange::Kept)); // the empty owner is in force
    QCOMPARE(store.ContactCache().Count(), 1);

    QCOMPARE(int(store.SelectOwner(QStringLiteral("alice")).change), int(TOwnerChange::Created));
    QCOMPARE(store.ContactCache().Count(), 0);
    QCOMPARE(working.CallStack().Count(), 0);
    QCOMPARE(working.IMStack().IndexOfChatMessage(34), -1);
    QCOMPARE(store.SecondContactList().Count(), 1);

    fill();
    QCOMPARE(store.SaveSettings(), QString());
    QVERIFY(!ReadFile(fixedPath).contains("CHATMSG")); // the working document is never saved
    QCOMPARE(int(store.SelectOwner(QString()).change), int(TOwnerChange::Switched));
    QCOMPARE(working.CallStack().IndexOfCall(12), -1);
}

void TestSettingsStore::unusableFixedFolderFallsBackToTheCurrentDirectory() {
    WriteFile(dir->filePath(QStringLiteral("blocker")), "not a folder");
    fixedPath = dir->filePath(QStringLiteral("blocker/Settings.xml"));
    {
        TSettingsStore store = Store();
        store.Load();
        store.SelectOwner(QStringLiteral("alice"));
        QCOMPARE(store.SaveSettings(), QString());
        QVERIFY(QFileInfo::exists(barePath));
    }
    TSettingsStore store = Store();
    store.Load();
    QCOMPARE(store.LoadedFrom(), barePath);
    QCOMPARE(store.CurrentOwner().SkypeHandle(), QStringLiteral("alice"));
}

void TestSettingsStore::bothLocationsUnwritable() {
    WriteFile(dir->filePath(QStringLiteral("blocker")), "not a folder");
    fixedPath = dir->filePath(QStringLiteral("blocker/Settings.xml"));
    barePath = dir->filePath(QStringLiteral("blocker/again/Settings.xml"));
    TSettingsStore store = Store();
    QCOMPARE(store.SaveSettings(), QString()); // nothing loaded: nothing to do
    store.Load();
    QVERIFY(store.SettingsRoot().SetLaunchOnStartUp(false));
    const QString error = store.SaveSettings();
    QVERIFY(error.contains(fixedPath) && error.contains(barePath));
    QCOMPARE(store.SettingsRoot().LaunchOnStartUp(), false); // the change stays in memory
    store.ExitSave();
    QVERIFY(store.SettingsRoot().IsNull() && store.CurrentOwner().IsNull());
}

void TestSettingsStore::logSwitchIsTheRootsLogFile() {
    TSettingsStore store = Store();
    store.Load();
    TLogSwitch &logSwitch = store;
    QCOMPARE(logSwitch.LogFile(), false);
    QVERIFY(store.SettingsRoot().SetLogFile(true));
    QCOMPARE(logSwitch.LogFile(), true);
    logSwitch.SetLogFile(false);
    QCOMPARE(store.SettingsRoot().Element().firstChildElement(QStringLiteral("LogFile")).text(),
             QStringLiteral("False"));
}

QTEST_GUILESS_MAIN(TestSettingsStore)
#include "tst_settingsstore.moc"
