// The presence model against a real presence server: which code reaches the server for each setting,
// status and click, and what happens when the server cannot be reached.

#include "FakeSkypeTransport.h"
#include "PresenceServerProcess.h"
#include "ScriptedPrompts.h"
#include "TestDoubles.h"

#include "autorespond/SentMessages.h"
#include "presence/PresenceModel.h"
#include "presence/PresenceRelay.h"
#include "settings/SettingsStore.h"
#include "shell/SharedState.h"
#include "skype/SkypeControl.h"
#include "sysutil/pvlUrl.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <functional>
#include <memory>

using TAction = std::function<void(TPresenceModel &)>;
Q_DECLARE_METATYPE(TAction)
Q_DECLARE_METATYPE(TPresencePageState)

namespace {

const TSkypeWindow Skype = QStringLiteral(":1.7");

class TFakeView final : public TPresenceView {
public:
    QList<WebStatus::TLook> buttons;
    QList<WebStatus::TLook> published;
    QList<QPair<QString, QString>> errors;
    int refreshes = 0;
    int normals = 0;
    bool dontShowAgain = false;

    void ShowWebStatusButton(const WebStatus::TLook &look) override { buttons.append(look); }
    void ShowPublishedStatus(const WebStatus::TLook &look) override { published.append(look); }
    void RefreshWindow() override { ++refreshes; }
    bool ShowPresenceServerError(const QString &caption, const QString &text) override {
        errors.append({caption, text});
        return dontShowAgain;
    }
    void ShowWindowNormal() override { ++normals; }
};

class TNoBrowser final : public TDefaultBrowserSource {
public:
    std::optional<QStringList> BrowserCommand() const override { return std::nullopt; }
};

// The model with every service it uses; Skype is attached through the fake transport.
struct TFixture {
    QTemporaryDir dir;
    TSettingsStore store{
        {dir.filePath(QStringLiteral("Settings.xml")), dir.filePath(QStringLiteral("Settings.xml"))}};
    TMemoryLogSwitch logSwitch;
    TTraceLog log{logSwitch, dir.filePath(QStringLiteral("Debug.log"))};
    TSharedState shared;
    FakeSkypeTransport transport;
    TSkypeControl skype{transport};
    TTestClock clock;
    TSentMessages sentMessages{
        clock, [this](const QByteArray &to, const QByteArray &text) { skype.SendIM(to, text); }};
    TPresenceRelay relay{sentMessages, shared.SkypeConnected};
    QTimer tmrTryPresenceAgain;
    TFakeView view;
    TNoBrowser browser;
    TScriptedPrompts prompts;
    TpvlUrl launcher{browser, prompts};
    TPresenceModel model{store, shared, skype, log, relay, tmrTryPresenceAgain, view, launcher};

    TFixture() {
        store.Load();
        for (int i = 0; i < 4; ++i)
            store.CurrentOwner().SplashScreens().Add();
        skype.Attach(5);
        transport.DeliverAttach(Skype, SkypeAttachStatus::Success);
        transport.sent.clear();
        shared.SkypeConnected = true;
    }

    TXMLPresenceType Presence() const { return store.CurrentOwner().Presence(); }
    void SetPresence(bool broadcast, bool webOn, const QString &webStatus) const {
        Presence().SetBroadcastPresenceOn(broadcast);
        Presence().SetWebPresenceOn(webOn);
        Presence().SetWebStatus(webStatus);
    }
    QString SavedFile() const { return dir.filePath(QStringLiteral("Settings.xml")); }
};

// "broadcast,webOn,WebStatus" of a presence record, the way the table gives it.
QString Summary(const TXMLPresenceType &presence) {
    return QStringLiteral("%1,%2,%3")
        .arg(int(presence.BroadcastPresenceOn()))
        .arg(int(presence.WebPresenceOn()))
        .arg(presence.WebStatus());
}

const QString TextA =
    QStringLiteral("Orvi can not send Presence updates to the Server.\n\r"
                   "If you use a Firewall, make certain that it allows Orvi to access the Internet\n\r\n\r"
                   "Orvi will send your Presence updates through a Relay Server using Skype.\n\r"
                   "The updates, however, may be slower.");
const QString TextB =
    QStringLiteral("Orvi can not send Presence updates to the Server.\n\r"
                   "Are you currently connected to the internet?\n\r"
                   "If you use a Firewall, make certain that it allows Orvi to access the Internet\n\r\n\r"
                   "Orvi will send your Presence updates through a Relay Server using Skype.\n\r"
                   "The updates, however, may be slower.");

TAction Status(TSkypeUserStatus status) {
    return [status](TPresenceModel &m) { m.SkypeControl1UserStatus(status); };
}
TAction Menu(const QByteArray &word) {
    return [word](TPresenceModel &m) { m.TBmnuWebStatusClick(word); };
}
TAction Publish(int code, bool forced) {
    return [code, forced](TPresenceModel &m) { m.PublishPresence(code, forced); };
}
TAction Call(void (TPresenceModel::*handler)()) {
    return [handler](TPresenceModel &m) { (m.*handler)(); };
}

} // namespace

