// The main window at work on the fake Skype link: its creation order, the attach cycle and the
// connection, the owner put in force when Skype names its user, the two modes and the View menu,
// the refresh, the tray switches and the closing steps.

#include "MainFormFixture.h"

#include "autorespond/AutoResponderPage.h"
#include "calls/CallForwardingPage.h"
#include "presence/WebPresencePage.h"
#include "shell/PageKit.h"
#include "shell/SessionSupervisor.h"
#include "shell/TrayIcon.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>

namespace {
const QString BasicModeQuestion =
    QStringLiteral("Basic mode turns off all features excpet Web Presence. Do you want to proceed?");

// The owner alice with her four page entries, in force before the window exists.
std::function<void(TSettingsStore &)> Alice(bool advanced,
                                            const std::function<void(TXMLOwnerType)> &more = {}) {
    return [advanced, more](TSettingsStore &settings) {
        settings.SelectOwner(QStringLiteral("alice"));
        settings.CurrentOwner().SetAdvancedMode(advanced);
        if (more) more(settings.CurrentOwner());
    };
}

bool InOrder(const QStringList &lines, const QStringList &expected) {
    qsizetype at = 0;
    for (const QString &line : expected) {
        at = lines.indexOf(line, at);
        if (at < 0) return false;
        ++at;
    }
    return true;
}

QString StatusText(TMainForm &form) {
    return form.TBXStatusBarPanels[0]->Text();
}

int PromptsWith(const TScriptedPrompts &prompts, const QString &text) {
    return int(std::count_if(prompts.shown.begin(), prompts.shown.end(),
                             [&](const TShownPrompt &shown) { return shown.text == text; }));
}

QList<QByteArray> After(const QList<QByteArray> &sent, const QByteArray &command) {
    const qsizetype at = sent.indexOf(command);
    return at < 0 ? QList<QByteArray>{} : sent.mid(at + 1);
}
} // namespace

class TestMainForm : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void creationWritesItsStepsInOrder();
    void ownParametersAreGluedAndForwardedOnesLined();
    void pongConnectsAndAsksFourQueries();
    void sixteenTicksGiveUp();
    void refusalInstructionsShownOnce();
    void loggedOutDisconnects();
    void sameUserInOtherCaseKeepsOwner();
    void newUserCreatesOwner();
    void chatTopicWaitsForItsChat();
    void basicModeAskedOncePerRun();
    void basicModeRefusedStaysAdvanced();
    void hidingDisplayedPageShowsPresence();
    void hidingAllFeaturePagesEndsInBasicMode();
    void refreshTurnsRingOffWhileForwarding();
    void refreshShowsResponseMessagesAndContacts();
    void refreshShowsPresenceChoices();
    void traySwitches_data();
    void traySwitches();
    void forwardingWarnsOnOldSkype();
    void trayClickToggles();
    void closingRunsEveryStep_data();
    void closingRunsEveryStep();
    void launchOnStartUpFollowsTheMenu();
};

void TestMainForm::creationWritesItsStepsInOrder() {
    TMainFormFixture fixture;
    const QStringList lines = fixture.LogLines();
    QVERIFY2(InOrder(lines, {"1.0- made it to Main. create", "1.0- Current Owner: ", "1.2- Advanced mode?: 0",
                             "1.4-  is it first time?: -1", "1.5-  Loading the Orvi WebPage browser?:",
                             "1.1- MainCreate >> 3 tab indexes are: -1,-1,-1", "1.2.1- Starting update GUI",
                             "1.2.12- done with user related stuff, update miscelaneous gui stuff",
                             "1.6- Saving settings", "1.7- Exiting Mainform.create",
                             "2-  back in Container, after created Mainform",
                             "2.1 Finishing in Container create, now showing Mainform"}),
             qPrintable(lines.join(QLatin1Char('\n'))));
    QCOMPARE(lines.first(), QStringLiteral("1.0- made it to Main. create"));
    // The first start is over, and the file says so.
    QVERIFY(!fixture.settings.SettingsRoot().FirstTime());
    QFile saved(fixture.dir.filePath("Settings.xml"));
    QVERIFY(saved.open(QIODevice::ReadOnly));
    QVERIFY(saved.readAll().contains("<FirstTime>False</FirstTime>"));
    QVERIFY(fixture.form->AttachTimer.isActive());
    QCOMPARE(fixture.form->AttachTimer.interval(), 2000);
    QCOMPARE(fixture.form->PingTimer.interval(), 1000);
    QCOMPARE(StatusText(*fixture.form), QStringLiteral("Not Connected to Skype"));
}

