// Attachment, sending and receiving through the transport, and the command texts.

#include "FakeSkypeTransport.h"
#include "SkypeEventLog.h"

#include "skype/SkypeControl.h"

#include <QTest>

#include <functional>

using TCommandCall = std::function<void(TSkypeControl &)>;
Q_DECLARE_METATYPE(TCommandCall)

namespace {
const TSkypeWindow Skype = QStringLiteral(":1.7");
const TSkypeWindow Stranger = QStringLiteral(":1.99");

// A component attached to the fake Skype, with the commands of the attachment itself forgotten.
struct TAttached {
    FakeSkypeTransport transport;
    TSkypeControl control{transport};
    explicit TAttached(int protocol = 4) {
        control.Attach(protocol);
        transport.DeliverAttach(Skype, SkypeAttachStatus::Success);
        transport.sent.clear();
    }
};
} // namespace

class TestSkypeControl : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void attachSuccessSendsNameAndProtocolFirst();
    void attachReplyDuringBroadcast();
    void laterSuccessMovesToNewWindow();
    void attachStatuses_data();
    void attachStatuses();
    void apiAvailableReattachesFirst();
    void sendsNothingUntilAttached();
    void failedSendReportsFalse();
    void longCommandSentWhole();
    void commandWithZeroByteRefused();
    void copyDataFromOtherWindowIgnored();
    void copyDataShownWholeBeforeParsing();
    void replyHandledBeforeSendReturns();
    void inertWhenRegistrationFails();
    void destructionRemovesHooks();
    void commands_data();
    void commands();
    void booleanCommandsReturnSendResult();
    void refusalUsesProtocolOfLastAttach();
};

void TestSkypeControl::attachSuccessSendsNameAndProtocolFirst() {
    FakeSkypeTransport transport;
    TSkypeControl control(transport);
    QVERIFY(control.Hooked);
    QCOMPARE(control.Protocol, -1);
    transport.broadcastResult = 17;
    QCOMPARE(control.Attach(3), 17);
    QCOMPARE(transport.broadcasts, 1);
    QCOMPARE(control.Protocol, 3);
    QVERIFY(!control.Attached);

    QList<FakeSkypeTransport::TSentCommand> sentAtEvent;
    control.OnAttachSuccess = [&](TSkypeControl &sender) {
        QCOMPARE(&sender, &control);
        sentAtEvent = transport.sent;
    };
    QVERIFY(transport.DeliverAttach(Skype, SkypeAttachStatus::Success));
    const QList<FakeSkypeTransport::TSentCommand> expected{{Skype, "NAME Orvi"}, {Skype, "PROTOCOL 3"}};
    QCOMPARE(sentAtEvent, expected);
    QCOMPARE(transport.sent, expected);
    QVERIFY(control.Attached);
    QCOMPARE(control.SkypeWindow, Skype);
}

// Skype may answer while the broadcast is still going out; the protocol asked for is already in force.
void TestSkypeControl::attachReplyDuringBroadcast() {
    FakeSkypeTransport transport;
    TSkypeControl control(transport);
    control.IdentName = "Orvi Test";
    transport.onBroadcast = [&] { transport.DeliverAttach(Skype, SkypeAttachStatus::Success); };
    bool attachedDuringBroadcast = false;
    control.OnAttachSuccess = [&](TSkypeControl &) { attachedDuringBroadcast = transport.broadcasts == 1; };
    control.Attach(4);
    QVERIFY(attachedDuringBroadcast);
    QCOMPARE(transport.SentTexts(), (QList<QByteArray>{"NAME Orvi Test", "PROTOCOL 4"}));
}

void TestSkypeControl::laterSuccessMovesToNewWindow() {
    TAttached a;
    a.transport.DeliverAttach(Stranger, SkypeAttachStatus::Success);
    QCOMPARE(a.control.SkypeWindow, Stranger);
    const QList<FakeSkypeTransport::TSentCommand> expected{{Stranger, "NAME Orvi"}, {Stranger, "PROTOCOL 4"}};
    QCOMPARE(a.transport.sent, expected);
    QVERIFY(!a.transport.DeliverNotification(Skype, "PONG"));
    QVERIFY(a.transport.DeliverNotification(Stranger, "PONG"));
}

