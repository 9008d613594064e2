// The typed views over Settings.xml: reading, writing, lists, lookups, loading and saving.

#include "settings/Settings5.h"

#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

namespace {
using TReader = std::function<QString(const TXMLSettingsType &)>;

TXMLSettingsType Fixture(const QByteArray &xml) {
    const TSettingsLoad load = ParseSettings(xml);
    if (!load.error.isEmpty()) qFatal("bad fixture: %s", qPrintable(load.error));
    return load.root;
}

QString Xml(const TXMLSettingsType &root) {
    return QString::fromUtf8(SerializeSettings(root));
}
TXMLOwnerType FirstOwner(const TXMLSettingsType &root) {
    return root.Owner().Item(0).value();
}

QString B(bool value) {
    return value ? QStringLiteral("true") : QStringLiteral("false");
}
QString N(int value) {
    return QString::number(value);
}
} // namespace

Q_DECLARE_METATYPE(TReader)

class TestSettings5 : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void scalarReads_data();
    void scalarReads();
    void readingAddsMissingElementsInOrder();
    void writingReplacesTheWholeContent();
    void textsTheFileCannotHoldAreRefused();
    void textsRoundTrip();
    void textListOperations();
    void recordListOperations();
    void unknownContentSurvivesLoadAndSave();
    void lookups_data();
    void lookups();
    void integerIndexFollowsEveryChange();
    void loadErrors_data();
    void loadErrors();
    void newDocumentAndEncoding();
};

void TestSettings5::scalarReads_data() {
    QTest::addColumn<QByteArray>("owner");
    QTest::addColumn<TReader>("read");
    QTest::addColumn<QString>("expected");

    const TReader advanced = [](const TXMLSettingsType &r) { return B(FirstOwner(r).AdvancedMode()); };
    const TReader broadcast = [](const TXMLSettingsType &r) {
        return B(FirstOwner(r).Presence().BroadcastPresenceOn());
    };
    const TReader reminder = [](const TXMLSettingsType &r) {
        return N(FirstOwner(r).TellAFriendReminderCount());
    };
    const TReader pointer = [](const TXMLSettingsType &r) {
        return N(FirstOwner(r).AutoRespond().When_Im_on_Call().RespondToIM().MessagePointer());
    };
    const TReader rings = [](const TXMLSettingsType &r) {
        return N(FirstOwner(r).CallForwarding().ForwardToPSTN().RingsBeforeHangup());
    };
    const TReader number = [](const TXMLSettingsType &r) {
        return FirstOwner(r).CallForwarding().ForwardToPSTN().Number();
    };
    const TReader skypeUser = [](const TXMLSettingsType &r) {
        return FirstOwner(r).CallForwarding().ForwardToSkypeUser().SkypeUser();
    };
    const TReader logFile = [](const TXMLSettingsType &r) { return B(r.LogFile()); };
    const TReader launch = [](const TXMLSettingsType &r) { return B(r.LaunchOnStartUp()); };

    auto row = [](const char *name, const char *owner, const TReader &read, const char *expected) {
        QTest::newRow(name) << QByteArray(owner) << read << QString::fromUtf8(expected);
    };
    row("bool yes: default false", "<AdvancedMode>yes</AdvancedMode>", advanced, "false");
    row("bool yes: default true", "<Presence><BroadcastPresenceOn>yes</BroadcastPresenceOn></Presence>",
        broadcast, "true");
    row("bool true", "<AdvancedMode>true</AdvancedMode>", advanced, "true");
    row("bool FALSE", "<Presence><BroadcastPresenceOn>FALSE</BroadcastPresenceOn></Presence>", broadcast,
        "false");
    row("bool 1", "<AdvancedMode>1</AdvancedMode>", advanced, "true");
    row("bool -1", "<AdvancedMode>-1</AdvancedMode>", advanced, "true");
    row("bool 00", "<Presence><BroadcastPresenceOn>00</BroadcastPresenceOn></Presence>", broadcast, "false");
    row("bool empty", "<Presence><BroadcastPresenceOn/></Presence>", broadcast, "true");
    row("bool missing", "", broadcast, "true");
    row("bool padded", "<AdvancedMode> True</AdvancedMode>", advanced, "false");
    row("bool beside an element", "<AdvancedMode>True<x/></AdvancedMode>", advanced, "false");
    row("int digits then letters", "<TellAFriendReminderCount>12abc</TellAFriendReminderCount>", reminder,
        "0");
    row("int 007", "<TellAFriendReminderCount>007</TellAFriendReminderCount>", reminder, "7");
    row("int minus one",
        "<AutoRespond><When_Im_on_Call><RespondToIM><MessagePointer>-1</MessagePointer></RespondToIM>"
        "</When_Im_on_Call></AutoRespond>",
        pointer, "-1");
    row("int missing", "", rings, "5");
    row("int plus sign",
        "<CallForwarding><ForwardToPSTN><RingsBeforeHangup>+3</RingsBeforeHangup>"
        "</ForwardToPSTN></CallForwarding>",
        rings, "5");
    row("int too large",
        "<CallForwarding><ForwardToPSTN><RingsBeforeHangup>99999999999</RingsBeforeHangup>"
        "</ForwardToPSTN></CallForwarding>",
        rings, "5");
    row("text holding an element",
        "<CallForwarding><ForwardToPSTN><Number><a/></Number></ForwardToPSTN>"
        "</CallForwarding>",
        number, "+15554442222");
    row("text holding text and a comment",
        "<CallForwarding><ForwardToPSTN><Number>+1<!--c--></Number>"
        "</ForwardToPSTN></CallForwarding>",
        number, "+15554442222");
    row("text empty", "<CallForwarding><ForwardToPSTN><Number/></ForwardToPSTN></CallForwarding>", number,
        "");
    row("text missing", "", number, "");
    row("text CDATA",
        "<CallForwarding><ForwardToPSTN><Number><![CDATA[<+1>]]></Number></ForwardToPSTN>"
        "</CallForwarding>",
        number, "<+1>");
    row("skype user holding an element",
        "<CallForwarding><ForwardToSkypeUser><SkypeUser>bob<b/></SkypeUser>"
        "</ForwardToSkypeUser></CallForwarding>",
        skypeUser, "Skypeusername");
    row("root LogFile missing", "", logFile, "false");
    row("root LaunchOnStartUp missing", "", launch, "true");
}

