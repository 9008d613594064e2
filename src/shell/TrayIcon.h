#pragma once
// The tray icon with its menu. Falls back gracefully where the desktop has no tray: IsAvailable()
// tells the window whether hiding to the tray is safe.

#include <QList>
#include <QObject>
#include <QString>

#include <memory>

class QAction;
class QMenu;
class QSystemTrayIcon;

class TTrayIcon : public QObject {
    Q_OBJECT
public:
    explicit TTrayIcon(QObject *parent = nullptr);
    ~TTrayIcon() override;

    // Whether the desktop shows tray icons at all.
    static bool IsAvailable();

    void Show();
    void SetHint(const QString &hint);
    QString Hint() const;
    // Fills the "Change Web Status" submenu with the web-status items of the main window.
    void SetWebStatusActions(const QList<QAction *> &actions);

    QSystemTrayIcon *CoolTrayIcon1;
    QMenu *TBPopmnuTray;
    QAction *TBpopmnEnablePresence;
    QMenu *TBXChangeWebStatusmnu;
    QAction *TBpopmnAutoResponse;
    QAction *TBpopmnEnableCallNotify;
    QAction *TBpopmnEnableCallForwarding;
    QAction *TBpopmnOpen;
    QAction *TBpopmnExit;

Q_SIGNALS:
    // The icon was clicked with the left mouse button.
    void LeftClicked();

private:
    QAction *AddItem(const char *name, const QString &caption, bool checkable);

    std::unique_ptr<QMenu> menu; // a menu without a parent widget is owned here
};
