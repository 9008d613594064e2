#include "Commands.h"

#include <QDateTime>
#include <QRegularExpression>
#include <QTimer>

namespace {
// Cuts the first word off rest the way Skype's own tokenizer does: leading blanks skipped, the
// blanks after the word consumed, inner and trailing blanks of the rest kept.
QString TakeWord(QString &rest) {
    qsizetype start = 0;
    while (start < rest.size() && rest.at(start) == ' ')
        ++start;
    qsizetype end = start;
    while (end < rest.size() && rest.at(end) != ' ')
        ++end;
    const QString word = rest.mid(start, end - start);
    while (end < rest.size() && rest.at(end) == ' ')
        ++end;
    rest = rest.mid(end);
    return word;
}

int TakeNumber(QString &rest) {
    bool ok = false;
    const int number = TakeWord(rest).toInt(&ok);
    return ok && number >= 0 ? number : -1;
}

QString List(const QString &word, const QStringList &items) {
    return items.isEmpty() ? word : word + ' ' + items.join(QStringLiteral(", "));
}

template <typename Map, typename Keep> QStringList IdsWhere(const Map &map, Keep keep) {
    QStringList ids;
    for (const auto &item : map)
        if (keep(item)) ids.append(QString::number(item.Id));
    return ids;
}

bool IsActive(const QString &status) {
    return QStringList{"UNPLACED", "ROUTING", "RINGING", "EARLYMEDIA", "INPROGRESS", "ONHOLD"}.contains(
        status);
}

bool IsRinging(const QString &status) {
    return QStringList{"ROUTING", "RINGING", "EARLYMEDIA"}.contains(status);
}

const QString UnknownCommand = QStringLiteral("ERROR 2 Unknown command");
const QString InvalidCallId = QStringLiteral("ERROR 19 Invalid call id");
} // namespace

TSimCommands::TSimCommands(TSimWorld &world, TNotify notify, QObject *parent)
    : QObject(parent), World(world), Notify(std::move(notify)) {}

QString TSimCommands::Handle(const QString &command) {
    QString rest = command;
    const QString word = TakeWord(rest);
    if (word == "PING") return QStringLiteral("PONG");
    if (word == "PROTOCOL") {
        const int asked = TakeNumber(rest);
        World.Protocol = asked < 1 ? 1 : qMin(asked, 4);
        return QStringLiteral("PROTOCOL %1").arg(World.Protocol);
    }
    if (word == "GET") return Get(rest);
    if (word == "SET") return Set(rest);
    if (word == "SEARCH") return Search(rest);
    if (word == "CALL") return PlaceCall(rest);
    if (word == "MESSAGE") return SendMessage(rest);
    if (word == "CHAT" && TakeWord(rest) == "CREATE") return CreateChat(rest);
    if (word == "ALTER" && TakeWord(rest) == "CHAT") return AlterChat(rest);
    if (word == "OPEN") return Open(command, rest);
    if (word == "VOICEMAIL")
        return rest.isEmpty() ? QStringLiteral("ERROR 4 Empty target not allowed")
                              : QStringLiteral("VOICEMAIL %1 STATUS RECORDING").arg(World.NextCallId++);
    if (word == "FOCUS" && rest.isEmpty()) return QStringLiteral("FOCUS");
    return UnknownCommand;
}

QString TSimCommands::Get(QString rest) {
    const QString what = TakeWord(rest);
    if (what == "USERSTATUS") return "USERSTATUS " + World.CurrentUserStatus();
    if (what == "CONNSTATUS") return "CONNSTATUS " + World.ConnStatus;
    if (what == "CURRENTUSERHANDLE") return "CURRENTUSERHANDLE " + World.Handle();
    if (what == "SKYPEVERSION") return "SKYPEVERSION " + World.Version;
    if (what == "MUTE") return World.Mute ? QStringLiteral("MUTE ON") : QStringLiteral("MUTE OFF");
    if (what == "USER") return GetUser(rest);
    if (what == "CALL") return GetCall(rest);
    if (what == "CHATMESSAGE") return GetChatMessage(rest);
    if (what == "PRIVILEGE") {
        const QString privilege = TakeWord(rest);
        if (!World.Privileges.contains(privilege)) return QStringLiteral("ERROR 40 Unknown privilege");
        return QStringLiteral("PRIVILEGE %1 %2")
            .arg(privilege, World.Privileges.value(privilege) ? "TRUE" : "FALSE");
    }
    if (what == "PROFILE") {
        const QString property = TakeWord(rest);
        if (!World.Profile.contains(property)) return QStringLiteral("ERROR 551 Unknown profile property");
        return QStringLiteral("PROFILE %1 %2").arg(property, World.Profile.value(property));
    }
    return QStringLiteral("ERROR 7 GET: invalid WHAT");
}

