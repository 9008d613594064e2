#pragma once
// A main window inside its container, built on the fake Skype transport, scripted prompts, a hand-set
// clock and a recording start-up entry, with its settings and trace log in a temporary folder.

#include "FakeSkypeTransport.h"
#include "ScriptedPrompts.h"
#include "TestDoubles.h"

#include "settings/SettingsStore.h"
#include "shell/Autostart.h"
#include "shell/ContainerFrm.h"
#include "shell/Mainfrm.h"

#include <QFile>
#include <QTemporaryDir>

#include <functional>
#include <memory>

class TRecordingAutostart final : public TAutostart {
public:
    QList<bool> userEntries; // the launch value of every write
    int machineRemovals = 0;
    QString SetUserEntry(bool launch) override {
        userEntries.append(launch);
        return {};
    }
    QString RemoveMachineEntry() override {
        ++machineRemovals;
        return {};
    }
};

class TMainFormFixture {
public:
    // In its container, or a window of its own (to look at its size).
    enum class TEmbedding { InContainer, Standalone };

    // prepare runs on the loaded settings before the window exists; the trace log is switched on.
    explicit TMainFormFixture(const std::function<void(TSettingsStore &)> &prepare = {},
                              const QStringList &parameters = {},
                              TEmbedding embedding = TEmbedding::InContainer)
        : settings(TSettingsLocations{dir.filePath(QStringLiteral("Settings.xml")),
                                      dir.filePath(QStringLiteral("bare/Settings.xml"))}) {
        settings.Load();
        settings.SettingsRoot().SetLogFile(true);
        if (prepare) prepare(settings);
        const TMainFormServices services{settings,  transport, prompts,   clock,
                                         autostart, LogPath(), parameters};
        container = std::make_unique<TContainerForm>();
        if (embedding == TEmbedding::Standalone) {
            ownForm = std::make_unique<TMainForm>(services);
            form = ownForm.get();
            return;
        }
        container->CreateMainForm(services);
        form = container->MainForm();
    }

    QString LogPath() const { return dir.filePath(QStringLiteral("Debug.log")); }

    // The trace log's messages without their time.
    QStringList LogLines() const {
        QFile file(LogPath());
        if (!file.open(QIODevice::ReadOnly)) return {};
        QStringList lines;
        for (const QString &line :
             QString::fromUtf8(file.readAll()).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts))
            lines.append(line.section(QStringLiteral(" : "), 1));
        return lines;
    }

    static inline const TSkypeWindow SkypeWindow = QStringLiteral(":1.5");

    // One tick of the attach cycle; Skype attaches the program and answers the ping.
    void Connect() {
        form->AttachTimerTimer();
        transport.DeliverAttach(SkypeWindow, SkypeAttachStatus::Success);
        form->PingTimerTimer();
        Notify("PONG");
    }
    void Notify(const QByteArray &text) { transport.DeliverNotification(SkypeWindow, text); }

    // The commands sent from now on.
    void ForgetSent() { transport.sent.clear(); }

    QTemporaryDir dir;
    TSettingsStore settings;
    FakeSkypeTransport transport;
    TScriptedPrompts prompts;
    TTestClock clock;
    TRecordingAutostart autostart;
    std::unique_ptr<TContainerForm> container;
    std::unique_ptr<TMainForm> ownForm;
    TMainForm *form = nullptr;
};
