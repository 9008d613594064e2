// Chat-message lookup-or-add at growing IMStack sizes, and one save of a file with 50 owners.
// Prints the cost per operation at each size and the ratio of the largest to the smallest.

#include "settings/Settings5.h"

#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {
// What the chat-message intake does for every notification: find the record of the number, or add it.
TXMLCHATMSGType LookupOrAdd(const TXMLIMStackType &stack, int id) {
    const int index = stack.IndexOfChatMessage(id);
    if (index >= 0) return *stack.Item(index);
    const TXMLCHATMSGType message = stack.Add();
    message.SetChatMsgID(id);
    message.SetFROM_HANDLE(QStringLiteral("alice"));
    return message;
}

enum class TPattern { Recent, Uniform };

// Nanoseconds per lookup-or-add on a list of `size` records: batches of 100 notifications, one in
// four about a new message, the others about a message already recorded: one of the 64 newest
// (Recent: Skype reports a message's properties while it is new) or any of them (Uniform: the worst
// case, where every access lands on memory the processor has not cached). Each batch's new records
// are deleted afterwards (untimed) so the list keeps its size. The median batch is taken, so that
// another process taking the processor for a moment does not count.
double CostAt(int size, TPattern pattern) {
    const TXMLSettingsType root = NewSettings();
    const TXMLIMStackType stack = root.IMStack();
    for (int id = 0; id < size; ++id)
        LookupOrAdd(stack, id);
    QRandomGenerator random(size);
    constexpr int Batch = 100;
    std::vector<qint64> batches(2001);
    int nextId = size;
    for (qint64 &elapsed : batches) {
        QElapsedTimer timer;
        timer.start();
        for (int op = 0; op < Batch; ++op) {
            const int known = pattern == TPattern::Recent ? size - 1 - int(random.bounded(std::min(size, 64)))
                                                          : int(random.bounded(size));
            (void)LookupOrAdd(stack, op % 4 == 0 ? nextId++ : known);
        }
        elapsed = timer.nsecsElapsed();
        while (stack.Count() > size)
            stack.Delete(stack.Count() - 1);
    }
    std::nth_element(batches.begin(), batches.begin() + batches.size() / 2, batches.end());
    return double(batches[batches.size() / 2]) / Batch;
}

TXMLSettingsType FiftyOwners() {
    const TXMLSettingsType root = NewSettings();
    for (int o = 0; o < 50; ++o) {
        const TXMLOwnerType owner = root.Owner().Add();
        owner.SetSkypeHandle(QStringLiteral("user%1").arg(o));
        owner.SetAdvancedMode(true);
        const TXMLAutoRespondType ar = owner.AutoRespond();
        ar.SetAutoRespond_Enabled(true);
        for (int m = 0; m < 7; ++m)
            ar.ResponseMessages().Add(
                QStringLiteral("I am currently away from my computer, message %1").arg(m));
        ar.When_Im_on_Call().RespondToIM().SetMessagePointer(3);
        ar.When_Im_NOT_on_Call().RespondToCall().SetEnabled(true);
        owner.Presence().SetWebStatus(QStringLiteral("ONLINE"));
        owner.CallForwarding().ForwardToPSTN().SetNumber(QStringLiteral("+15554442222"));
        for (int f = 0; f < 20; ++f) {
            owner.FavoritesList().Add(QStringLiteral("https://example.org/page/%1").arg(f));
            owner.CallForwarding().ForwardcontactsList().Add(QStringLiteral("contact%1").arg(f));
        }
        for (const char *tab :
             {"ElTabPresence", "ElTabAutoresponder", "ElTabCallForwarding", "ElTabOrviCommunity"}) {
            owner.OrviTabs().Add().SetTabName(QLatin1String(tab));
            owner.SplashScreens().Add().SetSSText(QLatin1String(tab));
        }
    }
    return root;
}

// Median milliseconds of one atomic save (write, commit, folder sync).
double SaveMs(const TXMLSettingsType &root, qint64 &bytes) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Settings.xml"));
    std::vector<double> times;
    for (int i = 0; i < 21; ++i) {
        QElapsedTimer timer;
        timer.start();
        if (!SaveSettingsFile(root, path).isEmpty()) return -1;
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    bytes = QFileInfo(path).size();
    std::nth_element(times.begin(), times.begin() + 10, times.end());
    return times[10];
}
} // namespace

int main() {
    for (const TPattern pattern : {TPattern::Recent, TPattern::Uniform}) {
        std::printf("chat-message lookup-or-add (IMStack), %s:\n", pattern == TPattern::Recent
                                                                       ? "known messages among the 64 newest"
                                                                       : "known messages anywhere");
        std::vector<double> costs;
        for (int size : {100, 10000, 100000}) {
            costs.push_back(CostAt(size, pattern));
            std::printf("  %6d records: %6.0f ns per operation\n", size, costs.back());
        }
        std::printf("  ratio 100000 / 100: %.2f\n", costs.back() / costs.front());
    }
    qint64 bytes = 0;
    const double ms = SaveMs(FiftyOwners(), bytes);
    std::printf("save of a settings file with 50 owners (%lld bytes): %.2f ms (median of 21)\n",
                static_cast<long long>(bytes), ms);
    return 0;
}
