#include "platform/linux/XdgDefaultBrowser.h"

#include "platform/linux/DesktopEntry.h"

#include <QDir>
#include <QFileInfo>

namespace {
const QString HtmlType = QStringLiteral("text/html");

QString EnvText(const char *name) {
    return QString::fromLocal8Bit(qgetenv(name));
}

// A base folder variable; relative values are ignored, as the base directory rules ask.
QString XdgHome(const char *variable, const QString &belowHome) {
    const QString value = EnvText(variable);
    return !value.isEmpty() && QDir::isAbsolutePath(value) ? value : QDir::homePath() + belowHome;
}

QStringList XdgDirs(const char *variable, const QString &fallback) {
    QString value = EnvText(variable);
    if (value.isEmpty()) value = fallback;
    QStringList dirs;
    for (const QString &dir : value.split(QLatin1Char(':'), Qt::SkipEmptyParts))
        if (QDir::isAbsolutePath(dir)) dirs.append(dir);
    return dirs;
}

QStringList ApplicationFolders() {
    QStringList folders{XdgHome("XDG_DATA_HOME", QStringLiteral("/.local/share")) +
                        QStringLiteral("/applications")};
    for (const QString &dir : XdgDirs("XDG_DATA_DIRS", QStringLiteral("/usr/local/share:/usr/share")))
        folders.append(dir + QStringLiteral("/applications"));
    return folders;
}

// The Exec line of an installed, usable desktop entry; nothing otherwise.
std::optional<QStringList> EntryCommand(const QString &desktopId) {
    if (desktopId.contains(QLatin1Char('/'))) return std::nullopt;
    for (const QString &folder : ApplicationFolders()) {
        const QString path = folder + QLatin1Char('/') + desktopId;
        if (!QFileInfo::exists(path)) continue;
        const QHash<QString, QString> entry = DesktopEntry::ReadGroup(path, QStringLiteral("Desktop Entry"));
        if (entry.value(QStringLiteral("Hidden")) == QLatin1String("true")) return std::nullopt;
        const std::optional<QStringList> command =
            DesktopEntry::SplitExec(entry.value(QStringLiteral("Exec")));
        return command && !command->isEmpty() ? command : std::nullopt;
    }
    return std::nullopt;
}
} // namespace

QStringList TXdgDefaultBrowser::MimeAppsFiles() {
    QStringList folders{XdgHome("XDG_CONFIG_HOME", QStringLiteral("/.config"))};
    folders += XdgDirs("XDG_CONFIG_DIRS", QStringLiteral("/etc/xdg"));
    for (const QString &folder : ApplicationFolders())
        folders.append(folder);
    QStringList desktops;
    for (const QString &desktop : EnvText("XDG_CURRENT_DESKTOP").split(QLatin1Char(':'), Qt::SkipEmptyParts))
        desktops.append(desktop.toLower() + QStringLiteral("-mimeapps.list"));
    desktops.append(QStringLiteral("mimeapps.list"));

    QStringList files;
    for (const QString &folder : folders)
        for (const QString &name : desktops)
            files.append(folder + QLatin1Char('/') + name);
    return files;
}

std::optional<QStringList> TXdgDefaultBrowser::BrowserCommand() const {
    for (const QString &file : MimeAppsFiles()) {
        const QString ids =
            DesktopEntry::ReadGroup(file, QStringLiteral("Default Applications")).value(HtmlType);
        // A listed application that is not installed gives way to the next one.
        for (const QString &id : ids.split(QLatin1Char(';'), Qt::SkipEmptyParts))
            if (std::optional<QStringList> command = EntryCommand(id.trimmed())) return command;
    }
    return std::nullopt;
}
