#pragma once
// The program's pictures, drawn as SVG and compiled into the program (icons.qrc). The status images
// keep the numbering that the status lookups and the pages use; an index without a picture, or -1,
// gives an empty icon, which clears a control's image.

#include <QIcon>
#include <QString>

namespace OrviIcons {

// A picture by its file name without ".svg", for example "online" or "tb_advanced".
QIcon Named(const QString &name);

// Online-status and page images (the main window's image list): 0 Skype Me, 1 Do Not Disturb,
// 3 On a Call, 4 Not Available, 5 Offline, 6 Online, 7 Away, 8 Pending, 9 Call Forwarding page,
// 10 unknown person, 11 Browser Sync page.
QIcon StatusImage(int index);

// Status-bar and browser images: 7 connected, 8 not connected, 21 sync on, 22 sync idle,
// 23 inviting.
QIcon BrowserImage(int index);

// The program's own icon (window and tray).
QIcon ProgramIcon();

} // namespace OrviIcons
