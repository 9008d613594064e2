#include "shell/ResponseDefaults.h"

#include <array>
#include <stdexcept>

namespace {
struct TRulePointer {
    TXMLRespondRuleType rule;
    int defaultIndex;
};

// In the order the pointers are checked: on-call IM, on-call call, away IM, away call, not-on-list IM,
// not-on-list call.
std::array<TRulePointer, 6> Rules(const TXMLAutoRespondType &autoRespond) {
    const TXMLRulePairType onCall = autoRespond.When_Im_on_Call();
    const TXMLRulePairType away = autoRespond.When_Im_NOT_on_Call();
    const TXMLRulePairType stranger = autoRespond.When_Person_Not_on_contactlist();
    return {{{onCall.RespondToIM(), 3},
             {onCall.RespondToCall(), 4},
             {away.RespondToIM(), 1},
             {away.RespondToCall(), 2},
             {stranger.RespondToIM(), 5},
             {stranger.RespondToCall(), 6}}};
}

void Require(bool written) {
    if (!written) throw std::runtime_error("response messages not written");
}
} // namespace

QStringList ResponseDefaults::Messages() {
    return {QStringLiteral("I am currently unavailable"),
            QStringLiteral("I am currently away from my computer, I will return your IM"),
            QStringLiteral("I am currently away from my computer, I will return your call"),
            QStringLiteral("I am currently on a Call, I will return your IM"),
            QStringLiteral("I am currently on a Call, I will return your call"),
            QStringLiteral("Hello, please tell me why you would like to get in contact with me"),
            QStringLiteral("Hello, please send me an Instant Message before you call")};
}

void ResponseDefaults::Prepare(const TXMLAutoRespondType &autoRespond) {
    const TXMLResponseMessagesType messages = autoRespond.ResponseMessages();
    const auto rules = Rules(autoRespond);
    if (messages.Count() == 0) {
        for (const QString &text : Messages())
            Require(messages.Add(text));
        for (const TRulePointer &pointer : rules)
            Require(pointer.rule.SetMessagePointer(pointer.defaultIndex));
    }
    const int last = messages.Count() - 1;
    for (const TRulePointer &pointer : rules) {
        const int index = pointer.rule.MessagePointer();
        if (index == -1 || index > last) Require(pointer.rule.SetMessagePointer(0));
    }
}
