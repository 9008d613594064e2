#pragma once
// The main window: the menu bar, the four pages, the bottom toolbar and the status bar. The controls
// carry their component names (as members and as objectName) so that handlers can be connected to
// them and tests can find them.

#include "autorespond/SentMessages.h"
#include "presence/PresenceModel.h"
#include "presence/PresenceRelay.h"
#include "shell/FeatureModes.h"
#include "shell/SessionSupervisor.h"
#include "shell/SharedState.h"
#include "shell/TraceLog.h"
#include "skype/SkypeControl.h"
#include "sysutil/pvlUrl.h"

#include <QMainWindow>
#include <QStringList>
#include <QTimer>

#include <array>
#include <functional>

class QAction;
class QMenu;
class QMenuBar;
class QStatusBar;
class QTabWidget;
class QToolBar;
class TAutoResponderPage;
class TBrowserPage;
class TCallForwardingPage;
class TImageLabel;
class TWebPresencePage;
class TAutostart;
class TClock;
class TDefaultBrowserSource;
class TPrompts;
class TSettingsStore;
class TSkypeTransport;

// What the main window works with; all of it outlives the window.
struct TMainFormServices {
    TSettingsStore &settings;
    TSkypeTransport &transport;
    TPrompts &prompts;
    const TClock &clock;
    TAutostart &autostart;
    // Finds the program that opens web pages.
    const TDefaultBrowserSource &browser;
    QString logFilePath;
    // The program's own parameters (without the program name).
    QStringList parameters;
};

class TMainForm : public QMainWindow, private TSessionView, private TPresenceView {
    Q_OBJECT
public:
    explicit TMainForm(const TMainFormServices &services, QWidget *parent = nullptr);
    ~TMainForm() override;

    TTraceLog &Log() { return log; }
    TSharedState &State() { return state; }
    TSessionSupervisor &Session() { return supervisor; }
    TFeatureModes &Modes() { return modes; }
    const TTrayMenuState &TrayMenu() const { return trayMenu; }

    // Settings to window.
    void ApplyOwnerSettings() override;
    void SaveSettings();
    void RefreshWindow() override;
    void UpdateTabs();
    // The web presence page's radios, status button and its label.
    void RefreshPresencePage();

    // Tray switches; each ends with the refresh and the save.
    void ToggleAutoResponder();
    void ToggleCallForwarding();
    void ToggleRingNotification();

    // A page command from the command line or another copy; logged until the page commands exist.
    void AcceptWebCommand(const QString &text);
    // The steps of closing the program, before the close is allowed.
    void CloseSequence();
    // How long closing waits for the last presence update to reach the server.
    static constexpr int ClosingUpdateWaitMs = 2000;

    // Handlers of the window's own controls.
    void btnAdvancedModeClick();
    void mnuTabWebPresenceClick();
    void mnuTabOrviCommunityClick();
    void mnuTabAutoResponderClick();
    void mnuTabCallForwardingClick();
    void ElTabCallForwardingShow();
    void TBMnuLaunchOnStartUpClick();
    void TBMnuReconnectSkypeClick();

    // Handlers of SkypeControl1's events: each writes its trace line, then hands over.
    void SkypeControl1AttachSuccess();
    void SkypeControl1AttachPending();
    void SkypeControl1AttachRefused();
    void SkypeControl1APINotAvailable();
    void SkypeControl1APIAvailable();
    void SkypeControl1Error(int code, const QByteArray &description);
    void SkypeControl1UserStatus(TSkypeUserStatus userStatus);
    void SkypeControl1UserInfo(const QByteArray &username, TSkypeUserProperty property,
                               const QByteArray &data);
    void SkypeControl1Name(const QByteArray &name);
    void SkypeControl1Protocol(int protocolNumber);
    void SkypeControl1Pong();
    void SkypeControl1CallInfo(int callId, TSkypeCallProperty property, const QByteArray &data);
    void SkypeControl1MessageInfo(int messageId, TSkypeMessageProperty property, const QByteArray &data);
    void SkypeControl1ConnStatus(TSkypeConnStatus connStatus);
    void SkypeControl1CurrentUserHandle(const QByteArray &userHandle);
    void SkypeControl1SearchResult(TSkypeSearchType searchType, const QList<QByteArray> &list);
    void SkypeControl1CallHistoryChanged();
    void SkypeControl1IMHistoryChanged();
    void SkypeControl1AudioInInfo(const QByteArray &device);
    void SkypeControl1AudioOutInfo(const QByteArray &device);
    void SkypeControl1MuteInfo(bool muted);
    void SkypeControl1PrivilegeInfo(TSkypePrivilege privilege, bool granted);
    void SkypeControl1ProfileInfo(TSkypeProfile property, const QByteArray &data);
    void SkypeControl1VersionInfo(const QByteArray &version);
    void SkypeControl1ChatInfo(const QByteArray &chatName, TSkypeChatProperty property,
                               const QByteArray &data);
    void SkypeControl1ChatMsgInfo(int chatMsgId, TSkypeChatMsgProperty property, const QByteArray &data);
    void SkypeControl1NotSupportedError(const QByteArray &message);
    void SkypeControl1CopyData(const QByteArray &rawData);

