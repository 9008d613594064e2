#pragma once
// The program's link to the Skype client: attachment, sending command texts, and turning Skype's
// notifications into typed events. Events are plain callbacks, fired synchronously and only when
// assigned; a handler may send commands and so be entered again by the reply (nothing is locked).

#include "skype/SkypeControlConst.h"
#include "skype/SkypeTransport.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

#include <functional>

class TSkypeControl;

using TNotifyEvent = std::function<void(TSkypeControl &sender)>;
using TSkypeErrorNotify = std::function<void(int code, const QByteArray &description)>;
using TSkypeUserStatusNotify = std::function<void(TSkypeUserStatus userStatus)>;
using TSkypeUserNotify =
    std::function<void(const QByteArray &username, TSkypeUserProperty userProperty, const QByteArray &data)>;
using TSkypeNameNotify = std::function<void(const QByteArray &name)>;
using TSkypeProtocolNotify = std::function<void(int protocolNumber)>;
using TSkypeCallNotify =
    std::function<void(int callId, TSkypeCallProperty callProperty, const QByteArray &data)>;
using TSkypeMessageNotify =
    std::function<void(int messageId, TSkypeMessageProperty messageProperty, const QByteArray &data)>;
using TSkypeConnStatusNotify = std::function<void(TSkypeConnStatus connStatus)>;
using TSkypeCurrentUserHandleNotify = std::function<void(const QByteArray &userHandle)>;
// The list is the handler's own copy.
using TSkypeSearchNotify = std::function<void(TSkypeSearchType searchType, QList<QByteArray> list)>;
using TSkypeAudioNotify = std::function<void(const QByteArray &device)>;
using TSkypeMuteNotify = std::function<void(bool muted)>;
using TSkypePrivilegeNotify = std::function<void(TSkypePrivilege priv, bool granted)>;
using TSkypeProfileNotify = std::function<void(TSkypeProfile priv, const QByteArray &data)>;
using TSkypeVersionNotify = std::function<void(const QByteArray &version)>;
using TSkypeChatNotify =
    std::function<void(const QByteArray &chatname, TSkypeChatProperty chatProperty, const QByteArray &data)>;
using TSkypeChatMsgNotify =
    std::function<void(int chatMsgId, TSkypeChatMsgProperty chatMsgProperty, const QByteArray &data)>;
using TNotSupportedErrorNotify = std::function<void(const QByteArray &errormsg)>;
using TSkypeCopyData = std::function<void(const QByteArray &rawdata)>;

class TSkypeControl {
public:
    // Registers with the transport and, when that works, installs the reply and data hooks on it.
    // The transport must outlive the component.
    explicit TSkypeControl(TSkypeTransport &transport);
    ~TSkypeControl();
    TSkypeControl(const TSkypeControl &) = delete;
    TSkypeControl &operator=(const TSkypeControl &) = delete;

    bool Hooked = false;
    TSkypeWindow SkypeWindow;
    bool Attached = false;
    QByteArray IdentName = "Orvi";
    bool AutoReAttach = false;
    int Protocol = -1;

    TNotifyEvent OnAttachSuccess;
    TNotifyEvent OnAttachPending;
    TNotifyEvent OnAttachRefused;
    TNotifyEvent OnAPINotAvailable;
    TNotifyEvent OnAPIAvailable;
    TSkypeErrorNotify OnError;
    TSkypeUserStatusNotify OnUserStatus;
    TSkypeUserNotify OnUserInfo;
    TSkypeNameNotify OnName;
    TSkypeProtocolNotify OnProtocol;
    TNotifyEvent OnPong;
    TSkypeCallNotify OnCallInfo;
    TSkypeMessageNotify OnMessageInfo;
    TSkypeConnStatusNotify OnConnStatus;
    TSkypeCurrentUserHandleNotify OnCurrentUserHandle;
    TSkypeSearchNotify OnSearchResult;
    TNotifyEvent OnCallHistoryChanged;
    TNotifyEvent OnIMHistoryChanged;
    TSkypeAudioNotify OnAudioInInfo;
    TSkypeAudioNotify OnAudioOutInfo;
    TSkypeMuteNotify OnMuteInfo;
    TSkypePrivilegeNotify OnPrivilegeInfo;
    TSkypeProfileNotify OnProfileInfo;
    TSkypeVersionNotify OnVersionInfo;
    TSkypeChatNotify OnChatInfo;
    TSkypeChatMsgNotify OnChatMsgInfo;
    TNotSupportedErrorNotify OnNotSupportedError;
    TSkypeCopyData OnCopyData;

