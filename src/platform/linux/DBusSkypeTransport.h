#pragma once
// The Skype link over the D-Bus session bus, the way Skype for Linux offered its desktop API:
// Skype owns com.Skype.API and answers Invoke(command) with the reply text; it calls Notify on the
// client's unique name at /com/Skype/Client. The attach statuses of the Windows API are made from
// the answer to "NAME" and from the owner changes of com.Skype.API.

#include "skype/SkypeTransport.h"

#include <QDBusConnection>
#include <QObject>

class QDBusPendingCallWatcher;
class QDBusServiceWatcher;
class TDBusNotifyReceiver;

class TDBusSkypeTransport : public QObject, public TSkypeTransport {
    Q_OBJECT
public:
    static constexpr const char *SkypeService = "com.Skype.API";
    static constexpr const char *ClientPath = "/com/Skype/Client";
    // How long a NAME call may stay unanswered before it counts as waiting for the user.
    static constexpr int PendingAfterMs = 500;
    static constexpr int SendTimeoutMs = 2000;

    explicit TDBusSkypeTransport(const QByteArray &appName,
                                 const QDBusConnection &bus = QDBusConnection::sessionBus(),
                                 QObject *parent = nullptr);
    ~TDBusSkypeTransport() override;

    bool Register() override;
    // Returns 1 when a NAME call went out, 0 when nobody owns the Skype service.
    int Broadcast() override;
    bool Send(const TSkypeWindow &skypeWindow, const QByteArray &text) override;

private:
    friend class TDBusNotifyReceiver;
    void Notified(const QString &sender, const QString &text);
    void OwnerChanged(const QString &oldOwner, const QString &newOwner);
    void TakeNameAnswer(QDBusPendingCallWatcher *call);
    void NameAnswered(const QString &sender, const QString &answer);
    void Report(const TSkypeWindow &sender, quint32 status);

    QByteArray AppName;
    QDBusConnection Bus;
    TDBusNotifyReceiver *Receiver = nullptr;
    QDBusServiceWatcher *Watcher = nullptr;
    QList<QDBusPendingCallWatcher *> NameCalls; // NAME calls whose answer is not taken yet
    QString Owner; // unique name of the current owner of com.Skype.API; empty when none
    bool Registered = false;
};
