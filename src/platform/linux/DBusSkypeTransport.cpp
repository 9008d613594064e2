#include "platform/linux/DBusSkypeTransport.h"

#include <QDBusConnectionInterface>
#include <QDBusContext>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusServiceWatcher>
#include <QTimer>

namespace {
constexpr const char *SkypePath = "/com/Skype";
constexpr const char *SkypeInterface = "com.Skype.API";

QDBusMessage InvokeMessage(const QString &destination, const QByteArray &text) {
    QDBusMessage call =
        QDBusMessage::createMethodCall(destination, SkypePath, SkypeInterface, QStringLiteral("Invoke"));
    call << QString::fromUtf8(text);
    return call;
}
} // namespace

// The object Skype calls. It is separate from the transport only because it needs QDBusContext to
// learn who called, and the transport's own bases are fixed by TSkypeTransport's users.
class TDBusNotifyReceiver : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "com.Skype.API.Client")
public:
    explicit TDBusNotifyReceiver(TDBusSkypeTransport *transport) : QObject(transport), Transport(transport) {}

public Q_SLOTS:
    void Notify(const QString &notification) { Transport->Notified(message().service(), notification); }

private:
    TDBusSkypeTransport *Transport;
};

TDBusSkypeTransport::TDBusSkypeTransport(const QByteArray &appName, const QDBusConnection &bus,
                                         QObject *parent)
    : QObject(parent), AppName(appName), Bus(bus) {}

TDBusSkypeTransport::~TDBusSkypeTransport() {
    if (Registered) Bus.unregisterObject(ClientPath);
}

bool TDBusSkypeTransport::Register() {
    if (Registered) return true;
    if (!Bus.isConnected()) return false;
    Receiver = new TDBusNotifyReceiver(this);
    if (!Bus.registerObject(ClientPath, Receiver, QDBusConnection::ExportAllSlots)) {
        delete Receiver;
        Receiver = nullptr;
        return false;
    }
    Watcher = new QDBusServiceWatcher(SkypeService, Bus, QDBusServiceWatcher::WatchForOwnerChange, this);
    connect(Watcher, &QDBusServiceWatcher::serviceOwnerChanged, this,
            [this](const QString &, const QString &oldOwner, const QString &newOwner) {
                OwnerChanged(oldOwner, newOwner);
            });
    Owner = Bus.interface()->serviceOwner(SkypeService).value();
    Registered = true;
    return true;
}

int TDBusSkypeTransport::Broadcast() {
    if (!Registered) return 0;
    // Asked afresh: the owner-change signal may still be on its way.
    Owner = Bus.interface()->serviceOwner(SkypeService).value();
    if (Owner.isEmpty()) return 0;
    // Skype holds the NAME answer while it asks its user, so the call must not block; the default
    // D-Bus time-out (25 s) bounds the wait, and the program broadcasts again meanwhile anyway.
    auto *watcher = new QDBusPendingCallWatcher(Bus.asyncCall(InvokeMessage(Owner, "NAME " + AppName)), this);
    NameCalls.append(watcher);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, &TDBusSkypeTransport::TakeNameAnswer);
    // The watcher is the context: once the answer has come, the pending report can no longer fire.
    const QString owner = Owner;
    QTimer::singleShot(PendingAfterMs, watcher, [this, watcher, owner] {
        if (!watcher->isFinished()) Report(owner, SkypeAttachStatus::PendingAuthorization);
    });
    return 1;
}

bool TDBusSkypeTransport::Send(const TSkypeWindow &skypeWindow, const QByteArray &text) {
    if (!Registered || skypeWindow.isEmpty()) return false;
    // Addressed to the unique name that attached us, like a window handle: a Skype started anew
    // meanwhile never gets commands from a client it has not authorised, and a Skype that has
    // gone makes the send fail.
    //
    // QDBus::Block, not BlockWithGui: the thread runs nothing while it waits, so Notify calls that
    // arrive meanwhile are queued and handled by the event loop after Send returns, in their order.
    // BlockWithGui would run them nested, as Windows did, but also every timer and queued call of
    // the program inside each command send; the handlers then never see their own command's
    // notifications inside their own send. Only this command's reply is handed over before
    // returning. Skype sends Notify without waiting for an answer, so the two sides cannot wait
    // on each other.
    const QDBusMessage reply = Bus.call(InvokeMessage(skypeWindow, text), QDBus::Block, SendTimeoutMs);
    if (reply.type() != QDBusMessage::ReplyMessage) return false;
    const QString answer =
        reply.arguments().isEmpty() ? QString() : reply.arguments().constFirst().toString();
    if (!answer.isEmpty() && CopyData) CopyData(skypeWindow, answer.toUtf8());
    return true;
}

void TDBusSkypeTransport::Notified(const QString &sender, const QString &text) {
    if (Owner.isEmpty() || sender != Owner) return;
    // Skype announces itself right after its NAME answer, but Qt may queue the answer's signal
    // behind these calls; the answer is taken first, as it came first.
    for (QDBusPendingCallWatcher *call : QList(NameCalls))
        if (call->isFinished()) TakeNameAnswer(call);
    if (CopyData) CopyData(sender, text.toUtf8());
}

void TDBusSkypeTransport::OwnerChanged(const QString &oldOwner, const QString &newOwner) {
    Owner = newOwner;
    if (!oldOwner.isEmpty()) Report(oldOwner, SkypeAttachStatus::NotAvailable);
    if (!newOwner.isEmpty()) Report(newOwner, SkypeAttachStatus::Available);
}

void TDBusSkypeTransport::TakeNameAnswer(QDBusPendingCallWatcher *call) {
    if (!NameCalls.removeOne(call)) return; // taken already
    const QDBusMessage reply = call->reply();
    if (reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty())
        NameAnswered(reply.service(), reply.arguments().constFirst().toString());
    call->deleteLater();
}

void TDBusSkypeTransport::NameAnswered(const QString &sender, const QString &answer) {
    if (answer == QLatin1String("OK"))
        Report(sender, SkypeAttachStatus::Success);
    else if (answer.startsWith(QLatin1String("ERROR")))
        Report(sender, SkypeAttachStatus::Refused);
    else if (answer == QLatin1String("CONNSTATUS OFFLINE"))
        Report(sender, SkypeAttachStatus::NotAvailable);
}

void TDBusSkypeTransport::Report(const TSkypeWindow &sender, quint32 status) {
    if (AttachReply) AttachReply(sender, status);
}

#include "DBusSkypeTransport.moc"
