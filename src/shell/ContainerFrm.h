#pragma once
// The program's top-level window: it hosts the main window as a borderless child that fills it and
// owns the tray icon. Closing it ends the program.

#include <QWidget>

class TMainForm;
class TTrayIcon;

class TContainerForm : public QWidget {
    Q_OBJECT
public:
    explicit TContainerForm(QWidget *parent = nullptr);

    // Takes the main window in as a borderless child filling the whole window; only the first call
    // embeds, a second main window is refused (returns false).
    bool EmbedMainForm(TMainForm *form);
    TMainForm *MainForm() const { return mainForm; }

    TTrayIcon *CoolTrayIcon1;

Q_SIGNALS:
    // The window is about to close (window button, or close()); closing is always allowed.
    void CloseQuery();
    // The user minimized the window.
    void Minimized();

protected:
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    TMainForm *mainForm = nullptr;
};
