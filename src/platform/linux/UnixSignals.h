#pragma once
// SIGTERM and SIGINT brought into the Qt event loop, so that a logout or a Ctrl+C closes the program
// the same way as "Exit" instead of killing it mid-save.

#include <QObject>

#include <csignal>

class QSocketNotifier;

class TUnixSignals : public QObject {
    Q_OBJECT
public:
    // Installs the handlers; one object at a time (a second one stays inactive). The previous handlers
    // come back when the object goes.
    explicit TUnixSignals(QObject *parent = nullptr);
    ~TUnixSignals() override;

    bool IsActive() const { return notifier != nullptr; }

Q_SIGNALS:
    // Delivered in the event loop, once per signal received.
    void TerminationRequested(int signalNumber);

private:
    void Drain();

    QSocketNotifier *notifier = nullptr;
    struct sigaction previousTerm {};
    struct sigaction previousInt {};
};
