#pragma once
// Where Orvi keeps its files: $ORVI_HOME when set (tests use it), otherwise the XDG locations.

#include <QString>

namespace AppPaths {
// Folder of Settings.xml: $ORVI_HOME, else $XDG_CONFIG_HOME/Orvi (~/.config/Orvi).
QString SettingsFolder();
// Full path of Debug.log: $ORVI_HOME/Debug.log, else $XDG_STATE_HOME/Orvi/Debug.log (~/.local/state/Orvi).
QString LogFilePath();
// Creates both folders (the installer's job on Windows); failures are left to the users of the paths.
void CreateFolders();
} // namespace AppPaths
