// The main window's web presence against a presence server: Skype's status reaching the server and the
// page, the page's radios and status menu, the tray's presence entries, the unreachable-server notice
// and the offline update at close.

#include "MainFormFixture.h"
#include "PresenceServerProcess.h"

#include "presence/WebPresencePage.h"
#include "shell/PageKit.h"
#include "shell/TrayIcon.h"

#include <QAction>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMenu>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QRadioButton>
#include <QTest>
#include <QToolButton>

#include <memory>

namespace {
const QByteArray RelayMessage = "MESSAGE orvi-presence-relay-server 2";

std::function<void(TSettingsStore &)> Alice(const std::function<void(TXMLPresenceType)> &presence = {}) {
    return [presence](TSettingsStore &settings) {
        settings.SelectOwner(QStringLiteral("alice"));
        if (presence) presence(settings.CurrentOwner().Presence());
    };
}

QAction *TrayStatusItem(TMainFormFixture &fixture, const QString &name) {
    for (QAction *item : fixture.container->CoolTrayIcon1->TBXChangeWebStatusmnu->actions())
        if (item->objectName() == name) return item;
    return nullptr;
}

TXMLOwnerType SavedAlice(TMainFormFixture &fixture) {
    return *LoadSettings(fixture.dir.filePath("Settings.xml")).root.Owner().Item(1);
}
} // namespace

class TestMainFormPresence : public QObject {
    Q_OBJECT

    std::unique_ptr<TPresenceServerProcess> server;

    // What the server shows for alice; -1 when it has never heard of her.
    int ServerCode() { return server->CodeOf(QStringLiteral("alice")); }
    // The window attached to Skype, which names alice as its user.
    static void SignIn(TMainFormFixture &fixture) {
        fixture.Connect();
        fixture.Notify("CURRENTUSERHANDLE alice");
        fixture.ForgetSent();
    }

private Q_SLOTS:
    void init() {
        server = std::make_unique<TPresenceServerProcess>();
        QVERIFY(server->StartForOrvi());
    }
    void cleanup() { server.reset(); }

    void skypeStatusReachesServerAndPage_data();
    void skypeStatusReachesServerAndPage();
    void pageChoicesChangeSettingsAndPublish();
    void trayPresenceSwitch();
    void unreachableServerNotice();
    void closingPublishesOffline();
    void closingShowsNoNotice();
};

void TestMainFormPresence::skypeStatusReachesServerAndPage_data() {
    QTest::addColumn<QByteArray>("status");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("label");
    QTest::newRow("away") << QByteArray("AWAY") << 3 << "Away";
    QTest::newRow("invisible shows offline") << QByteArray("INVISIBLE") << 2 << "Offline";
    QTest::newRow("do not disturb") << QByteArray("DND") << 5 << "DND";
}

void TestMainFormPresence::skypeStatusReachesServerAndPage() {
    QFETCH(QByteArray, status);
    QFETCH(int, code);
    QFETCH(QString, label);
    TMainFormFixture fixture(Alice());
    SignIn(fixture);
    TPresenceUpdates updates(*fixture.form);
    fixture.Notify("USERSTATUS " + status);
    QCOMPARE(updates.Codes(), QList<int>{code});
    QCOMPARE(ServerCode(), code);
    QCOMPARE(fixture.form->ElTabPresence->JvLblShowCurrentPresence->Text(), label);
    QVERIFY(fixture.LogLines().contains(QStringLiteral("SkypeControl1UserStatus: ") +
                                        QString::fromLatin1(status)));
}

void TestMainFormPresence::pageChoicesChangeSettingsAndPublish() {
    TMainFormFixture fixture(Alice());
    SignIn(fixture);
    TWebPresencePage &page = *fixture.form->ElTabPresence;
    const TXMLPresenceType presence = fixture.settings.CurrentOwner().Presence();
    QVERIFY(!page.TBbtnWebStatus->isEnabled());

    // A separate status starts as Online and is published at once.
    TPresenceUpdates separate(*fixture.form);
    QTest::mouseClick(page.ElRdoUseSeperatePresence, Qt::LeftButton);
    QCOMPARE(separate.Codes(), QList<int>{1});
    QCOMPARE(ServerCode(), 1);
    QVERIFY(page.TBbtnWebStatus->isEnabled());
    QCOMPARE(page.TBbtnWebStatus->text(), QStringLiteral("Online"));
    QVERIFY(SavedAlice(fixture).Presence().WebPresenceOn());

    // The tray's "Change Web Status" items are the page's menu.
    QAction *dnd = TrayStatusItem(fixture, QStringLiteral("TBmnuDND"));
    QVERIFY(dnd);
    TPresenceUpdates chosen(*fixture.form);
    dnd->trigger();
    QCOMPARE(chosen.Codes(), QList<int>{5});
    QCOMPARE(ServerCode(), 5);
    QCOMPARE(page.TBbtnWebStatus->text(), QStringLiteral("DND"));
    QCOMPARE(SavedAlice(fixture).Presence().WebStatus(), QStringLiteral("DND"));

    // Back to the Skype status: Skype is asked, its answer is published.
    QTest::mouseClick(page.ElRdoUseSkypePresence, Qt::LeftButton);
    QVERIFY(!presence.WebPresenceOn());
    QVERIFY(!page.TBbtnWebStatus->isEnabled() && page.TBbtnWebStatus->icon().isNull());
    QCOMPARE(fixture.transport.SentTexts(), QList<QByteArray>{"GET USERSTATUS"});

    TPresenceUpdates disabled(*fixture.form);
    QTest::mouseClick(page.ElRdoDisablePresence, Qt::LeftButton);
    QCOMPARE(disabled.Codes(), QList<int>{2});
    QCOMPARE(ServerCode(), 2);
    QVERIFY(!page.ElRdoUseSkypePresence->isEnabled());
    QVERIFY(!SavedAlice(fixture).Presence().BroadcastPresenceOn());
    // With presence disabled a chosen status still tells the web "offline".
    TPresenceUpdates whileDisabled(*fixture.form);
    page.TBmnuAway->trigger();
    QCOMPARE(whileDisabled.Codes(), QList<int>{2});

    fixture.ForgetSent();
    QTest::mouseClick(page.ElRdoEnablePresence, Qt::LeftButton);
    QVERIFY(presence.BroadcastPresenceOn());
    QCOMPARE(fixture.transport.SentTexts(), QList<QByteArray>{"GET USERSTATUS"});
}

