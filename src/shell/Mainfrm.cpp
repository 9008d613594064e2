// The main window's creation, the owner's settings applied to it, saving, and closing.

#include "shell/Mainfrm.h"

#include "browser/BrowserPage.h"
#include "presence/PresenceNoticeDialog.h"
#include "presence/WebStatus.h"
#include "settings/SettingsStore.h"
#include "shell/Autostart.h"
#include "shell/Icons.h"
#include "shell/PageKit.h"
#include "shell/SingleInstance.h"

#include <QComboBox>
#include <QTabWidget>

namespace {
constexpr int SkypeProtocol = 4;
constexpr int MinimumSplashScreens = 4;
constexpr int ConnectedImage = 7;
constexpr int NotConnectedImage = 8;
} // namespace

TMainForm::TMainForm(const TMainFormServices &services, QWidget *parent)
    : QMainWindow(parent), SkypeControl1(services.transport), settings(services.settings),
      autostart(services.autostart), parameters(services.parameters),
      log(services.settings, services.logFilePath),
      sentMessages(services.clock, [this](const QByteArray &recipient,
                                          const QByteArray &text) { SkypeControl1.SendIM(recipient, text); }),
      supervisor(SkypeControl1, services.settings, log, services.prompts, state, AttachTimer, PingTimer,
                 *this),
      modes(services.settings, log, services.prompts, state), relay(sentMessages, state.SkypeConnected),
      browser(services.browser, services.prompts),
      Presence(services.settings, state, SkypeControl1, log, relay, tmrTryPresenceAgain, *this, browser) {
    BuildLayout();
    SkypeControl1.AutoReAttach = true;
    ConnectSkypeEvents();
    ConnectControls();
    ConnectPresenceControls();
    AskPresenceNotice = [this](const QString &caption, const QString &text) {
        return TPresenceNoticeDialog::Ask(caption, text, window());
    };
    SetUpTimers();
    modes.OnAdvancedModeShown = [this](bool advanced) { ShowAdvancedMode(advanced); };

    // 1. The list of sent messages is the member above, empty.
    // 2. The connection state, the first page and an empty address box.
    ShowConnection(false);
    ElPageControl1->setCurrentIndex(0);
    ElTabOrviCommunity->TBXCmbAddress->clearEditText();
    // 3. The trace log of this run.
    log.Start();
    // 4.
    log.WriteLog(QStringLiteral("1.0- made it to Main. create"));
    log.WriteLog(QStringLiteral("1.0- Current Owner: ") + settings.CurrentOwner().SkypeHandle());
    // 5.
    ResetRunTimeState();
    // 6 and 7. The program's own parameters, glued together, are a page command.
    if (!parameters.isEmpty()) AcceptWebCommand(JoinOwnCommandLine(parameters));
    // 8.
    StartVersionAndSplashTimers();
    // 9.
    log.WriteLog(QStringLiteral("1.2- Advanced mode?: ") +
                 TTraceLog::Bool(settings.CurrentOwner().AdvancedMode()));
    log.WriteLog(QStringLiteral("1.4-  is it first time?: ") +
                 TTraceLog::Bool(settings.SettingsRoot().FirstTime()));
    // 10.
    FirstTimeSteps();
    // 11.
    LoadBrowserStartPage();
    // 12.
    ApplyOwnerSettings();
    // 13.
    log.WriteLog(QStringLiteral("1.7- Exiting Mainform.create"));
    // 14.
    supervisor.StartAttachCycle();
}

TMainForm::~TMainForm() = default;

void TMainForm::SetUpTimers() {
    const struct {
        QTimer *timer;
        const char *name;
        int intervalMs;
    } timers[] = {{&AttachTimer, "AttachTimer", 2000},
                  {&PingTimer, "PingTimer", 2000},
                  {&TimerCheckVersion, "TimerCheckVersion", 8000},
                  {&TimerShowStartSplash, "TimerShowStartSplash", 15000},
                  {&Tmrfirsttime, "Tmrfirsttime", 3000},
                  {&TimerDisplaySkypeProfile, "TimerDisplaySkypeProfile", 1000},
                  {&tmrTryPresenceAgain, "tmrTryPresenceAgain", 45000},
                  {&tmrOnCall, "tmrOnCall", 30000},
                  {&tmrSendCallForwardResponse, "tmrSendCallForwardResponse", 10000},
                  {&tmrMuteStuff, "tmrMuteStuff", 1000},
                  {&tmrHangupCallNotify, "tmrHangupCallNotify", 2000}};
    for (const auto &entry : timers) {
        entry.timer->setObjectName(QLatin1String(entry.name));
        entry.timer->setInterval(entry.intervalMs);
    }
    PingTimer.setSingleShot(true);
    connect(&AttachTimer, &QTimer::timeout, this, &TMainForm::AttachTimerTimer);
    connect(&PingTimer, &QTimer::timeout, this, &TMainForm::PingTimerTimer);
    // The version check, the splash screens and the first-start steps come with their own features;
    // until then their timers only say that they ran, once.
    for (QTimer *timer : {&TimerCheckVersion, &TimerShowStartSplash, &Tmrfirsttime}) {
        connect(timer, &QTimer::timeout, this, [this, timer] {
            timer->stop();
            Guarded(log,
                    [&] { log.WriteLog(QStringLiteral("5.0- %1Timer triggered").arg(timer->objectName())); });
        });
    }
}

