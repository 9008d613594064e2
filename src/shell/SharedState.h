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
    // The Skype client's version text and whether it is recent enough.
    QByteArray SkypeVersion;
    bool SkypeVersionOK = true;
    // Synchronized browsing: whether a session is on, and the partner's Skype name.
    bool SyncState = false;
    QByteArray SyncPartner;
    // The user ticked "Don't show this screen again" in a splash window.
    bool DontShowAgain = false;
};
