#include "skype/SkypeControl.h"

#include <charconv>
#include <utility>

namespace {

constexpr QByteArrayView Space(" ");
constexpr QByteArrayView SpaceComma(" ,");

// The notes on received members keep their long-standing wording, misspelling and all, because trace
// logs and handlers have always seen it; the search-list note was spelled right from the start.
constexpr const char *ReveivedTail = "\" should not have been reveived (Protocol ";
constexpr const char *ReceivedTail = "\" should not have been received (Protocol ";

// Texts are cut as views; they become owned byte arrays only when a handler is there to take them.
template <typename T> T &&Pass(T &&value) {
    return std::forward<T>(value);
}
QByteArray Pass(QByteArrayView text) {
    return text.toByteArray();
}

// Fires an event when it is assigned. The handler runs from a copy, so a handler that reassigns or
// clears its own event while it runs does not destroy itself.
template <typename F, typename... A> void Fire(const F &event, A &&...args) {
    if (!event) return;
    const F handler = event;
    handler(Pass(std::forward<A>(args))...);
}

// A decimal number filling the whole token (an optional minus sign, digits, within int); nothing else.
int DecimalOr(QByteArrayView token, int fallback) {
    int value = 0;
    const auto [ptr, ec] = std::from_chars(token.begin(), token.end(), value);
    return !token.isEmpty() && ec == std::errc() && ptr == token.end() ? value : fallback;
}

bool IsIn(QByteArrayView delimiters, char c) {
    return delimiters.indexOf(c) >= 0;
}

// The tokenizer itself, over a view: cuts the next token off `rest` and leaves `rest` after the
// delimiters that follow it.
QByteArrayView CutToken(QByteArrayView &rest, QByteArrayView delimiters = Space) {
    qsizetype pos = 0;
    while (pos < rest.size() && IsIn(delimiters, rest[pos]))
        ++pos;
    const qsizetype start = pos;
    while (pos < rest.size() && !IsIn(delimiters, rest[pos]))
        ++pos;
    const QByteArrayView token = rest.sliced(start, pos - start);
    while (pos < rest.size() && IsIn(delimiters, rest[pos]))
        ++pos;
    rest = rest.sliced(pos);
    return token;
}

QByteArray ProtocolNote(const char *prefix, QByteArrayView word, const char *tail, int protocol) {
    return prefix + ('"' + word.toByteArray()) + tail + QByteArray::number(protocol) + ')';
}

} // namespace

const TSkypeControl::TRuleEntry TSkypeControl::rules[] = {
    {"ERROR", &TSkypeControl::RuleError},
    {"USERSTATUS", &TSkypeControl::RuleUserStatus},
    {"USER", &TSkypeControl::RuleUser},
    {"NAME", &TSkypeControl::RuleName},
    {"PROTOCOL", &TSkypeControl::RuleProtocol},
    {"PONG", &TSkypeControl::RulePong},
    {"CALL", &TSkypeControl::RuleCall},
    {"MESSAGE", &TSkypeControl::RuleMessage},
    {"CONNSTATUS", &TSkypeControl::RuleConnStatus},
    {"CURRENTUSERHANDLE", &TSkypeControl::RuleCurrentUserHandle},
    {"USERS", &TSkypeControl::RuleSearchList},
    {"FRIENDS", &TSkypeControl::RuleSearchList},
    {"CALLS", &TSkypeControl::RuleSearchList},
    {"MISSEDCALLS", &TSkypeControl::RuleSearchList},
    {"MESSAGES", &TSkypeControl::RuleSearchList},
    {"MISSEDMESSAGES", &TSkypeControl::RuleSearchList},
    {"CHATS", &TSkypeControl::RuleSearchList},
    {"CHATMESSAGES", &TSkypeControl::RuleSearchList},
    {"CALLHISTORYCHANGED", &TSkypeControl::RuleCallHistoryChanged},
    {"IMHISTORYCHANGED", &TSkypeControl::RuleIMHistoryChanged},
    {"AUDIO_IN", &TSkypeControl::RuleAudioIn},
    {"AUDIO_OUT", &TSkypeControl::RuleAudioOut},
    {"MUTE", &TSkypeControl::RuleMute},
    {"PRIVILEGE", &TSkypeControl::RulePrivilege},
    {"PROFILE", &TSkypeControl::RuleProfile},
    {"SKYPEVERSION", &TSkypeControl::RuleSkypeVersion},
    {"CHAT", &TSkypeControl::RuleChat},
    {"CHATMESSAGE", &TSkypeControl::RuleChatMessage},
};

