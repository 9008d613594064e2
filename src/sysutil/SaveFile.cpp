#include "sysutil/SaveFile.h"

#include <QFileInfo>
#include <QSaveFile>

#include <fcntl.h>
#include <unistd.h>

namespace {
// The rename is durable only once the folder's entry is on disk.
bool SyncFolder(const QString &folder) {
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return false;
    const bool ok = ::fsync(fd) == 0;
    ::close(fd);
    return ok;
}
} // namespace

QString SaveFileAtomically(const QString &path, const QByteArray &contents) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return file.errorString();
    if (file.write(contents) != contents.size()) {
        const QString error = file.errorString();
        file.cancelWriting();
        return error;
    }
    if (!file.commit()) return file.errorString();
    if (!SyncFolder(QFileInfo(path).absolutePath()))
        return QStringLiteral("could not sync the folder of %1").arg(path);
    return QString();
}
