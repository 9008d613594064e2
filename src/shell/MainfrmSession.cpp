// The handlers of SkypeControl1's events and of the attach and ping timers. Each writes its trace line
// first and then hands over to the feature that owns the event.

#include "shell/Mainfrm.h"

namespace {
constexpr int SkypeProtocol = 4;

QString Text(const QByteArray &bytes) {
    return QString::fromUtf8(bytes);
}
template <typename E> QString Word(E member) {
    return QString::fromUtf8(SkypeWordOf(member));
}
} // namespace

void TMainForm::ConnectSkypeEvents() {
    TSkypeControl &s = SkypeControl1;
    s.OnAttachSuccess = [this](TSkypeControl &) { SkypeControl1AttachSuccess(); };
    s.OnAttachPending = [this](TSkypeControl &) { SkypeControl1AttachPending(); };
    s.OnAttachRefused = [this](TSkypeControl &) { SkypeControl1AttachRefused(); };
    s.OnAPINotAvailable = [this](TSkypeControl &) { SkypeControl1APINotAvailable(); };
    s.OnAPIAvailable = [this](TSkypeControl &) { SkypeControl1APIAvailable(); };
    s.OnError = [this](int code, const QByteArray &text) { SkypeControl1Error(code, text); };
    s.OnUserStatus = [this](TSkypeUserStatus status) { SkypeControl1UserStatus(status); };
    s.OnUserInfo = [this](const QByteArray &user, TSkypeUserProperty property, const QByteArray &data) {
        SkypeControl1UserInfo(user, property, data);
    };
    s.OnName = [this](const QByteArray &name) { SkypeControl1Name(name); };
    s.OnProtocol = [this](int protocol) { SkypeControl1Protocol(protocol); };
    s.OnPong = [this](TSkypeControl &) { SkypeControl1Pong(); };
    s.OnCallInfo = [this](int id, TSkypeCallProperty property, const QByteArray &data) {
        SkypeControl1CallInfo(id, property, data);
    };
    s.OnMessageInfo = [this](int id, TSkypeMessageProperty property, const QByteArray &data) {
        SkypeControl1MessageInfo(id, property, data);
    };
    s.OnConnStatus = [this](TSkypeConnStatus status) { SkypeControl1ConnStatus(status); };
    s.OnCurrentUserHandle = [this](const QByteArray &user) { SkypeControl1CurrentUserHandle(user); };
    s.OnSearchResult = [this](TSkypeSearchType type, QList<QByteArray> list) {
        SkypeControl1SearchResult(type, list);
    };
    s.OnCallHistoryChanged = [this](TSkypeControl &) { SkypeControl1CallHistoryChanged(); };
    s.OnIMHistoryChanged = [this](TSkypeControl &) { SkypeControl1IMHistoryChanged(); };
    s.OnAudioInInfo = [this](const QByteArray &device) { SkypeControl1AudioInInfo(device); };
    s.OnAudioOutInfo = [this](const QByteArray &device) { SkypeControl1AudioOutInfo(device); };
    s.OnMuteInfo = [this](bool muted) { SkypeControl1MuteInfo(muted); };
    s.OnPrivilegeInfo = [this](TSkypePrivilege privilege, bool granted) {
        SkypeControl1PrivilegeInfo(privilege, granted);
    };
    s.OnProfileInfo = [this](TSkypeProfile property, const QByteArray &data) {
        SkypeControl1ProfileInfo(property, data);
    };
    s.OnVersionInfo = [this](const QByteArray &version) { SkypeControl1VersionInfo(version); };
    s.OnChatInfo = [this](const QByteArray &chat, TSkypeChatProperty property, const QByteArray &data) {
        SkypeControl1ChatInfo(chat, property, data);
    };
    s.OnChatMsgInfo = [this](int id, TSkypeChatMsgProperty property, const QByteArray &data) {
        SkypeControl1ChatMsgInfo(id, property, data);
    };
    s.OnNotSupportedError = [this](const QByteArray &message) { SkypeControl1NotSupportedError(message); };
    s.OnCopyData = [this](const QByteArray &raw) { SkypeControl1CopyData(raw); };
}

