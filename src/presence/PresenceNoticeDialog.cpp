#include "presence/PresenceNoticeDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

TPresenceNoticeDialog::TPresenceNoticeDialog(const QString &caption, const QString &text, QWidget *parent)
    : QDialog(parent), lblText(new QLabel(this)),
      chkSpashDoNotShowAgain(new QCheckBox(tr("Don't show this screen again"), this)) {
    setObjectName(QStringLiteral("PresenceNoticeDialog"));
    setWindowTitle(caption);
    setFixedWidth(NoticeWidth);
    lblText->setObjectName(QStringLiteral("lblText"));
    // The notice's lines end in "\n\r"; the carriage returns would show as nothing or as boxes.
    lblText->setText(QString(text).remove(QLatin1Char('\r')));
    lblText->setWordWrap(true);
    chkSpashDoNotShowAgain->setObjectName(QStringLiteral("chkSpashDoNotShowAgain"));
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(lblText);
    layout->addSpacing(8);
    layout->addWidget(chkSpashDoNotShowAgain);
    layout->addWidget(buttons);
    // The wrapped text needs the height that goes with the fixed width, or its lines are cut.
    setFixedHeight(layout->totalHeightForWidth(NoticeWidth));
}

bool TPresenceNoticeDialog::Ask(const QString &caption, const QString &text, QWidget *parent) {
    TPresenceNoticeDialog dialog(caption, text, parent);
    dialog.exec();
    return dialog.chkSpashDoNotShowAgain->isChecked();
}
