// Arbitrary bytes from "Skype" through the data hook: cut into word and rest, parsed, dispatched to
// every event. Besides crashes and sanitizer findings it traps when an event breaks what handlers
// rely on (ids not negative, list items clean, values without leading spaces).

#include "FakeSkypeTransport.h"

#include "skype/SkypeControl.h"

#include <cstddef>
#include <cstdint>

namespace {

const TSkypeWindow Skype = QStringLiteral(":1.7");

void Require(bool condition) {
    if (!condition) __builtin_trap();
}

void RequireValue(const QByteArray &value) {
    Require(!value.startsWith(' ') && !value.contains('\0'));
}

void RequireToken(const QByteArray &token) {
    Require(!token.contains(' ') && !token.contains('\0'));
}

void AssignAll(TSkypeControl &c) {
    const TNotifyEvent notify = [](TSkypeControl &) {};
    c.OnAttachSuccess = c.OnAttachPending = c.OnAttachRefused = c.OnAPINotAvailable = c.OnAPIAvailable =
        notify;
    c.OnPong = c.OnCallHistoryChanged = c.OnIMHistoryChanged = notify;
    c.OnError = [](int code, const QByteArray &text) {
        Require(code > 0);
        RequireValue(text);
    };
    c.OnUserStatus = [](TSkypeUserStatus s) { Require(!SkypeWordOf(s).isEmpty()); };
    c.OnUserInfo = [](const QByteArray &user, TSkypeUserProperty p, const QByteArray &data) {
        Require(!user.isEmpty() && !SkypeWordOf(p).isEmpty());
        RequireToken(user);
        RequireValue(data);
    };
    c.OnName = RequireValue;
    c.OnProtocol = [&c](int n) { Require(n == c.Protocol); };
    c.OnCallInfo = [](int id, TSkypeCallProperty p, const QByteArray &data) {
        Require(id >= 0 && !SkypeWordOf(p).isEmpty());
        RequireValue(data);
    };
    c.OnMessageInfo = [](int id, TSkypeMessageProperty p, const QByteArray &data) {
        Require(id >= 0 && !SkypeWordOf(p).isEmpty());
        RequireValue(data);
    };
    c.OnChatMsgInfo = [](int id, TSkypeChatMsgProperty p, const QByteArray &data) {
        Require(id >= 0 && !SkypeWordOf(p).isEmpty());
        RequireValue(data);
    };
    c.OnChatInfo = [](const QByteArray &chat, TSkypeChatProperty p, const QByteArray &data) {
        Require(!chat.isEmpty() && !SkypeWordOf(p).isEmpty());
        RequireToken(chat);
        RequireValue(data);
    };
    c.OnConnStatus = [](TSkypeConnStatus s) { Require(!SkypeWordOf(s).isEmpty()); };
    c.OnCurrentUserHandle = [](const QByteArray &h) {
        Require(!h.isEmpty());
        RequireToken(h);
    };
    c.OnSearchResult = [](TSkypeSearchType t, QList<QByteArray> list) {
        Require(!SkypeWordOf(t).isEmpty());
        for (const QByteArray &item : list) {
            Require(!item.isEmpty() && !item.contains(','));
            RequireToken(item);
        }
    };
    c.OnAudioInInfo = c.OnAudioOutInfo = RequireToken;
    c.OnMuteInfo = [](bool) {};
    c.OnPrivilegeInfo = [](TSkypePrivilege p, bool) { Require(p == spSkypeOut); };
    c.OnProfileInfo = [](TSkypeProfile p, const QByteArray &d) {
        Require(!SkypeWordOf(p).isEmpty() && !d.isEmpty());
        RequireToken(d);
    };
    c.OnVersionInfo = [](const QByteArray &v) {
        Require(!v.isEmpty());
        RequireToken(v);
    };
    c.OnNotSupportedError = [](const QByteArray &text) { Require(text.endsWith(')')); };
    c.OnCopyData = [](const QByteArray &raw) { Require(!raw.contains('\0')); };
}

} // namespace

// The first byte picks the protocol in force (-1 to 5, outside values included); the rest is the block.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    static FakeSkypeTransport transport;
    static TSkypeControl control(transport);
    static const bool ready = [] {
        AssignAll(control);
        transport.DeliverAttach(Skype, SkypeAttachStatus::Success);
        return true;
    }();
    Require(ready);
    if (size == 0) return 0;
    control.Protocol = int(data[0] % 7) - 1;
    const QByteArray block(reinterpret_cast<const char *>(data) + 1, qsizetype(size - 1));
    Require(transport.DeliverNotification(Skype, block));
    return 0;
}