void TMainForm::ResetRunTimeState() {
    state = TSharedState{};
    supervisor.Reset();
    modes.BasicModeConfirmed = false;
}

void TMainForm::StartVersionAndSplashTimers() {
    TimerCheckVersion.start();
    TimerShowStartSplash.start(20000);
}

void TMainForm::FirstTimeSteps() {
    const TXMLSettingsType root = settings.SettingsRoot();
    if (!root.FirstTime()) return;
    root.SetFirstTime(false);
    Tmrfirsttime.setSingleShot(true);
    Tmrfirsttime.start();
}

void TMainForm::LoadBrowserStartPage() {
    if (ElTabOrviCommunity->property("Tag").toInt() != 0) return;
    ElTabOrviCommunity->setProperty("Tag", 1);
    log.WriteLog(QStringLiteral("1.5-  Loading the Orvi WebPage browser?:"));
    // The start page itself is loaded by the browser once the page has one.
}

void TMainForm::ApplyOwnerSettings() {
    Guarded(log, [&] { modes.LookUpTabIndexes(); });
    try {
        const TXMLOwnerType owner = settings.CurrentOwner();
        if (owner.SkypeHandle().isEmpty()) owner.SetAdvancedMode(false);
    } catch (...) {
        // An owner that cannot be put in basic mode keeps its mode.
    }
    Guarded(log, [&] {
        if (settings.CurrentOwner().AdvancedMode())
            modes.SetAdvancedMode();
        else
            modes.SetBasicMode(false);
    });
    try {
        const TXMLSplashScreensType splashScreens = settings.CurrentOwner().SplashScreens();
        while (splashScreens.Count() < MinimumSplashScreens)
            splashScreens.Add();
    } catch (...) {
        // The splash screens then show with their defaults.
    }
    RefreshWindow();
    log.WriteLog(QStringLiteral("1.6- Saving settings"));
    SaveSettings();
}

void TMainForm::SaveSettings() {
    if (!settings.SaveSettings().isEmpty()) Guarded(log, [&] { log.WriteLog(QStringLiteral("Exception")); });
}

void TMainForm::ShowConnection(bool connected) {
    TImageLabel *panel = TBXStatusBarPanels[0];
    panel->SetText(connected ? tr("Connected to Skype") : tr("Not Connected to Skype"));
    panel->SetImage(OrviIcons::BrowserImage(connected ? ConnectedImage : NotConnectedImage));
}

void TMainForm::SetContainerCaption(const QString &caption) {
    Q_EMIT ContainerCaptionChanged(caption);
}

void TMainForm::AcceptWebCommand(const QString &text) {
    log.WriteLog(QStringLiteral("AcceptWebCommand: ") + text);
    if (!state.SkypeConnected) supervisor.StartAttachCycle();
}

void TMainForm::CloseSequence() {
    closing = true;
    // Un-muting the speakers joins here with the mixer feature.
    Presence.PublishPresence(WebStatus::Offline, true);
    SkypeControl1.Attach(SkypeProtocol);
    SkypeControl1.SendCommand("MESSAGE " + state.SyncPartner + " [URLSYNCTerminate]" +
                              settings.CurrentOwner().SkypeHandle().toUtf8());
    SetRunEntry(autostart, log, !settings.SettingsRoot().LaunchOnStartUp());
    // The offline update was started first; it gets a short chance to arrive before the program ends.
    WaitForPresenceUpdates();
}

void TMainForm::showEvent(QShowEvent *event) {
    QMainWindow::showEvent(event);
    Guarded(log,
            [&] { log.WriteLog(QStringLiteral("3.0- In Main Form showing Mainform:  TMainForm.FormShow")); });
}
