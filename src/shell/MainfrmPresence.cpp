// The Web Presence page and the tray's presence entries wired to the presence model, and what the
// model shows through the window.

#include "shell/Mainfrm.h"

#include "presence/PresenceNoticeDialog.h"
#include "presence/WebPresencePage.h"
#include "shell/Icons.h"
#include "shell/PageKit.h"

#include <QAction>
#include <QEventLoop>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QRadioButton>
#include <QTabWidget>
#include <QToolButton>

#include <algorithm>

void TMainForm::ConnectPresenceControls() {
    TWebPresencePage &page = *ElTabPresence;
    TPresenceModel *model = &Presence;
    connect(page.ElRdoEnablePresence, &QRadioButton::clicked, model,
            &TPresenceModel::ElRdoEnablePresenceClick);
    connect(page.ElRdoDisablePresence, &QRadioButton::clicked, model,
            &TPresenceModel::ElRdoDisablePresenceClick);
    connect(page.ElRdoUseSkypePresence, &QRadioButton::clicked, model,
            &TPresenceModel::ElRdoUseSkypePresenceClick);
    connect(page.ElRdoUseSeperatePresence, &QRadioButton::clicked, model,
            &TPresenceModel::ElRdoUseSeperatePresenceClick);
    // The tray's "Change Web Status" submenu holds these same items.
    const QList<QAction *> items = page.WebStatusActions();
    for (const WebStatus::TMenuItem &item : WebStatus::MenuItems()) {
        const auto action = std::find_if(items.begin(), items.end(), [&](const QAction *candidate) {
            return candidate->objectName() == QLatin1String(item.name);
        });
        if (action == items.end()) continue;
        const QByteArray word(item.word);
        connect(*action, &QAction::triggered, model, [model, word] { model->TBmnuWebStatusClick(word); });
    }
    connect(page.ElURLLabel1, &TLinkLabel::Clicked, model, &TPresenceModel::ElURLLabel1Click);
    connect(ElPageControl1, &QTabWidget::currentChanged, model, [this](int index) {
        if (ElPageControl1->widget(index) == ElTabPresence) Presence.ElTabPresenceShow();
    });
}

void TMainForm::RefreshPresencePage() {
    const TPresencePageState shown = Presence.PageState();
    TWebPresencePage &page = *ElTabPresence;
    page.ElRdoEnablePresence->setChecked(shown.ElRdoEnablePresenceChecked);
    page.ElRdoDisablePresence->setChecked(shown.ElRdoDisablePresenceChecked);
    page.ElRdoUseSeperatePresence->setChecked(shown.ElRdoUseSeperatePresenceChecked);
    page.ElRdoUseSkypePresence->setChecked(shown.ElRdoUseSkypePresenceChecked);
    page.ElRdoUseSeperatePresence->setEnabled(shown.choiceRadiosEnabled);
    page.ElRdoUseSkypePresence->setEnabled(shown.choiceRadiosEnabled);
    page.TBbtnWebStatus->setEnabled(shown.webStatusEnabled);
    page.ElLabel3->setEnabled(shown.webStatusEnabled);
    // The stored status on the button; its picture is cleared while the button is disabled.
    ShowWebStatusButton(shown.webStatusButton);
}

void TMainForm::ShowWebStatusButton(const WebStatus::TLook &look) {
    ElTabPresence->TBbtnWebStatus->setText(look.text);
    ElTabPresence->TBbtnWebStatus->setIcon(OrviIcons::StatusImage(look.imageIndex));
}

void TMainForm::ShowPublishedStatus(const WebStatus::TLook &look) {
    TImageLabel *label = ElTabPresence->JvLblShowCurrentPresence;
    label->SetText(look.text);
    label->SetImage(OrviIcons::StatusImage(look.imageIndex));
    // The box hugs the label.
    const QMargins margins = ElTabPresence->grpCurrentStatusBox->contentsMargins() +
                             ElTabPresence->grpCurrentStatusBox->layout()->contentsMargins();
    ElTabPresence->grpCurrentStatusBox->setFixedWidth(label->sizeHint().width() + margins.left() +
                                                      margins.right() + 4);
}

bool TMainForm::ShowPresenceServerError(const QString &caption, const QString &text) {
    // A notice while closing would keep the program from ending until someone answers it.
    if (closing) return false;
    Q_EMIT ContainerFrontRequested();
    return AskPresenceNotice ? AskPresenceNotice(caption, text) : false;
}

void TMainForm::ShowWindowNormal() {
    Q_EMIT ContainerNormalRequested();
}

void TMainForm::PublishPresence(int code, bool forced) {
    Presence.PublishPresence(code, forced);
}

void TMainForm::WaitForPresenceUpdates() {
    if (Presence.PendingUpdates() == 0) return;
    QEventLoop loop;
    QTimer deadline;
    deadline.setSingleShot(true);
    connect(&deadline, &QTimer::timeout, &loop, &QEventLoop::quit);
    connect(&Presence, &TPresenceModel::UpdateFinished, &loop, [this, &loop] {
        if (Presence.PendingUpdates() == 0) loop.quit();
    });
    deadline.start(ClosingUpdateWaitMs);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
}
