#pragma once
// The Web Presence page: what the web shows now, whether presence is published, and which status the
// web shows. The page only holds the controls; the presence model reads and sets them.

#include <QList>
#include <QWidget>

class QAction;
class QButtonGroup;
class QGroupBox;
class QLabel;
class QMenu;
class QRadioButton;
class QToolButton;
class TImageLabel;
class TLinkLabel;

class TWebPresencePage : public QWidget {
    Q_OBJECT
public:
    explicit TWebPresencePage(QWidget *parent = nullptr);

    // The seven web-status items in menu order; the tray menu shows the same items.
    QList<QAction *> WebStatusActions() const;

    QLabel *ElLabel4;
    QGroupBox *grpCurrentStatusBox;
    TImageLabel *JvLblShowCurrentPresence;

    QGroupBox *grpShowPresence;
    QRadioButton *ElRdoEnablePresence;
    QRadioButton *ElRdoDisablePresence;
    QRadioButton *ElRdoUseSkypePresence;
    QRadioButton *ElRdoUseSeperatePresence;

    QLabel *ElLabel3;
    QToolButton *TBbtnWebStatus;
    QMenu *mnuWebStatus;
    QAction *TBmnuOnline;
    QAction *TBmnuOffline;
    QAction *TBmnuSkypeMe;
    QAction *TBmnuAway;
    QAction *TBmnuNA;
    QAction *TBmnuDND;
    QAction *TBmnuOnCall;

    TLinkLabel *ElURLLabel1;

private:
    QAction *AddStatusItem(const char *name, const QString &caption, int image);
    void BuildStatusMenu();
};
