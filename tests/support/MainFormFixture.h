#pragma once
// A main window inside its container, built on the fake Skype transport, scripted prompts, a hand-set
// clock, a recording start-up entry and no web browser, with its settings and trace log in a temporary
// folder. Presence updates go to ORVI_PRESENCE_URL; unset, to a loopback port that refuses them, so
// that no test reaches the internet. The presence notice is recorded and answered from noticeAnswer.

#include "FakeSkypeTransport.h"
#include "ScriptedPrompts.h"
#include "TestDoubles.h"

#include "settings/SettingsStore.h"
#include "shell/Autostart.h"
#include "shell/ContainerFrm.h"
#include "shell/Mainfrm.h"
#include "sysutil/pvlUrl.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

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

// A desktop without a registered web browser: links open nothing.
class TNoBrowser final : public TDefaultBrowserSource {
public:
    std::optional<QStringList> BrowserCommand() const override { return std::nullopt; }
};

// A presence notice the window showed.
struct TShownNotice {
    QString caption;
    QString text;
};

// Records the presence updates a window starts from now on.
class TPresenceUpdates {
public:
    explicit TPresenceUpdates(TMainForm &form)
        : form(form), finished(&form.Presence, &TPresenceModel::UpdateFinished) {}
    // The codes of the updates, in the order they ended, once none is under way; -1 at the end when
    // one is still under way after ten seconds.
    QList<int> Codes() {
        const bool ended = QTest::qWaitFor([this] { return form.Presence.PendingUpdates() == 0; }, 10000);
        QList<int> codes;
        for (const QList<QVariant> &update : finished)
            codes.append(update.at(0).toInt());
        if (!ended) codes.append(-1);
        return codes;
    }

private:
    TMainForm &form;
    QSignalSpy finished;
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
        if (!qEnvironmentVariableIsSet("ORVI_PRESENCE_URL"))
            qputenv("ORVI_PRESENCE_URL", QByteArrayLiteral("http://127.0.0.1:9"));
        settings.Load();
        settings.SettingsRoot().SetLogFile(true);
        if (prepare) prepare(settings);
        const TMainFormServices services{settings,  transport, prompts,   clock,
                                         autostart, browser,   LogPath(), parameters};
        container = std::make_unique<TContainerForm>();
        if (embedding == TEmbedding::Standalone) {
            ownForm = std::make_unique<TMainForm>(services);
            form = ownForm.get();
        } else {
            container->CreateMainForm(services);
            form = container->MainForm();
        }
        form->AskPresenceNotice = [this](const QString &caption, const QString &text) {
            notices.append({caption, text});
            return noticeAnswer;
        };
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
    TNoBrowser browser;
    QList<TShownNotice> notices;
    bool noticeAnswer = false;
    std::unique_ptr<TContainerForm> container;
    std::unique_ptr<TMainForm> ownForm;
    TMainForm *form = nullptr;
};
