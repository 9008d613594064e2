#include "calls/CallForwardingPage.h"

#include "shell/PageKit.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <initializer_list>

namespace {
constexpr int Indent = 22;
constexpr int MinRings = 2;
constexpr int MaxRings = 30;
constexpr int DefaultRings = 5;
constexpr int ContactListMinimumHeight = 72;

QSpinBox *MakeRingsSpin(QWidget *parent, const char *name) {
    auto *spin = Named<QSpinBox>(parent, name);
    spin->setRange(MinRings, MaxRings);
    spin->setValue(DefaultRings);
    return spin;
}

QLineEdit *MakeReadOnlyEdit(QWidget *parent, const char *name) {
    auto *edit = Named<QLineEdit>(parent, name);
    edit->setReadOnly(true);
    return edit;
}

// An indented line: a read-only target edit and its "Change" button.
QHBoxLayout *TargetRow(QLineEdit *edit, QPushButton *change) {
    auto *row = new QHBoxLayout;
    row->addSpacing(Indent);
    row->addWidget(edit, 1);
    row->addWidget(change);
    return row;
}

void AddHiddenRings(QHBoxLayout *row, QLabel *before, QSpinBox *spin, QLabel *after) {
    for (QWidget *widget : std::initializer_list<QWidget *>{before, spin, after}) {
        row->addWidget(widget);
        widget->hide();
    }
}
} // namespace

TCallForwardingPage::TCallForwardingPage(QWidget *parent) : QWidget(parent) {
    setObjectName(QStringLiteral("ElTabCallForwarding"));
    QWidget *content = MakeScrollingPage(this);

    auto *line = new QFrame(content);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);

    auto *layout = new QVBoxLayout(content);
    layout->addWidget(BuildForwarding(content));
    layout->addWidget(BuildRules(content), 1);
    elchkMuteSpeakers =
        Named<QCheckBox>(content, "elchkMuteSpeakers", tr("Mute my speakers while forwarding calls"));
    layout->addWidget(elchkMuteSpeakers);
    layout->addWidget(BuildBalance(content));
    layout->addWidget(line);
    layout->addWidget(BuildRingNotification(content));
}

QWidget *TCallForwardingPage::BuildForwarding(QWidget *parent) {
    auto *box = new QWidget(parent);
    chkrdoForwardCalls =
        Named<QCheckBox>(box, "chkrdoForwardCalls", tr("Forward my Skype and SkypeIN Calls:"));
    ElRdoEnableFwrdPSTN =
        Named<QRadioButton>(box, "ElRdoEnableFwrdPSTN", tr("Forward to my regular phone (+15554442222):"));
    elEdtFrwdPSTN = MakeReadOnlyEdit(box, "elEdtFrwdPSTN");
    btnChangePSTN = Named<QPushButton>(box, "btnChangePSTN", tr("Change"));
    ElRdoEnableFwrdSkype =
        Named<QRadioButton>(box, "ElRdoEnableFwrdSkype", tr("Forward to this Skype username:"));
    elEdtFrwdSkypeUsername = MakeReadOnlyEdit(box, "elEdtFrwdSkypeUsername");
    btnChangeSkypeUsername = Named<QPushButton>(box, "btnChangeSkypeUsername", tr("Change"));
    auto *targets = new QButtonGroup(this);
    targets->addButton(ElRdoEnableFwrdPSTN);
    targets->addButton(ElRdoEnableFwrdSkype);

    lblHangupAfterPSTN = Named<QLabel>(box, "lblHangupAfterPSTN", tr("Hangup after:"));
    spnFrwRingsPSTN = MakeRingsSpin(box, "spnFrwRingsPSTN");
    lblRingsPSTN = Named<QLabel>(box, "lblRingsPSTN", tr("rings"));
    lblHangupAfterSkype = Named<QLabel>(box, "lblHangupAfterSkype", tr("Hangup after:"));
    spnFrwRingsSkype = MakeRingsSpin(box, "spnFrwRingsSkype");
    lblRingsSkype = Named<QLabel>(box, "lblRingsSkype", tr("rings"));

    auto *pstnRow = TargetRow(elEdtFrwdPSTN, btnChangePSTN);
    auto *skypeRow = TargetRow(elEdtFrwdSkypeUsername, btnChangeSkypeUsername);
    AddHiddenRings(pstnRow, lblHangupAfterPSTN, spnFrwRingsPSTN, lblRingsPSTN);
    AddHiddenRings(skypeRow, lblHangupAfterSkype, spnFrwRingsSkype, lblRingsSkype);

    auto *layout = new QGridLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setColumnMinimumWidth(0, Indent);
    layout->addWidget(chkrdoForwardCalls, 0, 0, 1, 2);
    layout->addWidget(ElRdoEnableFwrdPSTN, 1, 1);
    layout->addLayout(pstnRow, 2, 1);
    layout->addWidget(ElRdoEnableFwrdSkype, 3, 1);
    layout->addLayout(skypeRow, 4, 1);
    return box;
}