void TestSettings5::scalarReads() {
    QFETCH(QByteArray, owner);
    QFETCH(TReader, read);
    QFETCH(QString, expected);
    const TXMLSettingsType root = Fixture("<Settings><Owner>" + owner + "</Owner></Settings>");
    QCOMPARE(read(root), expected);
    QCOMPARE(read(root), expected); // the second read sees the element the first may have added
}

void TestSettings5::readingAddsMissingElementsInOrder() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Settings.xml"));
    const TXMLSettingsType root = Fixture("<Settings><Owner><SkypeHandle>a</SkypeHandle></Owner></Settings>");
    const TXMLOwnerType owner = FirstOwner(root);
    QCOMPARE(owner.AutoRespond().AutoRespond_Enabled(), false);
    QCOMPARE(owner.Presence().WebStatus(), QString());
    QCOMPARE(owner.FavoritesList().Count(), 0);
    const QString expected =
        QStringLiteral("<Settings><Owner><SkypeHandle>a</SkypeHandle><AutoRespond>"
                       "<AutoRespond_Enabled/></AutoRespond><Presence><WebStatus/></Presence>"
                       "<FavoritesList/></Owner></Settings>");
    QCOMPARE(Xml(root), expected);
    QCOMPARE(SaveSettingsFile(root, path), QString());
    QCOMPARE(Xml(LoadSettings(path).root), expected);
}