QString TSimCommands::GetUser(QString rest) {
    const QString handle = TakeWord(rest);
    const QString property = TakeWord(rest);
    const TSimProperties *user = World.FindUser(handle);
    if (!user) return QStringLiteral("ERROR 26 Invalid user handle");
    if (!TSimWorld::UserProperties.contains(property)) return QStringLiteral("ERROR 10 Invalid property");
    return QStringLiteral("USER %1 %2 %3").arg(handle, property, user->value(property));
}

QString TSimCommands::GetCall(QString rest) {
    const int id = TakeNumber(rest);
    const QString property = TakeWord(rest);
    if (!World.Calls.contains(id)) return QStringLiteral("ERROR 11 Invalid call id");
    const TSimCall &call = World.Calls[id];
    const bool phone = TSimWorld::IsPhoneNumber(call.Partner);
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    const QMap<QString, QString> values = {
        {"TIMESTAMP", QString::number(call.StartedMs / 1000)},
        {"PARTNER_HANDLE", call.Partner},
        {"PARTNER_DISPNAME", World.DisplayName(call.Partner)},
        {"CONF_ID", QString::number(call.ConfId)},
        {"CONF_PARTICIPANTS_COUNT", call.ConfId ? QStringLiteral("2") : QStringLiteral("0")},
        {"TYPE",
         QStringLiteral("%1_%2").arg(call.Incoming ? "INCOMING" : "OUTGOING", phone ? "PSTN" : "P2P")},
        {"STATUS", call.Status},
        {"FAILUREREASON", QStringLiteral("0")},
        {"SUBJECT", QString()},
        {"PSTN_NUMBER", phone ? call.Partner : QString()},
        {"DURATION", QString::number(call.AnsweredMs ? (now - call.AnsweredMs) / 1000 : 0)},
        {"PSTN_STATUS", QString()},
        {"SEEN", call.Seen ? QStringLiteral("TRUE") : QStringLiteral("FALSE")}};
    if (!values.contains(property)) return QStringLiteral("ERROR 13 Invalid property");
    return QStringLiteral("CALL %1 %2 %3").arg(id).arg(property, values.value(property));
}

QString TSimCommands::GetChatMessage(QString rest) {
    const int id = TakeNumber(rest);
    const QString property = TakeWord(rest);
    if (!World.ChatMessages.contains(id)) return QStringLiteral("ERROR 14 Invalid message id");
    const TSimChatMessage &message = World.ChatMessages[id];
    const QMap<QString, QString> values = {
        {"CHATNAME", message.Chat},       {"TIMESTAMP", QString::number(message.SentMs / 1000)},
        {"FROM_HANDLE", message.From},    {"FROM_DISPNAME", World.DisplayName(message.From)},
        {"TYPE", QStringLiteral("SAID")}, {"USERS", QString()},
        {"LEAVEREASON", QString()},       {"BODY", message.Body},
        {"STATUS", message.Status}};
    if (!values.contains(property)) return QStringLiteral("ERROR 13 Invalid property");
    return QStringLiteral("CHATMESSAGE %1 %2 %3").arg(id).arg(property, values.value(property));
}

QString TSimCommands::Set(QString rest) {
    const QString what = TakeWord(rest);
    if (what == "USERSTATUS") {
        const QString status = TakeWord(rest);
        if (!World.LoggedIn || !SetUserStatus(status).isEmpty())
            return QStringLiteral("ERROR 28 Unknown userstatus");
        return "USERSTATUS " + status;
    }
    if (what == "MUTE") {
        const QString value = TakeWord(rest);
        if (value != "ON" && value != "OFF") return QStringLiteral("ERROR 1 Invalid MUTE value");
        World.Mute = value == "ON";
        return "MUTE " + value;
    }
    if (what == "CALL") return SetCall(rest);
    return UnknownCommand;
}

