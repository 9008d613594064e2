#pragma once
// An in-process Skype transport: records what the component sends and lets a test play Skype's side
// (attach statuses, notifications, replies given while a command is being taken).

#include "skype/SkypeTransport.h"

#include <QByteArray>
#include <QList>

#include <functional>
#include <utility>

class FakeSkypeTransport final : public TSkypeTransport {
public:
    struct TSentCommand {
        TSkypeWindow window;
        QByteArray text;
        bool operator==(const TSentCommand &) const = default;
    };

    bool registerResult = true;
    bool sendResult = true;
    int broadcastResult = 1;

    int broadcasts = 0;
    QList<TSentCommand> sent;

    // Runs inside Broadcast, so a test can answer the discover request before it returns.
    std::function<void()> onBroadcast;
    // Replies that Skype gives while taking a command; delivered from the window the command went to,
    // before Send returns.
    std::function<QList<QByteArray>(const QByteArray &command)> autoReply;

    bool Register() override { return registerResult; }

    int Broadcast() override {
        ++broadcasts;
        if (onBroadcast) onBroadcast();
        return broadcastResult;
    }

    bool Send(const TSkypeWindow &skypeWindow, const QByteArray &text) override {
        sent.append({skypeWindow, text});
        if (!sendResult) return false;
        if (autoReply)
            for (const QByteArray &reply : autoReply(text))
                DeliverNotification(skypeWindow, reply);
        return true;
    }

    // Both return whether the component's hook handled the message (false when no hook is installed).
    bool DeliverAttach(const TSkypeWindow &window, quint32 status) {
        return AttachReply ? AttachReply(window, status) : false;
    }
    bool DeliverNotification(const TSkypeWindow &window, const QByteArray &text) {
        return CopyData ? CopyData(window, text) : false;
    }

    QList<QByteArray> SentTexts() const {
        QList<QByteArray> texts;
        for (const TSentCommand &command : sent)
            texts.append(command.text);
        return texts;
    }
};
