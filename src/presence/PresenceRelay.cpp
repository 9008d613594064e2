#include "presence/PresenceRelay.h"

#include "autorespond/SentMessages.h"

TPresenceRelay::TPresenceRelay(TSentMessages &sentMessages, const bool &SkypeConnected)
    : sentMessages(sentMessages), skypeConnected(SkypeConnected) {}

bool TPresenceRelay::Relay(const QString &body, int holdSeconds) {
    if (!skypeConnected) return false;
    sentMessages.SendMessageOnce(RelayAccount, body, holdSeconds);
    return true;
}

bool TPresenceRelay::RelayPresence(int code) {
    return Relay(QString::number(code), PresenceHoldSeconds);
}

bool TPresenceRelay::RelayVersion(const QString &ownVersion) {
    return Relay(ownVersion, VersionHoldSeconds);
}
