#pragma once
// The web status code published for a user and the fixed tables that lead to it and show it.

#include "skype/SkypeControlConst.h"

#include <QByteArray>
#include <QList>
#include <QString>

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
int FromSkypeStatus(TSkypeUserStatus status);
// The stored separate web status (ONCALL included); anything else, the empty text too, is OFFLINE.
int FromWord(const QByteArray &word);
// The word of a published code; empty for a code that has none (8, or outside the table).
QByteArray ToWord(int code);

// What a control shows for a status: its text and the image index of the web-status menu.
struct TLook {
    QString text;
    int imageIndex;
    friend bool operator==(const TLook &, const TLook &) = default;
};

// The web-status button for the stored separate status; "Online" for a word that is not a menu word.
TLook ButtonLook(const QByteArray &storedWord);
// The "currently being shown on the web as" label for a published word; INVISIBLE shows as Offline,
// a word outside the table as Online.
TLook PublishedLook(const QByteArray &word);

// The web-status menu, in its order: component name, caption, image index and the word it stores.
struct TMenuItem {
    const char *name;
    const char *caption;
    int imageIndex;
    const char *word;
};
const QList<TMenuItem> &MenuItems();

} // namespace WebStatus
