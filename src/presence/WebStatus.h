#pragma once
// The web status code published for a user and the fixed tables that lead to it.

#include <QByteArray>

namespace WebStatus {

enum Code : int {
    Unknown = 0,
    Online = 1,
    Offline = 2,
    Away = 3,
    NA = 4,
    DND = 5,
    Invisible = 6,
    LoggedOut = 7,
    SkypeMe = 9,
    OnCall = 10,
};

// A code that may be sent to the server (0 to 10).
inline bool IsPublishable(int code) {
    return code >= 0 && code <= 10;
}

// The word of a Skype user status (compared with case); INVISIBLE becomes OFFLINE, anything unknown too.
int FromSkypeStatusWord(const QByteArray &word);
// The stored separate web status (ONCALL included); anything else, the empty text too, is OFFLINE.
int FromWord(const QByteArray &word);
// The word of a published code; empty for a code that has none (8, or outside the table).
QByteArray ToWord(int code);

} // namespace WebStatus