void TestMainForm::ownParametersAreGluedAndForwardedOnesLined() {
    TMainFormFixture fixture({}, {"IMTO://al", "ice/"});
    QVERIFY(fixture.LogLines().contains("AcceptWebCommand: IMTO://alice/"));
    fixture.container->JvAppInstances1CmdLineReceived({"IMTO://al", "ice/"});
    QFile log(fixture.LogPath());
    QVERIFY(log.open(QIODevice::ReadOnly));
    QVERIFY(log.readAll().contains(" : AcceptWebCommand: IMTO://al\r\nice/\r\n"));
}

void TestMainForm::pongConnectsAndAsksFourQueries() {
    TMainFormFixture fixture;
    TMainForm &form = *fixture.form;
    form.AttachTimerTimer();
    QCOMPARE(fixture.transport.broadcasts, 1);
    QVERIFY(form.PingTimer.isActive());
    fixture.transport.DeliverAttach(TMainFormFixture::SkypeWindow, SkypeAttachStatus::Success);
    fixture.ForgetSent();
    form.PingTimerTimer();
    QVERIFY(!form.PingTimer.isActive());
    QCOMPARE(fixture.transport.SentTexts(), QList<QByteArray>{"PING"});
    fixture.Notify("PONG");
    QVERIFY(form.State().SkypeConnected);
    QCOMPARE(StatusText(form), QStringLiteral("Connected to Skype"));
    QVERIFY(!form.AttachTimer.isActive());
    QCOMPARE(After(fixture.transport.SentTexts(), "PING"),
             (QList<QByteArray>{"GET CURRENTUSERHANDLE", "SEARCH FRIENDS ", "GET SKYPEVERSION",
                                "GET PRIVILEGE SKYPEOUT"}));
    QVERIFY(InOrder(fixture.LogLines(),
                    {"5.0- AttachTimerTimer triggered", "SkypeControl1AttachSuccess",
                     "5.0- PingTimerTimer triggered", "SkypeControl1CopyData: PONG", "SkypeControl1Pong"}));
    // Connected, an attach success starts no new cycle.
    fixture.transport.DeliverAttach(TMainFormFixture::SkypeWindow, SkypeAttachStatus::Success);
    QVERIFY(!form.AttachTimer.isActive());
}

void TestMainForm::sixteenTicksGiveUp() {
    TMainFormFixture fixture;
    TMainForm &form = *fixture.form;
    for (int tick = 1; tick <= 15; ++tick)
        form.AttachTimerTimer();
    QCOMPARE(fixture.container->windowTitle(), QStringLiteral("Orvi"));
    QVERIFY(form.AttachTimer.isActive());
    form.AttachTimerTimer();
    QCOMPARE(fixture.container->windowTitle(), QStringLiteral("Orvi - Not Connected to Skype"));
    QVERIFY(!form.AttachTimer.isActive());
    QCOMPARE(fixture.transport.broadcasts, 16);
    QCOMPARE(form.Session().AttachAttempts, 0);
    // Never attached: the pings go nowhere.
    form.PingTimerTimer();
    QVERIFY(fixture.transport.SentTexts().isEmpty());
    // A page command restarts the cycle.
    form.AcceptWebCommand(QStringLiteral("IMTO://bob/"));
    QVERIFY(form.AttachTimer.isActive());
}

void TestMainForm::refusalInstructionsShownOnce() {
    TMainFormFixture fixture;
    fixture.transport.DeliverAttach(TMainFormFixture::SkypeWindow, SkypeAttachStatus::Refused);
    fixture.transport.DeliverAttach(TMainFormFixture::SkypeWindow, SkypeAttachStatus::Refused);
    QCOMPARE(fixture.prompts.shown.size(), 1);
    const QString text = fixture.prompts.shown.first().text;
    QVERIFY(text.startsWith(
        "Skype is currently blocking Orvi from communicating with it. You must change the "
        "setting in Skype:\r\r1- In Skype, go to the \"Tools\" menu and select \"Options\"\r\r"));
    QVERIFY(
        text.endsWith("\r\r5- Select \"Allow this Program to connect to Skype\" and click \"OK\" twice, then "
                      "click \"Save\""));
    QCOMPARE(fixture.LogLines().count("SkypeControl1AttachRefused"), 2);
}

