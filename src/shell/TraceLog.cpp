#include "shell/TraceLog.h"

#include <QFile>
#include <QTime>

TTraceLog::TTraceLog(TLogSwitch &logSwitch, QString path) : logSwitch(logSwitch), path(std::move(path)) {}

void TTraceLog::Start() {
    if (!logSwitch.LogFile()) logSwitch.SetLogFile(false);
    QFile file(path);
    file.open(QIODevice::WriteOnly | QIODevice::Truncate); // a failure here is passed over
}

void TTraceLog::WriteLog(const QString &message) {
    if (!logSwitch.LogFile()) return;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append))
        return; // missing folder or no access: this line is dropped, the next one tries again
    const QByteArray line = (QTime::currentTime().toString(QStringLiteral("HH:mm:ss")) +
                             QStringLiteral(" : ") + message + QStringLiteral("\r\n"))
                                .toLocal8Bit();
    if (file.write(line) != line.size() || !file.flush()) throw TLogWriteError("Debug.log: write failed");
}
