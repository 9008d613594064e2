#pragma once
// Assigns every event of a TSkypeControl and writes each firing as one readable line, so a test
// compares the whole sequence of events with one list.

#include "skype/SkypeControl.h"

#include <QByteArray>
#include <QList>

class TSkypeEventLog {
public:
    QList<QByteArray> lines;

    explicit TSkypeEventLog(TSkypeControl &control, bool withCopyData = true) {
        control.OnAttachSuccess = Notify("AttachSuccess");
        control.OnAttachPending = Notify("AttachPending");
        control.OnAttachRefused = Notify("AttachRefused");
        control.OnAPINotAvailable = Notify("APINotAvailable");
        control.OnAPIAvailable = Notify("APIAvailable");
        control.OnPong = Notify("Pong");
        control.OnCallHistoryChanged = Notify("CallHistoryChanged");
        control.OnIMHistoryChanged = Notify("IMHistoryChanged");
        control.OnError = [this](int code, const QByteArray &text) { Add("Error", Num(code), Val(text)); };
        control.OnUserStatus = [this](TSkypeUserStatus s) { Add("UserStatus", SkypeWordOf(s)); };
        control.OnUserInfo = [this](const QByteArray &user, TSkypeUserProperty p, const QByteArray &data) {
            Add("UserInfo", user, SkypeWordOf(p), Val(data));
        };
        control.OnName = [this](const QByteArray &name) { Add("Name", Val(name)); };
        control.OnProtocol = [this](int n) { Add("Protocol", Num(n)); };
        control.OnCallInfo = [this](int id, TSkypeCallProperty p, const QByteArray &data) {
            Add("CallInfo", Num(id), SkypeWordOf(p), Val(data));
        };
        control.OnMessageInfo = [this](int id, TSkypeMessageProperty p, const QByteArray &data) {
            Add("MessageInfo", Num(id), SkypeWordOf(p), Val(data));
        };
        control.OnConnStatus = [this](TSkypeConnStatus s) { Add("ConnStatus", SkypeWordOf(s)); };
        control.OnCurrentUserHandle = [this](const QByteArray &h) { Add("CurrentUserHandle", h); };
        control.OnSearchResult = [this](TSkypeSearchType t, QList<QByteArray> list) {
            Add("SearchResult", SkypeWordOf(t), Val(list.join(',')), Num(int(list.size())));
        };
        control.OnAudioInInfo = [this](const QByteArray &d) { Add("AudioIn", Val(d)); };
        control.OnAudioOutInfo = [this](const QByteArray &d) { Add("AudioOut", Val(d)); };
        control.OnMuteInfo = [this](bool muted) { Add("Mute", muted ? "true" : "false"); };
        control.OnPrivilegeInfo = [this](TSkypePrivilege p, bool granted) {
            Add("Privilege", SkypeWordOf(p), granted ? "true" : "false");
        };
        control.OnProfileInfo = [this](TSkypeProfile p, const QByteArray &d) {
            Add("Profile", SkypeWordOf(p), Val(d));
        };
        control.OnVersionInfo = [this](const QByteArray &v) { Add("Version", v); };
        control.OnChatInfo = [this](const QByteArray &chat, TSkypeChatProperty p, const QByteArray &data) {
            Add("ChatInfo", chat, SkypeWordOf(p), Val(data));
        };
        control.OnChatMsgInfo = [this](int id, TSkypeChatMsgProperty p, const QByteArray &data) {
            Add("ChatMsgInfo", Num(id), SkypeWordOf(p), Val(data));
        };
        control.OnNotSupportedError = [this](const QByteArray &text) { Add("NotSupported", Val(text)); };
        if (withCopyData) control.OnCopyData = [this](const QByteArray &raw) { Add("CopyData", Val(raw)); };
    }

    // The lines written as one text, " | " between them: the form the test tables use.
    QByteArray Joined() const { return lines.join(" | "); }

private:
    TNotifyEvent Notify(const char *name) {
        return [this, name](TSkypeControl &) { Add(name); };
    }
    static QByteArray Num(int n) { return QByteArray::number(n); }
    // Values in brackets, so leading and trailing spaces show.
    static QByteArray Val(const QByteArray &text) { return '[' + text + ']'; }
    template <typename... P> void Add(const QByteArray &name, const P &...parts) {
        QByteArray line = name;
        ((line += ' ' + QByteArray(parts)), ...);
        lines.append(line);
    }
};