void TestMainForm::loggedOutDisconnects() {
    TMainFormFixture fixture(Alice(true));
    fixture.Connect();
    fixture.Notify("CURRENTUSERHANDLE alice");
    fixture.Notify("CONNSTATUS ONLINE");
    QVERIFY(fixture.form->State().SkypeConnected);
    TPresenceUpdates updates(*fixture.form);
    fixture.Notify("CONNSTATUS LOGGEDOUT");
    QVERIFY(!fixture.form->State().SkypeConnected);
    QCOMPARE(StatusText(*fixture.form), QStringLiteral("Not Connected to Skype"));
    QCOMPARE(updates.Codes(), QList<int>{2});
    // Skype attaching again restarts the cycle.
    fixture.transport.DeliverAttach(TMainFormFixture::SkypeWindow, SkypeAttachStatus::Success);
    QVERIFY(fixture.form->AttachTimer.isActive());
}

void TestMainForm::sameUserInOtherCaseKeepsOwner() {
    TMainFormFixture fixture(Alice(true));
    fixture.Connect();
    const int owners = fixture.settings.SettingsRoot().Owner().Count();
    fixture.ForgetSent();
    fixture.Notify("CURRENTUSERHANDLE ALICE");
    QCOMPARE(fixture.settings.SettingsRoot().Owner().Count(), owners);
    QCOMPARE(fixture.settings.CurrentOwner().SkypeHandle(), QStringLiteral("alice"));
    QCOMPARE(fixture.transport.SentTexts(), QList<QByteArray>{"GET USERSTATUS"});
    QCOMPARE(fixture.form->State().CurrentUserHandle, QByteArray("ALICE"));
    QCOMPARE(fixture.container->windowTitle(), QStringLiteral("Orvi - ALICE"));
}

void TestMainForm::newUserCreatesOwner() {
    TMainFormFixture fixture(Alice(true));
    fixture.Connect();
    fixture.ForgetSent();
    fixture.Notify("CURRENTUSERHANDLE bob");
    const TXMLOwnerType bob = fixture.settings.CurrentOwner();
    QCOMPARE(bob.SkypeHandle(), QStringLiteral("bob"));
    QCOMPARE(fixture.settings.SettingsRoot().LastOwnerSkypeUsername(), QStringLiteral("bob"));
    const TXMLOrviTabsType tabs = bob.OrviTabs();
    QCOMPARE(tabs.Count(), 4);
    const QStringList names{"ElTabPresence", "ElTabAutoresponder", "ElTabCallForwarding",
                            "ElTabOrviCommunity"};
    for (int i = 0; i < 4; ++i) {
        QCOMPARE(tabs.Item(i)->TabName(), names.at(i));
        QVERIFY(tabs.Item(i)->Visible() || i > 0); // a new owner is put in basic mode
    }
    QCOMPARE(bob.SplashScreens().Count(), 4);
    QCOMPARE(bob.AutoRespond().ResponseMessages().Count(), 7);
    QCOMPARE(fixture.transport.SentTexts(), (QList<QByteArray>{"SEARCH FRIENDS ", "GET USERSTATUS"}));
    QVERIFY(
        InOrder(fixture.LogLines(), {"SkypeControl1CurrentUserHandle: bob",
                                     "1.1- MainCreate >> 3 tab indexes are: 1,2,3", "1.6- Saving settings"}));
    const TSettingsLoad saved = LoadSettings(fixture.dir.filePath("Settings.xml"));
    // After the nameless owner of the first start and alice.
    QCOMPARE(saved.root.Owner().IndexOfOwner("bob"), 2);
}

void TestMainForm::chatTopicWaitsForItsChat() {
    TMainFormFixture fixture(Alice(true));
    fixture.Connect();
    fixture.ForgetSent();
    fixture.Notify("CHAT #alice/$bob;1 STATUS MULTI_SUBSCRIBED");
    QVERIFY(fixture.transport.SentTexts().isEmpty());
    fixture.form->Session().ChatTopicPending = true;
    fixture.form->Session().PendingChatTopic = "Plans";
    fixture.Notify("CHAT #alice/$bob;1 STATUS MULTI_SUBSCRIBED");
    QCOMPARE(fixture.transport.SentTexts(),
             (QList<QByteArray>{"OPEN CHAT #alice/$bob;1", "ALTER CHAT #alice/$bob;1 SETTOPIC Plans"}));
    QVERIFY(!fixture.form->Session().ChatTopicPending);
    QVERIFY(fixture.form->Session().PendingChatTopic.isEmpty());
}

