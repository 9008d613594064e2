#pragma once
// The little of the freedesktop.org desktop entry format that Orvi reads and writes: the keys of one
// group, and the quoting of the Exec line.

#include <QHash>
#include <QString>
#include <QStringList>

#include <optional>

namespace DesktopEntry {
// The keys of one group with the string escapes (\s \n \t \r \\) undone; empty when the file cannot be read.
QHash<QString, QString> ReadGroup(const QString &path, const QString &group);
// Program and arguments of an Exec value, quotes and their escapes undone; nothing when a quote is left open.
std::optional<QStringList> SplitExec(const QString &exec);
// The Exec value, as written in the file, that runs exactly these arguments (literal percent signs doubled).
QString ExecLine(const QStringList &arguments);
} // namespace DesktopEntry
