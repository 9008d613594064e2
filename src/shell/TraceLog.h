#pragma once
// The trace log: one line per call, "time : message", opened and closed per line so that every
// line that returned is on disk. Whether anything is written is read anew for every line.

#include <QString>

#include <stdexcept>
#include <utility>

// The LogFile switch of the settings root, seen through the little the log needs of it.
class TLogSwitch {
public:
    virtual ~TLogSwitch() = default;
    virtual bool LogFile() const = 0;
    virtual void SetLogFile(bool on) = 0;
};

// A line could be opened but not written (a full disk, say).
class TLogWriteError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class TTraceLog {
public:
    TTraceLog(TLogSwitch &logSwitch, QString path);

    const QString &LogFilePath() const { return path; }

    // Start of a run: makes the LogFile element present (false when it reads false) and empties the file.
    void Start();
    // Appends one line when logging is on; throws TLogWriteError when the write itself fails.
    void WriteLog(const QString &message);

    // "-1" and "0", the way the trace shows Booleans.
    static QString Bool(bool value) { return value ? QStringLiteral("-1") : QStringLiteral("0"); }

private:
    TLogSwitch &logSwitch;
    QString path;
};

// The exception guard of every handler: a caught exception writes its line and the handler goes on.
template <class Work>
void Guarded(TTraceLog &log, Work &&work, const QString &line = QStringLiteral("Exception")) {
    try {
        std::forward<Work>(work)();
    } catch (...) {
        try {
            log.WriteLog(line);
        } catch (...) {
            // The log itself failed; there is nowhere left to report it.
        }
    }
}
