#pragma once
// The Auto Responder page: the master switch, the six rules with their message pickers, and the
// editing of the list of response messages. The page only holds the controls; the auto-responder
// reads and sets them.

#include <QStringList>
#include <QWidget>

class QCheckBox;
class QGroupBox;
class QLabel;
class QMenu;
class QToolButton;
class TLinkLabel;

class TAutoResponderPage : public QWidget {
    Q_OBJECT
public:
    explicit TAutoResponderPage(QWidget *parent = nullptr);

    // Fills the message menu shared by the seven pickers: one item per text, in list order.
    void SetResponseMessages(const QStringList &texts);

    QCheckBox *chkAutoResponderON;

    QGroupBox *grpWhenAway;
    QCheckBox *chkARIM_NOTonCall;
    QToolButton *PopARIM_NOTonCall;
    QLabel *lblARIM_NOTonCall;
    QCheckBox *chkARCall_NOTonCall;
    QToolButton *PopARCall_NOTonCall;
    QLabel *lblARCall_NOTonCall;

    QGroupBox *grpWhenOnCall;
    QCheckBox *chkARIM_onCall;
    QToolButton *PopARIM_onCall;
    QLabel *lblARIM_onCall;
    QCheckBox *chkARCall_onCall;
    QToolButton *PopARCall_onCall;
    QLabel *lblARCall_onCall;

    QGroupBox *grpNotOnContacts;
    QCheckBox *chkARIM_NotOnContacts;
    QToolButton *PopARIM_NotOnContacts;
    QLabel *lblARIM_NotOnContacts;
    QCheckBox *chkARCall_NotOnContacts;
    QToolButton *PopARCall_NotOnContacts;
    QLabel *lblARCall_NotOnContacts;

    QGroupBox *grpEditMessages;
    QToolButton *PopARMsgs;
    QLabel *lblMessage;
    QLabel *lblCurrentSelectedARMsg;
    TLinkLabel *btnEditARMsg;
    TLinkLabel *btnAddARMsg;
    TLinkLabel *btnDeleteARMsg;
    TLinkLabel *elResetMessages;

    // One menu for all seven pickers; its items are the response messages.
    QMenu *ElPopMnuAutoResponder;

Q_SIGNALS:
    // A picker was opened; emitted with the picker's component name before the menu shows.
    void MessagePickerDropped(const QString &pickerName);
    // A message was chosen from the menu: its index in the list.
    void ResponseMessageChosen(int index);

private:
    QGroupBox *MakeRuleGroup(QWidget *parent, const char *name, const QString &title);
    void AddRule(QGroupBox *group, int row, const QString &rule, const QString &caption, QCheckBox *&check,
                 QToolButton *&picker, QLabel *&label);
    QToolButton *MakePicker(QWidget *parent, const QString &name);
    void BuildMessageEditor(QWidget *parent);
};