void TestMainFormPresence::trayPresenceSwitch() {
    TMainFormFixture fixture(Alice());
    SignIn(fixture);
    QAction *presenceSwitch = fixture.container->CoolTrayIcon1->TBpopmnEnablePresence;
    TPresenceUpdates off(*fixture.form);
    presenceSwitch->trigger();
    QCOMPARE(off.Codes(), QList<int>{2});
    QCOMPARE(ServerCode(), 2);
    QCOMPARE(presenceSwitch->text(), QStringLiteral("Web Presence OFF"));
    QVERIFY(fixture.form->ElTabPresence->ElRdoDisablePresence->isChecked());

    presenceSwitch->trigger();
    QCOMPARE(presenceSwitch->text(), QStringLiteral("Web Presence ON"));
    QCOMPARE(fixture.transport.SentTexts(), QList<QByteArray>{"GET USERSTATUS"});
    fixture.Notify("USERSTATUS ONLINE");
    QTRY_COMPARE(ServerCode(), 1);
}

void TestMainFormPresence::unreachableServerNotice() {
    TMainFormFixture fixture(Alice());
    fixture.noticeAnswer = true;
    SignIn(fixture);
    server->SetFailing(true);
    TPresenceUpdates updates(*fixture.form);
    fixture.Notify("USERSTATUS ONLINE");
    QCOMPARE(updates.Codes(), QList<int>{1});
    // The first failure only waits for the retry.
    QVERIFY(fixture.form->tmrTryPresenceAgain.isActive());
    QVERIFY(fixture.notices.isEmpty());
    fixture.form->Presence.tmrTryPresenceAgainTimer();
    fixture.Notify("USERSTATUS ONLINE");
    QTRY_COMPARE(fixture.notices.size(), 1);
    QCOMPARE(fixture.notices.first().caption, QStringLiteral("Unable to communicate with Presence Server"));
    QCOMPARE(fixture.notices.first().text, TPresenceModel::ErrorTextSkypeConnected);
    // The window came out of the tray for it; the ticked box is kept.
    QVERIFY(fixture.container->isVisible());
    QVERIFY(!SavedAlice(fixture).SplashScreens().Item(TPresenceModel::ErrorSplashScreen)->Enabled());
}

void TestMainFormPresence::closingPublishesOffline() {
    TMainFormFixture fixture(Alice());
    SignIn(fixture);
    fixture.Notify("USERSTATUS ONLINE");
    QTRY_COMPARE(ServerCode(), 1);
    fixture.container->CoolTrayIcon1->TBpopmnExit->trigger();
    // The close waited for the update: the server has it when the closing steps are done.
    QCOMPARE(fixture.form->Presence.PendingUpdates(), 0);
    QCOMPARE(ServerCode(), 2);
}

void TestMainFormPresence::closingShowsNoNotice() {
    TMainFormFixture fixture(Alice());
    SignIn(fixture);
    server->SetFailing(true);
    TPresenceUpdates updates(*fixture.form);
    fixture.Notify("USERSTATUS ONLINE");
    QCOMPARE(updates.Codes(), QList<int>{1});
    // The retry is used up; the next failure would show the notice.
    fixture.form->tmrTryPresenceAgain.stop();
    fixture.ForgetSent();
    fixture.container->CoolTrayIcon1->TBpopmnExit->trigger();
    QVERIFY(fixture.notices.isEmpty());
    // The offline code still went through the relay.
    QVERIFY(fixture.transport.SentTexts().contains(RelayMessage));
}

QTEST_MAIN(TestMainFormPresence)
#include "tst_mainform_presence.moc"
