#pragma once
// Running processes read from /proc: every numeric entry, in the order of the process ids.

#include "sysutil/enumStuff.h"

class TProcProcessSource final : public TProcessSource {
public:
    explicit TProcProcessSource(QString procRoot = QStringLiteral("/proc"));

    std::optional<TProcessList> ReadProcesses() const override;

private:
    QString procRoot;
};
