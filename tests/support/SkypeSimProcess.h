#pragma once
// Runs the simulated Skype client (skypesim) for tests and benchmarks: a temporary scenario file,
// the process on the session bus, and calls to its control interface.

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QElapsedTimer>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

// A session bus of the test's own, so that tests run side by side never meet over com.Skype.API.
// Must be started before anything touches QDBusConnection::sessionBus().
class TPrivateSessionBus {
public:
    bool Start() {
        Daemon.start(QStringLiteral("dbus-daemon"), {"--session", "--nofork", "--print-address=1"});
        if (!Daemon.waitForStarted() || !Daemon.waitForReadyRead(5000)) return false;
        const QByteArray address = Daemon.readLine().trimmed();
        return !address.isEmpty() && qputenv("DBUS_SESSION_BUS_ADDRESS", address);
    }
    ~TPrivateSessionBus() {
        Daemon.terminate();
        Daemon.waitForFinished();
    }

private:
    QProcess Daemon;
};

class TSkypeSimProcess {
public:
    static constexpr const char *Service = "com.Skype.API";

    ~TSkypeSimProcess() { Stop(); }

    // Writes scenario to a temporary file, starts skypesim and waits until it owns com.Skype.API.
    bool Start(const QJsonObject &scenario) {
        const QString path = Dir.filePath(QStringLiteral("scenario.json"));
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(QJsonDocument(scenario).toJson()) < 0)
            return false;
        file.close();
        Process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        Process.start(QStringLiteral(SKYPESIM_PATH), {path});
        if (!Process.waitForStarted()) return false;
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < 5000 && Process.state() == QProcess::Running) {
            OwnerName = QDBusConnection::sessionBus().interface()->serviceOwner(Service).value();
            if (!OwnerName.isEmpty()) return true;
            QThread::msleep(20);
        }
        return false;
    }

    // Asks skypesim to quit and waits for it; kills it if it does not go.
    void Stop() {
        if (Process.state() == QProcess::NotRunning) return;
        Control(QStringLiteral("Quit"));
        if (!Process.waitForFinished(3000)) {
            Process.kill();
            Process.waitForFinished();
        }
    }

    bool WaitForExit(int ms = 3000) { return Process.waitForFinished(ms); }

    // The unique bus name of skypesim, its "window".
    QString Owner() const { return OwnerName; }

    QDBusMessage Control(const QString &method, const QVariantList &arguments = {}) const {
        QDBusMessage call = QDBusMessage::createMethodCall(Service, QStringLiteral("/org/orvi/SkypeSim"),
                                                           QStringLiteral("org.orvi.SkypeSim"), method);
        call.setArguments(arguments);
        return QDBusConnection::sessionBus().call(call, QDBus::Block, 3000);
    }

    // The demo world, small: alice, bob, carol and a phone number.
    static QJsonObject Scenario() {
        return QJsonDocument::fromJson(R"({
          "user": {"HANDLE": "alice", "FULLNAME": "Alice Liddell"},
          "userStatus": "ONLINE",
          "authorization": "allow",
          "version": "2.0.0.81",
          "profile": {"PSTN_BALANCE": "207", "PSTN_BALANCE_CURRENCY": "EUR"},
          "privileges": {"SKYPEOUT": true},
          "contacts": [{"HANDLE": "bob", "FULLNAME": "Bob Smith"},
                       {"HANDLE": "carol", "FULLNAME": "Carol Jones", "DISPLAYNAME": "Caro"},
                       {"HANDLE": "+15551234567"}],
          "callRules": {"bob": {"outcome": "answer", "after": 0.3},
                        "carol": {"outcome": "refuse", "after": 0.2},
                        "dave": {"outcome": "answer", "after": 1.0}},
          "defaultCallRule": {"outcome": "none"}
        })")
            .object();
    }

private:
    QTemporaryDir Dir;
    QProcess Process;
    QString OwnerName;
};
