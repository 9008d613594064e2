#pragma once
// The Call Forwarding page: forwarding and its target, the forwarding rules with the contact list,
// the speaker mute, the SkypeOut balance, and the ring-my-regular-phone notification. The page only
// holds the controls; the call features read and set them.

#include <QWidget>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QSpinBox;
class TLinkLabel;

class TCallForwardingPage : public QWidget {
    Q_OBJECT
public:
    explicit TCallForwardingPage(QWidget *parent = nullptr);

    QCheckBox *chkrdoForwardCalls;
    QRadioButton *ElRdoEnableFwrdPSTN;
    QLineEdit *elEdtFrwdPSTN;
    QPushButton *btnChangePSTN;
    QRadioButton *ElRdoEnableFwrdSkype;
    QLineEdit *elEdtFrwdSkypeUsername;
    QPushButton *btnChangeSkypeUsername;
    // Rings before hang-up of the two targets: kept for their settings, never shown.
    QLabel *lblHangupAfterPSTN;
    QSpinBox *spnFrwRingsPSTN;
    QLabel *lblRingsPSTN;
    QLabel *lblHangupAfterSkype;
    QSpinBox *spnFrwRingsSkype;
    QLabel *lblRingsSkype;

    QGroupBox *grpCallfrwList;
    QRadioButton *ElRdoFwrdAllCalls;
    QRadioButton *ElRdoFwrdOnlycertainContacts;
    QListWidget *lstBoxContacts;
    QPushButton *btnAddContacts;

    QCheckBox *elchkMuteSpeakers;

    QLabel *lblBalanceCaption;
    TLinkLabel *lblSkypeOutBalance;
    QLabel *lblRequiresSkypeOut;
    TLinkLabel *ElURLLabel2;

    QCheckBox *chkRingMyHomePhone;
    QLineEdit *elEdtRingHome;
    QPushButton *btnChangeHomePhone;
    QLabel *ElLabel1;
    QSpinBox *spnNotifyRing;
    QLabel *ElLabel2;

private:
    QWidget *BuildForwarding(QWidget *parent);
    QGroupBox *BuildRules(QWidget *parent);
    QWidget *BuildBalance(QWidget *parent);
    QWidget *BuildRingNotification(QWidget *parent);
};
