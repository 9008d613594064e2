#pragma once
// The guarded instant-message sender: the same text to the same person goes out at most once within a
// hold time chosen by the caller. Every message the program sends to others on its own goes through it.

#include "sysutil/Clock.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <functional>

struct TSentMessageItem {
    QByteArray Recipient;
    QByteArray MessageText;
    qint64 SentTick = 0; // clock milliseconds; 64-bit, so the hold works however long the system has run
    qint64 HoldMs = 0;
};

class TSentMessages {
public:
    // Sends one instant message to a Skype name; the shell binds it to SkypeControl1.SendIM.
    using TSendIM = std::function<void(const QByteArray &recipient, const QByteArray &text)>;

    TSentMessages(const TClock &clock, TSendIM sendIM);

    // Sends Text unless the same text (letter case ignored) went to the same person (likewise) no more
    // than HoldSeconds ago. The hold is kept per entry, so a short hold never shortens a long one.
    // Never throws; a send that fails is not retried within the hold.
    void SendMessageOnce(const QByteArray &Recipient, const QString &Text, int HoldSeconds);

    const QList<TSentMessageItem> &Items() const { return items; }

private:
    void Expire(qint64 now);
    bool IsHeld(const QByteArray &recipient, const QByteArray &text) const;

    const TClock &clock;
    TSendIM sendIM;
    QList<TSentMessageItem> items;
};
