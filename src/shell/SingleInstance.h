#pragma once
// One running copy per settings folder. The copy that holds the lock file listens on a local socket;
// a later copy hands its command line over that socket and ends.
//
// Wire form, one message per connection: a 32-bit big-endian length, then the parameters as UTF-8,
// each followed by a NUL byte. The running copy answers a single acknowledgement byte.

#include <QLockFile>
#include <QObject>
#include <QString>
#include <QStringList>

#include <memory>

class QLocalServer;
class QLocalSocket;

class TSingleInstance : public QObject {
    Q_OBJECT
public:
    enum class TRole { Primary, Secondary, Failed };

    // Largest message the running copy accepts; a command line is a few hundred bytes at most.
    static constexpr qint64 MaxMessageBytes = 64 * 1024;
    // How long the running copy waits for a connected copy to finish its message.
    static constexpr int ReceiveTimeLimitMs = 5000;

    // The settings folder names the instance, so a test run never meets the user's copy.
    explicit TSingleInstance(const QString &settingsFolder, QObject *parent = nullptr);
    ~TSingleInstance() override;

    // Takes the lock and starts listening (Primary), finds a running copy (Secondary), or cannot
    // tell (Failed: for example the runtime folder is not private).
    TRole Claim();
    // Secondary only: hands the parameters to the running copy and waits for its acknowledgement.
    // False when the running copy did not take them within the time limit.
    bool SendToPrimary(const QStringList &params, int timeoutMs);

    // The private folder that holds the lock file and the socket.
    QString RuntimeFolder() const { return folder; }
    QString LockPath() const;
    QString SocketPath() const;

Q_SIGNALS:
    // Primary: another copy started and delivered its parameters (fired before ParametersReceived).
    void InstanceCreated();
    // Primary: the other copy's parameters, one entry per program parameter.
    void ParametersReceived(const QStringList &params);
    // Primary: the copy that delivered parameters has gone.
    void InstanceDestroyed();

private:
    void Accept();
    void ReadMessage(QLocalSocket *socket);

    QString folder;
    std::unique_ptr<QLockFile> lock;
    QLocalServer *server = nullptr;
};

// The program's own start: every parameter in order, with no separator.
QString JoinOwnCommandLine(const QStringList &params);
// Parameters forwarded from another copy: every one followed by carriage return and line feed.
QString JoinForwardedCommandLine(const QStringList &params);