void TestMainForm::basicModeAskedOncePerRun() {
    TMainFormFixture fixture(Alice(true));
    TMainForm &form = *fixture.form;
    fixture.prompts.confirmAnswers << true;
    form.btnAdvancedModeClick();
    QVERIFY(!fixture.settings.CurrentOwner().AdvancedMode());
    form.btnAdvancedModeClick();
    QVERIFY(fixture.settings.CurrentOwner().AdvancedMode());
    QCOMPARE(form.btnAdvancedMode->text(), QStringLiteral("Advanced ON "));
    form.btnAdvancedModeClick();
    QVERIFY(!fixture.settings.CurrentOwner().AdvancedMode());
    QCOMPARE(form.btnAdvancedMode->text(), QStringLiteral("Advanced OFF "));
    QVERIFY(!form.btnAdvancedMode->isChecked());
    QCOMPARE(PromptsWith(fixture.prompts, BasicModeQuestion), 1);
    QVERIFY(!form.ElPageControl1->isTabVisible(form.ElPageControl1->indexOf(form.ElTabAutoresponder)));
}

void TestMainForm::basicModeRefusedStaysAdvanced() {
    TMainFormFixture fixture(
        Alice(true, [](TXMLOwnerType owner) { owner.AutoRespond().SetAutoRespond_Enabled(true); }));
    TMainForm &form = *fixture.form;
    form.btnAdvancedModeClick(); // the scripted answer is No
    QCOMPARE(PromptsWith(fixture.prompts, BasicModeQuestion), 1);
    QVERIFY(fixture.settings.CurrentOwner().AdvancedMode());
    QVERIFY(fixture.settings.CurrentOwner().AutoRespond().AutoRespond_Enabled());
    QVERIFY(form.btnAdvancedMode->isChecked());
    QCOMPARE(form.btnAdvancedMode->text(), QStringLiteral("Advanced ON "));
}

void TestMainForm::hidingDisplayedPageShowsPresence() {
    TMainFormFixture fixture(Alice(true));
    TMainForm &form = *fixture.form;
    form.ElPageControl1->setCurrentWidget(form.ElTabAutoresponder);
    fixture.prompts.confirmAnswers << false << true;
    form.mnuTabAutoResponder->trigger(); // No: nothing changes, the item is checked again
    QVERIFY(form.mnuTabAutoResponder->isChecked());
    QCOMPARE(form.ElPageControl1->currentWidget(), form.ElTabAutoresponder);
    form.mnuTabAutoResponder->trigger();
    QCOMPARE(form.ElPageControl1->currentWidget(), form.ElTabPresence);
    QVERIFY(!form.ElPageControl1->isTabVisible(form.ElPageControl1->indexOf(form.ElTabAutoresponder)));
    QVERIFY(!form.mnuTabAutoResponder->isChecked());
    QVERIFY(!fixture.settings.CurrentOwner().AutoRespond().AutoRespond_Enabled());
}

void TestMainForm::hidingAllFeaturePagesEndsInBasicMode() {
    TMainFormFixture fixture(Alice(true, [](TXMLOwnerType owner) {
        owner.Presence().SetWebPresenceOn(true);
        owner.Presence().SetWebStatus(QStringLiteral("AWAY"));
    }));
    TMainForm &form = *fixture.form;
    fixture.prompts.confirmAnswers << true << true;
    form.mnuTabAutoResponder->trigger();
    form.mnuTabCallForwarding->trigger();
    QVERIFY(fixture.settings.CurrentOwner().AdvancedMode());
    form.mnuTabOrviCommunity->trigger();
    const TXMLOwnerType owner = fixture.settings.CurrentOwner();
    QVERIFY(!owner.AdvancedMode());
    QCOMPARE(form.btnAdvancedMode->text(), QStringLiteral("Advanced OFF "));
    QCOMPARE(PromptsWith(fixture.prompts, BasicModeQuestion), 0);
    QVERIFY(owner.Presence().BroadcastPresenceOn());
    QVERIFY(owner.Presence().WebPresenceOn());
    QCOMPARE(owner.Presence().WebStatus(), QStringLiteral("AWAY"));
    // Showing one page again is advanced mode again.
    form.mnuTabOrviCommunity->trigger();
    QVERIFY(fixture.settings.CurrentOwner().AdvancedMode());
}

