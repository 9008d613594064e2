// The D-Bus backend of the Skype link against skypesim: attachment in every outcome, Skype coming
// and going, notifications, command replies, and the simulated client's own answers.

#include "SkypeSimProcess.h"
#include "platform/linux/DBusSkypeTransport.h"
#include "skype/SkypeControl.h"

#include <QJsonArray>
#include <QRegularExpression>
#include <QtTest>

#include <memory>

using namespace SkypeAttachStatus;

// Attach() checks with QVERIFY; a failure there must end the test, not only the helper.
#define ATTACH()                                                                                             \
    do {                                                                                                     \
        Attach();                                                                                            \
        if (QTest::currentTestFailed()) return;                                                              \
    } while (false)

namespace {
struct TAttach {
    QString Sender;
    quint32 Status;
    bool operator==(const TAttach &) const = default;
};

char *toString(const TAttach &attach) {
    return QTest::toString(QStringLiteral("(%1, 0x%2)").arg(attach.Sender).arg(attach.Status, 0, 16));
}

// A transport with its hook recording everything it reports.
struct TRecordedTransport {
    TRecordedTransport() : Transport("OrviTest") {
        Transport.AttachReply = [this](const TSkypeWindow &sender, quint32 status) {
            Attaches.append({sender, status});
            Events.append("attach " + QByteArray::number(status));
            return true;
        };
        Transport.CopyData = [this](const TSkypeWindow &sender, const QByteArray &data) {
            Events.append(data);
            if (sender == Window)
                Data.append(data);
            else
                Strangers.append(data);
            return true;
        };
    }
    QByteArrayList SendAndCollect(const QByteArray &command) {
        const qsizetype before = Data.size();
        return Transport.Send(Window, command) ? Data.mid(before) : QByteArrayList{"send failed"};
    }
    TDBusSkypeTransport Transport;
    QString Window; // the Skype window the test expects data from
    QList<TAttach> Attaches;
    QByteArrayList Data;
    QByteArrayList Strangers;
    QByteArrayList Events; // attach statuses and data, in the order they came
};
} // namespace

class TestDBusSkypeTransport : public QObject {
    Q_OBJECT

private:
    TPrivateSessionBus Bus;
    std::unique_ptr<TSkypeSimProcess> Sim;
    std::unique_ptr<TRecordedTransport> Link;

    bool StartSim(const QJsonObject &scenario = TSkypeSimProcess::Scenario()) {
        Sim = std::make_unique<TSkypeSimProcess>();
        return Sim->Start(scenario);
    }

    // Starts skypesim, attaches and waits for the announcements, then forgets what was received.
    void Attach() {
        QVERIFY(StartSim());
        QVERIFY(Link->Transport.Register());
        Link->Window = Sim->Owner();
        QCOMPARE(Link->Transport.Broadcast(), 1);
        QTRY_COMPARE(Link->Data.size(), 3);
        QCOMPARE(Link->Attaches, (QList<TAttach>{{Sim->Owner(), Success}}));
        Link->Attaches.clear();
        Link->Data.clear();
    }

    QString Control(const QString &method, const QVariantList &arguments = {}) {
        const QDBusMessage reply = Sim->Control(method, arguments);
        if (reply.type() != QDBusMessage::ReplyMessage) return "error: " + reply.errorMessage();
        return reply.arguments().isEmpty() ? QString() : reply.arguments().constFirst().toString();
    }

private Q_SLOTS:
    void initTestCase() { QVERIFY(Bus.Start()); }
    void init() { Link = std::make_unique<TRecordedTransport>(); }
    void cleanup() {
        Link.reset();
        Sim.reset();
    }

    void attachAnswer_data() {
        QTest::addColumn<QString>("policy");
        QTest::addColumn<bool>("loggedIn");
        QTest::addColumn<quint32>("status");
        QTest::addColumn<QByteArrayList>("announced");
        QTest::newRow("allowed") << "allow" << true << Success
                                 << QByteArrayList{"CONNSTATUS ONLINE", "CURRENTUSERHANDLE alice",
                                                   "USERSTATUS ONLINE"};
        QTest::newRow("refused") << "refuse" << true << Refused << QByteArrayList{};
        QTest::newRow("logged out") << "allow" << false << NotAvailable << QByteArrayList{};
    }
    void attachAnswer() {
        QFETCH(QString, policy);
        QFETCH(bool, loggedIn);
        QFETCH(quint32, status);
        QFETCH(QByteArrayList, announced);
        QJsonObject scenario = TSkypeSimProcess::Scenario();
        scenario["authorization"] = policy;
        scenario["loggedIn"] = loggedIn;
        QVERIFY(StartSim(scenario));
        QVERIFY(Link->Transport.Register());
        Link->Window = Sim->Owner();

        QCOMPARE(Link->Transport.Broadcast(), 1);
        QTRY_VERIFY(!Link->Attaches.isEmpty());
        QCOMPARE(Link->Attaches.constFirst(), (TAttach{Sim->Owner(), status}));
        QTRY_COMPARE(Link->Data, announced);
        // A prompt answer is never also reported as waiting for the user.
        QTest::qWait(2 * TDBusSkypeTransport::PendingAfterMs);
        QCOMPARE(Link->Attaches.size(), 1);
        QCOMPARE(Link->Data, announced);
        // The answer comes before the announcements: until then they would come from a stranger.
        QCOMPARE(Link->Events.value(0), "attach " + QByteArray::number(status));
    }