class TstPresenceModel : public QObject {
    Q_OBJECT

    std::unique_ptr<TPresenceServerProcess> server;

    int ServerCodeOf(const QByteArray &user) { return server->CodeOf(QString::fromUtf8(user)); }
    void SetServerFailing(bool on) { server->SetFailing(on); }

    // Waits for the one update under way; its (code, failed).
    static QPair<int, bool> WaitForUpdate(TFixture &f) {
        QSignalSpy finished(&f.model, &TPresenceModel::UpdateFinished);
        if (f.model.PendingUpdates() != 1 || !finished.wait(10000) || finished.size() != 1)
            return {-99, false};
        return {finished[0][0].toInt(), finished[0][1].toBool()};
    }

private Q_SLOTS:
    void init() {
        server = std::make_unique<TPresenceServerProcess>();
        QVERIFY(server->StartForOrvi());
    }
    void cleanup() { server.reset(); }

    void whatIsPublished_data() {
        QTest::addColumn<QString>("settings"); // broadcast,webOn,WebStatus
        QTest::addColumn<bool>("onCall");
        QTest::addColumn<QByteArray>("handle");
        QTest::addColumn<TAction>("action");
        QTest::addColumn<int>("code"); // -1: nothing reaches the server
        QTest::addColumn<QString>("label");
        QTest::addColumn<QByteArrayList>("commands");
        QTest::addColumn<QString>("after"); // the settings afterwards, also as saved
        QTest::addColumn<int>("refreshes");

        const QByteArray alice = "alice";
        const QByteArrayList none;
        const QByteArrayList getStatus{"GET USERSTATUS"};
        QTest::newRow("Skype INVISIBLE shows Offline")
            << "1,0," << false << alice << Status(usInvisible) << 2 << "Offline" << none << "1,0," << 0;
        QTest::newRow("Skype SKYPEME")
            << "1,0," << false << alice << Status(usSkypeMe) << 9 << "Skype Me" << none << "1,0," << 0;
        QTest::newRow("Skype UNKNOWN shows Online")
            << "1,0," << false << alice << Status(usUnknown) << 0 << "Online" << none << "1,0," << 0;
        QTest::newRow("Skype LOGGEDOUT shows Online")
            << "1,0," << false << alice << Status(usLoggedOut) << 7 << "Online" << none << "1,0," << 0;
        QTest::newRow("presence disabled, Skype ONLINE")
            << "0,0," << false << alice << Status(usOnline) << 2 << "Offline" << none << "0,0," << 0;
        QTest::newRow("presence disabled, forced on-call code")
            << "0,1,AWAY" << true << alice << Publish(10, true) << 2 << "Offline" << none << "0,1,AWAY" << 0;
        QTest::newRow("separate status chosen with none stored")
            << "1,0," << false << alice << Call(&TPresenceModel::ElRdoUseSeperatePresenceClick) << 1
            << "Online" << none << "1,1,ONLINE" << 1;
        QTest::newRow("separate status not a menu word")
            << "1,0,FOO" << false << alice << Call(&TPresenceModel::ElRdoUseSeperatePresenceClick) << 2
            << "Offline" << none << "1,1,FOO" << 1;
        QTest::newRow("separate AWAY on a call")
            << "1,1,DND" << true << alice << Menu("AWAY") << 10 << "On a Call" << none << "1,1,AWAY" << 0;
        QTest::newRow("separate OFFLINE on a call")
            << "1,1,AWAY" << true << alice << Menu("OFFLINE") << 2 << "Offline" << none << "1,1,OFFLINE" << 0;
        QTest::newRow("separate status wins over Skype's")
            << "1,1,DND" << false << alice << Status(usOnline) << 5 << "DND" << none << "1,1,DND" << 0;
        QTest::newRow("Skype status in force, menu item only kept")
            << "1,0,ONLINE" << false << alice << Menu("AWAY") << -1 << "" << none << "1,0,AWAY" << 0;
        QTest::newRow("on a call, Skype goes OFFLINE")
            << "1,0," << true << alice << Status(usOffline) << 2 << "Offline" << none << "1,0," << 0;
        QTest::newRow("on a call, Skype AWAY")
            << "1,0," << true << alice << Status(usAway) << 10 << "On a Call" << none << "1,0," << 0;
        QTest::newRow("call tracker's forced ONCALL") << "1,1,AWAY" << true << alice << Publish(10, true)
                                                      << 10 << "On a Call" << none << "1,1,AWAY" << 0;
        QTest::newRow("closing publishes OFFLINE")
            << "1,1,AWAY" << false << alice << Publish(2, true) << 2 << "Offline" << none << "1,1,AWAY" << 0;
        QTest::newRow("no code, Skype status in force")
            << "1,0," << false << alice << Publish(-1, false) << -1 << "" << none << "1,0," << 0;
        QTest::newRow("before Skype reported the user")
            << "1,0," << false << QByteArray() << Status(usOnline) << -1 << "" << none << "1,0," << 0;
        QTest::newRow("name that needs encoding") << "1,0," << false << QByteArray("a b&status=5")
                                                  << Status(usAway) << 3 << "Away" << none << "1,0," << 0;
        QTest::newRow("enable asks Skype for its status")
            << "0,0," << false << alice << Call(&TPresenceModel::ElRdoEnablePresenceClick) << -1 << ""
            << getStatus << "1,0," << 1;
        QTest::newRow("disable publishes OFFLINE")
            << "1,1,AWAY" << false << alice << Call(&TPresenceModel::ElRdoDisablePresenceClick) << 2
            << "Offline" << none << "0,1,AWAY" << 1;
        QTest::newRow("Skype status chosen asks Skype")
            << "1,1,AWAY" << false << alice << Call(&TPresenceModel::ElRdoUseSkypePresenceClick) << -1 << ""
            << getStatus << "1,0,AWAY" << 1;
        QTest::newRow("toggle off publishes OFFLINE")
            << "1,0," << false << alice << Call(&TPresenceModel::TogglePresence) << 2 << "Offline" << none
            << "0,0," << 1;
        QTest::newRow("toggle on asks Skype")
            << "0,0," << false << alice << Call(&TPresenceModel::TogglePresence) << -1 << "" << getStatus
            << "1,0," << 1;
        QTest::newRow("retry tick, Skype status in force")
            << "1,0," << false << alice << Call(&TPresenceModel::tmrTryPresenceAgainTimer) << -1 << ""
            << getStatus << "1,0," << 0;
        QTest::newRow("retry tick, separate status")
            << "1,1,NA" << false << alice << Call(&TPresenceModel::tmrTryPresenceAgainTimer) << 4 << "NA"
            << none << "1,1,NA" << 0;
        QTest::newRow("retry tick, presence disabled")
            << "0,1,NA" << false << alice << Call(&TPresenceModel::tmrTryPresenceAgainTimer) << -1 << ""
            << none << "0,1,NA" << 0;
    }
    void whatIsPublished() {
        QFETCH(QString, settings);
        QFETCH(bool, onCall);
        QFETCH(QByteArray, handle);
        QFETCH(TAction, action);
        QFETCH(int, code);
        QFETCH(QString, label);
        QFETCH(QByteArrayList, commands);
        QFETCH(QString, after);
        QFETCH(int, refreshes);

        TFixture f;
        const QStringList parts = settings.split(QLatin1Char(','));
        f.SetPresence(parts[0] == QLatin1String("1"), parts[1] == QLatin1String("1"), parts[2]);
        f.shared.OnCall = onCall;
        f.shared.CurrentUserHandle = handle;

        action(f.model);
        QCOMPARE(f.transport.SentTexts(), commands);
        QCOMPARE(f.view.refreshes, refreshes);
        QCOMPARE(Summary(f.Presence()), after);
        if (!f.view.buttons.isEmpty())
            QCOMPARE(f.view.buttons.last(), WebStatus::ButtonLook(after.section(',', 2).toUtf8()));
        if (after != settings) {
            TSettingsStore saved({f.SavedFile(), f.SavedFile()});
            saved.Load();
            QCOMPARE(Summary(saved.CurrentOwner().Presence()), after);
        }

        if (code == -1) {
            QCOMPARE(f.model.PendingUpdates(), 0);
            QVERIFY(f.view.published.isEmpty());
            return;
        }
        QCOMPARE(WaitForUpdate(f), qMakePair(code, false));
        QCOMPARE(f.model.PendingUpdates(), 0);
        QCOMPARE(ServerCodeOf(handle), code);
        QCOMPARE(f.view.published.size(), 1);
        QCOMPARE(f.view.published[0].text, label);
        QVERIFY(!f.shared.ServerUnreachable);
    }

