#pragma once
// Keeps the program attached to Skype: the retry cycle of discover broadcasts and pings, PONG as the
// proof of a working link, the owner selection when Skype names its user, Skype logging out, the
// attach-refused instructions and the chat topic that waits for its chat.

#include "skype/SkypeControlConst.h"

#include <QByteArray>
#include <QString>

class QTimer;
class TPrompts;
class TSettingsStore;
class TSkypeControl;
class TTraceLog;
struct TSharedState;

// What the supervisor asks of the main window.
class TSessionView {
public:
    virtual ~TSessionView() = default;
    // Status bar: "Connected to Skype" or "Not Connected to Skype" with its image.
    virtual void ShowConnection(bool connected) = 0;
    virtual void SetContainerCaption(const QString &caption) = 0;
    // Brings the window in line with the owner in force and saves.
    virtual void ApplyOwnerSettings() = 0;
    virtual void PublishPresence(int code, bool forced) = 0;
};

class TSessionSupervisor {
public:
    // Ticks of AttachTimer after which a cycle gives up.
    static constexpr int MaxAttachAttempts = 15;
    static constexpr int AttachIntervalMs = 2000;
    static constexpr int PingDelayMs = 1000;

    TSessionSupervisor(TSkypeControl &skype, TSettingsStore &settings, TTraceLog &log, TPrompts &prompts,
                       TSharedState &state, QTimer &attachTimer, QTimer &pingTimer, TSessionView &view);

    int AttachAttempts = 0;
    bool RefusalShown = false;
    bool ChatTopicPending = false;
    QByteArray PendingChatTopic;

    // Start of a run: no attempts, nothing shown, no chat topic waiting.
    void Reset();

    void StartAttachCycle();
    void AttachTimerTimer();
    void PingTimerTimer();

    // Event work after the handler's trace line.
    void AttachSuccess();
    void AttachRefused();
    void Pong();
    void ConnStatus(TSkypeConnStatus status);
    void CurrentUserHandle(const QByteArray &userHandle);
    void CopyData(const QByteArray &rawData);

    static QString RefusalInstructions();

private:
    TSkypeControl &skype;
    TSettingsStore &settings;
    TTraceLog &log;
    TPrompts &prompts;
    TSharedState &state;
    QTimer &attachTimer;
    QTimer &pingTimer;
    TSessionView &view;
};