void TestSettings5::writingReplacesTheWholeContent() {
    const TXMLSettingsType root =
        Fixture("<Settings><Owner><AdvancedMode>False</AdvancedMode>"
                "<AdvancedMode>True</AdvancedMode><CallForwarding><ForwardToPSTN>"
                "<Number>x<a/>y</Number></ForwardToPSTN></CallForwarding></Owner></Settings>");
    const TXMLOwnerType owner = FirstOwner(root);
    QVERIFY(owner.CallForwarding().ForwardToPSTN().SetNumber(QStringLiteral("+44")));
    QVERIFY(owner.SetAdvancedMode(true)); // the first element of the name is the property
    QVERIFY(owner.AutoRespond().When_Im_NOT_on_Call().RespondToCall().SetMessagePointer(-12));
    QCOMPARE(Xml(root),
             QStringLiteral("<Settings><Owner><AdvancedMode>True</AdvancedMode>"
                            "<AdvancedMode>True</AdvancedMode><CallForwarding><ForwardToPSTN>"
                            "<Number>+44</Number></ForwardToPSTN></CallForwarding><AutoRespond>"
                            "<When_Im_NOT_on_Call><RespondToCall><MessagePointer>-12</MessagePointer>"
                            "</RespondToCall></When_Im_NOT_on_Call></AutoRespond></Owner></Settings>"));
    QVERIFY(root.SetFirstTime(false));
    QCOMPARE(root.FirstTime(), false);
}

void TestSettings5::textsTheFileCannotHoldAreRefused() {
    const TXMLSettingsType root = Fixture("<Settings><Owner><SkypeHandle>a</SkypeHandle></Owner></Settings>");
    const TXMLOwnerType owner = FirstOwner(root);
    const QString before = Xml(root);
    QVERIFY(!owner.SetSkypeHandle(QStringLiteral("b\x01")));
    QVERIFY(!owner.SetSkypeHandle(QString(QChar(0xD800)))); // a lone surrogate
    QVERIFY(!owner.FavoritesList().Add(QStringLiteral("\x1f")));
    QCOMPARE(owner.FavoritesList().Count(), 0);
    QCOMPARE(owner.SkypeHandle(), QStringLiteral("a"));
    QVERIFY(!TXMLOwnerType().SetSkypeHandle(QStringLiteral("x"))); // a view of nothing
    QVERIFY(Xml(root).startsWith(before.chopped(QStringLiteral("</Owner></Settings>").size())));
}

void TestSettings5::textsRoundTrip() {
    const QString text = QStringLiteral("<&>\"' ]]> \t é \U0001F600 a\r\nb\nc");
    const TXMLSettingsType root = NewSettings();
    QVERIFY(root.Owner().Add().SetSkypeHandle(text));
    const TSettingsLoad again = ParseSettings(SerializeSettings(root));
    QCOMPARE(again.error, QString());
    QCOMPARE(FirstOwner(again.root).SkypeHandle(), text);
}

void TestSettings5::textListOperations() {
    const TXMLSettingsType root =
        Fixture("<Settings><Owner><AutoRespond><ResponseMessages><ARMsg>a</ARMsg>"
                "<Note>keep</Note><ARMsg>b</ARMsg><ARMsg><i/></ARMsg></ResponseMessages>"
                "</AutoRespond></Owner></Settings>");
    const TXMLResponseMessagesType list = FirstOwner(root).AutoRespond().ResponseMessages();
    QCOMPARE(list.Count(), 3);
    QCOMPARE(list.Item(-1), std::nullopt);
    QCOMPARE(list.Item(3), std::nullopt);
    QCOMPARE(list.Item(1), QStringLiteral("b"));
    QCOMPARE(list.Item(2), QString()); // not a text item: empty
    QVERIFY(list.Insert(1, QStringLiteral("x")));
    QVERIFY(list.Insert(4, QStringLiteral("end")));
    QVERIFY(!list.Insert(6, QStringLiteral("beyond")));
    QVERIFY(!list.Delete(5));
    QVERIFY(!list.SetItem(-1, QStringLiteral("y")));
    QVERIFY(list.SetItem(0, QStringLiteral("A")));
    QCOMPARE(list.Remove(QStringLiteral("b")), 2);
    QCOMPARE(list.Remove(QStringLiteral("missing")), -1);
    QVERIFY(list.Add(QStringLiteral("z")));
    QCOMPARE(Xml(root),
             QStringLiteral("<Settings><Owner><AutoRespond><ResponseMessages><ARMsg>A</ARMsg>"
                            "<Note>keep</Note><ARMsg>x</ARMsg><ARMsg><i/></ARMsg><ARMsg>end</ARMsg>"
                            "<ARMsg>z</ARMsg></ResponseMessages></AutoRespond></Owner></Settings>"));
    list.Clear();
    QCOMPARE(list.Count(), 0);
    QCOMPARE(Xml(root), QStringLiteral("<Settings><Owner><AutoRespond><ResponseMessages><Note>keep</Note>"
                                       "</ResponseMessages></AutoRespond></Owner></Settings>"));
}

