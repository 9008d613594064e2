#pragma once
// The simulated Skype client's world: who is logged in, the contacts, the account, and the calls,
// chats and chat messages that come and go while it runs. Loaded from a JSON scenario file.

#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

#include <optional>

using TSimProperties = QMap<QString, QString>; // property word -> value

struct TSimCallRule {
    QString Outcome = QStringLiteral("none"); // "answer", "refuse" or "none" (rings until ended)
    int AfterMs = 2000;                       // from ringing to the outcome
};

struct TSimCall {
    int Id = 0;
    QString Partner;
    bool Incoming = false;
    QString Status;
    int ConfId = 0;
    qint64 StartedMs = 0;  // epoch milliseconds
    qint64 AnsweredMs = 0; // 0 while unanswered
    bool Seen = false;
};

struct TSimChat {
    QString Name;
    QStringList Members; // without the user
    QString Topic;
    qint64 CreatedMs = 0;
};

struct TSimChatMessage {
    int Id = 0;
    QString Chat;
    QString From;
    QString Body;
    QString Status;
    qint64 SentMs = 0;
};

class TSimWorld {
public:
    static const QStringList UserProperties;
    static const QStringList UserStatuses;

    // Reads a scenario; on failure returns nothing and says why in *error.
    static std::optional<TSimWorld> Load(const QString &path, QString *error);
    // The world without a scenario: user "alice", nobody else.
    static TSimWorld Default();

    static bool IsPhoneNumber(const QString &target);

    QString Handle() const { return User.value(QStringLiteral("HANDLE")); }
    // The user's own record or a contact's, found without regard to letter case.
    TSimProperties *FindUser(const QString &handle);
    QString DisplayName(const QString &handle);
    QString CurrentUserStatus() const { return LoggedIn ? UserStatus : QStringLiteral("LOGGEDOUT"); }
    TSimCallRule RuleFor(const QString &target) const;
    TSimChat &DialogWith(const QString &handle);
    TSimChat &NewChat(const QStringList &members);

    TSimProperties User;
    QList<TSimProperties> Contacts;
    QString UserStatus = QStringLiteral("ONLINE");
    QString ConnStatus = QStringLiteral("ONLINE");
    bool LoggedIn = true;
    QString Authorization = QStringLiteral("allow"); // "allow", "refuse" or "ask"
    QString Version = QStringLiteral("2.0.0.81");
    TSimProperties Profile; // PSTN_BALANCE, PSTN_BALANCE_CURRENCY
    QMap<QString, bool> Privileges;
    bool Mute = false;
    QMap<QString, TSimCallRule> CallRules; // by target, lower case
    TSimCallRule DefaultCallRule;
    int Protocol = 1;

    QMap<int, TSimCall> Calls;
    QMap<QString, TSimChat> Chats;
    QMap<int, TSimChatMessage> ChatMessages;
    int NextCallId = 12;
    int NextChatMessageId = 864;

private:
    static TSimProperties Completed(TSimProperties properties);
};