    void attachWaitsForTheUser_data() {
        QTest::addColumn<QString>("decision");
        QTest::addColumn<quint32>("status");
        QTest::newRow("allowed") << "ask" << Success;
        QTest::newRow("refused") << "refuse" << Refused;
    }
    void attachWaitsForTheUser() {
        QFETCH(QString, decision);
        QFETCH(quint32, status);
        QJsonObject scenario = TSkypeSimProcess::Scenario();
        scenario["authorization"] = "ask";
        QVERIFY(StartSim(scenario));
        QVERIFY(Link->Transport.Register());
        Link->Window = Sim->Owner();

        QCOMPARE(Link->Transport.Broadcast(), 1);
        QTRY_COMPARE(Link->Attaches, (QList<TAttach>{{Sim->Owner(), PendingAuthorization}}));
        QTest::qWait(3 * TDBusSkypeTransport::PendingAfterMs); // reported once per call, not again
        QCOMPARE(Link->Attaches.size(), 1);
        QCOMPARE(Link->Transport.Send(Link->Window, "PING"), true);
        QCOMPARE(Link->Data, QByteArrayList{"ERROR 68"}); // nothing is allowed before the user says so

        QCOMPARE(Control("SetAuthorization", {decision}), QString());
        QCOMPARE(Control("ReleaseAuthorization"), "1");
        QTRY_COMPARE(Link->Attaches.size(), 2);
        QCOMPARE(Link->Attaches.constLast(), (TAttach{Sim->Owner(), status}));
        const QByteArray expected = status == Success ? "PONG" : "ERROR 68";
        QCOMPARE(Link->SendAndCollect("PING"), QByteArrayList{expected});
    }

    void skypeStartedAfterTheProgram() {
        QVERIFY(Link->Transport.Register());
        QCOMPARE(Link->Transport.Broadcast(), 0); // nobody to answer
        QTest::qWait(2 * TDBusSkypeTransport::PendingAfterMs);
        QVERIFY(Link->Attaches.isEmpty());

        QVERIFY(StartSim());
        Link->Window = Sim->Owner();
        QTRY_COMPARE(Link->Attaches, (QList<TAttach>{{Sim->Owner(), Available}}));
        QCOMPARE(Link->Transport.Broadcast(), 1);
        QTRY_COMPARE(Link->Attaches.size(), 2);
        QCOMPARE(Link->Attaches.constLast(), (TAttach{Sim->Owner(), Success}));
        QCOMPARE(Link->SendAndCollect("PING"), QByteArrayList{"PONG"});
    }

    void skypeQuitting() {
        ATTACH();
        const QString window = Sim->Owner();
        QCOMPARE(Control("Quit"), QString());
        QVERIFY(Sim->WaitForExit());
        QTRY_COMPARE(Link->Attaches, (QList<TAttach>{{window, NotAvailable}}));
        QCOMPARE(Link->Transport.Send(window, "PING"), false);
        QCOMPARE(Link->Transport.Broadcast(), 0);
    }

    void logOutAndInAgain() {
        ATTACH();
        QCOMPARE(Control("LogOut"), QString());
        QTRY_COMPARE(Link->Data, (QByteArrayList{"USERSTATUS LOGGEDOUT", "CONNSTATUS LOGGEDOUT"}));
        QCOMPARE(Link->SendAndCollect("PING"),
                 QByteArrayList{"ERROR 68"}); // the attachment went with the user
        QCOMPARE(Link->Transport.Broadcast(), 1);
        QTRY_COMPARE(Link->Attaches, (QList<TAttach>{{Sim->Owner(), NotAvailable}}));

        Link->Attaches.clear();
        QCOMPARE(Control("LogIn"), QString());
        // The API goes and comes back, so the program learns that it can attach again.
        QTRY_COMPARE(Link->Attaches,
                     (QList<TAttach>{{Sim->Owner(), NotAvailable}, {Sim->Owner(), Available}}));
        QCOMPARE(Link->Transport.Broadcast(), 1);
        QTRY_COMPARE(Link->Attaches.size(), 3);
        QCOMPARE(Link->Attaches.constLast(), (TAttach{Sim->Owner(), Success}));
    }

