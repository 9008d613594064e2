#pragma once
// The list of running processes, used to find out whether the Skype client runs. The platform reads
// the list behind TProcessSource; the rest here is the same on every platform.

#include <QList>
#include <QString>

#include <optional>

class TPrompts;

struct TProcessEntry {
    quint32 ProcessID = 0;
    QString ExeName;
};
using TProcessList = QList<TProcessEntry>;

class TProcessSource {
public:
    virtual ~TProcessSource() = default;
    // Every process the system lists, in its order; nothing when the list cannot be read at all.
    virtual std::optional<TProcessList> ReadProcesses() const = 0;
};

// The processes running now. When the system cannot tell, says so through the prompts and gives an
// empty list, which callers take as "Skype is not running".
TProcessList GetProcessList(const TProcessSource &source, TPrompts &prompts);

// Whether a process of that name is in the list, letter case aside; every entry is looked at.
bool ContainsProcess(const TProcessList &list, const QString &exeName);

// Process name of the Skype client: $ORVI_SKYPE_EXE, else "skype".
QString SkypeProcessName();
// Program that starts the Skype client: $ORVI_SKYPE_PATH, else "/usr/bin/skype".
QString SkypeProgramPath();