void TestSkypeControl::attachStatuses_data() {
    QTest::addColumn<quint32>("status");
    QTest::addColumn<bool>("handled");
    QTest::addColumn<QByteArray>("events");
    QTest::newRow("pending") << SkypeAttachStatus::PendingAuthorization << true
                             << QByteArray("AttachPending");
    QTest::newRow("refused") << SkypeAttachStatus::Refused << true << QByteArray("AttachRefused");
    QTest::newRow("not available") << SkypeAttachStatus::NotAvailable << true
                                   << QByteArray("APINotAvailable");
    QTest::newRow("available") << SkypeAttachStatus::Available << true << QByteArray("APIAvailable");
    QTest::newRow("unknown status") << quint32(4) << false << QByteArray();
    QTest::newRow("0x8000") << quint32(0x8000) << false << QByteArray();
}

// None of these attaches: no window is recorded, nothing is sent, and without AutoReAttach nothing
// is broadcast.
void TestSkypeControl::attachStatuses() {
    QFETCH(quint32, status);
    FakeSkypeTransport transport;
    TSkypeControl control(transport);
    TSkypeEventLog log(control);
    QTEST(transport.DeliverAttach(Skype, status), "handled");
    QTEST(log.Joined(), "events");
    QVERIFY(!control.Attached);
    QVERIFY(control.SkypeWindow.isEmpty());
    QVERIFY(transport.sent.isEmpty());
    QCOMPARE(transport.broadcasts, 0);
}

void TestSkypeControl::apiAvailableReattachesFirst() {
    FakeSkypeTransport transport;
    TSkypeControl control(transport);
    control.AutoReAttach = true;
    control.Attach(2);
    int broadcastsAtEvent = -1;
    int protocolAtEvent = -1;
    control.OnAPIAvailable = [&](TSkypeControl &) {
        broadcastsAtEvent = transport.broadcasts;
        protocolAtEvent = control.Protocol;
    };
    QVERIFY(transport.DeliverAttach(Skype, SkypeAttachStatus::Available));
    QCOMPARE(broadcastsAtEvent, 2);
    QCOMPARE(protocolAtEvent, 4);
}

void TestSkypeControl::sendsNothingUntilAttached() {
    FakeSkypeTransport transport;
    TSkypeControl control(transport);
    QVERIFY(control.SendCommand("PING"));
    QVERIFY(control.Ping());
    control.SendIM("alice", "hello");
    transport.DeliverAttach(Skype, SkypeAttachStatus::Refused);
    QVERIFY(control.SendCommand("PING"));
    QVERIFY(transport.sent.isEmpty());

    transport.DeliverAttach(Skype, SkypeAttachStatus::Success);
    transport.sent.clear();
    transport.sendResult = false; // an empty text must not even reach the transport
    QVERIFY(control.SendCommand(QByteArray()));
    QVERIFY(transport.sent.isEmpty());
}

// Once attached the component stays attached; a lost Skype shows only as failed sends.
void TestSkypeControl::failedSendReportsFalse() {
    TAttached a;
    a.transport.sendResult = false;
    TSkypeEventLog log(a.control);
    QVERIFY(!a.control.SendCommand("PING"));
    QCOMPARE(a.transport.SentTexts(), QList<QByteArray>{"PING"});
    QVERIFY(log.lines.isEmpty());
    QVERIFY(a.control.Attached);
}

void TestSkypeControl::longCommandSentWhole() {
    TAttached a;
    const QByteArray text = QByteArray("0123456789abcdef").repeated(300); // 4800 bytes
    a.control.SendIM("alice", text);
    QCOMPARE(a.transport.SentTexts(), QList<QByteArray>{"MESSAGE alice " + text});
    QCOMPARE(a.transport.sent.first().text.size(), 14 + 4800);
}

// Skype reads up to the zero byte, so such a text would run a different, cut command.
void TestSkypeControl::commandWithZeroByteRefused() {
    TAttached a;
    const QByteArray text("MESSAGE alice hi\0 CALL +15551234", 32);
    QVERIFY(!a.control.SendCommand(text));
    QVERIFY(a.transport.sent.isEmpty());
}