QGroupBox *TCallForwardingPage::BuildRules(QWidget *parent) {
    grpCallfrwList = Named<QGroupBox>(parent, "grpCallfrwList", tr("  Rules: "));
    ElRdoFwrdAllCalls =
        Named<QRadioButton>(grpCallfrwList, "ElRdoFwrdAllCalls", tr("Forward all incoming calls"));
    ElRdoFwrdOnlycertainContacts = Named<QRadioButton>(grpCallfrwList, "ElRdoFwrdOnlycertainContacts",
                                                       tr("Forward ONLY calls from the following contacts:"));
    lstBoxContacts = Named<QListWidget>(grpCallfrwList, "lstBoxContacts");
    lstBoxContacts->setSortingEnabled(true);
    lstBoxContacts->setSelectionMode(QAbstractItemView::ExtendedSelection);
    lstBoxContacts->setIconSize(QSize(16, 16));
    // The list takes whatever height the page has left, and no more than that.
    lstBoxContacts->setMinimumHeight(ContactListMinimumHeight);
    lstBoxContacts->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Ignored);
    btnAddContacts = Named<QPushButton>(grpCallfrwList, "btnAddContacts", tr("Add/Remove"));

    auto *layout = new QGridLayout(grpCallfrwList);
    layout->setColumnMinimumWidth(0, Indent);
    layout->addWidget(ElRdoFwrdAllCalls, 0, 0, 1, 3);
    layout->addWidget(ElRdoFwrdOnlycertainContacts, 1, 0, 1, 3);
    layout->addWidget(lstBoxContacts, 2, 1);
    layout->addWidget(btnAddContacts, 2, 2, Qt::AlignTop);
    layout->setColumnStretch(1, 1);
    return grpCallfrwList;
}

QWidget *TCallForwardingPage::BuildBalance(QWidget *parent) {
    auto *box = new QWidget(parent);
    lblBalanceCaption = Named<QLabel>(box, "lblBalanceCaption", tr("Your current SkypeOut balance is:"));
    lblSkypeOutBalance = Named<TLinkLabel>(box, "lblSkypeOutBalance", QString());
    lblRequiresSkypeOut = Named<QLabel>(box, "lblRequiresSkypeOut", tr("Call Forwarding requires SkypeOut."));
    ElURLLabel2 = Named<TLinkLabel>(box, "ElURLLabel2", tr("Purchase SkypeOut"));

    auto *layout = new QGridLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(lblBalanceCaption, 0, 0);
    layout->addWidget(lblSkypeOutBalance, 0, 1);
    layout->addWidget(lblRequiresSkypeOut, 1, 0);
    layout->addWidget(ElURLLabel2, 1, 1);
    layout->setColumnStretch(2, 1);
    return box;
}

QWidget *TCallForwardingPage::BuildRingNotification(QWidget *parent) {
    auto *box = new QWidget(parent);
    chkRingMyHomePhone = Named<TWrapCheckBox>(
        box, "chkRingMyHomePhone",
        tr("Notify me of incoming Skype call by ringing my home phone: (does not forward call)"));
    elEdtRingHome = MakeReadOnlyEdit(box, "elEdtRingHome");
    btnChangeHomePhone = Named<QPushButton>(box, "btnChangeHomePhone", tr("Change"));
    ElLabel1 = Named<QLabel>(box, "ElLabel1", tr("Stop after:"));
    spnNotifyRing = MakeRingsSpin(box, "spnNotifyRing");
    ElLabel2 = Named<QLabel>(box, "ElLabel2", tr("rings"));

    auto *numberRow = TargetRow(elEdtRingHome, btnChangeHomePhone);
    auto *ringsRow = new QHBoxLayout;
    ringsRow->addSpacing(Indent);
    ringsRow->addWidget(ElLabel1);
    ringsRow->addWidget(spnNotifyRing);
    ringsRow->addWidget(ElLabel2);
    ringsRow->addStretch();

    auto *layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(chkRingMyHomePhone);
    layout->addLayout(numberRow);
    layout->addLayout(ringsRow);
    return box;
}
