#pragma once
// The program's top-level window: it hosts the main window as a borderless child that fills it and
// owns the tray icon with its menu. Closing it runs the closing steps and ends the program.

#include <QWidget>

class TMainForm;
class TSingleInstance;
class TTrayIcon;
struct TMainFormServices;

class TContainerForm : public QWidget {
    Q_OBJECT
public:
    explicit TContainerForm(QWidget *parent = nullptr);

    // Creates the main window once and embeds it; a second call does nothing.
    void CreateMainForm(const TMainFormServices &services);
    // Takes the main window in as a borderless child filling the whole window; only the first call
    // embeds, a second main window is refused (returns false).
    bool EmbedMainForm(TMainForm *form);
    TMainForm *MainForm() const { return mainForm; }

    // The tray menu after the main window's settings.
    void UpdateContainerGUI();
    // Tray icon click: show the window when hidden, else hide it.
    void CoolTrayIcon1Click();
    // "Open": show, restore and raise the window.
    void ShowFromTray();
    // The other copy's events.
    void ConnectSingleInstance(TSingleInstance &guard);
    void JvAppInstances1InstanceCreated();
    void JvAppInstances1CmdLineReceived(const QStringList &params);
    void JvAppInstances1InstanceDestroyed();

    bool ContainerWasVisible = false;
    TTrayIcon *CoolTrayIcon1;

Q_SIGNALS:
    // The window has closed (window button, "Exit", or close()) after its closing steps; the program ends.
    void CloseQuery();
    // The user minimized the window.
    void Minimized();

protected:
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void ConnectTrayMenu();
    void MinimizeToTray();
    // Runs a tray handler under the container's guard, which names the handler in the trace log.
    template <class Work> void GuardedTray(const char *handler, Work &&work);

    TMainForm *mainForm = nullptr;
    bool closingStepsDone = false;
};
