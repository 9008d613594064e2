#include "platform/linux/Autostart.h"

#include "platform/linux/DesktopEntry.h"
#include "sysutil/SaveFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <unistd.h>

namespace {
const QString EntryName = QStringLiteral("orvi.desktop");

QString RemoveEntry(const QString &path) {
    QFile file(path);
    if (!file.exists() || file.remove()) return QString();
    return file.errorString();
}
} // namespace

TXdgAutostart::TXdgAutostart(QString program, QString machineFolder)
    : program(std::move(program)), machineFolder(std::move(machineFolder)) {}

QString TXdgAutostart::UserEntryPath() {
    QString config = QString::fromLocal8Bit(qgetenv("XDG_CONFIG_HOME"));
    if (config.isEmpty() || !QDir::isAbsolutePath(config))
        config = QDir::homePath() + QStringLiteral("/.config");
    return config + QStringLiteral("/autostart/") + EntryName;
}

QString TXdgAutostart::SetUserEntry(bool launch) {
    const QString path = UserEntryPath();
    if (!launch) return RemoveEntry(path);
    if (!QDir().mkpath(QFileInfo(path).path()))
        return QStringLiteral("cannot create %1").arg(QFileInfo(path).path());
    const QString entry =
        QStringLiteral("[Desktop Entry]\n"
                       "Type=Application\n"
                       "Name=Orvi\n"
                       "Comment=Web presence, auto-responder and call forwarding for Skype\n"
                       "Exec=%1\n"
                       "Terminal=false\n")
            .arg(DesktopEntry::ExecLine({program}));
    return SaveFileAtomically(path, entry.toUtf8());
}

QString TXdgAutostart::RemoveMachineEntry() {
    // Like a machine-wide registry key opened for writing: without the right to change the folder the
    // step fails, whether or not an entry is there.
    if (::access(QFile::encodeName(machineFolder).constData(), W_OK) != 0)
        return QStringLiteral("no right to change %1").arg(machineFolder);
    return RemoveEntry(machineFolder + QLatin1Char('/') + EntryName);
}
