#pragma once
// The run-time state that the features of the main window share. The main window owns the one
// instance and hands it to each feature object by reference; nothing here is saved.

#include <QByteArray>
#include <QString>

struct TSharedState {
    // From the first PONG until Skype reports CONNSTATUS LOGGEDOUT.
    bool SkypeConnected = false;
    // The Skype name Skype last reported as the current user.
    QByteArray CurrentUserHandle;
    // The word of the last user status Skype reported; empty until the first one.
    QByteArray LastSkypeStatus;
    // The user is on a call (kept by the call tracker).
    bool OnCall = false;
    // The last finished web request (presence update or version check) failed.
    bool ServerUnreachable = false;
    // Skype reported a positive SkypeOut balance during this run.
    bool SkypeOutAvailable = false;
    // The last positive SkypeOut balance as shown, for example "2.07"; empty until one arrives.
    QString SkypeOutBalanceText;
    // The Skype client's version text; cleared once a client older than 1.3 was detected.
    QByteArray SkypeVersion;
    bool SkypeVersionOK = true;
    // Synchronized browsing: the session's state and the partner's Skype name.
    enum class TSyncState { Idle, Inviting, On };
    TSyncState SyncState = TSyncState::Idle;
    QByteArray SyncPartner;
    // The user ticked "Don't show this screen again" in a splash window.
    bool DontShowAgain = false;
};