TSkypeControl::TSkypeControl(TSkypeTransport &transport) : transport(transport) {
    if (!transport.Register()) return;
    transport.AttachReply = [this](const TSkypeWindow &sender, quint32 status) {
        return HandleAttachReply(sender, status);
    };
    transport.CopyData = [this](const TSkypeWindow &sender, const QByteArray &data) {
        return HandleCopyData(sender, data);
    };
    Hooked = true;
}

TSkypeControl::~TSkypeControl() {
    if (!Hooked) return;
    transport.AttachReply = nullptr;
    transport.CopyData = nullptr;
}

int TSkypeControl::Attach(int protocol) {
    Protocol = protocol;
    // Without the hook nobody would hear Skype's answer.
    return Hooked ? transport.Broadcast() : 0;
}

bool TSkypeControl::SendCommand(const QByteArray &text) {
    if (text.isEmpty() || !Attached) return true;
    // Skype reads a command up to its zero byte; one inside the text would make it act on a cut command.
    if (text.contains('\0')) return false;
    return transport.Send(SkypeWindow, text);
}

void TSkypeControl::NextToken(QByteArray &s, QByteArrayView delimiters, QByteArray &token) {
    QByteArrayView rest(s);
    token = CutToken(rest, delimiters).toByteArray();
    s = s.last(rest.size());
}

bool TSkypeControl::HandleAttachReply(const TSkypeWindow &sender, quint32 status) {
    switch (status) {
    case SkypeAttachStatus::Success:
        SkypeWindow = sender;
        Attached = true;
        SendCommand("NAME " + IdentName);
        SendCommand("PROTOCOL " + QByteArray::number(Protocol));
        Fire(OnAttachSuccess, *this);
        return true;
    case SkypeAttachStatus::PendingAuthorization:
        Fire(OnAttachPending, *this);
        return true;
    case SkypeAttachStatus::Refused:
        Fire(OnAttachRefused, *this);
        return true;
    case SkypeAttachStatus::NotAvailable:
        Fire(OnAPINotAvailable, *this);
        return true;
    case SkypeAttachStatus::Available:
        if (AutoReAttach) Attach(4);
        Fire(OnAPIAvailable, *this);
        return true;
    default:
        return false;
    }
}

bool TSkypeControl::HandleCopyData(const TSkypeWindow &sender, const QByteArray &data) {
    // Before the first attachment there is no Skype window, and no sender can be it.
    if (SkypeWindow.isEmpty() || sender != SkypeWindow) return false;
    const qsizetype zero = data.indexOf('\0');
    const QByteArray text = zero < 0 ? data : data.first(zero);
    Fire(OnCopyData, text);
    QByteArrayView rest(text);
    const QByteArrayView word = CutToken(rest);
    Dispatch(word, rest);
    return true;
}

void TSkypeControl::ProcessNotification(const QByteArray &word, const QByteArray &rest) {
    // Held here, so a handler that changes the caller's arrays cannot pull the text from under the views.
    const QByteArray heldWord = word;
    const QByteArray heldRest = rest;
    Dispatch(heldWord, heldRest);
}

void TSkypeControl::Dispatch(QByteArrayView word, QByteArrayView rest) {
    if (word.isEmpty()) return;
    for (const TRuleEntry &entry : rules) {
        if (word == entry.word) {
            (this->*entry.rule)(word, rest);
            return;
        }
    }
}

template <typename E> void TSkypeControl::GateCheck(E member, QByteArrayView word, const char *prefix) {
    if (!SkypeSupports(member, Protocol))
        Fire(OnNotSupportedError, ProtocolNote(prefix, word, ReveivedTail, Protocol));
}

template <typename E, typename Event>
void TSkypeControl::IdPropertyValue(QByteArrayView &rest, const char *prefix, const Event &event) {
    const int id = DecimalOr(CutToken(rest), -1);
    if (id < 0) return;
    const QByteArrayView propertyWord = CutToken(rest);
    const E property = SkypeMemberOf<E>(propertyWord);
    GateCheck(property, propertyWord, prefix);
    Fire(event, id, property, rest);
}

void TSkypeControl::RuleError(QByteArrayView, QByteArrayView &rest) {
    const int code = DecimalOr(CutToken(rest), 0);
    if (code > 0) Fire(OnError, code, rest);
}

void TSkypeControl::RuleUserStatus(QByteArrayView, QByteArrayView &rest) {
    const QByteArrayView statusWord = CutToken(rest);
    if (statusWord.isEmpty()) return;
    const auto status = SkypeMemberOf<TSkypeUserStatus>(statusWord);
    GateCheck(status, statusWord, "Received Userstatus ");
    Fire(OnUserStatus, status);
}

