// Notifications taken in through the transport, parsed and dispatched per second, against the cost of
// calling an empty std::function the same number of times: the ratio says what parsing adds to the
// bare dispatch. Usage: bench_notifications [notifications]

#include "FakeSkypeTransport.h"

#include "skype/SkypeControl.h"

#include <QByteArray>
#include <QList>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>

namespace {

using TClockType = std::chrono::steady_clock;

const TSkypeWindow Skype = QStringLiteral(":1.7");

double SecondsSince(TClockType::time_point start) {
    return std::chrono::duration<double>(TClockType::now() - start).count();
}

// What a session brings: call progress, chat messages and their bodies, contact details, and now
// and then the friends list.
QList<QByteArray> Mix() {
    QByteArray friends = "FRIENDS";
    for (int i = 0; i < 40; ++i)
        friends += (i ? ", contact." : " contact.") + QByteArray::number(i);
    return {"CALL 1234 STATUS RINGING",
            "CALL 1234 PARTNER_HANDLE alice.smith",
            "CALL 1234 DURATION 17",
            "CHATMESSAGE 5512 STATUS RECEIVED",
            "CHATMESSAGE 5512 BODY Are we still on for the meeting at three?  See you there. ",
            "CHATMESSAGE 5512 FROM_HANDLE bob",
            "USER bob FULLNAME Bob   Smith",
            "USER bob ONLINESTATUS AWAY",
            "USER carol DISPLAYNAME Carol",
            friends};
}

} // namespace

int main(int argc, char **argv) {
    const long count = argc > 1 ? std::atol(argv[1]) : 2000000;
    FakeSkypeTransport transport;
    TSkypeControl control(transport);
    transport.DeliverAttach(Skype, SkypeAttachStatus::Success);

    long sink = 0;
    control.OnCopyData = [&](const QByteArray &raw) { sink += raw.size(); };
    control.OnCallInfo = [&](int id, TSkypeCallProperty p, const QByteArray &d) {
        sink += id + p + d.size();
    };
    control.OnChatMsgInfo = [&](int id, TSkypeChatMsgProperty p, const QByteArray &d) {
        sink += id + p + d.size();
    };
    control.OnUserInfo = [&](const QByteArray &u, TSkypeUserProperty p, const QByteArray &d) {
        sink += u.size() + p + d.size();
    };
    control.OnSearchResult = [&](TSkypeSearchType t, QList<QByteArray> list) { sink += t + list.size(); };
    control.OnNotSupportedError = [&](const QByteArray &text) { sink += text.size(); };

    const QList<QByteArray> mix = Mix();
    const auto parseStart = TClockType::now();
    for (long i = 0; i < count; ++i)
        transport.DeliverNotification(Skype, mix[i % mix.size()]);
    const double parseSeconds = SecondsSince(parseStart);

    // The same number of calls through an empty callback: the floor any dispatch pays.
    std::function<void(long)> empty = [](long) {};
    std::function<void(long)> *volatile emptyRef = &empty; // keeps the calls from being folded away
    const auto emptyStart = TClockType::now();
    for (long i = 0; i < count; ++i)
        (*emptyRef)(i);
    const double emptySeconds = SecondsSince(emptyStart);

    std::printf("notifications: %ld (mix of %lld texts: CALL, CHATMESSAGE, USER, FRIENDS list of 40)\n",
                count, static_cast<long long>(mix.size()));
    std::printf("parsed and dispatched: %.0f per second (%.1f ns each)\n", count / parseSeconds,
                parseSeconds * 1e9 / count);
    std::printf("empty std::function call: %.0f per second (%.2f ns each)\n", count / emptySeconds,
                emptySeconds * 1e9 / count);
    std::printf("ratio notification / empty call: %.0f\n", parseSeconds / emptySeconds);
    std::printf("(checksum %ld)\n", sink);
    return 0;
}
