#include "presence/WebPresencePage.h"

#include "shell/Icons.h"
#include "shell/PageKit.h"

#include <QAction>
#include <QButtonGroup>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QRadioButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
constexpr int ChoiceIndent = 22;
constexpr int OfflineImage = 5;
} // namespace

TWebPresencePage::TWebPresencePage(QWidget *parent) : QWidget(parent) {
    setObjectName(QStringLiteral("ElTabPresence"));
    QWidget *content = MakeScrollingPage(this);

    ElLabel4 = Named<QLabel>(content, "ElLabel4", tr("You are currently being shown on the web as:"));
    grpCurrentStatusBox = Named<QGroupBox>(content, "grpCurrentStatusBox");
    grpCurrentStatusBox->setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Fixed);
    JvLblShowCurrentPresence =
        Named<TImageLabel>(grpCurrentStatusBox, "JvLblShowCurrentPresence", tr("Offline"));
    JvLblShowCurrentPresence->SetImage(OrviIcons::StatusImage(OfflineImage));
    auto *statusBoxLayout = new QHBoxLayout(grpCurrentStatusBox);
    statusBoxLayout->setContentsMargins(6, 4, 6, 4);
    statusBoxLayout->addWidget(JvLblShowCurrentPresence);

    grpShowPresence = Named<QGroupBox>(content, "grpShowPresence", tr(" Show Presence to the Web  "));
    ElRdoEnablePresence = Named<QRadioButton>(grpShowPresence, "ElRdoEnablePresence", tr("Enable Presence"));
    ElRdoDisablePresence =
        Named<QRadioButton>(grpShowPresence, "ElRdoDisablePresence", tr("Disable Presence"));
    ElRdoUseSkypePresence =
        Named<QRadioButton>(grpShowPresence, "ElRdoUseSkypePresence", tr("Use my Skype Status"));
    ElRdoUseSeperatePresence = Named<QRadioButton>(grpShowPresence, "ElRdoUseSeperatePresence",
                                                   tr("Use Separate Status for the Web"));
    // Two independent pairs inside one group box.
    auto *presencePair = new QButtonGroup(this);
    presencePair->addButton(ElRdoEnablePresence);
    presencePair->addButton(ElRdoDisablePresence);
    auto *choicePair = new QButtonGroup(this);
    choicePair->addButton(ElRdoUseSkypePresence);
    choicePair->addButton(ElRdoUseSeperatePresence);

    ElLabel3 = Named<QLabel>(grpShowPresence, "ElLabel3", tr(" Choose a Status for the web: "));
    TBbtnWebStatus = Named<QToolButton>(grpShowPresence, "TBbtnWebStatus");
    TBbtnWebStatus->setText(tr("Status"));
    TBbtnWebStatus->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    TBbtnWebStatus->setPopupMode(QToolButton::InstantPopup);
    TBbtnWebStatus->setMinimumWidth(130);
    BuildStatusMenu();

    auto *line = new QFrame(grpShowPresence);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);

    auto *statusRow = new QHBoxLayout;
    statusRow->addSpacing(ChoiceIndent);
    statusRow->addWidget(ElLabel3);
    statusRow->addWidget(TBbtnWebStatus);
    statusRow->addStretch();

    auto *groupLayout = new QGridLayout(grpShowPresence);
    groupLayout->setColumnMinimumWidth(0, ChoiceIndent);
    groupLayout->addWidget(ElRdoEnablePresence, 0, 0, 1, 2);
    groupLayout->addWidget(ElRdoDisablePresence, 1, 0, 1, 2);
    groupLayout->addWidget(line, 2, 0, 1, 2);
    groupLayout->addWidget(ElRdoUseSkypePresence, 3, 1);
    groupLayout->addWidget(ElRdoUseSeperatePresence, 4, 1);
    groupLayout->addLayout(statusRow, 5, 1);
    groupLayout->setColumnStretch(1, 1);

    ElURLLabel1 = Named<TLinkLabel>(content, "ElURLLabel1", tr("Get your Web Presence button here"));

    auto *layout = new QVBoxLayout(content);
    layout->addWidget(ElLabel4);
    layout->addWidget(grpCurrentStatusBox, 0, Qt::AlignLeft);
    layout->addSpacing(8);
    layout->addWidget(grpShowPresence);
    layout->addSpacing(8);
    layout->addWidget(ElURLLabel1, 0, Qt::AlignLeft);
    layout->addStretch();
}

QAction *TWebPresencePage::AddStatusItem(const char *name, const QString &caption, int image) {
    QAction *item = mnuWebStatus->addAction(OrviIcons::StatusImage(image), caption);
    item->setObjectName(QLatin1String(name));
    return item;
}

void TWebPresencePage::BuildStatusMenu() {
    mnuWebStatus = Named<QMenu>(TBbtnWebStatus, "mnuWebStatus");
    TBmnuOnline = AddStatusItem("TBmnuOnline", tr("Online"), 6);
    TBmnuOffline = AddStatusItem("TBmnuOffline", tr("Offline"), 5);
    TBmnuSkypeMe = AddStatusItem("TBmnuSkypeMe", tr("Skype Me"), 0);
    TBmnuAway = AddStatusItem("TBmnuAway", tr("Away"), 7);
    TBmnuNA = AddStatusItem("TBmnuNA", tr("Not Available"), 4);
    TBmnuDND = AddStatusItem("TBmnuDND", tr("Do Not Disturb"), 1);
    TBmnuOnCall = AddStatusItem("TBmnuOnCall", tr("On a Call"), 3);
    TBbtnWebStatus->setMenu(mnuWebStatus);
}

QList<QAction *> TWebPresencePage::WebStatusActions() const {
    return mnuWebStatus->actions();
}
