#include "platform/linux/ProcProcessSource.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace {
// The kernel keeps at most 15 characters of a process name.
constexpr qsizetype CommLength = 15;

QByteArray ReadSmallFile(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.read(4096) : QByteArray();
}

// The name the process was started under; a cut-off short name is completed from its first argument.
QString ProcessName(const QString &folder) {
    const QString comm = QString::fromLocal8Bit(ReadSmallFile(folder + QStringLiteral("/comm"))).trimmed();
    if (comm.size() < CommLength) return comm;
    const QByteArray commandLine = ReadSmallFile(folder + QStringLiteral("/cmdline"));
    const QString first =
        QFileInfo(QString::fromLocal8Bit(commandLine.left(commandLine.indexOf('\0')))).fileName();
    return first.startsWith(comm) ? first : comm;
}
} // namespace

TProcProcessSource::TProcProcessSource(QString procRoot) : procRoot(std::move(procRoot)) {}

std::optional<TProcessList> TProcProcessSource::ReadProcesses() const {
    const QDir root(procRoot);
    if (!root.exists()) return std::nullopt;
    TProcessList list;
    for (const QString &entry : root.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        bool numeric = false;
        const quint32 id = entry.toUInt(&numeric);
        if (!numeric) continue;
        const QString name = ProcessName(root.filePath(entry));
        if (!name.isEmpty()) // empty: the process ended while the list was read
            list.append({id, name});
    }
    std::sort(list.begin(), list.end(),
              [](const TProcessEntry &a, const TProcessEntry &b) { return a.ProcessID < b.ProcessID; });
    return list;
}