    // Sets the protocol to ask for and sends the discover broadcast; returns what the broadcast
    // returned (0 without a broadcast when the component is inert).
    int Attach(int protocol);
    // Sends one command text to the attached Skype. Sends nothing and returns true when the text is
    // empty or nothing is attached yet; false when the transport failed or the text holds a zero byte.
    bool SendCommand(const QByteArray &text);

    // Cuts the next token off `s`: skips delimiters, takes characters up to the next delimiter, skips
    // the delimiters after it and leaves the rest in `s`.
    static void NextToken(QByteArray &s, QByteArrayView delimiters, QByteArray &token);

    // Turns one notification (its first word and the rest) into events.
    void ProcessNotification(const QByteArray &word, const QByteArray &rest);

    // Commands checked against the protocol in force: refused through OnNotSupportedError, unsent,
    // when the protocol does not know the member.
    void Search(TSkypeSearchType searchType, const QByteArray &text);
    void GetUserProperty(const QByteArray &username, TSkypeUserProperty property);
    void GetCallProperty(int callId, TSkypeCallProperty property);
    void GetChatMessageProperty(int chatMsgId, TSkypeChatMsgProperty property);
    void GetPrivilege(TSkypePrivilege priv);
    void GetProfile(TSkypeProfile property);
    void SetCallProperty(int callId, TSkypeCallProperty property, const QByteArray &value);

    bool GetUserStatus();
    bool GetCurrentUserHandle();
    bool GetSkypeVersion();
    bool SetMute(bool on);
    void PlaceCall(const QByteArray &target);
    void Voicemail(const QByteArray &username);
    void CreateChat(const QByteArray &members);
    void OpenFileTransfer(const QByteArray &users);
    void SendIM(const QByteArray &username, const QByteArray &text);
    bool OpenAddAFriend();
    void OpenIM(const QByteArray &username, const QByteArray &text);
    void OpenChat(const QByteArray &chatname);
    void SetChatTopic(const QByteArray &chatname, const QByteArray &topic);
    bool Focus();
    bool Ping();

private:
    using TRule = void (TSkypeControl::*)(QByteArrayView word, QByteArrayView &rest);
    struct TRuleEntry {
        QByteArrayView word;
        TRule rule;
    };
    static const TRuleEntry rules[];

    bool HandleAttachReply(const TSkypeWindow &sender, quint32 status);
    bool HandleCopyData(const TSkypeWindow &sender, const QByteArray &data);
    void Dispatch(QByteArrayView word, QByteArrayView rest);

    template <typename E> void GateCheck(E member, QByteArrayView word, const char *prefix);
    template <typename E>
    void SendChecked(E member, bool supported, const char *refusalPrefix, const QByteArray &text);

    void RuleError(QByteArrayView word, QByteArrayView &rest);
    void RuleUserStatus(QByteArrayView word, QByteArrayView &rest);
    void RuleUser(QByteArrayView word, QByteArrayView &rest);
    void RuleName(QByteArrayView word, QByteArrayView &rest);
    void RuleProtocol(QByteArrayView word, QByteArrayView &rest);
    void RulePong(QByteArrayView word, QByteArrayView &rest);
    void RuleCall(QByteArrayView word, QByteArrayView &rest);
    void RuleMessage(QByteArrayView word, QByteArrayView &rest);
    void RuleChatMessage(QByteArrayView word, QByteArrayView &rest);
    void RuleConnStatus(QByteArrayView word, QByteArrayView &rest);
    void RuleCurrentUserHandle(QByteArrayView word, QByteArrayView &rest);
    void RuleSearchList(QByteArrayView word, QByteArrayView &rest);
    void RuleCallHistoryChanged(QByteArrayView word, QByteArrayView &rest);
    void RuleIMHistoryChanged(QByteArrayView word, QByteArrayView &rest);
    void RuleAudioIn(QByteArrayView word, QByteArrayView &rest);
    void RuleAudioOut(QByteArrayView word, QByteArrayView &rest);
    void RuleMute(QByteArrayView word, QByteArrayView &rest);
    void RulePrivilege(QByteArrayView word, QByteArrayView &rest);
    void RuleProfile(QByteArrayView word, QByteArrayView &rest);
    void RuleSkypeVersion(QByteArrayView word, QByteArrayView &rest);
    void RuleChat(QByteArrayView word, QByteArrayView &rest);

    // The shared shape of CALL, MESSAGE and CHATMESSAGE: numeric id, property word, value.
    template <typename E, typename Event>
    void IdPropertyValue(QByteArrayView &rest, const char *prefix, const Event &event);

    TSkypeTransport &transport;
};