    void notifyFromAnotherPeerIsIgnored() {
        ATTACH();
        QDBusConnection other = QDBusConnection::connectToBus(QDBusConnection::SessionBus, "other");
        QVERIFY(other.isConnected());
        QDBusMessage fake =
            QDBusMessage::createMethodCall(QDBusConnection::sessionBus().baseService(),
                                           TDBusSkypeTransport::ClientPath, "com.Skype.API.Client", "Notify");
        fake << QStringLiteral("CALL 1 STATUS RINGING");
        QVERIFY(other.send(fake));
        QCOMPARE(Control("SetUserStatus", {"AWAY"}), QString());
        QTRY_COMPARE(Link->Data, QByteArrayList{"USERSTATUS AWAY"});
        QVERIFY(Link->Strangers.isEmpty());
        QDBusConnection::disconnectFromBus("other");
    }

    void replyArrivesBeforeSendReturns_data() {
        QTest::addColumn<QByteArray>("command");
        QTest::addColumn<QString>("reply"); // a pattern of the whole reply
        auto exact = [](const char *text) { return QRegularExpression::escape(QString::fromUtf8(text)); };
        QTest::newRow("ping") << QByteArray("PING") << exact("PONG");
        QTest::newRow("protocol") << QByteArray("PROTOCOL 9") << exact("PROTOCOL 4");
        QTest::newRow("user handle") << QByteArray("GET CURRENTUSERHANDLE")
                                     << exact("CURRENTUSERHANDLE alice");
        QTest::newRow("friends") << QByteArray("SEARCH FRIENDS") << exact("USERS bob, carol, +15551234567");
        QTest::newRow("version") << QByteArray("GET SKYPEVERSION") << exact("SKYPEVERSION 2.0.0.81");
        QTest::newRow("privilege") << QByteArray("GET PRIVILEGE SKYPEOUT")
                                   << exact("PRIVILEGE SKYPEOUT TRUE");
        QTest::newRow("balance") << QByteArray("GET PROFILE PSTN_BALANCE")
                                 << exact("PROFILE PSTN_BALANCE 207");
        QTest::newRow("status") << QByteArray("GET USERSTATUS") << exact("USERSTATUS ONLINE");
        QTest::newRow("set status") << QByteArray("SET USERSTATUS DND") << exact("USERSTATUS DND");
        QTest::newRow("full name") << QByteArray("GET USER bob FULLNAME")
                                   << exact("USER bob FULLNAME Bob Smith");
        QTest::newRow("default property")
            << QByteArray("GET USER carol ISBLOCKED") << exact("USER carol ISBLOCKED FALSE");
        QTest::newRow("mute") << QByteArray("SET MUTE ON") << exact("MUTE ON");
        QTest::newRow("dialog") << QByteArray("CHAT CREATE bob")
                                << "CHAT #alice/\\$bob;[0-9a-f]{16} STATUS DIALOG";
        QTest::newRow("open") << QByteArray("OPEN IM bob ") << exact("OPEN IM bob ");
        QTest::newRow("unknown") << QByteArray("DANCE") << exact("ERROR 2 Unknown command");
        QTest::newRow("no such call")
            << QByteArray("SET CALL 999 STATUS FINISHED") << exact("ERROR 19 Invalid call id");
        QTest::newRow("no such chat")
            << QByteArray("ALTER CHAT #x SETTOPIC t") << exact("ERROR 105 Invalid chat name");
    }
    void replyArrivesBeforeSendReturns() {
        QFETCH(QByteArray, command);
        QFETCH(QString, reply);
        ATTACH();
        // Read at once: no event loop has run between the send and this check.
        const QByteArrayList received = Link->SendAndCollect(command);
        QCOMPARE(received.size(), 1);
        QVERIFY2(QRegularExpression(QRegularExpression::anchoredPattern(reply)).match(received[0]).hasMatch(),
                 received[0].constData());
    }

