#include "shell/QtPrompts.h"

#include <QInputDialog>
#include <QMessageBox>

namespace {
QMessageBox::Icon ToQt(TPrompts::TIcon icon) {
    switch (icon) {
    case TPrompts::TIcon::Information:
        return QMessageBox::Information;
    case TPrompts::TIcon::Warning:
        return QMessageBox::Warning;
    case TPrompts::TIcon::Error:
        return QMessageBox::Critical;
    case TPrompts::TIcon::Question:
        return QMessageBox::Question;
    case TPrompts::TIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}
} // namespace

void TQtPrompts::Inform(const QString &caption, const QString &text, TIcon icon) {
    QMessageBox box(ToQt(icon), caption, text, QMessageBox::Ok, parent);
    box.exec();
}

bool TQtPrompts::Confirm(const QString &caption, const QString &text, TIcon icon) {
    QMessageBox box(ToQt(icon), caption, text, QMessageBox::Yes | QMessageBox::No, parent);
    return box.exec() == QMessageBox::Yes;
}

std::optional<QString> TQtPrompts::AskText(const QString &caption, const QString &prompt,
                                           const QString &initial) {
    bool ok = false;
    const QString text = QInputDialog::getText(parent, caption, prompt, QLineEdit::Normal, initial, &ok);
    return ok ? std::optional<QString>(text) : std::nullopt;
}
