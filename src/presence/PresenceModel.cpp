#include "presence/PresenceModel.h"

#include "presence/HTTPThreads.h"
#include "presence/PresenceAddress.h"
#include "presence/PresenceRelay.h"
#include "presence/SiteDefaults.h"
#include "settings/SettingsStore.h"
#include "shell/SharedState.h"
#include "shell/TraceLog.h"
#include "skype/SkypeControl.h"
#include "sysutil/pvlUrl.h"

#include <QTimer>
#include <QUrl>

namespace {
// The line breaks of these notices are a line feed followed by a carriage return.
const QString ServerUnreachableLine = QStringLiteral("Orvi can not send Presence updates to the Server.\n\r");
const QString FirewallAndRelayLines =
    QStringLiteral("If you use a Firewall, make certain that it allows Orvi to access the Internet\n\r\n\r"
                   "Orvi will send your Presence updates through a Relay Server using Skype.\n\r"
                   "The updates, however, may be slower.");
} // namespace

const QString TPresenceModel::ErrorTextSkypeConnected = ServerUnreachableLine + FirewallAndRelayLines;
const QString TPresenceModel::ErrorTextSkypeNotConnected =
    ServerUnreachableLine + QStringLiteral("Are you currently connected to the internet?\n\r") +
    FirewallAndRelayLines;

TPresenceModel::TPresenceModel(TSettingsStore &store, TSharedState &shared, TSkypeControl &skype,
                               TTraceLog &log, TPresenceRelay &relay, QTimer &tmrTryPresenceAgain,
                               TPresenceView &view, TpvlUrl &launcher, QObject *parent)
    : QObject(parent), store(store), shared(shared), skype(skype), log(log), relay(relay),
      tmrTryPresenceAgain(tmrTryPresenceAgain), view(view), launcher(launcher) {
    connect(&tmrTryPresenceAgain, &QTimer::timeout, this, &TPresenceModel::tmrTryPresenceAgainTimer);
}

void TPresenceModel::PublishPresence(int code, bool forced) {
    Guarded(log, [&] {
        if (shared.OnCall && code != WebStatus::Offline) code = WebStatus::OnCall;
        if (shared.CurrentUserHandle.isEmpty()) return;
        const TXMLPresenceType presence = store.CurrentOwner().Presence();
        // Disabled presence tells the server the user is offline, whatever the caller asked for.
        if (!presence.BroadcastPresenceOn()) return Publish(WebStatus::Offline);
        if (forced && code != -1) return Publish(code);
        if (presence.WebPresenceOn()) {
            int separate = WebStatus::FromWord(presence.WebStatus().toUtf8());
            // On a call the web shows ONCALL unless the user chose to look offline.
            if (shared.OnCall && separate != WebStatus::Offline) separate = code;
            return Publish(separate);
        }
        if (code != -1) Publish(code);
    });
}

void TPresenceModel::Publish(int code) {
    SendPresenceUpdate(shared.CurrentUserHandle, code);
}

void TPresenceModel::SkypeControl1UserStatus(TSkypeUserStatus userStatus) {
    Guarded(log, [&] {
        shared.LastSkypeStatus = SkypeWordOf(userStatus);
        const int code = WebStatus::FromSkypeStatusWord(shared.LastSkypeStatus);
        if (!shared.CurrentUserHandle.isEmpty()) PublishPresence(code, false);
    });
}

void TPresenceModel::ShowWebStatusButton() {
    view.ShowWebStatusButton(WebStatus::ButtonLook(store.CurrentOwner().Presence().WebStatus().toUtf8()));
}

void TPresenceModel::ShowPublishedStatus(const QByteArray &word) {
    view.ShowPublishedStatus(WebStatus::PublishedLook(word));
}

void TPresenceModel::RequestUserStatus() {
    // Skype's answer comes back as OnUserStatus, which publishes the Skype-derived code.
    skype.GetUserStatus();
}

void TPresenceModel::SaveSettings() {
    if (!store.SaveSettings().isEmpty()) log.WriteLog(QStringLiteral("Exception"));
}

void TPresenceModel::Changed() {
    view.RefreshWindow();
    SaveSettings();
}

void TPresenceModel::TogglePresence() {
    Guarded(log, [&] {
        const TXMLPresenceType presence = store.CurrentOwner().Presence();
        presence.SetBroadcastPresenceOn(!presence.BroadcastPresenceOn());
        if (presence.BroadcastPresenceOn())
            RequestUserStatus();
        else
            PublishPresence(WebStatus::Offline, true);
        Changed();
    });
}

void TPresenceModel::ElRdoEnablePresenceClick() {
    Guarded(log, [&] {
        store.CurrentOwner().Presence().SetBroadcastPresenceOn(true);
        RequestUserStatus();
        Changed();
    });
}

void TPresenceModel::ElRdoDisablePresenceClick() {
    Guarded(log, [&] {
        store.CurrentOwner().Presence().SetBroadcastPresenceOn(false);
        PublishPresence(WebStatus::Offline, true);
        Changed();
    });
}

void TPresenceModel::ElRdoUseSkypePresenceClick() {
    Guarded(log, [&] {
        store.CurrentOwner().Presence().SetWebPresenceOn(false);
        RequestUserStatus();
        Changed();
    });
}

void TPresenceModel::ElRdoUseSeperatePresenceClick() {
    Guarded(log, [&] {
        const TXMLPresenceType presence = store.CurrentOwner().Presence();
        presence.SetWebPresenceOn(true);
        if (presence.WebStatus().isEmpty()) {
            presence.SetWebStatus(QStringLiteral("ONLINE"));
            ShowWebStatusButton();
        }
        PublishPresence(-1, false);
        Changed();
    });
}

