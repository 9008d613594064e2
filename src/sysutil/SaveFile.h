#pragma once
// The one way Orvi writes a file: to a temporary file beside it, every write checked, renamed over
// the old one, then the folder synced. A crash or a full disk leaves the previous file whole.

#include <QByteArray>
#include <QString>

// Returns an empty text on success, else what went wrong; never leaves half a file behind.
QString SaveFileAtomically(const QString &path, const QByteArray &contents);