QString TSimCommands::SetCall(QString rest) {
    const int id = TakeNumber(rest);
    const QString property = TakeWord(rest);
    // The value may come with extra blanks in front ("STATUS  FINISHED"); Skype reads the word.
    const QString value = rest.trimmed();
    if (!World.Calls.contains(id)) return InvalidCallId;
    TSimCall &call = World.Calls[id];
    if (property == "STATUS" && value == "FINISHED") {
        if (IsActive(call.Status))
            call.Status = call.AnsweredMs ? QStringLiteral("FINISHED") : QStringLiteral("CANCELLED");
        return CallStatusText(id);
    }
    if (property == "STATUS" && value == "INPROGRESS" &&
        ((call.Incoming && call.Status == "RINGING") || call.Status == "ONHOLD")) {
        call.Status = value;
        call.AnsweredMs = call.AnsweredMs ? call.AnsweredMs : QDateTime::currentMSecsSinceEpoch();
        return CallStatusText(id);
    }
    if (property == "STATUS" && value == "ONHOLD" && call.Status == "INPROGRESS") {
        call.Status = value;
        return CallStatusText(id);
    }
    if (property == "JOIN_CONFERENCE") {
        bool ok = false;
        const int host = value.toInt(&ok);
        if (!ok || !World.Calls.contains(host)) return InvalidCallId;
        call.ConfId = host;
        World.Calls[host].ConfId = host;
        return QStringLiteral("CALL %1 CONF_ID %2").arg(id).arg(host);
    }
    if (property == "SEEN") {
        call.Seen = true;
        return QStringLiteral("CALL %1 SEEN TRUE").arg(id);
    }
    if (property == "DTMF" && !value.isEmpty()) return QStringLiteral("CALL %1 DTMF %2").arg(id).arg(value);
    return QStringLiteral("ERROR 21 Cannot set call property %1 to %2").arg(property, value);
}

QString TSimCommands::Search(QString rest) {
    const QString type = TakeWord(rest);
    const QString text = rest.trimmed();
    if (type == "FRIENDS") {
        QStringList handles;
        for (const TSimProperties &contact : std::as_const(World.Contacts))
            handles.append(contact.value("HANDLE"));
        return List(QStringLiteral("USERS"), handles);
    }
    if (type == "USERS") {
        QStringList handles;
        for (const TSimProperties &contact : std::as_const(World.Contacts))
            if (contact.value("HANDLE").contains(text, Qt::CaseInsensitive) ||
                contact.value("FULLNAME").contains(text, Qt::CaseInsensitive))
                handles.append(contact.value("HANDLE"));
        return List(QStringLiteral("USERS"), handles);
    }
    if (type == "CALLS") return List(type, IdsWhere(World.Calls, [](const TSimCall &) { return true; }));
    if (type == "ACTIVECALLS")
        return List("CALLS",
                    IdsWhere(World.Calls, [](const TSimCall &call) { return IsActive(call.Status); }));
    if (type == "MISSEDCALLS")
        return List("CALLS",
                    IdsWhere(World.Calls, [](const TSimCall &call) { return call.Status == "MISSED"; }));
    // Messages of the old kind are never kept: every instant message here is a chat message.
    if (type == "MESSAGES" || type == "MISSEDMESSAGES") return QStringLiteral("MESSAGES");
    if (QStringList{"CHATS", "ACTIVECHATS", "RECENTCHATS", "BOOKMARKEDCHATS"}.contains(type))
        return List("CHATS", World.Chats.keys());
    if (type == "MISSEDCHATS") {
        QStringList chats;
        for (const TSimChatMessage &message : std::as_const(World.ChatMessages))
            if (message.Status == "RECEIVED" && !chats.contains(message.Chat)) chats.append(message.Chat);
        return List("CHATS", chats);
    }
    if (type == "CHATMESSAGES")
        return List(type, IdsWhere(World.ChatMessages, [](const TSimChatMessage &) { return true; }));
    if (type == "MISSEDCHATMESSAGES")
        return List("CHATMESSAGES", IdsWhere(World.ChatMessages, [](const TSimChatMessage &message) {
                        return message.Status == "RECEIVED";
                    }));
    return QStringLiteral("ERROR 3 Search: unknown WHAT");
}

