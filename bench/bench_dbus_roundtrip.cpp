// Command round trips through the D-Bus Skype transport ("PING" answered "PONG" by skypesim) beside
// bare D-Bus method calls to the same skypesim, measured in one run. Run under dbus-run-session:
//   dbus-run-session -- build/bench/bench_dbus_roundtrip [round trips per round]

#include "SkypeSimProcess.h"
#include "platform/linux/DBusSkypeTransport.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {
constexpr int Rounds = 5;

// Round trips per second of one round.
double Rate(int count, const std::function<bool()> &roundTrip) {
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < count; ++i)
        if (!roundTrip()) return 0;
    return count * 1e9 / double(clock.nsecsElapsed());
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

bool BareCall(const QString &destination, const QString &path, const QString &interface,
              const QString &method) {
    const QDBusMessage call = QDBusMessage::createMethodCall(destination, path, interface, method);
    return QDBusConnection::sessionBus().call(call, QDBus::Block, 2000).type() == QDBusMessage::ReplyMessage;
}
} // namespace

int main(int argc, char *argv[]) {
    QCoreApplication app(argc, argv);
    const int count = argc > 1 ? std::max(1, atoi(argv[1])) : 5000;
    if (!QDBusConnection::sessionBus().isConnected()) {
        std::fprintf(stderr, "bench_dbus_roundtrip: no session bus; run it under dbus-run-session\n");
        return 1;
    }
    TSkypeSimProcess sim;
    if (!sim.Start(TSkypeSimProcess::Scenario())) {
        std::fprintf(stderr, "bench_dbus_roundtrip: skypesim did not start\n");
        return 1;
    }

    TDBusSkypeTransport transport("OrviBench");
    int pongs = 0;
    bool attached = false;
    transport.AttachReply = [&](const TSkypeWindow &, quint32 status) {
        attached = attached || status == SkypeAttachStatus::Success;
        return true;
    };
    transport.CopyData = [&](const TSkypeWindow &, const QByteArray &data) {
        pongs += data == "PONG";
        return true;
    };
    if (!transport.Register() || transport.Broadcast() != 1) {
        std::fprintf(stderr, "bench_dbus_roundtrip: cannot reach skypesim\n");
        return 1;
    }
    QElapsedTimer waited;
    waited.start();
    while (!attached && waited.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    if (!attached) {
        std::fprintf(stderr, "bench_dbus_roundtrip: skypesim did not attach the bench\n");
        return 1;
    }

    const QString window = sim.Owner();
    const std::function<bool()> send = [&] { return transport.Send(window, "PING"); };
    const std::function<bool()> control = [&] {
        return BareCall(window, "/org/orvi/SkypeSim", "org.orvi.SkypeSim", "ClearCommands");
    };
    const std::function<bool()> peerPing = [&] {
        return BareCall(window, "/", "org.freedesktop.DBus.Peer", "Ping");
    };
    Rate(count / 10, send); // warm up both ends
    Rate(count / 10, control);
    std::vector<double> sendRates, controlRates, pingRates;
    // Interleaved rounds, so that drift of the machine's load touches all three alike.
    for (int round = 0; round < Rounds; ++round) {
        sendRates.push_back(Rate(count, send));
        controlRates.push_back(Rate(count, control));
        pingRates.push_back(Rate(count, peerPing));
        QCoreApplication::processEvents(); // let queued notifications go
    }
    const int expectedPongs = count / 10 + Rounds * count;
    if (pongs != expectedPongs || std::ranges::count(sendRates, 0.0) > 0) {
        std::fprintf(stderr, "bench_dbus_roundtrip: %d of %d PING round trips answered PONG\n", pongs,
                     expectedPongs);
        return 1;
    }
    const double sendRate = Median(sendRates), controlRate = Median(controlRates),
                 pingRate = Median(pingRates);
    std::printf("D-Bus round trips to skypesim, %d per round, median of %d rounds\n", count, Rounds);
    std::printf("  TDBusSkypeTransport::Send(\"PING\") -> PONG    : %9.0f /s\n", sendRate);
    std::printf("  bare call org.orvi.SkypeSim.ClearCommands     : %9.0f /s\n", controlRate);
    std::printf("  bare call org.freedesktop.DBus.Peer.Ping      : %9.0f /s\n", pingRate);
    std::printf("  ratio Send / ClearCommands                    : %9.2f\n", sendRate / controlRate);
    std::printf("  ratio Send / Peer.Ping                        : %9.2f\n", sendRate / pingRate);
    return 0;
}