void TestMainForm::refreshTurnsRingOffWhileForwarding() {
    TMainFormFixture fixture(Alice(true, [](TXMLOwnerType owner) {
        owner.CallForwarding().SetCallForwarding_Enabled(true);
        owner.CallForwarding().NotifyByRingMyRegularPhone().SetEnabled(true);
        owner.CallForwarding().ForwardToPSTN().SetEnabled(false);
    }));
    const TXMLCallForwardingType forwarding = fixture.settings.CurrentOwner().CallForwarding();
    QVERIFY(!forwarding.NotifyByRingMyRegularPhone().Enabled());
    QVERIFY(forwarding.ForwardToSkypeUser().Enabled());
    const TCallForwardingPage &page = *fixture.form->ElTabCallForwarding;
    QVERIFY(page.chkrdoForwardCalls->isChecked());
    QVERIFY(!page.chkRingMyHomePhone->isChecked());
    QVERIFY(page.btnChangeSkypeUsername->isEnabled());
    QVERIFY(!page.btnChangePSTN->isEnabled());
    QCOMPARE(fixture.form->TrayMenu().enableCallNotify.caption, QStringLiteral("Call Notify OFF"));
}

void TestMainForm::refreshShowsResponseMessagesAndContacts() {
    TMainFormFixture fixture(Alice(true, [](TXMLOwnerType owner) {
        owner.AutoRespond().SetAutoRespond_Enabled(true);
        owner.AutoRespond().When_Im_on_Call().RespondToIM().SetEnabled(true);
        owner.CallForwarding().ForwardcontactsList().Add(QStringLiteral("Bob"));
        owner.CallForwarding().ForwardcontactsList().Add(QStringLiteral("nobody"));
    }));
    TMainForm &form = *fixture.form;
    const TXMLRulePairType away = fixture.settings.CurrentOwner().AutoRespond().When_Im_NOT_on_Call();
    QCOMPARE(away.RespondToIM().MessagePointer(), 1);
    QCOMPARE(away.RespondToCall().MessagePointer(), 2);
    const TAutoResponderPage &page = *form.ElTabAutoresponder;
    QCOMPARE(page.lblARIM_onCall->text(),
             QStringLiteral("\"I am currently on a Call, I will return your IM\""));
    QCOMPARE(page.lblARIM_onCall->toolTip(),
             QStringLiteral("[Auto Response]: \"I am currently on a Call, I will return your IM\""));
    QVERIFY(page.chkARIM_onCall->isEnabled() && page.chkARIM_onCall->isChecked());
    QVERIFY(page.PopARIM_onCall->isEnabled());
    QVERIFY(!page.PopARCall_onCall->isEnabled());

    // The forwarding list shows the contacts the cache knows, by their label in lower case.
    TXMLUserType bob = fixture.settings.ContactCache().Add();
    bob.SetHANDLE(QStringLiteral("bob"));
    bob.SetFULLNAME(QStringLiteral("Bob Builder"));
    form.RefreshWindow();
    QListWidget *list = form.ElTabCallForwarding->lstBoxContacts;
    QCOMPARE(list->count(), 1);
    QCOMPARE(list->item(0)->text(), QStringLiteral("bob builder"));
}

void TestMainForm::refreshShowsPresenceChoices() {
    TMainFormFixture fixture(
        Alice(true, [](TXMLOwnerType owner) { owner.Presence().SetWebPresenceOn(true); }));
    TMainForm &form = *fixture.form;
    const TWebPresencePage &page = *form.ElTabPresence;
    QVERIFY(page.ElRdoEnablePresence->isChecked());
    QVERIFY(page.ElRdoUseSeperatePresence->isChecked() && page.ElRdoUseSeperatePresence->isEnabled());
    QVERIFY(page.TBbtnWebStatus->isEnabled());
    QVERIFY(fixture.container->CoolTrayIcon1->TBXChangeWebStatusmnu->menuAction()->isVisible());
    form.Presence.TogglePresence();
    QVERIFY(page.ElRdoDisablePresence->isChecked());
    QVERIFY(!page.ElRdoUseSeperatePresence->isEnabled() && !page.ElRdoUseSkypePresence->isEnabled());
    QVERIFY(!page.TBbtnWebStatus->isEnabled());
    QVERIFY(!page.ElLabel3->isEnabled());
}

