#pragma once
// Prompts answered from a queue; every prompt shown is recorded for the test to read.

#include "shell/Prompts.h"

#include <QList>
#include <QQueue>

struct TShownPrompt {
    QString kind; // "inform", "confirm" or "askText"
    QString caption;
    QString text;
    TPrompts::TIcon icon = TPrompts::TIcon::None;
};

class TScriptedPrompts final : public TPrompts {
public:
    QQueue<bool> confirmAnswers;                // empty queue answers no
    QQueue<std::optional<QString>> textAnswers; // empty queue answers cancel
    QList<TShownPrompt> shown;

    void Inform(const QString &caption, const QString &text, TIcon icon) override {
        shown.append({QStringLiteral("inform"), caption, text, icon});
    }
    bool Confirm(const QString &caption, const QString &text, TIcon icon) override {
        shown.append({QStringLiteral("confirm"), caption, text, icon});
        return confirmAnswers.isEmpty() ? false : confirmAnswers.dequeue();
    }
    std::optional<QString> AskText(const QString &caption, const QString &prompt, const QString &) override {
        shown.append({QStringLiteral("askText"), caption, prompt, TIcon::None});
        return textAnswers.isEmpty() ? std::nullopt : textAnswers.dequeue();
    }
};