    // Timer handlers.
    void AttachTimerTimer();
    void PingTimerTimer();

Q_SIGNALS:
    void ContainerCaptionChanged(const QString &caption);
    // The tray menu must show TrayMenu() again.
    void TrayMenuChanged();
    // "E&xit" was chosen: the container closes.
    void ExitRequested();
    // The container is to take its normal window state.
    void ContainerNormalRequested();
    // The container is to come back from the tray, restored and in front.
    void ContainerFrontRequested();

public:
    // Menu bar.
    QMenuBar *tbMenu = nullptr;
    QMenu *mnuFile = nullptr;
    QAction *TBMnuGetSkypeOUTCredits = nullptr;
    QMenu *TBMnuMaintenance = nullptr;
    QAction *TBMnuReconnectSkype = nullptr;
    QAction *TBMnuMuteSpeakers = nullptr;
    QAction *TBMnuUnMuteSpeakers = nullptr;
    QAction *TBMnuMuteMic = nullptr;
    QAction *TBMnuUnMuteMic = nullptr;
    QAction *TBMnuLaunchOnStartUp = nullptr;
    QAction *TBMnuExit = nullptr;
    QMenu *mnuView = nullptr;
    QAction *mnuTabWebPresence = nullptr;
    QAction *mnuTabAutoResponder = nullptr;
    QAction *mnuTabCallForwarding = nullptr;
    QAction *mnuTabOrviCommunity = nullptr;
    QMenu *mnuHelp = nullptr;
    QAction *TBMnuResetHelpScreens = nullptr;
    QAction *TBCheckForUpdate = nullptr;
    QAction *TBMnuGoToOrvi = nullptr;
    QAction *TBMnuSupForum = nullptr;
    QAction *TBMnuFAQ = nullptr;
    QAction *TBMnuReportBug = nullptr;
    QAction *TBMnuAbout = nullptr;

    // Pages, in tab order.
    QTabWidget *ElPageControl1 = nullptr;
    TWebPresencePage *ElTabPresence = nullptr;
    TBrowserPage *ElTabOrviCommunity = nullptr;
    TAutoResponderPage *ElTabAutoresponder = nullptr;
    TCallForwardingPage *ElTabCallForwarding = nullptr;

    // Bottom toolbar.
    QWidget *ElPanel2 = nullptr;
    QToolBar *TBToolbar1 = nullptr;
    QAction *TBXItem1 = nullptr;
    QAction *TBXItem2 = nullptr;
    QAction *tbxTellaFriend = nullptr;
    QAction *btnAdvancedMode = nullptr;

    // Status bar with its three panels; the first shows the connection state.
    QStatusBar *TBXStatusBar = nullptr;
    std::array<TImageLabel *, 3> TBXStatusBarPanels{};

public:
    // Non-visual members.
    TSkypeControl SkypeControl1;
    QTimer AttachTimer;
    QTimer PingTimer;
    QTimer TimerCheckVersion;
    QTimer TimerShowStartSplash;
    QTimer Tmrfirsttime;
    QTimer TimerDisplaySkypeProfile;
    QTimer tmrTryPresenceAgain;
    QTimer tmrOnCall;
    QTimer tmrSendCallForwardResponse;
    QTimer tmrMuteStuff;
    QTimer tmrHangupCallNotify;

    // Shows the notice that the presence server cannot be reached and returns whether "Don't show this
    // screen again" was ticked; a modal dialog unless replaced (tests answer it themselves).
    std::function<bool(const QString &caption, const QString &text)> AskPresenceNotice;

protected:
    void showEvent(QShowEvent *event) override;

private:
    // Creation steps.
    void ConnectSkypeEvents();
    void ConnectControls();
    void SetUpTimers();
    void ResetRunTimeState();
    void StartVersionAndSplashTimers();
    void FirstTimeSteps();
    void LoadBrowserStartPage();
    // Session view.
    void ShowConnection(bool connected) override;
    void SetContainerCaption(const QString &caption) override;
    void PublishPresence(int code, bool forced) override;
    // Presence view.
    void ShowWebStatusButton(const WebStatus::TLook &look) override;
    void ShowPublishedStatus(const WebStatus::TLook &look) override;
    bool ShowPresenceServerError(const QString &caption, const QString &text) override;
    void ShowWindowNormal() override;
    void ConnectPresenceControls();
    void WaitForPresenceUpdates();
    // Refresh steps.
    void ShowAdvancedMode(bool advanced);
    void RefreshFavorites();
    void RefreshResponseMessages();
    void UpdateContainerGUI();
    void RefreshAutoResponderPage();
    void RefreshCallForwardingPage();
    void FillForwardContacts();
    // Runs a View-menu handler: guarded work, then save, UpdateTabs and (unless told) the refresh.
    template <class Work> void ViewMenuClick(Work &&work, bool refresh);
    // Runs a tray switch: guarded work, then the refresh and the save.
    template <class Work> void TraySwitch(Work &&work);

    TSettingsStore &settings;
    TAutostart &autostart;
    QStringList parameters;

    TSharedState state;
    TTraceLog log;
    TSentMessages sentMessages;
    TSessionSupervisor supervisor;
    TFeatureModes modes;
    TTrayMenuState trayMenu;
    TPresenceRelay relay;
    TpvlUrl browser;
    // Set while closing: nothing may wait for the user then.
    bool closing = false;

public:
    TPresenceModel Presence;

private:
    void BuildLayout();
    void BuildMenus();
    void BuildFileMenu();
    void BuildViewMenu();
    void BuildHelpMenu();
    void BuildPages();
    void BuildToolbar();
    void BuildStatusBar();
    QAction *AddItem(QMenu *menu, const char *name, const QString &caption);
};
