#include "sysutil/enumStuff.h"

#include "shell/Prompts.h"

#include <algorithm>

namespace {
QString FromEnvOr(const char *name, const QString &fallback) {
    const QString value = QString::fromLocal8Bit(qgetenv(name));
    return value.isEmpty() ? fallback : value;
}
} // namespace

TProcessList GetProcessList(const TProcessSource &source, TPrompts &prompts) {
    if (std::optional<TProcessList> list = source.ReadProcesses()) return *list;
    prompts.Inform(QStringLiteral("Error..."), QStringLiteral("Error reading Performace Data."),
                   TPrompts::TIcon::None);
    return TProcessList();
}

bool ContainsProcess(const TProcessList &list, const QString &exeName) {
    return std::any_of(list.cbegin(), list.cend(), [&exeName](const TProcessEntry &entry) {
        return entry.ExeName.compare(exeName, Qt::CaseInsensitive) == 0;
    });
}

QString SkypeProcessName() {
    return FromEnvOr("ORVI_SKYPE_EXE", QStringLiteral("skype"));
}

QString SkypeProgramPath() {
    return FromEnvOr("ORVI_SKYPE_PATH", QStringLiteral("/usr/bin/skype"));
}
