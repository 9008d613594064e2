#pragma once
// The carrier between TSkypeControl and the Skype client. It plays the part of the Windows
// message channel: registering the two API messages, the discover broadcast, the attach replies,
// and the copy-data blocks in both directions. TSkypeControl never sees which backend runs.

#include <QByteArray>
#include <QString>

#include <functional>

// Identifies the peer that answered an attachment (a window on Windows, a unique bus name on D-Bus).
// Empty means "no window".
using TSkypeWindow = QString;

// The attach statuses Skype reports, as the Windows API numbers them.
namespace SkypeAttachStatus {
constexpr quint32 Success = 0;
constexpr quint32 PendingAuthorization = 1;
constexpr quint32 Refused = 2;
constexpr quint32 NotAvailable = 3;
constexpr quint32 Available = 0x8001;
} // namespace SkypeAttachStatus

class TSkypeTransport {
public:
    virtual ~TSkypeTransport() = default;

    // Prepares the channel; false leaves the component inert (no hook, no events).
    virtual bool Register() = 0;
    // The discover broadcast; returns what the broadcast returned.
    virtual int Broadcast() = 0;
    // Hands one command text to Skype and returns when Skype has taken it; false when the send failed.
    // A reply that Skype gives while taking it arrives through CopyData before this returns.
    virtual bool Send(const TSkypeWindow &skypeWindow, const QByteArray &text) = 0;

    // The hook, installed by the component. Each returns whether it handled the message.
    std::function<bool(const TSkypeWindow &sender, quint32 status)> AttachReply;
    std::function<bool(const TSkypeWindow &sender, const QByteArray &data)> CopyData;
};