void TestSettings5::recordListOperations() {
    const TXMLSettingsType root = Fixture("<Settings><Owner><SkypeHandle>a</SkypeHandle></Owner><Extra/>"
                                          "<Owner><SkypeHandle>b</SkypeHandle></Owner></Settings>");
    const TXMLOwnerTypeList owners = root.Owner();
    QCOMPARE(owners.Count(), 2);
    QVERIFY(!owners.Item(2));
    QVERIFY(!owners.Insert(3));
    QVERIFY(!owners.Delete(-1));
    const auto inserted = owners.Insert(1);
    QVERIFY(inserted);
    QVERIFY(inserted->SetSkypeHandle(QStringLiteral("mid")));
    // Two views of one element see the same data.
    QCOMPARE(root.Owner().Item(1)->SkypeHandle(), QStringLiteral("mid"));
    QCOMPARE(root.Owner().Item(2)->SkypeHandle(), QStringLiteral("b"));

    const TXMLSettingsType other = NewSettings();
    QCOMPARE(owners.Remove(other.Owner().Add()), -1);
    QCOMPARE(owners.Remove(*owners.Item(0)), 0);
    QCOMPARE(owners.Count(), 2);
    QCOMPARE(Xml(root), QStringLiteral("<Settings><Extra/><Owner><SkypeHandle>mid</SkypeHandle></Owner>"
                                       "<Owner><SkypeHandle>b</SkypeHandle></Owner></Settings>"));
}

void TestSettings5::unknownContentSurvivesLoadAndSave() {
    const QByteArray file = "<Settings><FromNewerVersion><Deep>1</Deep></FromNewerVersion>"
                            "<Owner><SkypeHandle>a</SkypeHandle><Odd kind=\"x\">t</Odd><AutoRespond>"
                            "<ResponseMessages><ARMsg>one</ARMsg><Other>two</Other></ResponseMessages>"
                            "</AutoRespond><Empty/></Owner></Settings>";
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Settings.xml"));
    const TXMLSettingsType root = Fixture(file);
    QCOMPARE(SaveSettingsFile(root, path), QString());
    const TXMLSettingsType loaded = LoadSettings(path).root;
    QCOMPARE(SerializeSettings(loaded), file);
    QCOMPARE(FirstOwner(loaded).AutoRespond().ResponseMessages().Count(), 1);
    QVERIFY(FirstOwner(loaded).AutoRespond().ResponseMessages().Add(QStringLiteral("three")));
    QVERIFY(Xml(loaded).contains(QStringLiteral("<ARMsg>one</ARMsg><Other>two</Other><ARMsg>three</ARMsg>")));
    // Instructions are dropped: Qt would add a line break after each on every save.
    QCOMPARE(Xml(Fixture("<Settings><Owner/><?pi x?>text</Settings>")),
             QStringLiteral("<Settings><Owner/>text</Settings>"));
}

