#pragma once
// Runs the presence server tool on a free loopback port for the length of a test.

#include <QProcess>
#include <QString>
#include <QStringList>

#include <csignal>
#include <sys/prctl.h>

class TPresenceServerProcess {
public:
    // Starts the server and waits for the port on its first output line; false if it did not come.
    bool Start(const QStringList &arguments = {}) {
        process.setProgram(QStringLiteral(PRESENCESERVER_PATH));
        process.setArguments(QStringList{QStringLiteral("--port"), QStringLiteral("0")} + arguments);
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        // A test that crashes must not leave a server behind.
        process.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGKILL); });
        process.start();
        if (!process.waitForStarted(5000)) return false;
        while (!process.canReadLine())
            if (!process.waitForReadyRead(5000)) return false;
        port = process.readLine().trimmed().toUShort();
        return port != 0;
    }

    void Stop() {
        process.kill();
        process.waitForFinished(5000);
    }

    ~TPresenceServerProcess() { Stop(); }

    QString BaseUrl() const { return QStringLiteral("http://127.0.0.1:%1").arg(port); }

    quint16 port = 0;

private:
    QProcess process;
};