void TestSkypeControl::copyDataFromOtherWindowIgnored() {
    FakeSkypeTransport transport;
    TSkypeControl control(transport);
    TSkypeEventLog log(control);
    // Before any attachment there is no Skype window, and an empty sender is not one.
    QVERIFY(!transport.DeliverNotification(TSkypeWindow(), "PONG"));
    QVERIFY(!transport.DeliverNotification(Skype, "PONG"));
    transport.DeliverAttach(Skype, SkypeAttachStatus::Success);
    log.lines.clear();
    QVERIFY(!transport.DeliverNotification(Stranger, "CALL 1 STATUS RINGING"));
    QVERIFY(log.lines.isEmpty());
}

void TestSkypeControl::copyDataShownWholeBeforeParsing() {
    TAttached a;
    TSkypeEventLog log(a.control);
    const QByteArray block("  USER bob FULLNAME  Bob   Smith \0junk", 38);
    QVERIFY(a.transport.DeliverNotification(Skype, block));
    QVERIFY(a.transport.DeliverNotification(Skype, "OK"));
    QVERIFY(a.transport.DeliverNotification(Skype, ""));
    QCOMPARE(log.lines,
             (QList<QByteArray>{"CopyData [  USER bob FULLNAME  Bob   Smith ]",
                                "UserInfo bob FULLNAME [Bob   Smith ]", "CopyData [OK]", "CopyData []"}));
}

// Skype answers while it takes the command: the handlers run, and may send again, before the
// outer send returns.
void TestSkypeControl::replyHandledBeforeSendReturns() {
    TAttached a;
    a.transport.autoReply = [](const QByteArray &command) -> QList<QByteArray> {
        if (command == "GET USERSTATUS") return {"USERSTATUS ONLINE"};
        if (command == "GET CALL 5 PARTNER_HANDLE") return {"CALL 5 PARTNER_HANDLE alice"};
        return {};
    };
    QList<QByteArray> order;
    a.control.OnUserStatus = [&](TSkypeUserStatus status) {
        order.append("status " + SkypeWordOf(status));
        a.control.GetCallProperty(5, cpPartnerHandle);
        order.append("status handler done");
    };
    a.control.OnCallInfo = [&](int id, TSkypeCallProperty, const QByteArray &data) {
        order.append("call " + QByteArray::number(id) + ' ' + data);
    };
    QVERIFY(a.control.GetUserStatus());
    order.append("returned");
    QCOMPARE(order, (QList<QByteArray>{"status ONLINE", "call 5 alice", "status handler done", "returned"}));
}

void TestSkypeControl::inertWhenRegistrationFails() {
    FakeSkypeTransport transport;
    transport.registerResult = false;
    TSkypeControl control(transport);
    TSkypeEventLog log(control);
    control.AutoReAttach = true;
    QVERIFY(!control.Hooked);
    QVERIFY(!transport.AttachReply);
    QVERIFY(!transport.CopyData);
    QCOMPARE(control.Attach(4), 0);
    QCOMPARE(transport.broadcasts, 0);
    QCOMPARE(control.Protocol, 4);
    for (quint32 status : {SkypeAttachStatus::Success, SkypeAttachStatus::Available})
        QVERIFY(!transport.DeliverAttach(Skype, status));
    QVERIFY(!transport.DeliverNotification(Skype, "PONG"));
    QVERIFY(control.SendCommand("PING"));
    QVERIFY(!control.Attached);
    QVERIFY(transport.sent.isEmpty());
    QVERIFY(log.lines.isEmpty());
}

void TestSkypeControl::destructionRemovesHooks() {
    FakeSkypeTransport transport;
    {
        TSkypeControl control(transport);
        QVERIFY(transport.AttachReply);
    }
    QVERIFY(!transport.AttachReply);
    QVERIFY(!transport.CopyData);
    QVERIFY(!transport.DeliverAttach(Skype, SkypeAttachStatus::Success));
}