void TestMainForm::traySwitches_data() {
    QTest::addColumn<QStringList>("switches");
    QTest::addColumn<QStringList>("captions"); // presence, auto response, forwarding, notify
    QTest::addColumn<QList<bool>>("checks");
    const QStringList start{"Web Presence ON", "Auto Response OFF", "Call Forwarding OFF", "Call Notify OFF"};
    QTest::newRow("none") << QStringList{} << start << QList<bool>{true, false, false, false};
    QTest::newRow("auto response") << QStringList{"autoResponse"}
                                   << QStringList{"Web Presence ON", "Auto Response ON",
                                                  "Call Forwarding OFF", "Call Notify OFF"}
                                   << QList<bool>{true, true, false, false};
    QTest::newRow("presence off") << QStringList{"presence"}
                                  << QStringList{"Web Presence OFF", "Auto Response OFF",
                                                 "Call Forwarding OFF", "Call Notify OFF"}
                                  << QList<bool>{false, false, false, false};
    QTest::newRow("presence off and on")
        << QStringList{"presence", "presence"} << start << QList<bool>{true, false, false, false};
    QTest::newRow("forwarding") << QStringList{"forwarding"}
                                << QStringList{"Web Presence ON", "Auto Response OFF", "Call Forwarding ON",
                                               "Call Notify OFF"}
                                << QList<bool>{true, false, true, false};
    QTest::newRow("forwarding then notify")
        << QStringList{"forwarding", "notify"}
        << QStringList{"Web Presence ON", "Auto Response OFF", "Call Forwarding OFF", "Call Notify ON"}
        << QList<bool>{true, false, false, true};
    QTest::newRow("notify then forwarding")
        << QStringList{"notify", "forwarding"}
        << QStringList{"Web Presence ON", "Auto Response OFF", "Call Forwarding ON", "Call Notify OFF"}
        << QList<bool>{true, false, true, false};
    QTest::newRow("forwarding twice")
        << QStringList{"forwarding", "forwarding"} << start << QList<bool>{true, false, false, false};
}

void TestMainForm::traySwitches() {
    QFETCH(QStringList, switches);
    QFETCH(QStringList, captions);
    QFETCH(QList<bool>, checks);
    TMainFormFixture fixture(Alice(true));
    fixture.Connect();
    fixture.Notify("CURRENTUSERHANDLE alice");
    TPresenceUpdates updates(*fixture.form);
    TTrayIcon &tray = *fixture.container->CoolTrayIcon1;
    const QMap<QString, QAction *> items{{"presence", tray.TBpopmnEnablePresence},
                                         {"autoResponse", tray.TBpopmnAutoResponse},
                                         {"forwarding", tray.TBpopmnEnableCallForwarding},
                                         {"notify", tray.TBpopmnEnableCallNotify}};
    fixture.ForgetSent();
    for (const QString &name : switches)
        items.value(name)->trigger();
    const QList<QAction *> shown{tray.TBpopmnEnablePresence, tray.TBpopmnAutoResponse,
                                 tray.TBpopmnEnableCallForwarding, tray.TBpopmnEnableCallNotify};
    for (int i = 0; i < shown.size(); ++i) {
        QCOMPARE(shown.at(i)->text(), captions.at(i));
        QCOMPARE(shown.at(i)->isChecked(), checks.at(i));
    }
    // Presence switched off publishes offline at once; switched on it asks Skype for the status.
    const int offs = int(updates.Codes().count(2));
    QCOMPARE(offs, int((switches.count("presence") + 1) / 2));
    QCOMPARE(int(fixture.transport.SentTexts().count("GET USERSTATUS")), int(switches.count("presence") / 2));
    // Every switch is saved.
    const TXMLOwnerType saved = *LoadSettings(fixture.dir.filePath("Settings.xml")).root.Owner().Item(1);
    QCOMPARE(saved.CallForwarding().CallForwarding_Enabled(), checks.at(2));
    QCOMPARE(saved.Presence().BroadcastPresenceOn(), checks.at(0));
}