    void notificationsArrivingDuringSendComeAfterIt() {
        ATTACH();
        // The ringing notification is waiting here when the PING goes out; it must not run nested
        // inside that send, but after it.
        const QByteArray id = Control("Ring", {"carol"}).toUtf8();
        QThread::msleep(100); // time for it to come in, with no event loop running
        QVERIFY(Link->Data.isEmpty());
        QCOMPARE(Link->SendAndCollect("PING"), QByteArrayList{"PONG"});
        QTRY_COMPARE(Link->Data, (QByteArrayList{"PONG", "CALL " + id + " STATUS RINGING"}));
    }

    void placedCallWalksItsStates_data() {
        QTest::addColumn<QByteArray>("target");
        QTest::addColumn<QStringList>("states");
        QTest::addColumn<QByteArray>("end"); // the status word sent to end it, empty for none
        QTest::addColumn<QString>("ended");
        QTest::newRow("answered, ended with two blanks")
            << QByteArray("bob") << QStringList{"ROUTING", "RINGING", "INPROGRESS"} << QByteArray(" FINISHED")
            << "FINISHED";
        QTest::newRow("phone number rings on")
            << QByteArray("+15551234567") << QStringList{"ROUTING", "EARLYMEDIA"} << QByteArray("FINISHED")
            << "CANCELLED";
        QTest::newRow("refused") << QByteArray("carol") << QStringList{"ROUTING", "RINGING", "REFUSED"}
                                 << QByteArray() << "";
        QTest::newRow("cancelled before the answer")
            << QByteArray("dave") << QStringList{"ROUTING", "RINGING"} << QByteArray("FINISHED")
            << "CANCELLED";
    }
    void placedCallWalksItsStates() {
        QFETCH(QByteArray, target);
        QFETCH(QStringList, states);
        QFETCH(QByteArray, end);
        QFETCH(QString, ended);
        ATTACH();
        const QByteArrayList placed = Link->SendAndCollect("CALL " + target);
        QCOMPARE(placed.size(), 1);
        const QRegularExpressionMatch match =
            QRegularExpression("^CALL (\\d+) STATUS UNPLACED$").match(placed[0]);
        QVERIFY2(match.hasMatch(), placed[0].constData());
        const QByteArray id = match.captured(1).toUtf8();

        QByteArrayList expected = placed;
        for (const QString &state : states)
            expected.append("CALL " + id + " STATUS " + state.toUtf8());
        QTRY_COMPARE(Link->Data, expected);
        if (!end.isEmpty())
            QCOMPARE(Link->SendAndCollect("SET CALL " + id + " STATUS " + end),
                     QByteArrayList{"CALL " + id + " STATUS " + ended.toUtf8()});
        // Nothing moves an ended call on: a pending answer stays unheard.
        QTest::qWait(1200);
        QCOMPARE(Link->Data.size(), expected.size() + (end.isEmpty() ? 0 : 1));
    }

    void incomingCallAnsweredAndJoined() {
        ATTACH();
        const QString ringing = Control("Ring", {"bob"});
        const QByteArray id = ringing.toUtf8();
        // An incoming call never reports ROUTING: that would mark it as the program's own.
        QTRY_COMPARE(Link->Data, QByteArrayList{"CALL " + id + " STATUS RINGING"});
        QCOMPARE(Link->SendAndCollect("GET CALL " + id + " PARTNER_HANDLE"),
                 QByteArrayList{"CALL " + id + " PARTNER_HANDLE bob"});
        QCOMPARE(Link->SendAndCollect("SET CALL " + id + " STATUS INPROGRESS"),
                 QByteArrayList{"CALL " + id + " STATUS INPROGRESS"});
        const QByteArray forwarded = Link->SendAndCollect("CALL +15551234567").value(0).split(' ').value(1);
        QCOMPARE(Link->SendAndCollect("SET CALL " + id + " JOIN_CONFERENCE " + forwarded),
                 QByteArrayList{"CALL " + id + " CONF_ID " + forwarded});
        QCOMPARE(Control("EndCall", {ringing.toInt()}), QString());
        QTRY_VERIFY(Link->Data.contains("CALL " + id + " STATUS FINISHED"));
        QVERIFY(Control("AnswerCall", {ringing.toInt()}).startsWith("error: "));
    }

