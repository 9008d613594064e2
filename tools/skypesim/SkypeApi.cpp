#include "SkypeApi.h"

TSimSkypeApi::TSimSkypeApi(TSimWorld &world, const QDBusConnection &bus, QObject *parent)
    : QObject(parent), World(world), Bus(bus),
      Sim(
          world, [this](const QString &text) { Notify(text); }, this) {}

void TSimSkypeApi::Notify(const QString &text) {
    if (Client.isEmpty()) return;
    QDBusMessage call =
        QDBusMessage::createMethodCall(Client, QStringLiteral("/com/Skype/Client"),
                                       QStringLiteral("com.Skype.API.Client"), QStringLiteral("Notify"));
    call << text;
    Bus.send(call); // send() marks a method call as expecting no reply
}

QString TSimSkypeApi::Invoke(const QString &command) {
    Log.append(command);
    const QString client = message().service();
    if (command.startsWith(QLatin1String("NAME ")) || command == QLatin1String("NAME")) {
        const QString answer = Decide(client, false);
        if (answer.isEmpty()) {
            setDelayedReply(true);
            Held.append(message());
        } else {
            AnswerName(message(), answer);
        }
        return {};
    }
    if (!Authorised.contains(client)) return QStringLiteral("ERROR 68");
    return Sim.Handle(command);
}

QString TSimSkypeApi::Decide(const QString &client, bool userAnswered) const {
    if (!World.LoggedIn) return QStringLiteral("CONNSTATUS OFFLINE");
    if (Authorised.contains(client) || World.Authorization == QLatin1String("allow"))
        return QStringLiteral("OK");
    if (World.Authorization == QLatin1String("refuse")) return QStringLiteral("ERROR 68");
    return userAnswered ? QStringLiteral("OK") : QString();
}

void TSimSkypeApi::AnswerName(const QDBusMessage &call, const QString &answer) {
    // The answer is sent by hand (not as the slot's return value) so that it reaches the client
    // before the announcements that follow it.
    call.setDelayedReply(true);
    Bus.send(call.createReply(answer));
    if (answer != QLatin1String("OK") || Authorised.contains(call.service())) return;
    Authorised.insert(call.service());
    Client = call.service();
    Notify("CONNSTATUS " + World.ConnStatus);
    Notify("CURRENTUSERHANDLE " + World.Handle());
    Notify("USERSTATUS " + World.CurrentUserStatus());
}

int TSimSkypeApi::ReleaseAuthorization() {
    const QList<QDBusMessage> held = std::exchange(Held, {});
    for (const QDBusMessage &call : held)
        AnswerName(call, Decide(call.service(), true));
    return int(held.size());
}

void TSimSkypeApi::LogOut() {
    if (!World.LoggedIn) return;
    World.LoggedIn = false;
    Notify(QStringLiteral("USERSTATUS LOGGEDOUT"));
    Sim.SetConnStatus(QStringLiteral("LOGGEDOUT"));
    // A new user must authorise the program anew.
    Authorised.clear();
    Client.clear();
    ReleaseAuthorization();
}

bool TSimSkypeApi::LogIn() {
    if (World.LoggedIn) return true;
    World.LoggedIn = true;
    World.ConnStatus = QStringLiteral("ONLINE");
    Bus.unregisterService(Service);
    return Bus.registerService(Service);
}
