#include "autorespond/AutoResponderPage.h"

#include "shell/PageKit.h"

#include <QAction>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
constexpr int LabelIndent = 22;
constexpr int MenuTextWidth = 420;

QString Quoted(const QString &text) {
    return QLatin1Char('"') + text + QLatin1Char('"');
}
} // namespace

TAutoResponderPage::TAutoResponderPage(QWidget *parent) : QWidget(parent) {
    setObjectName(QStringLiteral("ElTabAutoresponder"));
    QWidget *content = MakeScrollingPage(this);
    ElPopMnuAutoResponder = Named<QMenu>(this, "ElPopMnuAutoResponder");
    ElPopMnuAutoResponder->setToolTipsVisible(true);

    chkAutoResponderON = Named<QCheckBox>(content, "chkAutoResponderON", tr("Turn on Auto Responder  "));

    grpWhenAway = MakeRuleGroup(content, "grpWhenAway", tr(" When I am away: "));
    AddRule(grpWhenAway, 0, QStringLiteral("ARIM_NOTonCall"), tr("Auto Respond to Instant Messages"),
            chkARIM_NOTonCall, PopARIM_NOTonCall, lblARIM_NOTonCall);
    AddRule(grpWhenAway, 2, QStringLiteral("ARCall_NOTonCall"), tr("Auto Respond to Calls"),
            chkARCall_NOTonCall, PopARCall_NOTonCall, lblARCall_NOTonCall);

    grpWhenOnCall = MakeRuleGroup(content, "grpWhenOnCall", tr(" When I am on a call:  "));
    AddRule(grpWhenOnCall, 0, QStringLiteral("ARIM_onCall"), tr("Auto Respond to Instant Messages"),
            chkARIM_onCall, PopARIM_onCall, lblARIM_onCall);
    AddRule(grpWhenOnCall, 2, QStringLiteral("ARCall_onCall"), tr("Auto Respond to Calls"), chkARCall_onCall,
            PopARCall_onCall, lblARCall_onCall);

    grpNotOnContacts =
        MakeRuleGroup(content, "grpNotOnContacts", tr("For somebody that is not on my contact list: "));
    AddRule(grpNotOnContacts, 0, QStringLiteral("ARIM_NotOnContacts"),
            tr("Auto Respond to their Instant Message"), chkARIM_NotOnContacts, PopARIM_NotOnContacts,
            lblARIM_NotOnContacts);
    AddRule(grpNotOnContacts, 2, QStringLiteral("ARCall_NotOnContacts"), tr("Auto Respond to their Call"),
            chkARCall_NotOnContacts, PopARCall_NotOnContacts, lblARCall_NotOnContacts);

    BuildMessageEditor(content);

    auto *layout = new QVBoxLayout(content);
    layout->addWidget(chkAutoResponderON);
    layout->addWidget(grpWhenAway);
    layout->addWidget(grpWhenOnCall);
    layout->addWidget(grpNotOnContacts);
    layout->addWidget(grpEditMessages);
    layout->addStretch();
}

QToolButton *TAutoResponderPage::MakePicker(QWidget *parent, const QString &name) {
    auto *picker = new QToolButton(parent);
    picker->setObjectName(name);
    picker->setText(tr("Select Message"));
    picker->setArrowType(Qt::DownArrow);
    picker->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    // The picker's name is reported before the shared menu opens, so the choice goes to this picker.
    connect(picker, &QToolButton::clicked, this, [this, picker] {
        Q_EMIT MessagePickerDropped(picker->objectName());
        ElPopMnuAutoResponder->popup(picker->mapToGlobal(QPoint(0, picker->height())));
    });
    return picker;
}

QGroupBox *TAutoResponderPage::MakeRuleGroup(QWidget *parent, const char *name, const QString &title) {
    auto *group = Named<QGroupBox>(parent, name, title);
    auto *grid = new QGridLayout(group);
    grid->setColumnMinimumWidth(0, LabelIndent);
    grid->setColumnStretch(1, 1);
    grid->setVerticalSpacing(2);
    return group;
}

