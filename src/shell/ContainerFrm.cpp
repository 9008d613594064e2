#include "shell/ContainerFrm.h"

#include "presence/WebPresencePage.h"
#include "shell/Icons.h"
#include "shell/Mainfrm.h"
#include "shell/SingleInstance.h"
#include "shell/TrayIcon.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QMenu>
#include <QTimer>
#include <QVBoxLayout>

namespace {
constexpr QSize ContainerSize(495, 654);

void ShowItem(QAction *item, const TTrayMenuState::TItem &state) {
    item->setText(state.caption);
    item->setChecked(state.checked);
    item->setVisible(state.visible);
}
} // namespace

TContainerForm::TContainerForm(QWidget *parent) : QWidget(parent), CoolTrayIcon1(new TTrayIcon(this)) {
    setObjectName(QStringLiteral("ContainerForm"));
    setWindowTitle(tr("Orvi"));
    setWindowIcon(OrviIcons::ProgramIcon());
    setMinimumSize(ContainerSize);
    resize(ContainerSize);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    connect(this, &TContainerForm::Minimized, this, &TContainerForm::MinimizeToTray, Qt::QueuedConnection);
    connect(CoolTrayIcon1, &TTrayIcon::LeftClicked, this, &TContainerForm::CoolTrayIcon1Click);
}

void TContainerForm::CreateMainForm(const TMainFormServices &services) {
    if (mainForm) return;
    auto *form = new TMainForm(services);
    TTraceLog &log = form->Log();
    Guarded(log, [&] { log.WriteLog(QStringLiteral("2-  back in Container, after created Mainform")); });
    EmbedMainForm(form);
    Guarded(log,
            [&] { log.WriteLog(QStringLiteral("2.1 Finishing in Container create, now showing Mainform")); });
}

bool TContainerForm::EmbedMainForm(TMainForm *form) {
    if (mainForm) return false;
    mainForm = form;
    form->setParent(this);
    form->setWindowFlags(Qt::Widget);
    layout()->addWidget(form);
    form->setVisible(true);
    CoolTrayIcon1->SetWebStatusActions(form->ElTabPresence->WebStatusActions());
    connect(form, &TMainForm::ContainerCaptionChanged, this, &QWidget::setWindowTitle);
    connect(form, &TMainForm::TrayMenuChanged, this, &TContainerForm::UpdateContainerGUI);
    connect(form, &TMainForm::ExitRequested, this, &QWidget::close);
    connect(form, &TMainForm::ContainerNormalRequested, this,
            [this] { setWindowState(windowState() & ~Qt::WindowMinimized); });
    connect(form, &TMainForm::ContainerFrontRequested, this, &TContainerForm::ShowFromTray);
    ConnectTrayMenu();
    UpdateContainerGUI();
    return true;
}

void TContainerForm::ConnectTrayMenu() {
    TTrayIcon &tray = *CoolTrayIcon1;
    connect(tray.TBpopmnEnablePresence, &QAction::triggered, this, [this] {
        GuardedTray("TBpopmnEnablePresenceClick", [this] { mainForm->Presence.TogglePresence(); });
    });
    connect(tray.TBpopmnAutoResponse, &QAction::triggered, this,
            [this] { GuardedTray("TBpopmnAutoResponseClick", [this] { mainForm->ToggleAutoResponder(); }); });
    connect(tray.TBpopmnEnableCallForwarding, &QAction::triggered, mainForm,
            &TMainForm::ToggleCallForwarding);
    connect(tray.TBpopmnEnableCallNotify, &QAction::triggered, mainForm, &TMainForm::ToggleRingNotification);
    connect(tray.TBpopmnOpen, &QAction::triggered, this, &TContainerForm::ShowFromTray);
    connect(tray.TBpopmnExit, &QAction::triggered, this, &QWidget::close);
}

template <class Work> void TContainerForm::GuardedTray(const char *handler, Work &&work) {
    Guarded(mainForm->Log(), std::forward<Work>(work),
            QStringLiteral("Exception in ContainerForm >> ") + QLatin1String(handler));
}

void TContainerForm::UpdateContainerGUI() {
    if (!mainForm) return;
    const TTrayMenuState &state = mainForm->TrayMenu();
    TTrayIcon &tray = *CoolTrayIcon1;
    ShowItem(tray.TBpopmnEnablePresence, state.enablePresence);
    ShowItem(tray.TBpopmnAutoResponse, state.autoResponse);
    ShowItem(tray.TBpopmnEnableCallForwarding, state.enableCallForwarding);
    ShowItem(tray.TBpopmnEnableCallNotify, state.enableCallNotify);
    tray.TBXChangeWebStatusmnu->menuAction()->setVisible(state.changeWebStatusVisible);
}

void TContainerForm::CoolTrayIcon1Click() {
    if (isHidden())
        ShowFromTray();
    else
        hide();
}

void TContainerForm::ShowFromTray() {
    setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    raise();
    activateWindow();
}

void TContainerForm::MinimizeToTray() {
    // Without a tray the window stays on the task bar, or it could not be found again.
    if (TTrayIcon::IsAvailable()) hide();
}

void TContainerForm::ConnectSingleInstance(TSingleInstance &guard) {
    connect(&guard, &TSingleInstance::InstanceCreated, this, &TContainerForm::JvAppInstances1InstanceCreated);
    connect(&guard, &TSingleInstance::ParametersReceived, this,
            &TContainerForm::JvAppInstances1CmdLineReceived);
    connect(&guard, &TSingleInstance::InstanceDestroyed, this,
            &TContainerForm::JvAppInstances1InstanceDestroyed);
}

void TContainerForm::JvAppInstances1InstanceCreated() {
    ContainerWasVisible = isVisible();
}

void TContainerForm::JvAppInstances1CmdLineReceived(const QStringList &params) {
    GuardedTray("JvAppInstances1CmdLineReceived", [&] {
        const QString text = JoinForwardedCommandLine(params);
        if (!text.isEmpty()) mainForm->AcceptWebCommand(text);
    });
}

void TContainerForm::JvAppInstances1InstanceDestroyed() {
    if (!ContainerWasVisible) hide();
}

void TContainerForm::closeEvent(QCloseEvent *event) {
    // Closing is always allowed; the steps run once, however many ways the program is asked to end.
    if (!closingStepsDone && mainForm) {
        closingStepsDone = true;
        GuardedTray("FormCloseQuery", [this] { mainForm->CloseSequence(); });
    }
    event->accept();
    Q_EMIT CloseQuery();
}

void TContainerForm::changeEvent(QEvent *event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && isMinimized()) Q_EMIT Minimized();
}