void TSkypeControl::RuleUser(QByteArrayView, QByteArrayView &rest) {
    const QByteArrayView username = CutToken(rest);
    if (username.isEmpty()) return;
    const QByteArrayView propertyWord = CutToken(rest);
    const auto property = SkypeMemberOf<TSkypeUserProperty>(propertyWord);
    GateCheck(property, propertyWord, "Received user property ");
    Fire(OnUserInfo, username, property, rest);
}

void TSkypeControl::RuleName(QByteArrayView, QByteArrayView &rest) {
    Fire(OnName, rest);
}

void TSkypeControl::RuleProtocol(QByteArrayView, QByteArrayView &rest) {
    Protocol = DecimalOr(CutToken(rest), 1);
    Fire(OnProtocol, Protocol);
}

void TSkypeControl::RulePong(QByteArrayView, QByteArrayView &) {
    Fire(OnPong, *this);
}

void TSkypeControl::RuleCall(QByteArrayView, QByteArrayView &rest) {
    IdPropertyValue<TSkypeCallProperty>(rest, "Received call property ", OnCallInfo);
}

void TSkypeControl::RuleMessage(QByteArrayView, QByteArrayView &rest) {
    IdPropertyValue<TSkypeMessageProperty>(rest, "Received message property ", OnMessageInfo);
}

void TSkypeControl::RuleChatMessage(QByteArrayView, QByteArrayView &rest) {
    IdPropertyValue<TSkypeChatMsgProperty>(rest, "Received chatmessage property ", OnChatMsgInfo);
}

void TSkypeControl::RuleConnStatus(QByteArrayView, QByteArrayView &rest) {
    const QByteArrayView statusWord = CutToken(rest);
    if (statusWord.isEmpty()) return;
    const auto status = SkypeMemberOf<TSkypeConnStatus>(statusWord);
    GateCheck(status, statusWord, "Received Connstatus ");
    Fire(OnConnStatus, status);
}

void TSkypeControl::RuleCurrentUserHandle(QByteArrayView, QByteArrayView &rest) {
    const QByteArrayView handle = CutToken(rest);
    if (!handle.isEmpty()) Fire(OnCurrentUserHandle, handle);
}

void TSkypeControl::RuleSearchList(QByteArrayView word, QByteArrayView &rest) {
    QList<QByteArray> list;
    for (QByteArrayView item = CutToken(rest, SpaceComma); !item.isEmpty(); item = CutToken(rest, SpaceComma))
        list.append(item.toByteArray());
    const auto searchType = SkypeMemberOf<TSkypeSearchType>(word);
    if (!SkypeSupports(searchType, Protocol))
        Fire(OnNotSupportedError,
             ProtocolNote("Search result of type ", SkypeWordOf(searchType), ReceivedTail, Protocol));
    Fire(OnSearchResult, searchType, std::move(list));
}

void TSkypeControl::RuleCallHistoryChanged(QByteArrayView, QByteArrayView &) {
    Fire(OnCallHistoryChanged, *this);
}

void TSkypeControl::RuleIMHistoryChanged(QByteArrayView, QByteArrayView &) {
    Fire(OnIMHistoryChanged, *this);
}

void TSkypeControl::RuleAudioIn(QByteArrayView, QByteArrayView &rest) {
    Fire(OnAudioInInfo, CutToken(rest));
}

void TSkypeControl::RuleAudioOut(QByteArrayView, QByteArrayView &rest) {
    Fire(OnAudioOutInfo, CutToken(rest));
}

void TSkypeControl::RuleMute(QByteArrayView, QByteArrayView &rest) {
    const QByteArrayView value = CutToken(rest);
    if (!value.isEmpty()) Fire(OnMuteInfo, value == "ON");
}

void TSkypeControl::RulePrivilege(QByteArrayView, QByteArrayView &rest) {
    const QByteArrayView privWord = CutToken(rest);
    if (privWord.isEmpty()) return;
    const auto priv = SkypeMemberOf<TSkypePrivilege>(privWord);
    const QByteArrayView value = CutToken(rest);
    GateCheck(priv, privWord, "Received privilege info ");
    if (!value.isEmpty()) Fire(OnPrivilegeInfo, priv, value == "TRUE");
}

void TSkypeControl::RuleProfile(QByteArrayView, QByteArrayView &rest) {
    const QByteArrayView propertyWord = CutToken(rest);
    if (propertyWord.isEmpty()) return;
    const auto property = SkypeMemberOf<TSkypeProfile>(propertyWord);
    const QByteArrayView value = CutToken(rest);
    GateCheck(property, propertyWord, "Received profile info ");
    if (!value.isEmpty()) Fire(OnProfileInfo, property, value);
}

void TSkypeControl::RuleSkypeVersion(QByteArrayView, QByteArrayView &rest) {
    const QByteArrayView version = CutToken(rest);
    if (!version.isEmpty()) Fire(OnVersionInfo, version);
}

