#pragma once
// Every modal question and message of the program goes through this interface, so that the logic
// never opens a window itself and tests answer the questions without a screen.

#include <QString>
#include <QStringList>

#include <optional>

class TPrompts {
public:
    enum class TIcon { None, Information, Warning, Error, Question };

    virtual ~TPrompts() = default;

    // A message with an OK button.
    virtual void Inform(const QString &caption, const QString &text, TIcon icon = TIcon::Information) = 0;
    // A question answered yes (true) or no.
    virtual bool Confirm(const QString &caption, const QString &text, TIcon icon = TIcon::Question) = 0;
    // A line of text; nothing when the user cancels.
    virtual std::optional<QString> AskText(const QString &caption, const QString &prompt,
                                           const QString &initial = QString()) = 0;
};
