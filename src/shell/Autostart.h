#pragma once
// Launch on start-up and start hidden. The platform's start-up entries sit behind TAutostart;
// the shell calls SetRunEntry after the menu switch and at every exit.

#include <QString>

class TTraceLog;

class TAutostart {
public:
    virtual ~TAutostart() = default;

    // Writes the user's start-up entry (launch) or removes it; an empty text on success, else what went
    // wrong.
    virtual QString SetUserEntry(bool launch) = 0;
    // Removes the machine-wide start-up entry; normally refused for a user without administrative rights.
    virtual QString RemoveMachineEntry() = 0;
};

// Brings the start-up entries in line with LaunchOnStartUp (remove = not LaunchOnStartUp). Each step stands
// alone: a failed one writes "Exception" to the trace log and the other still runs.
void SetRunEntry(TAutostart &autostart, TTraceLog &log, bool remove);

// Whether the program starts with only its tray icon: the StartHidden value of CoolTrayIcon/StartOrviPro,
// not zero. Nothing in the program writes it; an installer or the user does.
bool StartHidden();