// Each row: the protocol in force, the operation, the text sent (empty: nothing) and the refusal.
void TestSkypeControl::commands_data() {
    QTest::addColumn<int>("protocol");
    QTest::addColumn<TCommandCall>("call");
    QTest::addColumn<QByteArray>("sent");
    QTest::addColumn<QByteArray>("refusal");

    const auto row = [](const char *name, int protocol, TCommandCall call, const char *sent,
                        const char *refusal = "") {
        QTest::newRow(name) << protocol << call << QByteArray(sent) << QByteArray(refusal);
    };
    using C = TSkypeControl;
    row(
        "search friends, empty text", 4, [](C &c) { c.Search(stFriends, ""); }, "SEARCH FRIENDS ");
    row(
        "search users", 4, [](C &c) { c.Search(stUsers, "bob"); }, "SEARCH USERS bob");
    row(
        "search messages under 4", 4, [](C &c) { c.Search(stMessages, ""); }, "",
        "Searchtype \"MESSAGES\" not supported (Protocol 4)");
    row(
        "search messages under 2", 2, [](C &c) { c.Search(stMessages, "x"); }, "SEARCH MESSAGES x");
    row(
        "search recent chats under 3", 3, [](C &c) { c.Search(stRecentChats, ""); }, "",
        "Searchtype \"RECENTCHATS\" not supported (Protocol 3)");
    row(
        "get user", 4, [](C &c) { c.GetUserProperty("bob", upDisplayname); }, "GET USER bob DISPLAYNAME");
    row(
        "get call", 4, [](C &c) { c.GetCallProperty(12, cpPartnerHandle); }, "GET CALL 12 PARTNER_HANDLE");
    row(
        "get call seen refused", 4, [](C &c) { c.GetCallProperty(12, cpSeen); }, "",
        "Call property \"SEEN\" not supported (Protocol 4)");
    row(
        "get call join refused", 4, [](C &c) { c.GetCallProperty(12, cpJoinConference); }, "",
        "Call property \"JOIN_CONFERENCE\" not supported (Protocol 4)");
    row(
        "get chat message", 4, [](C &c) { c.GetChatMessageProperty(55, cmBody); }, "GET CHATMESSAGE 55 BODY");
    row(
        "get chat message under 2", 2, [](C &c) { c.GetChatMessageProperty(55, cmBody); }, "",
        "Chatmessage property \"BODY\" not supported (Protocol 2)");
    row(
        "get privilege", 1, [](C &c) { c.GetPrivilege(spSkypeOut); }, "GET PRIVILEGE SKYPEOUT");
    row(
        "get profile under 4", 4, [](C &c) { c.GetProfile(spfPSTNBalance); }, "GET PROFILE PSTN_BALANCE");
    row(
        "get profile under 3", 3, [](C &c) { c.GetProfile(spfPSTNBalance); }, "",
        "Profile \"PSTN_BALANCE\" not supported (Protocol 3)");
    row(
        "get profile under 0 checks as 1", 0, [](C &c) { c.GetProfile(spfPSTNBalanceCurrency); }, "",
        "Profile \"PSTN_BALANCE_CURRENCY\" not supported (Protocol 0)");
    row(
        "get profile above 4 checks as 4", 6, [](C &c) { c.GetProfile(spfPSTNBalance); },
        "GET PROFILE PSTN_BALANCE");
    row(
        "set call value with leading space", 4, [](C &c) { c.SetCallProperty(12, cpStatus, " FINISHED"); },
        "SET CALL 12 STATUS  FINISHED");
    row(
        "set call join under 3", 3, [](C &c) { c.SetCallProperty(12, cpJoinConference, "34"); }, "",
        "Setting call property \"JOIN_CONFERENCE\" not supported (Protocol 3)");
    row(
        "set call join under 4", 4, [](C &c) { c.SetCallProperty(12, cpJoinConference, "34"); },
        "SET CALL 12 JOIN_CONFERENCE 34");
    row(
        "set call receivable-only property", 4, [](C &c) { c.SetCallProperty(12, cpPartnerHandle, "x"); }, "",
        "Setting call property \"PARTNER_HANDLE\" not supported (Protocol 4)");
    row(
        "get user status", 4, [](C &c) { c.GetUserStatus(); }, "GET USERSTATUS");
    row(
        "get current user handle", 4, [](C &c) { c.GetCurrentUserHandle(); }, "GET CURRENTUSERHANDLE");
    row(
        "get skype version", 4, [](C &c) { c.GetSkypeVersion(); }, "GET SKYPEVERSION");
    row(
        "mute on", 4, [](C &c) { c.SetMute(true); }, "SET MUTE ON");
    row(
        "mute off", 4, [](C &c) { c.SetMute(false); }, "SET MUTE OFF");
    row(
        "conference call", 4, [](C &c) { c.PlaceCall("alice, +15551234"); }, "CALL alice, +15551234");
    row(
        "voicemail", 4, [](C &c) { c.Voicemail("alice"); }, "VOICEMAIL alice");
    row(
        "create chat", 4, [](C &c) { c.CreateChat("alice, bob"); }, "CHAT CREATE alice, bob");
    row(
        "file transfer", 4, [](C &c) { c.OpenFileTransfer("alice"); }, "OPEN FILETRANSFER alice");
    row(
        "send im", 4, [](C &c) { c.SendIM("alice", "hi  there "); }, "MESSAGE alice hi  there ");
    row(
        "add a friend", 4, [](C &c) { c.OpenAddAFriend(); }, "OPEN ADDAFRIEND");
    row(
        "open im empty text", 4, [](C &c) { c.OpenIM("alice", ""); }, "OPEN IM alice ");
    row(
        "open chat", 4, [](C &c) { c.OpenChat("#alice/$bob;1"); }, "OPEN CHAT #alice/$bob;1");
    row(
        "chat topic", 4, [](C &c) { c.SetChatTopic("#c", "Our topic"); }, "ALTER CHAT #c SETTOPIC Our topic");
    row(
        "focus", 4, [](C &c) { c.Focus(); }, "FOCUS");
    row(
        "ping", 4, [](C &c) { c.Ping(); }, "PING");
}

