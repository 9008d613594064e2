#pragma once
// Where the program's web servers live. Every host name is in this one header; the two environment
// variables (scheme, host and port, no path) override them, so tests and demos can point at loopback.

#include <QByteArray>
#include <QString>

namespace SiteDefaults {

inline constexpr char PresenceUrl[] = "http://presence.orvi.net";
inline constexpr char SiteUrl[] = "http://www.orvi.net";
// The outside site that makes web presence buttons ("/default.php?username=" is appended).
inline constexpr char PresenceButtonSiteUrl[] = "http://buttons.orvi.net";

// Salt of the presence token; the presence server must be run with the same one.
inline constexpr char PresenceSalt[] = "Hd5s.Wn3*Lg8vQe";

// The value of an environment variable, else the fallback; a trailing "/" is dropped because the
// paths appended to it start with one.
inline QString BaseUrl(const char *variable, const char *fallback) {
    QString url = qEnvironmentVariable(variable).trimmed();
    if (url.isEmpty()) url = QString::fromLatin1(fallback);
    while (url.endsWith(QLatin1Char('/')))
        url.chop(1);
    return url;
}

inline QString PresenceServerUrl() {
    return BaseUrl("ORVI_PRESENCE_URL", PresenceUrl);
}
inline QString ProductSiteUrl() {
    return BaseUrl("ORVI_SITE_URL", SiteUrl);
}

} // namespace SiteDefaults
