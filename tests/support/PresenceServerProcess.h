#pragma once
// Runs the presence server tool on a free loopback port for the length of a test.

#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTest>
#include <QUrl>

#include <memory>

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

    // Starts the server and points the program's presence address at it until the server is gone.
    bool StartForOrvi(const QStringList &arguments = {}) {
        if (!Start(arguments)) return false;
        qputenv("ORVI_PRESENCE_URL", BaseUrl().toUtf8());
        pointedAt = true;
        return true;
    }

    void Stop() {
        process.kill();
        process.waitForFinished(5000);
    }

    ~TPresenceServerProcess() {
        Stop();
        if (pointedAt) qunsetenv("ORVI_PRESENCE_URL");
    }

    QString BaseUrl() const { return QStringLiteral("http://127.0.0.1:%1").arg(port); }

    // One GET to the server, waited for; the body, or nothing when no answer came.
    QByteArray Get(const QString &pathAndQuery) const {
        QNetworkAccessManager manager;
        std::unique_ptr<QNetworkReply> reply(manager.get(QNetworkRequest(QUrl(BaseUrl() + pathAndQuery))));
        return QTest::qWaitFor([&reply] { return reply->isFinished(); }, 10000) ? reply->readAll()
                                                                                : QByteArray();
    }
    // The code the server keeps for a user; -1 when it has never heard of them.
    int CodeOf(const QString &user) const {
        const QString query = QString::fromLatin1(QUrl::toPercentEncoding(user));
        return QJsonDocument::fromJson(Get(QStringLiteral("/status?username=") + query))
            .object()
            .value(QLatin1String("code"))
            .toInt(-1);
    }
    void SetFailing(bool on) const {
        Get(on ? QStringLiteral("/control/fail?on=1") : QStringLiteral("/control/fail?on=0"));
    }

    quint16 port = 0;

private:
    QProcess process;
    bool pointedAt = false;
};
