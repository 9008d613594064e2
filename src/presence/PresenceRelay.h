#pragma once
// The fallback for users who cannot reach our web servers while Skype works: what the server should
// have received goes as a chat message to the relay account, which passes it on. The message carries
// only the value; Skype tells the relay who sent it.

#include <QString>

class TSentMessages;

class TPresenceRelay {
public:
    static constexpr char RelayAccount[] = "orvi-presence-relay-server";
    static constexpr int PresenceHoldSeconds = 5;
    static constexpr int VersionHoldSeconds = 60;

    // SkypeConnected is the session's flag, read at each relay.
    TPresenceRelay(TSentMessages &sentMessages, const bool &SkypeConnected);

    // Sends the web status code in decimal; false (nothing sent) while Skype is not connected. The same
    // code within 5 seconds goes out once.
    bool RelayPresence(int code);
    // Sends the program's version ("1.0.0.0"); false while Skype is not connected. Once a minute at most.
    bool RelayVersion(const QString &ownVersion);

private:
    bool Relay(const QString &body, int holdSeconds);

    TSentMessages &sentMessages;
    const bool &skypeConnected;
};
