#include "presence/WebStatus.h"

#include <array>

namespace WebStatus {

namespace {

struct TRow {
    const char *word;
    int code;
    const char *menuName; // nullptr: no menu item of its own
    const char *menuCaption;
    int menuImage;
    const char *buttonText;
    const char *shownAs;
};

constexpr std::array<TRow, 10> Rows{{
    {"UNKNOWN", Unknown, nullptr, nullptr, -1, "Online", "Online"},
    {"ONLINE", Online, "TBmnuOnline", "Online", 6, "Online", "Online"},
    {"OFFLINE", Offline, "TBmnuOffline", "Offline", 5, "Offline", "Offline"},
    {"AWAY", Away, "TBmnuAway", "Away", 7, "Away", "Away"},
    {"NA", NA, "TBmnuNA", "Not Available", 4, "NA", "NA"},
    {"DND", DND, "TBmnuDND", "Do Not Disturb", 1, "DND", "DND"},
    {"INVISIBLE", Invisible, nullptr, nullptr, -1, "Online", "Offline"},
    {"LOGGEDOUT", LoggedOut, nullptr, nullptr, -1, "Online", "Online"},
    {"SKYPEME", SkypeMe, "TBmnuSkypeMe", "Skype Me", 0, "Skype Me", "Skype Me"},
    {"ONCALL", OnCall, "TBmnuOnCall", "On a Call", 3, "On a Call", "On a Call"},
}};
const TRow &OnlineRow = Rows[1];

const TRow *RowOfWord(const QByteArray &word) {
    for (const TRow &row : Rows)
        if (word == row.word) return &row;
    return nullptr;
}

const TRow &RowOfShownText(const char *text) {
    for (const TRow &row : Rows)
        if (row.menuImage >= 0 && qstrcmp(row.shownAs, text) == 0) return row;
    return OnlineRow;
}

} // namespace

int FromWord(const QByteArray &word) {
    const TRow *row = RowOfWord(word);
    return !row || row->code == Invisible ? Offline : row->code;
}

int FromSkypeStatusWord(const QByteArray &word) {
    // Skype has no ONCALL status; being on a call is the call tracker's to say.
    return word == "ONCALL" ? Offline : FromWord(word);
}

int FromSkypeStatus(TSkypeUserStatus status) {
    return FromSkypeStatusWord(SkypeWordOf(status));
}

QByteArray ToWord(int code) {
    for (const TRow &row : Rows)
        if (row.code == code) return row.word;
    return {};
}

TLook ButtonLook(const QByteArray &storedWord) {
    const TRow *row = RowOfWord(storedWord);
    if (!row || row->menuImage < 0) return {QString::fromLatin1(OnlineRow.buttonText), OnlineRow.menuImage};
    return {QString::fromLatin1(row->buttonText), row->menuImage};
}

TLook PublishedLook(const QByteArray &word) {
    const TRow *row = RowOfWord(word);
    const char *shown = row ? row->shownAs : "Online";
    return {QString::fromLatin1(shown), RowOfShownText(shown).menuImage};
}

const QList<TMenuItem> &MenuItems() {
    static const QList<TMenuItem> items = [] {
        QList<TMenuItem> list;
        for (const char *word : {"ONLINE", "OFFLINE", "SKYPEME", "AWAY", "NA", "DND", "ONCALL"}) {
            const TRow &row = *RowOfWord(word);
            list.append({row.menuName, row.menuCaption, row.menuImage, row.word});
        }
        return list;
    }();
    return items;
}

} // namespace WebStatus
