#pragma once
// The prompts of the running program: Qt message boxes and the text-input box.

#include "shell/Prompts.h"

class QWidget;

class TQtPrompts final : public TPrompts {
public:
    explicit TQtPrompts(QWidget *parent = nullptr) : parent(parent) {}
    void SetParent(QWidget *widget) { parent = widget; }

    void Inform(const QString &caption, const QString &text, TIcon icon) override;
    bool Confirm(const QString &caption, const QString &text, TIcon icon) override;
    std::optional<QString> AskText(const QString &caption, const QString &prompt,
                                   const QString &initial) override;

private:
    QWidget *parent;
};
