#pragma once
// The web presence feature: which web status code is published and when, the update request to the
// presence server with its one retry per run, the relay through Skype when the server cannot be
// reached, and the rules of the Web Presence page. The main window owns the timer, the page and the
// services; it forwards events and clicks here and shows what the view interface hands it.

#include "presence/WebStatus.h"
#include "skype/SkypeControlConst.h"

#include <QByteArray>
#include <QObject>
#include <QString>

class QTimer;
class THTTPStatusUpdateThread;
class TPresenceRelay;
class TSettingsStore;
class TSkypeControl;
class TTraceLog;
class TpvlUrl;
struct TSharedState;

// What the main window shows for the presence model.
class TPresenceView {
public:
    virtual ~TPresenceView() = default;
    // The web-status button TBbtnWebStatus: caption and image index.
    virtual void ShowWebStatusButton(const WebStatus::TLook &look) = 0;
    // JvLblShowCurrentPresence (and grpCurrentStatusBox sized to it): what the web shows now.
    virtual void ShowPublishedStatus(const WebStatus::TLook &look) = 0;
    // The window refresh after a settings change (the page reads TPresenceModel::PageState()).
    virtual void RefreshWindow() = 0;
    // Restores the window from the tray, brings it to the front and shows a modal message with this
    // caption and text and a "Don't show this screen again" box; returns whether the box was ticked.
    virtual bool ShowPresenceServerError(const QString &caption, const QString &text) = 0;
    // Puts the container window in its normal state (not minimized).
    virtual void ShowWindowNormal() = 0;
};

// The Web Presence page's controls as the settings make them.
struct TPresencePageState {
    bool ElRdoEnablePresenceChecked = false;
    bool ElRdoDisablePresenceChecked = false;
    bool ElRdoUseSkypePresenceChecked = false;
    bool ElRdoUseSeperatePresenceChecked = false;
    bool choiceRadiosEnabled = false; // ElRdoUseSkypePresence and ElRdoUseSeperatePresence
    bool webStatusEnabled = false;    // TBbtnWebStatus and ElLabel3
    WebStatus::TLook webStatusButton; // image -1 (none) while the button is disabled
    friend bool operator==(const TPresencePageState &, const TPresencePageState &) = default;
};

class TPresenceModel final : public QObject {
    Q_OBJECT

public:
    static constexpr int TryAgainIntervalMs = 45000;
    static constexpr char ErrorCaption[] = "Unable to communicate with Presence Server";
    // Index of the presence server notice in the owner's SplashScreens list.
    static constexpr int ErrorSplashScreen = 2;
    static const QString ErrorTextSkypeConnected;    // text A: updates go through the relay
    static const QString ErrorTextSkypeNotConnected; // text B: asks about the internet connection

    // The model connects tmrTryPresenceAgain's timeout to tmrTryPresenceAgainTimer; the window only
    // owns the timer. Every reference must outlive the model.
    TPresenceModel(TSettingsStore &store, TSharedState &shared, TSkypeControl &skype, TTraceLog &log,
                   TPresenceRelay &relay, QTimer &tmrTryPresenceAgain, TPresenceView &view, TpvlUrl &launcher,
                   QObject *parent = nullptr);

    // Decides the code to publish and sends it, or sends nothing. Code -1: the caller gives none.
    void PublishPresence(int code, bool forced);
    // Handler of OnUserStatus, after the window wrote its "SkypeControl1UserStatus: " trace line.
    void SkypeControl1UserStatus(TSkypeUserStatus userStatus);
    void ShowWebStatusButton();
    void ShowPublishedStatus(const QByteArray &word);
    // The tray's "Enable Presence" entry.
    void TogglePresence();

    // Clicks of the Web Presence page.
    void ElRdoEnablePresenceClick();
    void ElRdoDisablePresenceClick();
    void ElRdoUseSkypePresenceClick();
    void ElRdoUseSeperatePresenceClick();
    // TBmnuOnlineClick ... TBmnuOnCallClick: the menu item's word ("ONLINE", "OFFLINE", "SKYPEME",
    // "AWAY", "NA", "DND" or "ONCALL", see WebStatus::MenuItems()).
    void TBmnuWebStatusClick(const QByteArray &word);
    void ElURLLabel1Click();
    void ElTabPresenceShow();
    TPresencePageState PageState() const;

    // Starts one update request for a code from 0 to 10 (others start nothing); never waits for it.
    void SendPresenceUpdate(const QByteArray &user, int code);
    // End of an update request, on this thread.
    void OnPresenceUpdateDone(const THTTPStatusUpdateThread &request);
    void tmrTryPresenceAgainTimer();
    // The once-per-run notice that the server cannot be reached; always saves the settings.
    void ShowPresenceServerError(const QString &text);

    bool PresenceErrorShown() const { return presenceErrorShown; }
    // The one retry of the run was used (the retry timer's tag).
    bool RetryUsed() const { return retryUsed; }
    // Update requests started and not finished yet (the window may wait for them when closing).
    int PendingUpdates() const { return pendingUpdates; }

Q_SIGNALS:
    // An update request ended and OnPresenceUpdateDone has handled it.
    void UpdateFinished(int code, bool failed);

private:
    void Changed(); // refresh and save after a settings change
    void SaveSettings();
    void Publish(int code);
    void RequestUserStatus();

    TSettingsStore &store;
    TSharedState &shared;
    TSkypeControl &skype;
    TTraceLog &log;
    TPresenceRelay &relay;
    QTimer &tmrTryPresenceAgain;
    TPresenceView &view;
    TpvlUrl &launcher;

    bool retryUsed = false;
    bool presenceErrorShown = false;
    int pendingUpdates = 0;
};
