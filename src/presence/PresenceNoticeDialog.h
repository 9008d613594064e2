#pragma once
// The notice that presence updates cannot reach the server: its text, an "OK" button and a box to
// stop the notice from coming back.

#include <QDialog>

class QCheckBox;
class QLabel;

class TPresenceNoticeDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr int NoticeWidth = 450;

    TPresenceNoticeDialog(const QString &caption, const QString &text, QWidget *parent = nullptr);

    // Shows the notice modally; whether "Don't show this screen again" was ticked.
    static bool Ask(const QString &caption, const QString &text, QWidget *parent);

    QLabel *lblText;
    QCheckBox *chkSpashDoNotShowAgain;
};