QString TSimCommands::PlaceCall(const QString &target) {
    // A conference target ("bob, carol") is played as a call to its first name.
    QString rest = target;
    const QString partner = TakeWord(rest).remove(',');
    if (partner.isEmpty()) return QStringLiteral("ERROR 34 Invalid target");
    TSimCall call;
    call.Id = World.NextCallId++;
    call.Partner = partner;
    call.Status = QStringLiteral("UNPLACED");
    call.StartedMs = QDateTime::currentMSecsSinceEpoch();
    World.Calls.insert(call.Id, call);

    const QString ringing =
        TSimWorld::IsPhoneNumber(partner) ? QStringLiteral("EARLYMEDIA") : QStringLiteral("RINGING");
    AdvanceLater(call.Id, RoutingAfterMs, {"UNPLACED"}, QStringLiteral("ROUTING"));
    AdvanceLater(call.Id, RingingAfterMs, {"ROUTING"}, ringing);
    const TSimCallRule rule = World.RuleFor(partner);
    if (rule.Outcome != "none")
        AdvanceLater(call.Id, RingingAfterMs + rule.AfterMs, {ringing},
                     rule.Outcome == "answer" ? QStringLiteral("INPROGRESS") : QStringLiteral("REFUSED"));
    return CallStatusText(call.Id);
}

QString TSimCommands::SendMessage(QString rest) {
    const QString handle = TakeWord(rest);
    if (handle.isEmpty()) return QStringLiteral("ERROR 26 Invalid user handle");
    const int id = NewChatMessage(World.DialogWith(handle).Name, World.Handle(), rest, "SENDING");
    QTimer::singleShot(SentAfterMs, this, [this, id] {
        World.ChatMessages[id].Status = QStringLiteral("SENT");
        Notify(QStringLiteral("%1 %2 STATUS SENT").arg(ChatMessageWord()).arg(id));
    });
    return QStringLiteral("%1 %2 STATUS SENDING").arg(ChatMessageWord()).arg(id);
}

QString TSimCommands::CreateChat(const QString &members) {
    const QStringList handles =
        members.split(QRegularExpression(QStringLiteral("[ ,]+")), Qt::SkipEmptyParts);
    if (handles.isEmpty()) return QStringLiteral("ERROR 4 Empty target not allowed");
    if (handles.size() == 1)
        return QStringLiteral("CHAT %1 STATUS DIALOG").arg(World.DialogWith(handles.constFirst()).Name);
    return QStringLiteral("CHAT %1 STATUS MULTI_SUBSCRIBED").arg(World.NewChat(handles).Name);
}

QString TSimCommands::AlterChat(QString rest) {
    const QString name = TakeWord(rest);
    if (TakeWord(rest) != "SETTOPIC") return UnknownCommand;
    if (!World.Chats.contains(name)) return QStringLiteral("ERROR 105 Invalid chat name");
    World.Chats[name].Topic = rest;
    return QStringLiteral("ALTER CHAT SETTOPIC");
}

QString TSimCommands::Open(const QString &command, QString rest) {
    // Skype answers an OPEN command by echoing it once the window is up.
    const QString what = TakeWord(rest);
    if (!QStringList{"IM", "CHAT", "FILETRANSFER", "ADDAFRIEND"}.contains(what))
        return QStringLiteral("ERROR 69 OPEN: invalid WHAT");
    return command;
}

TSimResult TSimCommands::Ring(const QString &handle) {
    if (!World.LoggedIn) return {0, QStringLiteral("nobody is logged in")};
    TSimCall call;
    call.Id = World.NextCallId++;
    call.Partner = handle;
    call.Incoming = true;
    call.Status = QStringLiteral("RINGING");
    call.StartedMs = QDateTime::currentMSecsSinceEpoch();
    World.Calls.insert(call.Id, call);
    Notify(CallStatusText(call.Id));
    return {call.Id, {}};
}