void TestMainForm::forwardingWarnsOnOldSkype() {
    TMainFormFixture fixture(Alice(true));
    fixture.Connect();
    fixture.Notify("SKYPEVERSION 1.2.0.11");
    fixture.container->CoolTrayIcon1->TBpopmnEnableCallForwarding->trigger();
    QCOMPARE(fixture.prompts.shown.size(), 1);
    const TShownPrompt &warning = fixture.prompts.shown.first();
    QCOMPARE(warning.caption, QStringLiteral("Orvi web buttons"));
    QCOMPARE(warning.text,
             QStringLiteral("Call Forwarding only works with version 1.3 or later of Skype. Please "
                            "download most recent version"));
    QCOMPARE(warning.icon, TPrompts::TIcon::Warning);
    QVERIFY(!fixture.settings.CurrentOwner().CallForwarding().CallForwarding_Enabled());
    QCOMPARE(fixture.container->CoolTrayIcon1->TBpopmnEnableCallForwarding->text(),
             QStringLiteral("Call Forwarding OFF"));
    QVERIFY(!fixture.container->CoolTrayIcon1->TBpopmnEnableCallForwarding->isChecked());
}

void TestMainForm::trayClickToggles() {
    TMainFormFixture fixture;
    TContainerForm &container = *fixture.container;
    QVERIFY(container.isHidden());
    container.CoolTrayIcon1Click();
    QVERIFY(container.isVisible());
    container.CoolTrayIcon1Click();
    QVERIFY(container.isHidden());
    // A second copy while hidden leaves the window hidden once that copy is gone.
    container.JvAppInstances1InstanceCreated();
    container.ShowFromTray();
    container.JvAppInstances1InstanceDestroyed();
    QVERIFY(container.isHidden());
}

void TestMainForm::closingRunsEveryStep_data() {
    QTest::addColumn<bool>("connected");
    QTest::addColumn<bool>("launch");
    QTest::newRow("not connected") << false << true;
    QTest::newRow("connected, no launch on start-up") << true << false;
}

void TestMainForm::closingRunsEveryStep() {
    QFETCH(bool, connected);
    QFETCH(bool, launch);
    TMainFormFixture fixture(Alice(true));
    fixture.settings.SettingsRoot().SetLaunchOnStartUp(launch);
    if (connected) {
        fixture.Connect();
        fixture.Notify("CURRENTUSERHANDLE alice");
    }
    fixture.ForgetSent();
    const int broadcasts = fixture.transport.broadcasts;
    TPresenceUpdates updates(*fixture.form);
    fixture.container->CoolTrayIcon1->TBpopmnExit->trigger();
    // Offline is published for a known user only; the close waits for it to end.
    QCOMPARE(fixture.form->Presence.PendingUpdates(), 0);
    QCOMPARE(updates.Codes(), connected ? QList<int>{2} : QList<int>{});
    QCOMPARE(fixture.transport.broadcasts, broadcasts + 1);
    // Sent even without a partner; without a link the text simply goes nowhere.
    QCOMPARE(fixture.transport.SentTexts(),
             connected ? QList<QByteArray>{"MESSAGE  [URLSYNCTerminate]alice"} : QList<QByteArray>{});
    QCOMPARE(fixture.autostart.userEntries, QList<bool>{launch});
    QCOMPARE(fixture.autostart.machineRemovals, 1);
    // Asked to close again (the session ending after "Exit"), the steps do not run twice.
    fixture.container->close();
    QCOMPARE(fixture.autostart.userEntries.size(), 1);
}

void TestMainForm::launchOnStartUpFollowsTheMenu() {
    TMainFormFixture fixture(Alice(true));
    TMainForm &form = *fixture.form;
    QVERIFY(form.TBMnuLaunchOnStartUp->isChecked());
    form.TBMnuLaunchOnStartUp->trigger();
    QVERIFY(!form.TBMnuLaunchOnStartUp->isChecked());
    QVERIFY(!fixture.settings.SettingsRoot().LaunchOnStartUp());
    QCOMPARE(fixture.autostart.userEntries, QList<bool>{false});
    form.TBMnuLaunchOnStartUp->trigger();
    QVERIFY(form.TBMnuLaunchOnStartUp->isChecked());
    QCOMPARE(fixture.autostart.userEntries, (QList<bool>{false, true}));
    QVERIFY(LoadSettings(fixture.dir.filePath("Settings.xml")).root.LaunchOnStartUp());
}

QTEST_MAIN(TestMainForm)
#include "tst_mainform.moc"
