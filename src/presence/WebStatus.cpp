#include "presence/WebStatus.h"

#include <array>
#include <utility>

namespace WebStatus {

namespace {

constexpr std::array<std::pair<const char *, int>, 10> Words{{
    {"UNKNOWN", Unknown},
    {"ONLINE", Online},
    {"OFFLINE", Offline},
    {"AWAY", Away},
    {"NA", NA},
    {"DND", DND},
    {"INVISIBLE", Invisible},
    {"LOGGEDOUT", LoggedOut},
    {"SKYPEME", SkypeMe},
    {"ONCALL", OnCall},
}};

} // namespace

int FromWord(const QByteArray &word) {
    for (const auto &[text, code] : Words)
        if (word == text) return code == Invisible ? Offline : code;
    return Offline;
}

int FromSkypeStatusWord(const QByteArray &word) {
    // Skype has no ONCALL status; being on a call is the call tracker's to say.
    return word == "ONCALL" ? Offline : FromWord(word);
}

QByteArray ToWord(int code) {
    for (const auto &[text, value] : Words)
        if (value == code) return text;
    return {};
}

} // namespace WebStatus
