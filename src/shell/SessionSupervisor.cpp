#include "shell/SessionSupervisor.h"

#include "presence/WebStatus.h"
#include "settings/SettingsStore.h"
#include "shell/Prompts.h"
#include "shell/SharedState.h"
#include "shell/TraceLog.h"
#include "skype/SkypeControl.h"

#include <QStringList>
#include <QTimer>

#include <stdexcept>

namespace {
constexpr int SkypeProtocol = 4;
} // namespace

TSessionSupervisor::TSessionSupervisor(TSkypeControl &skype, TSettingsStore &settings, TTraceLog &log,
                                       TPrompts &prompts, TSharedState &state, QTimer &attachTimer,
                                       QTimer &pingTimer, TSessionView &view)
    : skype(skype), settings(settings), log(log), prompts(prompts), state(state), attachTimer(attachTimer),
      pingTimer(pingTimer), view(view) {}

void TSessionSupervisor::Reset() {
    AttachAttempts = 0;
    RefusalShown = false;
    ChatTopicPending = false;
    PendingChatTopic.clear();
}

void TSessionSupervisor::StartAttachCycle() {
    if (attachTimer.isActive() || state.SkypeConnected) return;
    AttachAttempts = 0;
    attachTimer.start(AttachIntervalMs);
    pingTimer.stop();
    pingTimer.setInterval(PingDelayMs);
}

void TSessionSupervisor::AttachTimerTimer() {
    ++AttachAttempts;
    if (AttachAttempts > MaxAttachAttempts) {
        view.SetContainerCaption(QStringLiteral("Orvi - Not Connected to Skype"));
        attachTimer.stop();
        AttachAttempts = 0;
    }
    skype.Attach(SkypeProtocol);
    pingTimer.start();
    log.WriteLog(QStringLiteral("5.0- AttachTimerTimer triggered"));
}

void TSessionSupervisor::PingTimerTimer() {
    skype.Ping();
    pingTimer.stop();
    log.WriteLog(QStringLiteral("5.0- PingTimerTimer triggered"));
}

void TSessionSupervisor::AttachSuccess() {
    if (!state.SkypeConnected) StartAttachCycle();
}

void TSessionSupervisor::AttachRefused() {
    if (RefusalShown) return;
    RefusalShown = true;
    prompts.Inform(QStringLiteral("Orvi"), RefusalInstructions(), TPrompts::TIcon::Information);
}

QString TSessionSupervisor::RefusalInstructions() {
    return QStringList{
        QStringLiteral("Skype is currently blocking Orvi from communicating with it. You must change the "
                       "setting in Skype:"),
        QStringLiteral("1- In Skype, go to the \"Tools\" menu and select \"Options\""),
        QStringLiteral("2- Select the \"Privacy\" icon on the left."),
        QStringLiteral("3- Click the \"Manage other programs access to Skype\" link at the bottom"),
        QStringLiteral("4- Select the Orvi.exe program and click \"Change\""),
        QStringLiteral("5- Select \"Allow this Program to connect to Skype\" and click \"OK\" twice, then "
                       "click \"Save\"")}
        .join(QStringLiteral("\r\r"));
}

void TSessionSupervisor::Pong() {
    state.SkypeConnected = true;
    view.ShowConnection(true);
    attachTimer.stop();
    pingTimer.stop();
    // Page commands that waited for the connection run here once that list exists.
    skype.GetCurrentUserHandle();
    skype.Search(stFriends, QByteArray());
    skype.GetSkypeVersion();
    skype.GetPrivilege(spSkypeOut);
}

void TSessionSupervisor::ConnStatus(TSkypeConnStatus status) {
    if (status != csLoggedOut) return;
    view.PublishPresence(WebStatus::Offline, true);
    state.SkypeConnected = false;
    view.ShowConnection(false);
}

void TSessionSupervisor::CurrentUserHandle(const QByteArray &userHandle) {
    state.CurrentUserHandle = userHandle;
    view.SetContainerCaption(QStringLiteral("Orvi - ") + QString::fromUtf8(userHandle));
    Guarded(log, [&] {
        const TOwnerSelection selection = settings.SelectOwner(QString::fromUtf8(userHandle));
        if (!selection.error.isEmpty())
            throw std::runtime_error("owner selection: " + selection.error.toStdString());
        if (selection.change == TOwnerChange::Kept) return;
        view.ApplyOwnerSettings();
        // SelectOwner emptied the contact cache; the friends list refills it.
        skype.Search(stFriends, QByteArray());
    });
    skype.GetUserStatus();
}

void TSessionSupervisor::CopyData(const QByteArray &rawData) {
    if (!ChatTopicPending || !rawData.contains("CHAT #")) return;
    ChatTopicPending = false;
    const QByteArray afterWord = rawData.mid(5);
    const qsizetype space = afterWord.indexOf(' ');
    const QByteArray chatName = space < 0 ? afterWord : afterWord.left(space);
    skype.OpenChat(chatName);
    skype.SetChatTopic(chatName, PendingChatTopic);
    PendingChatTopic.clear();
}
