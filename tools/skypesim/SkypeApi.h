#pragma once
// The Skype side of the desktop API on the bus: com.Skype.API at /com/Skype, method Invoke. It
// decides who may attach, holds the NAME answer while "the user" is asked, keeps the list of
// commands received, and sends notifications to the client that attached.

#include "Commands.h"
#include "World.h"

#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusMessage>
#include <QObject>
#include <QSet>

class TSimSkypeApi : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "com.Skype.API")
public:
    static constexpr const char *Service = "com.Skype.API";

    TSimSkypeApi(TSimWorld &world, const QDBusConnection &bus, QObject *parent = nullptr);

    TSimCommands &Commands() { return Sim; }
    QStringList Received() const { return Log; }
    void ClearReceived() { Log.clear(); }

    // Sent as no-reply messages: a client blocked in Invoke must never hold Skype up.
    void Notify(const QString &text);
    // Answers every held NAME call by the policy in force ("ask" counts as the user's yes).
    int ReleaseAuthorization();
    void LogOut();
    // Takes com.Skype.API anew, so clients see the API become available, as after a fresh start.
    bool LogIn();

public Q_SLOTS:
    QString Invoke(const QString &command);

private:
    // "OK", "ERROR 68", "CONNSTATUS OFFLINE", or empty for "hold until the user has answered".
    QString Decide(const QString &client, bool userAnswered) const;
    void AnswerName(const QDBusMessage &call, const QString &answer);

    TSimWorld &World;
    QDBusConnection Bus;
    TSimCommands Sim;
    QStringList Log;
    QSet<QString> Authorised; // unique names of the clients attached
    QString Client;           // the one that attached last; notifications go there
    QList<QDBusMessage> Held; // NAME calls waiting for the user
};
