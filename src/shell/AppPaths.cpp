#include "shell/AppPaths.h"

#include <QDir>
#include <QFileInfo>

namespace {
QString FromEnv(const char *name) {
    return QString::fromLocal8Bit(qgetenv(name));
}

QString XdgFolder(const char *variable, const char *fallbackBelowHome) {
    QString base = FromEnv(variable);
    if (base.isEmpty() || !QDir::isAbsolutePath(base))
        base = QDir::homePath() + QLatin1Char('/') + QLatin1String(fallbackBelowHome);
    return base + QStringLiteral("/Orvi");
}
} // namespace

namespace AppPaths {
QString SettingsFolder() {
    const QString home = FromEnv("ORVI_HOME");
    return home.isEmpty() ? XdgFolder("XDG_CONFIG_HOME", ".config") : home;
}

QString LogFilePath() {
    const QString home = FromEnv("ORVI_HOME");
    const QString folder = home.isEmpty() ? XdgFolder("XDG_STATE_HOME", ".local/state") : home;
    return folder + QStringLiteral("/Debug.log");
}

void CreateFolders() {
    QDir().mkpath(SettingsFolder());
    QDir().mkpath(QFileInfo(LogFilePath()).absolutePath());
}
} // namespace AppPaths