QString TSimCommands::AnswerCall(int id) {
    if (!World.Calls.contains(id) || !IsRinging(World.Calls[id].Status))
        return QStringLiteral("call %1 is not ringing").arg(id);
    World.Calls[id].AnsweredMs = QDateTime::currentMSecsSinceEpoch();
    Advance(id, {World.Calls[id].Status}, QStringLiteral("INPROGRESS"));
    return {};
}

QString TSimCommands::EndCall(int id) {
    if (!World.Calls.contains(id) || !IsActive(World.Calls[id].Status))
        return QStringLiteral("call %1 is not active").arg(id);
    const TSimCall &call = World.Calls[id];
    // The other person hangs up: a call that was never answered was missed (theirs) or refused (ours).
    const QString status = call.AnsweredMs ? QStringLiteral("FINISHED")
                           : call.Incoming ? QStringLiteral("MISSED")
                                           : QStringLiteral("REFUSED");
    Advance(id, {call.Status}, status);
    return {};
}

TSimResult TSimCommands::ContactWrites(const QString &handle, const QString &text) {
    if (!World.LoggedIn) return {0, QStringLiteral("nobody is logged in")};
    const TSimProperties *contact = World.FindUser(handle);
    if (!contact || contact == &World.User) return {0, QStringLiteral("%1 is not a contact").arg(handle)};
    const QString from = contact->value("HANDLE");
    const int id = NewChatMessage(World.DialogWith(from).Name, from, text, "RECEIVED");
    Notify(QStringLiteral("%1 %2 STATUS RECEIVED").arg(ChatMessageWord()).arg(id));
    return {id, {}};
}

QString TSimCommands::SetContactProperty(const QString &handle, const QString &property,
                                         const QString &value) {
    TSimProperties *user = World.FindUser(handle);
    if (!user) return QStringLiteral("%1 is not known").arg(handle);
    if (!TSimWorld::UserProperties.contains(property) || property == "HANDLE")
        return QStringLiteral("%1 is not a settable user property").arg(property);
    user->insert(property, value);
    Notify(QStringLiteral("USER %1 %2 %3").arg(user->value("HANDLE"), property, value));
    return {};
}

QString TSimCommands::SetUserStatus(const QString &status) {
    if (!TSimWorld::UserStatuses.contains(status) || status == "LOGGEDOUT" || status == "UNKNOWN")
        return QStringLiteral("%1 is not a status the user can choose").arg(status);
    World.UserStatus = status;
    return {};
}

void TSimCommands::SetConnStatus(const QString &status) {
    World.ConnStatus = status;
    Notify("CONNSTATUS " + status);
}

int TSimCommands::NewChatMessage(const QString &chat, const QString &from, const QString &body,
                                 const QString &status) {
    TSimChatMessage message;
    message.Id = World.NextChatMessageId++;
    message.Chat = chat;
    message.From = from;
    message.Body = body;
    message.Status = status;
    message.SentMs = QDateTime::currentMSecsSinceEpoch();
    World.ChatMessages.insert(message.Id, message);
    return message.Id;
}

QString TSimCommands::ChatMessageWord() const {
    // Chat messages replaced the old instant messages with protocol 3.
    return World.Protocol >= 3 ? QStringLiteral("CHATMESSAGE") : QStringLiteral("MESSAGE");
}

QString TSimCommands::CallStatusText(int id) const {
    return QStringLiteral("CALL %1 STATUS %2").arg(id).arg(World.Calls.value(id).Status);
}

void TSimCommands::Advance(int id, const QStringList &from, const QString &status) {
    if (!World.Calls.contains(id) || !from.contains(World.Calls[id].Status)) return;
    World.Calls[id].Status = status;
    if (status == "INPROGRESS" && !World.Calls[id].AnsweredMs)
        World.Calls[id].AnsweredMs = QDateTime::currentMSecsSinceEpoch();
    Notify(CallStatusText(id));
}

void TSimCommands::AdvanceLater(int id, int afterMs, const QStringList &from, const QString &status) {
    QTimer::singleShot(afterMs, this, [this, id, from, status] { Advance(id, from, status); });
}