    // A code that cannot be published starts no request.
    void unpublishableCodeStartsNothing() {
        TFixture f;
        for (int code : {-1, 11})
            f.model.SendPresenceUpdate("alice", code);
        QCOMPARE(f.model.PendingUpdates(), 0);
    }

    // The first failure of a run arms the retry; once it is used, failures go to the relay (when Skype
    // is connected) and the notice comes once per run.
    void unreachableServer_data() {
        QTest::addColumn<bool>("skypeConnected");
        QTest::addColumn<bool>("noticeEnabled");
        QTest::addColumn<bool>("dontShowAgain");
        QTest::newRow("Skype connected") << true << true << false;
        QTest::newRow("Skype connected, box ticked") << true << true << true;
        QTest::newRow("Skype not connected") << false << true << false;
        QTest::newRow("notice switched off") << true << false << false;
    }
    void unreachableServer() {
        QFETCH(bool, skypeConnected);
        QFETCH(bool, noticeEnabled);
        QFETCH(bool, dontShowAgain);
        TFixture f;
        f.shared.SkypeConnected = skypeConnected;
        f.shared.CurrentUserHandle = "alice";
        f.view.dontShowAgain = dontShowAgain;
        f.store.CurrentOwner()
            .SplashScreens()
            .Item(TPresenceModel::ErrorSplashScreen)
            ->SetEnabled(noticeEnabled);
        SetServerFailing(true);

        // First failure: only the retry is armed.
        f.model.SkypeControl1UserStatus(usOnline);
        QCOMPARE(WaitForUpdate(f), qMakePair(1, true));
        QVERIFY(f.shared.ServerUnreachable);
        QVERIFY(f.model.RetryUsed());
        QVERIFY(f.tmrTryPresenceAgain.isActive());
        QCOMPARE(f.tmrTryPresenceAgain.interval(), 45000);
        // A failure while the retry is pending changes nothing else.
        f.model.SkypeControl1UserStatus(usAway);
        QCOMPARE(WaitForUpdate(f), qMakePair(3, true));
        QVERIFY(f.transport.sent.isEmpty());
        QVERIFY(f.view.published.isEmpty());
        QVERIFY(f.view.errors.isEmpty());
        QVERIFY(!QFile::exists(f.SavedFile()));

        // The retry asks Skype; its answer fails again and is relayed.
        f.model.tmrTryPresenceAgainTimer();
        QVERIFY(!f.tmrTryPresenceAgain.isActive());
        QCOMPARE(f.transport.SentTexts(), QByteArrayList{"GET USERSTATUS"});
        f.transport.sent.clear();
        f.model.SkypeControl1UserStatus(usOnline);
        QCOMPARE(WaitForUpdate(f), qMakePair(1, true));
        QCOMPARE(f.transport.SentTexts(),
                 skypeConnected ? QByteArrayList{"MESSAGE orvi-presence-relay-server 1"} : QByteArrayList{});
        QCOMPARE(f.view.published.size(), skypeConnected ? 1 : 0);
        if (skypeConnected) QCOMPARE(f.view.published[0].text, QStringLiteral("Online"));
        QVERIFY(f.model.PresenceErrorShown());
        using TErrors = QList<QPair<QString, QString>>;
        TErrors expected;
        if (noticeEnabled)
            expected.append({QStringLiteral("Unable to communicate with Presence Server"),
                             skypeConnected ? TextA : TextB});
        QCOMPARE(f.view.errors, expected);
        QFile trace(f.log.LogFilePath());
        QVERIFY(trace.open(QIODevice::ReadOnly));
        QVERIFY(
            QString::fromLocal8Bit(trace.readAll())
                .contains(QStringLiteral("ShowPresenceServerError: ") + (skypeConnected ? TextA : TextB)));
        QCOMPARE(f.shared.DontShowAgain, noticeEnabled && dontShowAgain);
        TSettingsStore saved({f.SavedFile(), f.SavedFile()});
        saved.Load();
        QCOMPARE(saved.CurrentOwner().SplashScreens().Item(2)->Enabled(), noticeEnabled && !dontShowAgain);

        // The same code within 5 s goes out once; another code goes at once; no second notice.
        f.transport.sent.clear();
        f.model.SkypeControl1UserStatus(usOnline);
        QCOMPARE(WaitForUpdate(f), qMakePair(1, true));
        f.shared.OnCall = true;
        f.model.PublishPresence(10, true);
        QCOMPARE(WaitForUpdate(f), qMakePair(10, true));
        QCOMPARE(f.transport.SentTexts(),
                 skypeConnected ? QByteArrayList{"MESSAGE orvi-presence-relay-server 10"} : QByteArrayList{});
        QCOMPARE(f.view.errors.size(), noticeEnabled ? 1 : 0);

        // Recovery clears ServerUnreachable; the next failure goes straight to the relay.
        SetServerFailing(false);
        f.model.PublishPresence(10, true);
        QCOMPARE(WaitForUpdate(f), qMakePair(10, false));
        QVERIFY(!f.shared.ServerUnreachable);
        SetServerFailing(true);
        f.shared.OnCall = false;
        f.clock.Advance(6000);
        f.transport.sent.clear();
        f.model.SkypeControl1UserStatus(usOnline);
        QCOMPARE(WaitForUpdate(f), qMakePair(1, true));
        QVERIFY(f.shared.ServerUnreachable);
        QVERIFY(!f.tmrTryPresenceAgain.isActive());
        QCOMPARE(f.transport.SentTexts(),
                 skypeConnected ? QByteArrayList{"MESSAGE orvi-presence-relay-server 1"} : QByteArrayList{});
        QCOMPARE(f.view.errors.size(), noticeEnabled ? 1 : 0);
    }

