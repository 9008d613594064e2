#include "World.h"

#include <QDateTime>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRandomGenerator>

const QStringList TSimWorld::UserProperties = {
    "HANDLE",     "FULLNAME",         "BIRTHDAY",     "SEX",
    "LANGUAGE",   "COUNTRY",          "PROVINCE",     "CITY",
    "PHONE_HOME", "PHONE_OFFICE",     "PHONE_MOBILE", "HOMEPAGE",
    "ABOUT",      "HASCALLEQUIPMENT", "BUDDYSTATUS",  "ISAUTHORIZED",
    "ISBLOCKED",  "DISPLAYNAME",      "ONLINESTATUS", "LASTONLINETIMESTAMP"};

const QStringList TSimWorld::UserStatuses = {"UNKNOWN", "ONLINE",    "OFFLINE",   "AWAY",   "NA",
                                             "DND",     "INVISIBLE", "LOGGEDOUT", "SKYPEME"};

namespace {
TSimProperties PropertiesOf(const QJsonObject &object) {
    TSimProperties properties;
    for (auto it = object.begin(); it != object.end(); ++it)
        properties.insert(it.key().toUpper(),
                          it.value().isString() ? it.value().toString() : it.value().toVariant().toString());
    return properties;
}

TSimCallRule RuleOf(const QJsonObject &object) {
    TSimCallRule rule;
    rule.Outcome = object.value("outcome").toString(rule.Outcome);
    rule.AfterMs = qRound(object.value("after").toDouble(rule.AfterMs / 1000.0) * 1000);
    return rule;
}

bool ValidRule(const TSimCallRule &rule) {
    return QStringList{"answer", "refuse", "none"}.contains(rule.Outcome) && rule.AfterMs >= 0;
}
} // namespace

TSimProperties TSimWorld::Completed(TSimProperties properties) {
    static const TSimProperties defaults = {{"SEX", "UNKNOWN"},           {"HASCALLEQUIPMENT", "TRUE"},
                                            {"BUDDYSTATUS", "3"},         {"ISAUTHORIZED", "TRUE"},
                                            {"ISBLOCKED", "FALSE"},       {"ONLINESTATUS", "OFFLINE"},
                                            {"LASTONLINETIMESTAMP", "0"}, {"BIRTHDAY", "0"}};
    for (const QString &property : UserProperties)
        if (!properties.contains(property)) properties.insert(property, defaults.value(property));
    return properties;
}

TSimWorld TSimWorld::Default() {
    TSimWorld world;
    world.User = Completed({{"HANDLE", "alice"}, {"ONLINESTATUS", "ONLINE"}});
    world.Profile = {{"PSTN_BALANCE", "0"}, {"PSTN_BALANCE_CURRENCY", "EUR"}};
    world.Privileges = {{"SKYPEOUT", false}};
    return world;
}

std::optional<TSimWorld> TSimWorld::Load(const QString &path, QString *error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("cannot read %1: %2").arg(path, file.errorString());
        return std::nullopt;
    }
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll(), &parseError);
    if (!document.isObject()) {
        *error = QStringLiteral("%1 is not a JSON object: %2").arg(path, parseError.errorString());
        return std::nullopt;
    }
    const QJsonObject root = document.object();
    TSimWorld world = Default();
    if (root.contains("user")) world.User = Completed(PropertiesOf(root.value("user").toObject()));
    if (world.Handle().isEmpty()) {
        *error = QStringLiteral("the user has no HANDLE");
        return std::nullopt;
    }
    for (const QJsonValue contact : root.value("contacts").toArray()) {
        TSimProperties properties = Completed(PropertiesOf(contact.toObject()));
        if (properties.value("HANDLE").isEmpty()) {
            *error = QStringLiteral("a contact has no HANDLE");
            return std::nullopt;
        }
        world.Contacts.append(properties);
    }
    world.UserStatus = root.value("userStatus").toString(world.UserStatus);
    world.LoggedIn = root.value("loggedIn").toBool(world.LoggedIn);
    world.ConnStatus = world.LoggedIn ? QStringLiteral("ONLINE") : QStringLiteral("OFFLINE");
    world.Authorization = root.value("authorization").toString(world.Authorization);
    world.Version = root.value("version").toString(world.Version);
    world.Mute = root.value("mute").toBool(world.Mute);
    const TSimProperties profile = PropertiesOf(root.value("profile").toObject());
    for (auto it = profile.begin(); it != profile.end(); ++it)
        world.Profile.insert(it.key(), it.value());
    const QJsonObject privileges = root.value("privileges").toObject();
    for (auto it = privileges.begin(); it != privileges.end(); ++it)
        world.Privileges.insert(it.key().toUpper(), it.value().toBool());
    const QJsonObject rules = root.value("callRules").toObject();
    for (auto it = rules.begin(); it != rules.end(); ++it)
        world.CallRules.insert(it.key().toLower(), RuleOf(it.value().toObject()));
    if (root.contains("defaultCallRule"))
        world.DefaultCallRule = RuleOf(root.value("defaultCallRule").toObject());

    if (!UserStatuses.contains(world.UserStatus)) {
        *error = QStringLiteral("unknown userStatus %1").arg(world.UserStatus);
        return std::nullopt;
    }
    if (!QStringList{"allow", "refuse", "ask"}.contains(world.Authorization)) {
        *error = QStringLiteral("authorization must be allow, refuse or ask");
        return std::nullopt;
    }
    bool rulesValid = ValidRule(world.DefaultCallRule);
    for (const TSimCallRule &rule : std::as_const(world.CallRules))
        rulesValid = rulesValid && ValidRule(rule);
    if (!rulesValid) {
        *error = QStringLiteral("a call rule needs outcome answer, refuse or none and after >= 0");
        return std::nullopt;
    }
    return world;
}

bool TSimWorld::IsPhoneNumber(const QString &target) {
    return !target.isEmpty() && (target.front() == '+' || target.front().isDigit());
}

TSimProperties *TSimWorld::FindUser(const QString &handle) {
    if (handle.compare(Handle(), Qt::CaseInsensitive) == 0) return &User;
    for (TSimProperties &contact : Contacts)
        if (handle.compare(contact.value("HANDLE"), Qt::CaseInsensitive) == 0) return &contact;
    return nullptr;
}

QString TSimWorld::DisplayName(const QString &handle) {
    const TSimProperties *user = FindUser(handle);
    if (!user) return handle;
    const QString shown = user->value("DISPLAYNAME");
    return shown.isEmpty() ? user->value("FULLNAME") : shown;
}

TSimCallRule TSimWorld::RuleFor(const QString &target) const {
    return CallRules.value(target.toLower(), DefaultCallRule);
}

TSimChat &TSimWorld::DialogWith(const QString &handle) {
    for (TSimChat &chat : Chats)
        if (chat.Members.size() == 1 && chat.Members.constFirst().compare(handle, Qt::CaseInsensitive) == 0)
            return chat;
    return NewChat({handle});
}

TSimChat &TSimWorld::NewChat(const QStringList &members) {
    // Skype's own naming: a dialog carries the partner's name, a group chat only a random tag.
    const QString tag =
        QStringLiteral("%1").arg(QRandomGenerator::global()->generate64(), 16, 16, QLatin1Char('0'));
    TSimChat chat;
    chat.Name = members.size() == 1 ? QStringLiteral("#%1/$%2;%3").arg(Handle(), members.constFirst(), tag)
                                    : QStringLiteral("#%1/$%2").arg(Handle(), tag);
    chat.Members = members;
    chat.CreatedMs = QDateTime::currentMSecsSinceEpoch();
    return Chats.insert(chat.Name, chat).value();
}