void TestSettings5::lookups_data() {
    QTest::addColumn<QByteArray>("xml");
    QTest::addColumn<std::function<int(const TXMLSettingsType &)>>("lookup");
    QTest::addColumn<int>("expected");

    using TLookup = std::function<int(const TXMLSettingsType &)>;
    const QByteArray owners = "<Settings><Owner><SkypeHandle>Alice</SkypeHandle></Owner>"
                              "<Owner><SkypeHandle>ALICE</SkypeHandle></Owner>"
                              "<Owner><SkypeHandle>bob</SkypeHandle></Owner></Settings>";
    QTest::newRow("owner, case ignored, first")
        << owners << TLookup([](auto r) { return r.Owner().IndexOfOwner(QStringLiteral("alice")); }) << 0;
    QTest::newRow("owner missing") << owners << TLookup([](auto r) {
        return r.Owner().IndexOfOwner(QStringLiteral("carol"));
    }) << -1;
    const QByteArray owner =
        "<Settings><Owner><ContactsList><User><HANDLE>x</HANDLE></User>"
        "<User><HANDLE>Bob</HANDLE></User></ContactsList><CallForwarding><ForwardcontactsList>"
        "<FrwContact>carol</FrwContact><FrwContact>Dave</FrwContact></ForwardcontactsList>"
        "</CallForwarding><SplashScreens><SplashScreen><SSText>Hello</SSText></SplashScreen>"
        "</SplashScreens><OrviTabs><OrviTab/><OrviTab><TabName>ElTabPresence</TabName>"
        "</OrviTab></OrviTabs></Owner></Settings>";
    QTest::newRow("contact") << owner << TLookup([](auto r) {
        return FirstOwner(r).ContactsList().FindContactByHandle(QStringLiteral("bob"));
    }) << 1;
    QTest::newRow("forward contact") << owner << TLookup([](auto r) {
        return FirstOwner(r).CallForwarding().ForwardcontactsList().IndexOfForwardContact(
            QStringLiteral("DAVE"));
    }) << 1;
    QTest::newRow("splash screen") << owner << TLookup([](auto r) {
        return FirstOwner(r).SplashScreens().IndexOfSplashScreen(QStringLiteral("hello"));
    }) << 0;
    QTest::newRow("tab") << owner << TLookup([](auto r) {
        return FirstOwner(r).OrviTabs().IndexOfTab(QStringLiteral("eltabpresence"));
    }) << 1;
    QTest::newRow("tab missing") << owner << TLookup([](auto r) {
        return FirstOwner(r).OrviTabs().IndexOfTab(QStringLiteral("ElTabAutoresponder"));
    }) << -1;
    const QByteArray stacks =
        "<Settings><CallStack><Call><CallID>7</CallID></Call><Call><CallID>x9</CallID></Call>"
        "<Call><CallID>7</CallID></Call></CallStack><IMStack><CHATMSG/><Junk/>"
        "<CHATMSG><ChatMsgID>-3</ChatMsgID></CHATMSG></IMStack></Settings>";
    QTest::newRow("call, first of two")
        << stacks << TLookup([](auto r) { return r.CallStack().IndexOfCall(7); }) << 0;
    QTest::newRow("call with an unreadable id reads 0")
        << stacks << TLookup([](auto r) { return r.CallStack().IndexOfCall(0); }) << 1;
    QTest::newRow("call missing") << stacks << TLookup([](auto r) { return r.CallStack().IndexOfCall(9); })
                                  << -1;
    QTest::newRow("chat message negative id")
        << stacks << TLookup([](auto r) { return r.IMStack().IndexOfChatMessage(-3); }) << 1;
    QTest::newRow("chat message without id element")
        << stacks << TLookup([](auto r) { return r.IMStack().IndexOfChatMessage(0); }) << 0;
}

void TestSettings5::lookups() {
    QFETCH(QByteArray, xml);
    QFETCH(std::function<int(const TXMLSettingsType &)>, lookup);
    QFETCH(int, expected);
    QCOMPARE(lookup(Fixture(xml)), expected);
}