    void retryTickIsTraced() {
        TFixture f;
        f.model.tmrTryPresenceAgainTimer();
        QFile trace(f.log.LogFilePath());
        QVERIFY(trace.open(QIODevice::ReadOnly));
        QVERIFY(trace.readAll().contains(" : 5.0- tmrTryPresenceAgainTimer triggered"));
    }

    void pageState_data() {
        QTest::addColumn<QString>("settings");
        QTest::addColumn<TPresencePageState>("state");
        QTest::newRow("disabled")
            << "0,1,AWAY"
            << TPresencePageState{false, true, false, true, false, false, {QStringLiteral("Away"), -1}};
        QTest::newRow("Skype status")
            << "1,0,AWAY"
            << TPresencePageState{true, false, true, false, true, false, {QStringLiteral("Away"), -1}};
        QTest::newRow("separate status")
            << "1,1,DND"
            << TPresencePageState{true, false, false, true, true, true, {QStringLiteral("DND"), 1}};
        QTest::newRow("separate, nothing stored")
            << "1,1,"
            << TPresencePageState{true, false, false, true, true, true, {QStringLiteral("Online"), 6}};
    }
    void pageState() {
        QFETCH(QString, settings);
        QFETCH(TPresencePageState, state);
        TFixture f;
        const QStringList parts = settings.split(QLatin1Char(','));
        f.SetPresence(parts[0] == QLatin1String("1"), parts[1] == QLatin1String("1"), parts[2]);
        QCOMPARE(f.model.PageState(), state);
    }

    void buttonPageAndTabShow() {
        TFixture f;
        f.shared.CurrentUserHandle = "bob smith&x";
        f.model.ElURLLabel1Click();
        QCOMPARE(f.launcher.Url,
                 QStringLiteral("http://buttons.orvi.net/default.php?username=bob%20smith%26x"));
        f.model.ElTabPresenceShow();
        QCOMPARE(f.view.normals, 1);
    }
};

QTEST_GUILESS_MAIN(TstPresenceModel)
#include "tst_presencemodel.moc"