// One rule: its check box and picker on a line, the text it sends on the line below.
void TAutoResponderPage::AddRule(QGroupBox *group, int row, const QString &rule, const QString &caption,
                                 QCheckBox *&check, QToolButton *&picker, QLabel *&label) {
    check = new QCheckBox(caption, group);
    check->setObjectName(QStringLiteral("chk") + rule);
    picker = MakePicker(group, QStringLiteral("Pop") + rule);
    label = new QLabel(Quoted(tr("Change Messages")), group);
    label->setObjectName(QStringLiteral("lbl") + rule);
    label->setWordWrap(true);
    label->setTextFormat(Qt::PlainText);
    auto *grid = static_cast<QGridLayout *>(group->layout());
    grid->addWidget(check, row, 0, 1, 2);
    grid->addWidget(picker, row, 2, Qt::AlignRight);
    grid->addWidget(label, row + 1, 1, 1, 2);
}

void TAutoResponderPage::BuildMessageEditor(QWidget *parent) {
    grpEditMessages =
        Named<QGroupBox>(parent, "grpEditMessages", tr(" Edit your Master list of Auto-Response Messages "));
    PopARMsgs = MakePicker(grpEditMessages, QStringLiteral("PopARMsgs"));
    lblMessage = Named<QLabel>(grpEditMessages, "lblMessage", tr("Message: "));
    lblCurrentSelectedARMsg =
        Named<QLabel>(grpEditMessages, "lblCurrentSelectedARMsg", tr("Change Messages"));
    lblCurrentSelectedARMsg->setWordWrap(true);
    lblCurrentSelectedARMsg->setTextFormat(Qt::PlainText);
    btnEditARMsg = Named<TLinkLabel>(grpEditMessages, "btnEditARMsg", tr("Edit"));
    btnAddARMsg = Named<TLinkLabel>(grpEditMessages, "btnAddARMsg", tr("Add"));
    btnDeleteARMsg = Named<TLinkLabel>(grpEditMessages, "btnDeleteARMsg", tr("Delete"));
    elResetMessages = Named<TLinkLabel>(grpEditMessages, "elResetMessages", tr("Reset Messages"));

    auto *links = new QHBoxLayout;
    links->setSpacing(14);
    links->addWidget(btnEditARMsg);
    links->addWidget(btnAddARMsg);
    links->addWidget(btnDeleteARMsg);
    links->addStretch();
    links->addWidget(elResetMessages);

    auto *grid = new QGridLayout(grpEditMessages);
    grid->setVerticalSpacing(4);
    grid->addWidget(PopARMsgs, 0, 0, 1, 2, Qt::AlignLeft);
    grid->addWidget(lblMessage, 1, 0, Qt::AlignTop);
    grid->addWidget(lblCurrentSelectedARMsg, 1, 1);
    grid->addLayout(links, 2, 0, 1, 2);
    grid->setColumnStretch(1, 1);
}

void TAutoResponderPage::SetResponseMessages(const QStringList &texts) {
    ElPopMnuAutoResponder->clear();
    const QFontMetrics metrics = ElPopMnuAutoResponder->fontMetrics();
    for (int index = 0; index < texts.size(); ++index) {
        // Long messages are shortened in the menu and shown whole in the item's tool tip; "&" is
        // doubled so that it is not taken for a shortcut mark.
        const QString text = texts.at(index);
        const QString shown = metrics.elidedText(text, Qt::ElideRight, MenuTextWidth);
        QAction *item =
            ElPopMnuAutoResponder->addAction(QString(shown).replace(QLatin1Char('&'), QStringLiteral("&&")));
        item->setToolTip(text);
        item->setData(index);
        connect(item, &QAction::triggered, this, [this, index] { Q_EMIT ResponseMessageChosen(index); });
    }
}
