#include "shell/Autostart.h"

#include "shell/TraceLog.h"

#include <QSettings>

void SetRunEntry(TAutostart &autostart, TTraceLog &log, bool remove) {
    const QString exception = QStringLiteral("Exception");
    if (!autostart.SetUserEntry(!remove).isEmpty()) log.WriteLog(exception);
    if (!autostart.RemoveMachineEntry().isEmpty()) log.WriteLog(exception);
}

bool StartHidden() {
    const QSettings settings(QStringLiteral("CoolTrayIcon"), QStringLiteral("StartOrviPro"));
    return settings.value(QStringLiteral("StartHidden"), 0).toInt() != 0;
}