    // The whole link: the component over the D-Bus backend, attaching, answering, re-attaching.
    void skypeControlOverTheBus() {
        QVERIFY(StartSim());
        TDBusSkypeTransport transport("Orvi");
        TSkypeControl skype(transport);
        QVERIFY(skype.Hooked);
        skype.AutoReAttach = true;
        int successes = 0, pongs = 0;
        QByteArray handle;
        QList<TSkypeConnStatus> connStatuses;
        QList<QByteArray> friends;
        QByteArrayList callStatuses;
        skype.OnAttachSuccess = [&](TSkypeControl &) { ++successes; };
        skype.OnCurrentUserHandle = [&](const QByteArray &userHandle) { handle = userHandle; };
        skype.OnConnStatus = [&](TSkypeConnStatus status) { connStatuses.append(status); };
        skype.OnPong = [&](TSkypeControl &) { ++pongs; };
        skype.OnSearchResult = [&](TSkypeSearchType, QList<QByteArray> list) { friends = list; };
        skype.OnCallInfo = [&](int, TSkypeCallProperty property, const QByteArray &data) {
            if (property == cpStatus) callStatuses.append(data);
        };

        QCOMPARE(skype.Attach(4), 1);
        QTRY_COMPARE(successes, 1);
        QCOMPARE(skype.SkypeWindow, Sim->Owner());
        // The announcements are taken: they are not mistaken for a stranger's.
        QTRY_COMPARE(handle, QByteArray("alice"));
        QCOMPARE(connStatuses, QList<TSkypeConnStatus>{csOnline});
        QCOMPARE(skype.Protocol, 4);

        QVERIFY(skype.Ping());
        QCOMPARE(pongs, 1);
        skype.Search(stFriends, "");
        QCOMPARE(friends, (QList<QByteArray>{"bob", "carol", "+15551234567"}));
        skype.PlaceCall("bob");
        QTRY_COMPARE(callStatuses, (QByteArrayList{"UNPLACED", "ROUTING", "RINGING", "INPROGRESS"}));

        // A new log-in brings the API back, and the component attaches again by itself.
        QCOMPARE(Control("LogOut"), QString());
        QTRY_COMPARE(connStatuses.constLast(), csLoggedOut);
        QCOMPARE(Control("LogIn"), QString());
        QTRY_COMPARE(successes, 2);
        QTRY_COMPARE(connStatuses.constLast(), csOnline);
        QVERIFY(skype.Ping());
        QCOMPARE(pongs, 2);
    }

    void chatMessagesBothWays_data() {
        QTest::addColumn<QByteArray>("protocol");
        QTest::addColumn<QByteArray>("word");
        QTest::newRow("chat messages") << QByteArray("PROTOCOL 4") << QByteArray("CHATMESSAGE");
        QTest::newRow("old instant messages") << QByteArray("PROTOCOL 2") << QByteArray("MESSAGE");
    }
    void chatMessagesBothWays() {
        QFETCH(QByteArray, protocol);
        QFETCH(QByteArray, word);
        ATTACH();
        Link->SendAndCollect(protocol);
        const QString text = QStringLiteral("grüße ☺  with  blanks ");
        const QByteArray id = Control("ContactWrites", {"bob", text}).toUtf8();
        QTRY_COMPARE(Link->Data.constLast(), word + " " + id + " STATUS RECEIVED");
        QCOMPARE(Link->SendAndCollect("GET CHATMESSAGE " + id + " BODY"),
                 QByteArrayList{"CHATMESSAGE " + id + " BODY " + text.toUtf8()});

        // A command far beyond the old 1024-byte buffer goes whole.
        const QByteArray longText = QByteArray(3000, 'x') + "ü";
        const QByteArrayList sending = Link->SendAndCollect("MESSAGE carol " + longText);
        QCOMPARE(sending.size(), 1);
        QVERIFY(sending[0].startsWith(word + " ") && sending[0].endsWith(" STATUS SENDING"));
        const QByteArray sent = QByteArray(sending[0]).replace("SENDING", "SENT");
        QTRY_COMPARE(Link->Data.constLast(), sent);
        const QByteArray messageId = sent.split(' ').value(1);
        QCOMPARE(Link->SendAndCollect("GET CHATMESSAGE " + messageId + " BODY"),
                 QByteArrayList{"CHATMESSAGE " + messageId + " BODY " + longText});

        // Every command is logged, in order, whole.
        const QStringList commands = Sim->Control("Commands").arguments().value(0).toStringList();
        QCOMPARE(commands.value(0), "NAME OrviTest");
        QVERIFY(commands.contains(QString::fromUtf8("MESSAGE carol " + longText)));
        QCOMPARE(Control("ClearCommands"), QString());
        QCOMPARE(Sim->Control("Commands").arguments().value(0).toStringList(), QStringList());
    }
};

QTEST_GUILESS_MAIN(TestDBusSkypeTransport)
#include "tst_DBusSkypeTransport.moc"