void TPresenceModel::TBmnuWebStatusClick(const QByteArray &word) {
    Guarded(log, [&] {
        store.CurrentOwner().Presence().SetWebStatus(QString::fromUtf8(word));
        ShowWebStatusButton();
        // With the Skype status in force this sends nothing (unless on a call): the choice is only kept.
        PublishPresence(-1, false);
        SaveSettings();
    });
}

void TPresenceModel::ElURLLabel1Click() {
    Guarded(log, [&] {
        // The name is percent-encoded so that it cannot change the page's query.
        launcher.Url =
            QString::fromLatin1(SiteDefaults::PresenceButtonSiteUrl) +
            QStringLiteral("/default.php?username=") +
            QString::fromLatin1(QUrl::toPercentEncoding(QString::fromUtf8(shared.CurrentUserHandle)));
        launcher.LaunchDefaultBrowser();
    });
}

void TPresenceModel::ElTabPresenceShow() {
    Guarded(log, [&] { view.ShowWindowNormal(); });
}

TPresencePageState TPresenceModel::PageState() const {
    const TXMLPresenceType presence = store.CurrentOwner().Presence();
    TPresencePageState state;
    state.ElRdoEnablePresenceChecked = presence.BroadcastPresenceOn();
    state.ElRdoDisablePresenceChecked = !state.ElRdoEnablePresenceChecked;
    state.ElRdoUseSeperatePresenceChecked = presence.WebPresenceOn();
    state.ElRdoUseSkypePresenceChecked = !state.ElRdoUseSeperatePresenceChecked;
    state.choiceRadiosEnabled = state.ElRdoEnablePresenceChecked;
    state.webStatusEnabled = state.ElRdoEnablePresenceChecked && state.ElRdoUseSeperatePresenceChecked;
    state.webStatusButton = WebStatus::ButtonLook(presence.WebStatus().toUtf8());
    if (!state.webStatusEnabled) state.webStatusButton.imageIndex = -1;
    return state;
}

void TPresenceModel::SendPresenceUpdate(const QByteArray &user, int code) {
    Guarded(log, [&] {
        if (!WebStatus::IsPublishable(code)) return;
        const QByteArray address = PresenceUpdateAddress(
            SiteDefaults::PresenceServerUrl(), QString::fromUtf8(user), code, SiteDefaults::PresenceSalt);
        // A child of the model: a request still under way when the model goes is cancelled with it.
        auto *request =
            new THTTPStatusUpdateThread(address, code, THTTPRequestThread::DefaultTimeoutMs, this);
        connect(request, &THTTPRequestThread::Finished, this, [this, request] {
            --pendingUpdates;
            OnPresenceUpdateDone(*request);
            Q_EMIT UpdateFinished(request->Code, request->Failed);
        });
        ++pendingUpdates;
        request->Start();
    });
}

void TPresenceModel::OnPresenceUpdateDone(const THTTPStatusUpdateThread &request) {
    Guarded(log, [&] {
        const QByteArray word = WebStatus::ToWord(request.Code);
        if (!request.Failed) {
            ShowPublishedStatus(word);
            shared.ServerUnreachable = false;
            return;
        }
        shared.ServerUnreachable = true;
        if (!retryUsed) {
            // The first failure of the run only schedules one more try.
            retryUsed = true;
            tmrTryPresenceAgain.setInterval(TryAgainIntervalMs);
            tmrTryPresenceAgain.start();
            return;
        }
        if (tmrTryPresenceAgain.isActive()) return;
        if (shared.SkypeConnected && relay.RelayPresence(request.Code)) ShowPublishedStatus(word);
        if (!presenceErrorShown) {
            presenceErrorShown = true;
            ShowPresenceServerError(shared.SkypeConnected ? ErrorTextSkypeConnected
                                                          : ErrorTextSkypeNotConnected);
        }
    });
}

void TPresenceModel::tmrTryPresenceAgainTimer() {
    Guarded(log, [&] {
        log.WriteLog(QStringLiteral("5.0- tmrTryPresenceAgainTimer triggered"));
        tmrTryPresenceAgain.stop();
        const TXMLPresenceType presence = store.CurrentOwner().Presence();
        if (!presence.BroadcastPresenceOn()) return;
        if (presence.WebPresenceOn())
            PublishPresence(-1, false);
        else
            RequestUserStatus();
    });
}

void TPresenceModel::ShowPresenceServerError(const QString &text) {
    // Support reads the log: it says the server was unreachable even when the notice stays hidden.
    Guarded(log, [&] { log.WriteLog(QStringLiteral("ShowPresenceServerError: ") + text); });
    try {
        const TXMLSplashScreensType screens = store.CurrentOwner().SplashScreens();
        // A list too short to hold the entry reads as its default: the notice is shown.
        const std::optional<TXMLSplashScreenType> entry = screens.Item(ErrorSplashScreen);
        if (!entry || entry->Enabled()) {
            shared.DontShowAgain = false;
            shared.DontShowAgain = view.ShowPresenceServerError(QString::fromLatin1(ErrorCaption), text);
            while (screens.Count() <= ErrorSplashScreen)
                screens.Add();
            screens.Item(ErrorSplashScreen)->SetEnabled(!shared.DontShowAgain);
        }
    } catch (...) {
        // The notice is a courtesy; nothing about it may stop the update handling.
    }
    Guarded(log, [&] { SaveSettings(); });
}
