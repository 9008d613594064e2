// The program: settings loaded before any window, one running copy, the Skype link on the session bus,
// the container with the main window, the event loop, and the last save.

#include "platform/linux/Autostart.h"
#include "platform/linux/DBusSkypeTransport.h"
#include "platform/linux/UnixSignals.h"
#include "platform/linux/XdgDefaultBrowser.h"
#include "settings/SettingsStore.h"
#include "shell/AppPaths.h"
#include "shell/Autostart.h"
#include "shell/ContainerFrm.h"
#include "shell/Mainfrm.h"
#include "shell/QtPrompts.h"
#include "shell/SingleInstance.h"
#include "shell/TrayIcon.h"
#include "sysutil/Clock.h"

#include <QApplication>
#include <QSessionManager>

namespace {
// How long a second copy waits for the running one to take its parameters.
constexpr int HandOverTimeoutMs = 5000;
} // namespace

int main(int argc, char **argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Orvi"));
    QApplication::setApplicationDisplayName(QStringLiteral("Orvi"));
    // The program lives in the tray: a hidden window is not the end of it.
    QApplication::setQuitOnLastWindowClosed(false);
    const QStringList parameters = QApplication::arguments().mid(1);

    AppPaths::CreateFolders();
    // A second copy only hands its parameters over; it must not read settings the first one writes.
    TSingleInstance guard(AppPaths::SettingsFolder());
    if (guard.Claim() == TSingleInstance::TRole::Secondary) {
        guard.SendToPrimary(parameters, HandOverTimeoutMs);
        return 0;
    }

    TSettingsStore settings;
    settings.Load();

    TDBusSkypeTransport transport("Orvi");
    TQtPrompts prompts;
    TMonotonicClock clock;
    TXdgAutostart autostart;
    TXdgDefaultBrowser browser;

    TContainerForm container;
    prompts.SetParent(&container);
    container.CreateMainForm(TMainFormServices{settings, transport, prompts, clock, autostart, browser,
                                               AppPaths::LogFilePath(), parameters});
    container.ConnectSingleInstance(guard);
    QObject::connect(&container, &TContainerForm::CloseQuery, &app, &QCoreApplication::quit,
                     Qt::QueuedConnection);

    // The end of the desktop session and a termination signal close the program like "Exit".
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &container,
                     [&container](QSessionManager &) { container.close(); });
    TUnixSignals signals_;
    QObject::connect(&signals_, &TUnixSignals::TerminationRequested, &container,
                     [&container] { container.close(); });
    QObject::connect(&app, &QCoreApplication::aboutToQuit, &container, [&container] { container.close(); });

    container.CoolTrayIcon1->Show();
    if (!StartHidden()) container.show();
    const int result = QApplication::exec();
    settings.ExitSave();
    return result;
}
