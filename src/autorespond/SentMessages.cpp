#include "autorespond/SentMessages.h"

#include <algorithm>
#include <utility>

namespace {

bool SameText(const QByteArray &a, const QByteArray &b) {
    return QString::fromUtf8(a).compare(QString::fromUtf8(b), Qt::CaseInsensitive) == 0;
}

} // namespace

TSentMessages::TSentMessages(const TClock &clock, TSendIM sendIM) : clock(clock), sendIM(std::move(sendIM)) {}

void TSentMessages::Expire(qint64 now) {
    items.removeIf([now](const TSentMessageItem &item) { return now - item.SentTick > item.HoldMs; });
}

bool TSentMessages::IsHeld(const QByteArray &recipient, const QByteArray &text) const {
    return std::any_of(items.cbegin(), items.cend(), [&](const TSentMessageItem &item) {
        return SameText(item.Recipient, recipient) && SameText(item.MessageText, text);
    });
}

void TSentMessages::SendMessageOnce(const QByteArray &Recipient, const QString &Text, int HoldSeconds) {
    try {
        const qint64 now = clock.NowMs();
        Expire(now);
        const QByteArray text = Text.toUtf8();
        if (IsHeld(Recipient, text)) return;
        sendIM(Recipient, text);
        items.append({Recipient, text, now, qint64(HoldSeconds) * 1000});
    } catch (...) {
        // A failed send must never break the handler that asked for it.
    }
}