void TMainForm::SkypeControl1AttachSuccess() {
    Guarded(log, [&] {
        log.WriteLog(QStringLiteral("SkypeControl1AttachSuccess"));
        supervisor.AttachSuccess();
    });
}

void TMainForm::SkypeControl1AttachPending() {
    Guarded(log, [&] { log.WriteLog(QStringLiteral("SkypeControl1AttachPending")); });
}

void TMainForm::SkypeControl1AttachRefused() {
    Guarded(log, [&] {
        log.WriteLog(QStringLiteral("SkypeControl1AttachRefused"));
        supervisor.AttachRefused();
    });
}

void TMainForm::SkypeControl1APINotAvailable() {
    Guarded(log, [&] { log.WriteLog(QStringLiteral("SkypeControl1APINotAvailable")); });
}

void TMainForm::SkypeControl1APIAvailable() {
    // The component re-attaches by itself.
    Guarded(log, [&] { log.WriteLog(QStringLiteral("SkypeControl1APIAvailable")); });
}

void TMainForm::SkypeControl1Error(int code, const QByteArray &description) {
    Guarded(log, [&] {
        log.WriteLog(
            QStringLiteral("SkypeControl1Error: %1   Description: %2").arg(code).arg(Text(description)));
    });
}

void TMainForm::SkypeControl1UserStatus(TSkypeUserStatus userStatus) {
    Guarded(log, [&] { log.WriteLog(QStringLiteral("SkypeControl1UserStatus: ") + Word(userStatus)); });
    Presence.SkypeControl1UserStatus(userStatus);
}

void TMainForm::SkypeControl1UserInfo(const QByteArray &username, TSkypeUserProperty property,
                                      const QByteArray &data) {
    Guarded(log, [&] {
        log.WriteLog(QStringLiteral("SkypeControl1UserInfo: %1 %2 %3")
                         .arg(Text(username), Word(property), Text(data)));
    });
}

void TMainForm::SkypeControl1Name(const QByteArray &name) {
    Guarded(log, [&] { log.WriteLog(QStringLiteral("SkypeControl1Name: ") + Text(name)); });
}

void TMainForm::SkypeControl1Protocol(int protocolNumber) {
    Guarded(log, [&] { log.WriteLog(QStringLiteral("SkypeControl1Protocol: %1").arg(protocolNumber)); });
}

void TMainForm::SkypeControl1Pong() {
    Guarded(log, [&] {
        log.WriteLog(QStringLiteral("SkypeControl1Pong"));
        supervisor.Pong();
    });
}

void TMainForm::SkypeControl1CallInfo(int callId, TSkypeCallProperty property, const QByteArray &data) {
    Guarded(log, [&] {
        log.WriteLog(
            QStringLiteral("SkypeControl1CallInfo: %1 %2 %3").arg(callId).arg(Word(property), Text(data)));
    });
}

void TMainForm::SkypeControl1MessageInfo(int messageId, TSkypeMessageProperty property,
                                         const QByteArray &data) {
    Guarded(log, [&] {
        log.WriteLog(QStringLiteral("SkypeControl1MessageInfo: %1 %2 %3")
                         .arg(messageId)
                         .arg(Word(property), Text(data)));
    });
}

void TMainForm::SkypeControl1ConnStatus(TSkypeConnStatus connStatus) {
    Guarded(log, [&] {
        log.WriteLog(QStringLiteral("SkypeControl1ConnStatus: ") + Word(connStatus));
        supervisor.ConnStatus(connStatus);
    });
}

void TMainForm::SkypeControl1CurrentUserHandle(const QByteArray &userHandle) {
    Guarded(log, [&] {
        log.WriteLog(QStringLiteral("SkypeControl1CurrentUserHandle: ") + Text(userHandle));
        supervisor.CurrentUserHandle(userHandle);
    });
}