// The chat-message index against a plain walk of the document, over a long run of random changes
// made through two views of the same list.
void TestSettings5::integerIndexFollowsEveryChange() {
    const TXMLSettingsType root = NewSettings();
    const TXMLIMStackType a = root.IMStack();
    const TXMLIMStackType b = root.IMStack();
    QRandomGenerator random(42);
    auto walk = [&](int key) {
        int position = 0;
        for (QDomElement e = a.Element().firstChildElement(QStringLiteral("CHATMSG")); !e.isNull();
             e = e.nextSiblingElement(QStringLiteral("CHATMSG")), ++position)
            if (e.firstChildElement(QStringLiteral("ChatMsgID")).text().toInt() == key) return position;
        return -1;
    };
    for (int step = 0; step < 4000; ++step) {
        const TXMLIMStackType &list = random.bounded(2) ? a : b;
        const int count = list.Count();
        const int key = random.bounded(40);
        switch (random.bounded(12)) {
        case 0:
            QVERIFY(list.Insert(random.bounded(count + 1))->SetChatMsgID(key));
            break;
        case 1: {
            const int position = random.bounded(count + 1);
            QCOMPARE(list.Delete(position), position < count);
            break;
        }
        case 2:
            if (count > 0) QVERIFY(list.Remove(*list.Item(random.bounded(count))) >= 0);
            break;
        case 3:
            if (count > 0) QVERIFY(list.Item(random.bounded(count))->SetChatMsgID(key));
            break;
        case 4:
            if (random.bounded(20) == 0) list.Clear();
            break;
        case 5:
            list.Add(); // reads 0 until its id is written
            break;
        default:
            if (list.IndexOfChatMessage(key) < 0) QVERIFY(list.Add().SetChatMsgID(key));
        }
        const int probe = random.bounded(40);
        QCOMPARE(b.IndexOfChatMessage(probe), walk(probe));
        QCOMPARE(a.IndexOfChatMessage(0), walk(0));
    }
    QVERIFY(a.Count() > 20);
}

void TestSettings5::loadErrors_data() {
    QTest::addColumn<QByteArray>("contents");
    QTest::addColumn<bool>("create");
    QTest::addColumn<bool>("loads");
    QTest::newRow("missing file") << QByteArray() << false << false;
    QTest::newRow("empty file") << QByteArray() << true << false;
    QTest::newRow("not well-formed") << QByteArray("<Settings><Owner></Settings>") << true << false;
    QTest::newRow("other root") << QByteArray("<Preferences/>") << true << false;
    QTest::newRow("binary") << QByteArray("\x00\xff\xfe<", 4) << true << false;
    QTest::newRow("NUL in an instruction")
        << QByteArray("<Settings><?pi a\0b?></Settings>", 31) << true << false;
    QTest::newRow("well-formed") << QByteArray(
                                        "<?xml version=\"1.0\"?>\n<Settings>\n <Owner/>\n</Settings>\n")
                                 << true << true;
}

void TestSettings5::loadErrors() {
    QFETCH(QByteArray, contents);
    QFETCH(bool, create);
    QFETCH(bool, loads);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Settings.xml"));
    if (create) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(contents);
    }
    const TSettingsLoad load = LoadSettings(path);
    QCOMPARE(load.error.isEmpty(), loads);
    QCOMPARE(load.root.IsNull(), !loads);
    if (loads) QCOMPARE(load.root.Owner().Count(), 1);
}

void TestSettings5::newDocumentAndEncoding() {
    QCOMPARE(SerializeSettings(NewSettings()),
             QByteArray("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Settings/>"));

    // A file in another encoding is read right and written back as UTF-8 under a declaration that says so.
    const TXMLSettingsType latin =
        Fixture("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>"
                "<Settings><Owner><SkypeHandle>Jos\xe9</SkypeHandle></Owner></Settings>");
    QCOMPARE(FirstOwner(latin).SkypeHandle(), QStringLiteral("José"));
    const QByteArray saved = SerializeSettings(latin);
    QVERIFY(saved.startsWith("<?xml version=\"1.0\" encoding=\"UTF-8\"?>"));
    QCOMPARE(FirstOwner(ParseSettings(saved).root).SkypeHandle(), QStringLiteral("José"));
}

QTEST_GUILESS_MAIN(TestSettings5)
#include "tst_settings5.moc"
