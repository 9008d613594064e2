#pragma once
// Launch on start-up through XDG autostart: the user's entry in $XDG_CONFIG_HOME/autostart, and the
// machine-wide one in /etc/xdg/autostart that is only ever removed.

#include "shell/Autostart.h"

class TXdgAutostart final : public TAutostart {
public:
    // The entry always starts the installed program, not whichever binary happens to run.
    explicit TXdgAutostart(QString program = QStringLiteral(ORVI_INSTALLED_PATH),
                           QString machineFolder = QStringLiteral("/etc/xdg/autostart"));

    QString SetUserEntry(bool launch) override;
    QString RemoveMachineEntry() override;

    // $XDG_CONFIG_HOME/autostart/orvi.desktop (~/.config when the variable is unset or relative).
    static QString UserEntryPath();

private:
    QString program;
    QString machineFolder;
};
