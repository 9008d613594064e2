#include "shell/ContainerFrm.h"

#include "shell/Icons.h"
#include "shell/Mainfrm.h"
#include "shell/TrayIcon.h"

#include <QCloseEvent>
#include <QVBoxLayout>

namespace {
constexpr QSize ContainerSize(495, 654);
} // namespace

TContainerForm::TContainerForm(QWidget *parent) : QWidget(parent), CoolTrayIcon1(new TTrayIcon(this)) {
    setObjectName(QStringLiteral("ContainerForm"));
    setWindowTitle(tr("Orvi"));
    setWindowIcon(OrviIcons::ProgramIcon());
    setMinimumSize(ContainerSize);
    resize(ContainerSize);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
}

bool TContainerForm::EmbedMainForm(TMainForm *form) {
    if (mainForm) return false;
    mainForm = form;
    form->setParent(this);
    form->setWindowFlags(Qt::Widget);
    layout()->addWidget(form);
    form->setVisible(true);
    return true;
}

void TContainerForm::closeEvent(QCloseEvent *event) {
    Q_EMIT CloseQuery();
    event->accept();
}

void TContainerForm::changeEvent(QEvent *event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && isMinimized()) Q_EMIT Minimized();
}
