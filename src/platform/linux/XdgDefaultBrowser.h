#pragma once
// The default browser of an XDG desktop: the default application for text/html named in the
// mimeapps.list files, and the Exec line of its desktop entry.

#include "sysutil/pvlUrl.h"

class TXdgDefaultBrowser final : public TDefaultBrowserSource {
public:
    std::optional<QStringList> BrowserCommand() const override;

    // The mimeapps.list files in the order they are consulted (user's before the system's, the desktop's
    // own list before the common one).
    static QStringList MimeAppsFiles();
};
