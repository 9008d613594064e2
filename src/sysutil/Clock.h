#pragma once
// One source of time for the whole program: monotonic milliseconds, 64-bit so that stored
// tick counts never wrap. Tests substitute a clock they set by hand.

#include <QElapsedTimer>
#include <QtGlobal>

class TClock {
public:
    virtual ~TClock() = default;
    virtual qint64 NowMs() const = 0;
};

class TMonotonicClock final : public TClock {
public:
    TMonotonicClock() { timer.start(); }
    // Offset by one day so that "a tick count of 0" never reads as "just now".
    qint64 NowMs() const override { return timer.elapsed() + 24LL * 3600 * 1000; }

private:
    QElapsedTimer timer;
};
