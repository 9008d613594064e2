#include "shell/TrayIcon.h"

#include "shell/Icons.h"

#include <QAction>
#include <QMenu>
#include <QSystemTrayIcon>

TTrayIcon::TTrayIcon(QObject *parent)
    : QObject(parent), CoolTrayIcon1(new QSystemTrayIcon(OrviIcons::ProgramIcon(), this)),
      menu(std::make_unique<QMenu>()) {
    CoolTrayIcon1->setObjectName(QStringLiteral("CoolTrayIcon1"));
    TBPopmnuTray = menu.get();
    TBPopmnuTray->setObjectName(QStringLiteral("TBPopmnuTray"));

    TBpopmnEnablePresence = AddItem("TBpopmnEnablePresence", tr("Enable Presence"), true);
    TBXChangeWebStatusmnu = TBPopmnuTray->addMenu(tr("Change Web Status"));
    TBXChangeWebStatusmnu->setObjectName(QStringLiteral("TBXChangeWebStatusmnu"));
    TBpopmnAutoResponse = AddItem("TBpopmnAutoResponse", tr("Auto Response"), true);
    TBpopmnEnableCallNotify = AddItem("TBpopmnEnableCallNotify", tr("Enable Call Notify"), true);
    TBpopmnEnableCallForwarding = AddItem("TBpopmnEnableCallForwarding", tr("Enable Call Forwarding"), true);
    TBPopmnuTray->addSeparator();
    TBpopmnOpen = AddItem("TBpopmnOpen", tr("Open"), false);
    TBpopmnExit = AddItem("TBpopmnExit", tr("Exit"), false);

    CoolTrayIcon1->setContextMenu(TBPopmnuTray);
    SetHint(tr("Orvi Presence"));
    connect(CoolTrayIcon1, &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) {
                if (reason == QSystemTrayIcon::Trigger) Q_EMIT LeftClicked();
            });
}

TTrayIcon::~TTrayIcon() = default;

bool TTrayIcon::IsAvailable() {
    return QSystemTrayIcon::isSystemTrayAvailable();
}

void TTrayIcon::Show() {
    CoolTrayIcon1->show();
}

void TTrayIcon::SetHint(const QString &hint) {
    CoolTrayIcon1->setToolTip(hint);
}

QString TTrayIcon::Hint() const {
    return CoolTrayIcon1->toolTip();
}

void TTrayIcon::SetWebStatusActions(const QList<QAction *> &actions) {
    TBXChangeWebStatusmnu->clear();
    TBXChangeWebStatusmnu->addActions(actions);
}

QAction *TTrayIcon::AddItem(const char *name, const QString &caption, bool checkable) {
    QAction *item = TBPopmnuTray->addAction(caption);
    item->setObjectName(QLatin1String(name));
    item->setCheckable(checkable);
    return item;
}