void TestSkypeControl::commands() {
    QFETCH(int, protocol);
    QFETCH(TCommandCall, call);
    QFETCH(QByteArray, sent);
    QFETCH(QByteArray, refusal);

    TAttached a;
    a.control.Protocol = protocol;
    TSkypeEventLog log(a.control);
    call(a.control);
    const QList<FakeSkypeTransport::TSentCommand> expected =
        sent.isEmpty() ? QList<FakeSkypeTransport::TSentCommand>{}
                       : QList{FakeSkypeTransport::TSentCommand{Skype, sent}};
    QCOMPARE(a.transport.sent, expected);
    QCOMPARE(log.Joined(), refusal.isEmpty() ? QByteArray() : "NotSupported [" + refusal + ']');
}

void TestSkypeControl::booleanCommandsReturnSendResult() {
    const QList<std::function<bool(TSkypeControl &)>> operations{
        &TSkypeControl::GetUserStatus,
        &TSkypeControl::GetCurrentUserHandle,
        &TSkypeControl::GetSkypeVersion,
        [](TSkypeControl &c) { return c.SetMute(true); },
        &TSkypeControl::OpenAddAFriend,
        &TSkypeControl::Focus,
        &TSkypeControl::Ping};
    for (bool works : {true, false}) {
        TAttached a;
        a.transport.sendResult = works;
        for (const auto &operation : operations)
            QCOMPARE(operation(a.control), works);
        QCOMPARE(a.transport.sent.size(), operations.size());
    }
}

// Before attachment nothing goes out, but the check already uses the number given to Attach.
void TestSkypeControl::refusalUsesProtocolOfLastAttach() {
    FakeSkypeTransport transport;
    TSkypeControl control(transport);
    TSkypeEventLog log(control);
    control.Attach(3);
    control.GetProfile(spfPSTNBalance);
    control.GetCallProperty(1, cpStatus);
    QCOMPARE(log.lines,
             QList<QByteArray>{"NotSupported [Profile \"PSTN_BALANCE\" not supported (Protocol 3)]"});
    QVERIFY(transport.sent.isEmpty());
}

QTEST_GUILESS_MAIN(TestSkypeControl)
#include "tst_skypecontrol.moc"
