#include "platform/linux/DesktopEntry.h"

#include <QFile>

namespace {
QString Unescape(QStringView value) {
    QString text;
    for (qsizetype i = 0; i < value.size(); ++i) {
        if (value[i] != QLatin1Char('\\') || i + 1 == value.size()) {
            text += value[i];
            continue;
        }
        const QChar next = value[++i];
        switch (next.unicode()) {
        case 's':
            text += QLatin1Char(' ');
            break;
        case 'n':
            text += QLatin1Char('\n');
            break;
        case 't':
            text += QLatin1Char('\t');
            break;
        case 'r':
            text += QLatin1Char('\r');
            break;
        default:
            text += next;
            break; // "\\" and escapes of a list separator
        }
    }
    return text;
}

bool NeedsQuotes(const QString &argument) {
    static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#`()");
    if (argument.isEmpty()) return true;
    for (const QChar c : argument)
        if (reserved.contains(c)) return true;
    return false;
}

QString QuoteArgument(QString argument) {
    argument.replace(QLatin1Char('%'), QStringLiteral("%%"));
    if (!NeedsQuotes(argument)) return argument;
    QString quoted = QStringLiteral("\"");
    for (const QChar c : argument) {
        if (QStringLiteral("\"`$\\").contains(c)) quoted += QLatin1Char('\\');
        quoted += c;
    }
    return quoted + QLatin1Char('"');
}
} // namespace

namespace DesktopEntry {
QHash<QString, QString> ReadGroup(const QString &path, const QString &group) {
    QHash<QString, QString> keys;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) return keys;
    const QString header = QLatin1Char('[') + group + QLatin1Char(']');
    bool inGroup = false;
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine()).trimmed();
        if (line.startsWith(QLatin1Char('['))) {
            inGroup = line == header;
            continue;
        }
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (!inGroup || line.startsWith(QLatin1Char('#')) || equals <= 0) continue;
        const QString key = line.left(equals).trimmed();
        if (!keys.contains(key)) // the first of a repeated key counts
            keys.insert(key, Unescape(QStringView(line).mid(equals + 1).trimmed()));
    }
    return keys;
}

std::optional<QStringList> SplitExec(const QString &exec) {
    QStringList arguments;
    QString current;
    bool inArgument = false;
    bool quoted = false;
    for (qsizetype i = 0; i < exec.size(); ++i) {
        const QChar c = exec[i];
        if (quoted) {
            if (c == QLatin1Char('\\') && i + 1 < exec.size() &&
                QStringLiteral("\"`$\\").contains(exec[i + 1]))
                current += exec[++i];
            else if (c == QLatin1Char('"'))
                quoted = false;
            else
                current += c;
        } else if (c == QLatin1Char(' ') || c == QLatin1Char('\t')) {
            if (inArgument) arguments.append(current);
            current.clear();
            inArgument = false;
        } else {
            quoted = c == QLatin1Char('"');
            if (!quoted) current += c;
            inArgument = true;
        }
    }
    if (quoted) return std::nullopt;
    if (inArgument) arguments.append(current);
    return arguments;
}

QString ExecLine(const QStringList &arguments) {
    QStringList quoted;
    for (const QString &argument : arguments)
        quoted.append(QuoteArgument(argument));
    // The value is itself an escaped string: every backslash of the quoting is written twice.
    return quoted.join(QLatin1Char(' '))
        .replace(QLatin1Char('\\'), QStringLiteral("\\\\"))
        .replace(QLatin1Char('\n'), QStringLiteral("\\n"));
}
} // namespace DesktopEntry