void TMainForm::SkypeControl1SearchResult(TSkypeSearchType searchType, const QList<QByteArray> &list) {
    Guarded(log, [&] {
        log.WriteLog(
            QStringLiteral("SkypeControl1SearchResult: %1 %2").arg(Word(searchType)).arg(list.size()));
    });
}

void TMainForm::SkypeControl1CallHistoryChanged() {
    Guarded(log, [&] { log.WriteLog(QStringLiteral("SkypeControl1CallHistoryChanged")); });
}

void TMainForm::SkypeControl1IMHistoryChanged() {
    Guarded(log, [&] { log.WriteLog(QStringLiteral("SkypeControl1IMHistoryChanged")); });
}

void TMainForm::SkypeControl1AudioInInfo(const QByteArray &device) {
    Guarded(log, [&] { log.WriteLog(QStringLiteral("SkypeControl1AudioInInfo: ") + Text(device)); });
}

void TMainForm::SkypeControl1AudioOutInfo(const QByteArray &device) {
    Guarded(log, [&] { log.WriteLog(QStringLiteral("SkypeControl1AudioOutInfo: ") + Text(device)); });
}

void TMainForm::SkypeControl1MuteInfo(bool muted) {
    Guarded(log, [&] { log.WriteLog(QStringLiteral("SkypeControl1MuteInfo: ") + TTraceLog::Bool(muted)); });
}

void TMainForm::SkypeControl1PrivilegeInfo(TSkypePrivilege privilege, bool granted) {
    Guarded(log, [&] {
        log.WriteLog(QStringLiteral("SkypeControl1PrivilegeInfo: %1 %2")
                         .arg(Word(privilege), TTraceLog::Bool(granted)));
    });
}

void TMainForm::SkypeControl1ProfileInfo(TSkypeProfile property, const QByteArray &data) {
    Guarded(log, [&] {
        log.WriteLog(QStringLiteral("SkypeControl1ProfileInfo: %1 %2").arg(Word(property), Text(data)));
    });
}

void TMainForm::SkypeControl1VersionInfo(const QByteArray &version) {
    Guarded(log, [&] {
        log.WriteLog(QStringLiteral("SkypeControl1VersionInfo: ") + Text(version));
        // The tray's call-forwarding switch reads the version Skype reported.
        state.SkypeVersion = version;
    });
}

void TMainForm::SkypeControl1ChatInfo(const QByteArray &chatName, TSkypeChatProperty,
                                      const QByteArray &data) {
    Guarded(log, [&] {
        log.WriteLog(QStringLiteral("SkypeControl1ChatInfo:  Chatname: ") + Text(chatName) +
                     QStringLiteral("  ChatProperty: ??") + QStringLiteral("   data: ") + Text(data));
    });
}

void TMainForm::SkypeControl1ChatMsgInfo(int chatMsgId, TSkypeChatMsgProperty property,
                                         const QByteArray &data) {
    Guarded(log, [&] {
        log.WriteLog(QStringLiteral("SkypeControl1ChatMsgInfo: %1 %2 %3")
                         .arg(chatMsgId)
                         .arg(Word(property), Text(data)));
    });
}

void TMainForm::SkypeControl1NotSupportedError(const QByteArray &message) {
    Guarded(log, [&] { log.WriteLog(QStringLiteral("SkypeControl1NotSupportedError: ") + Text(message)); });
}

void TMainForm::SkypeControl1CopyData(const QByteArray &rawData) {
    Guarded(log, [&] {
        log.WriteLog(QStringLiteral("SkypeControl1CopyData: ") + Text(rawData));
        supervisor.CopyData(rawData);
    });
}

void TMainForm::AttachTimerTimer() {
    Guarded(log, [&] { supervisor.AttachTimerTimer(); });
}

void TMainForm::PingTimerTimer() {
    Guarded(log, [&] { supervisor.PingTimerTimer(); });
}

void TMainForm::TBMnuReconnectSkypeClick() {
    Guarded(log, [&] { SkypeControl1.Attach(SkypeProtocol); });
}