void TSkypeControl::RuleChat(QByteArrayView, QByteArrayView &rest) {
    const QByteArrayView chatname = CutToken(rest);
    if (chatname.isEmpty()) return;
    const QByteArrayView propertyWord = CutToken(rest);
    const auto property = SkypeMemberOf<TSkypeChatProperty>(propertyWord);
    GateCheck(property, propertyWord, "Received chat property ");
    Fire(OnChatInfo, chatname, property, rest);
}

// Commands.

template <typename E>
void TSkypeControl::SendChecked(E member, bool supported, const char *refusalPrefix, const QByteArray &text) {
    if (supported)
        SendCommand(text);
    else
        Fire(OnNotSupportedError,
             ProtocolNote(refusalPrefix, SkypeWordOf(member), "\" not supported (Protocol ", Protocol));
}

void TSkypeControl::Search(TSkypeSearchType searchType, const QByteArray &text) {
    SendChecked(searchType, SkypeSupports(searchType, Protocol), "Searchtype ",
                "SEARCH " + SkypeWordOf(searchType) + ' ' + text);
}

void TSkypeControl::GetUserProperty(const QByteArray &username, TSkypeUserProperty property) {
    SendChecked(property, SkypeSupports(property, Protocol), "User property ",
                "GET USER " + username + ' ' + SkypeWordOf(property));
}

void TSkypeControl::GetCallProperty(int callId, TSkypeCallProperty property) {
    SendChecked(property, SkypeSupports(property, Protocol), "Call property ",
                "GET CALL " + QByteArray::number(callId) + ' ' + SkypeWordOf(property));
}

void TSkypeControl::GetChatMessageProperty(int chatMsgId, TSkypeChatMsgProperty property) {
    SendChecked(property, SkypeSupports(property, Protocol), "Chatmessage property ",
                "GET CHATMESSAGE " + QByteArray::number(chatMsgId) + ' ' + SkypeWordOf(property));
}

void TSkypeControl::GetPrivilege(TSkypePrivilege priv) {
    SendChecked(priv, SkypeSupports(priv, Protocol), "Privilege ", "GET PRIVILEGE " + SkypeWordOf(priv));
}

void TSkypeControl::GetProfile(TSkypeProfile property) {
    SendChecked(property, SkypeSupports(property, Protocol), "Profile ",
                "GET PROFILE " + SkypeWordOf(property));
}

void TSkypeControl::SetCallProperty(int callId, TSkypeCallProperty property, const QByteArray &value) {
    SendChecked(property, SkypeCanSetCallProperty(property, Protocol), "Setting call property ",
                "SET CALL " + QByteArray::number(callId) + ' ' + SkypeWordOf(property) + ' ' + value);
}

bool TSkypeControl::GetUserStatus() {
    return SendCommand("GET USERSTATUS");
}

bool TSkypeControl::GetCurrentUserHandle() {
    return SendCommand("GET CURRENTUSERHANDLE");
}

bool TSkypeControl::GetSkypeVersion() {
    return SendCommand("GET SKYPEVERSION");
}

bool TSkypeControl::SetMute(bool on) {
    return SendCommand(on ? "SET MUTE ON" : "SET MUTE OFF");
}

void TSkypeControl::PlaceCall(const QByteArray &target) {
    SendCommand("CALL " + target);
}

void TSkypeControl::Voicemail(const QByteArray &username) {
    SendCommand("VOICEMAIL " + username);
}

void TSkypeControl::CreateChat(const QByteArray &members) {
    SendCommand("CHAT CREATE " + members);
}

void TSkypeControl::OpenFileTransfer(const QByteArray &users) {
    SendCommand("OPEN FILETRANSFER " + users);
}

void TSkypeControl::SendIM(const QByteArray &username, const QByteArray &text) {
    SendCommand("MESSAGE " + username + ' ' + text);
}

bool TSkypeControl::OpenAddAFriend() {
    return SendCommand("OPEN ADDAFRIEND");
}

void TSkypeControl::OpenIM(const QByteArray &username, const QByteArray &text) {
    SendCommand("OPEN IM " + username + ' ' + text);
}

void TSkypeControl::OpenChat(const QByteArray &chatname) {
    SendCommand("OPEN CHAT " + chatname);
}

void TSkypeControl::SetChatTopic(const QByteArray &chatname, const QByteArray &topic) {
    SendCommand("ALTER CHAT " + chatname + " SETTOPIC " + topic);
}

bool TSkypeControl::Focus() {
    return SendCommand("FOCUS");
}

bool TSkypeControl::Ping() {
    return SendCommand("PING");
}
