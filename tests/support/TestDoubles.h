#pragma once
// Small doubles shared by the tests: a clock set by hand and a LogFile switch held in memory.

#include "shell/TraceLog.h"
#include "sysutil/Clock.h"

class TTestClock final : public TClock {
public:
    qint64 now = 1000;
    qint64 NowMs() const override { return now; }
    void Advance(qint64 ms) { now += ms; }
};

class TMemoryLogSwitch final : public TLogSwitch {
public:
    explicit TMemoryLogSwitch(bool on = true) : on(on) {}
    bool on;
    int stores = 0;
    bool LogFile() const override { return on; }
    void SetLogFile(bool value) override {
        on = value;
        ++stores;
    }
};
