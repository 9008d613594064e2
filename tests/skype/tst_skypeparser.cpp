// The notification parser and the tokenizer: Skype's texts in, typed events out.

#include "FakeSkypeTransport.h"
#include "SkypeEventLog.h"

#include "skype/SkypeControl.h"

#include <QTest>

namespace {
const TSkypeWindow Skype = QStringLiteral(":1.7");
}

class TestSkypeParser : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void nextToken_data();
    void nextToken();
    void notifications_data();
    void notifications();
    void processNotificationDirectly();
    void handlerMayClearItsOwnEvent();
};

void TestSkypeParser::nextToken_data() {
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QByteArray>("delimiters");
    QTest::addColumn<QByteArray>("token");
    QTest::addColumn<QByteArray>("rest");

    QTest::newRow("word and rest") << QByteArray("CALL 12 STATUS") << QByteArray(" ") << QByteArray("CALL")
                                   << QByteArray("12 STATUS");
    QTest::newRow("leading delimiters skipped")
        << QByteArray("   PONG") << QByteArray(" ") << QByteArray("PONG") << QByteArray();
    QTest::newRow("delimiters after token consumed, inner run kept")
        << QByteArray("FULLNAME  a   b ") << QByteArray(" ") << QByteArray("FULLNAME")
        << QByteArray("a   b ");
    QTest::newRow("trailing delimiters after last token")
        << QByteArray("x   ") << QByteArray(" ") << QByteArray("x") << QByteArray();
    QTest::newRow("empty input") << QByteArray() << QByteArray(" ") << QByteArray() << QByteArray();
    QTest::newRow("only delimiters") << QByteArray(" , ,") << QByteArray(" ,") << QByteArray()
                                     << QByteArray();
    QTest::newRow("comma and space") << QByteArray("alice, bob") << QByteArray(" ,") << QByteArray("alice")
                                     << QByteArray("bob");
    QTest::newRow("comma is no delimiter for words")
        << QByteArray("alice, bob") << QByteArray(" ") << QByteArray("alice,") << QByteArray("bob");
}

void TestSkypeParser::nextToken() {
    QFETCH(QByteArray, input);
    QFETCH(QByteArray, delimiters);
    QByteArray token = "stale";
    TSkypeControl::NextToken(input, delimiters, token);
    QTEST(token, "token");
    QTEST(input, "rest");
}

// Each row: the protocol in force, notification texts (one per line) delivered from Skype's window,
// and the events they fire (without OnCopyData), " | " between them.
void TestSkypeParser::notifications_data() {
    QTest::addColumn<int>("protocol");
    QTest::addColumn<QByteArray>("texts");
    QTest::addColumn<QByteArray>("events");

    const auto row = [](const char *name, int protocol, const char *texts, const char *events) {
        QTest::newRow(name) << protocol << QByteArray(texts) << QByteArray(events);
    };

    row("error", 4, "ERROR 68 Access  denied ", "Error 68 [Access  denied ]");
    row("error code 0", 4, "ERROR 0 nothing", "");
    row("error code not a number", 4, "ERROR x7 nothing", "");
    row("error code negative", 4, "ERROR -3 nothing", "");

    row("user status", 4, "USERSTATUS AWAY", "UserStatus AWAY");
    row("user status SKYPEME under 1", 1, "USERSTATUS SKYPEME",
        "NotSupported [Received Userstatus \"SKYPEME\" should not have been reveived (Protocol 1)] | "
        "UserStatus SKYPEME");
    row("user status unknown word", 4, "USERSTATUS BUSY", "UserStatus UNKNOWN");
    row("user status words match with case", 4, "USERSTATUS online", "UserStatus UNKNOWN");
    row("user status empty", 4, "USERSTATUS", "");

    row("user value keeps inner and trailing spaces", 4, "USER bob FULLNAME  Bob   Smith ",
        "UserInfo bob FULLNAME [Bob   Smith ]");
    row("user without property", 4, "USER bob", "UserInfo bob HANDLE []");
    row("user with a later protocol's property", 4, "USER bob MOOD_TEXT hi", "UserInfo bob HANDLE [hi]");
    row("user without name", 4, "USER", "");

    row("name is the whole rest", 4, "NAME   Orvi  app ", "Name [Orvi  app ]");
    row("protocol", 4, "PROTOCOL 3", "Protocol 3");
    row("protocol not a number", 4, "PROTOCOL three", "Protocol 1");
    row("protocol reply governs later checks", 4, "PROTOCOL 1\nUSERSTATUS SKYPEME",
        "Protocol 1 | NotSupported [Received Userstatus \"SKYPEME\" should not have been reveived (Protocol "
        "1)] "
        "| UserStatus SKYPEME");
    row("pong", 4, "PONG", "Pong");

    row("call", 4, "CALL 1234 STATUS RINGING", "CallInfo 1234 STATUS [RINGING]");
    row("call negative id", 4, "CALL -5 SEEN TRUE", "");
    row("call id not a number", 4, "CALL 12a SEEN TRUE", "");
    row("call id missing", 4, "CALL", "");
    row("call property never received", 4, "CALL 12 SEEN TRUE",
        "NotSupported [Received call property \"SEEN\" should not have been reveived (Protocol 4)] | "
        "CallInfo 12 SEEN [TRUE]");
    row("call conference participant only in 4", 3, "CALL 12 CONF_PARTICIPANT 1 bob",
        "NotSupported [Received call property \"CONF_PARTICIPANT\" should not have been reveived (Protocol "
        "3)] "
        "| CallInfo 12 CONF_PARTICIPANT [1 bob]");
    row("call unknown property", 4, "CALL 12 VIDEO_STATUS on", "CallInfo 12 TIMESTAMP [on]");

    row("message under 4", 4, "MESSAGE 7 BODY hi there",
        "NotSupported [Received message property \"BODY\" should not have been reveived (Protocol 4)] | "
        "MessageInfo 7 BODY [hi there]");
    row("message under 1", 1, "MESSAGE 7 BODY hi there", "MessageInfo 7 BODY [hi there]");
    row("message seen never received", 2, "MESSAGE 7 SEEN",
        "NotSupported [Received message property \"SEEN\" should not have been reveived (Protocol 2)] | "
        "MessageInfo 7 SEEN []");

    row("conn status", 4, "CONNSTATUS ONLINE", "ConnStatus ONLINE");
    row("conn status unknown", 4, "CONNSTATUS SLEEPING", "ConnStatus OFFLINE");
    row("conn status empty", 4, "CONNSTATUS", "");
    row("current user handle", 4, "CURRENTUSERHANDLE alice extra", "CurrentUserHandle alice");
    row("current user handle empty", 4, "CURRENTUSERHANDLE ", "");

    row("friends list, commas and spaces mixed", 4, "FRIENDS alice, bob,carol  dave,, ",
        "SearchResult FRIENDS [alice,bob,carol,dave] 4");
    row("empty list still fires", 4, "USERS", "SearchResult USERS [] 0");
    row("duplicates stay in order", 4, "CHATMESSAGES 3, 1, 3", "SearchResult CHATMESSAGES [3,1,3] 3");
    row("calls list", 4, "CALLS 12, 14", "SearchResult CALLS [12,14] 2");
    row("messages list under 4", 4, "MESSAGES 1, 2",
        "NotSupported [Search result of type \"MESSAGES\" should not have been received (Protocol 4)] | "
        "SearchResult MESSAGES [1,2] 2");
    row("chats list under 1", 1, "CHATS #a/$b;1",
        "NotSupported [Search result of type \"CHATS\" should not have been received (Protocol 1)] | "
        "SearchResult CHATS [#a/$b;1] 1");

    row("call history changed", 4, "CALLHISTORYCHANGED", "CallHistoryChanged");
    row("im history changed", 4, "IMHISTORYCHANGED", "IMHistoryChanged");
    row("audio in keeps the first word only", 4, "AUDIO_IN Built-in Microphone", "AudioIn [Built-in]");
    row("audio out empty still fires", 4, "AUDIO_OUT", "AudioOut []");

    row("mute on", 4, "MUTE ON", "Mute true");
    row("mute off", 4, "MUTE OFF", "Mute false");
    row("mute lower-case on", 4, "MUTE on", "Mute false");
    row("mute empty", 4, "MUTE", "");

    row("privilege granted", 4, "PRIVILEGE SKYPEOUT TRUE", "Privilege SKYPEOUT true");
    row("privilege lower-case true", 4, "PRIVILEGE SKYPEOUT true", "Privilege SKYPEOUT false");
    row("privilege without value", 4, "PRIVILEGE SKYPEOUT", "");
    row("privilege unknown word", 4, "PRIVILEGE SKYPEIN TRUE", "Privilege SKYPEOUT true");

    row("profile takes one token", 4, "PROFILE PSTN_BALANCE 1234 cents", "Profile PSTN_BALANCE [1234]");
    row("profile currency", 4, "PROFILE PSTN_BALANCE_CURRENCY EUR", "Profile PSTN_BALANCE_CURRENCY [EUR]");
    row("profile under 3", 3, "PROFILE PSTN_BALANCE 1234",
        "NotSupported [Received profile info \"PSTN_BALANCE\" should not have been reveived (Protocol 3)] | "
        "Profile PSTN_BALANCE [1234]");
    row("profile without value still checked", 3, "PROFILE PSTN_BALANCE",
        "NotSupported [Received profile info \"PSTN_BALANCE\" should not have been reveived (Protocol 3)]");

    row("skype version", 4, "SKYPEVERSION 2.0.0.72", "Version 2.0.0.72");
    row("skype version empty", 4, "SKYPEVERSION", "");

    row("chat", 4, "CHAT #alice/$bob;9 TOPIC Let's  talk", "ChatInfo #alice/$bob;9 TOPIC [Let's  talk]");
    row("chat under 1", 1, "CHAT #c STATUS MULTI_SUBSCRIBED",
        "NotSupported [Received chat property \"STATUS\" should not have been reveived (Protocol 1)] | "
        "ChatInfo #c STATUS [MULTI_SUBSCRIBED]");
    row("chat unknown property", 4, "CHAT #c BOOKMARKED TRUE", "ChatInfo #c NAME [TRUE]");

    row("chat message", 4, "CHATMESSAGE 55 BODY hi  there", "ChatMsgInfo 55 BODY [hi  there]");
    row("chat message seen never received", 4, "CHATMESSAGE 55 SEEN",
        "NotSupported [Received chatmessage property \"SEEN\" should not have been reveived (Protocol 4)] | "
        "ChatMsgInfo 55 SEEN []");

    row("protocol 0 checks as 1", 0, "USERSTATUS SKYPEME",
        "NotSupported [Received Userstatus \"SKYPEME\" should not have been reveived (Protocol 0)] | "
        "UserStatus SKYPEME");
    row("protocol above 4 checks as 4", 7, "PROFILE PSTN_BALANCE 5", "Profile PSTN_BALANCE [5]");

    row("acknowledgement ignored", 4, "OK", "");
    row("words match with case", 4, "pong", "");
    row("leading spaces before the word", 4, "   PONG", "Pong");
    row("only spaces", 4, "    ", "");
    static const char withZero[] = "CALL 12\0 STATUS RINGING";
    QTest::newRow("text ends at the zero byte")
        << 4 << QByteArray(withZero, sizeof withZero - 1) << QByteArray("CallInfo 12 TIMESTAMP []");
}

void TestSkypeParser::notifications() {
    QFETCH(int, protocol);
    QFETCH(QByteArray, texts);

    FakeSkypeTransport transport;
    TSkypeControl control(transport);
    transport.DeliverAttach(Skype, SkypeAttachStatus::Success);
    control.Protocol = protocol;
    TSkypeEventLog log(control, false);

    for (const QByteArray &text : texts.split('\n'))
        QVERIFY(transport.DeliverNotification(Skype, text));
    QTEST(log.Joined(), "events");
}

// The parser's own entry: word and rest given apart, no OnCopyData, no window check.
void TestSkypeParser::processNotificationDirectly() {
    FakeSkypeTransport transport;
    TSkypeControl control(transport);
    control.Protocol = 4;
    TSkypeEventLog log(control);
    control.ProcessNotification("CALL", "  12 STATUS RINGING");
    control.ProcessNotification("", "PONG");
    control.ProcessNotification("PONG", "");
    QCOMPARE(log.lines, (QList<QByteArray>{"CallInfo 12 STATUS [RINGING]", "Pong"}));
}

// A handler that reassigns its own event while it runs must not pull the ground from under itself.
void TestSkypeParser::handlerMayClearItsOwnEvent() {
    FakeSkypeTransport transport;
    TSkypeControl control(transport);
    transport.DeliverAttach(Skype, SkypeAttachStatus::Success);
    QList<QByteArray> seen;
    const QByteArray label = QByteArray("a label long enough to live on the heap ").repeated(4);
    control.OnPong = [&control, &seen, label](TSkypeControl &) {
        control.OnPong = nullptr;
        seen.append(label);
    };
    transport.DeliverNotification(Skype, "PONG");
    transport.DeliverNotification(Skype, "PONG");
    QCOMPARE(seen, QList<QByteArray>{label});
}

QTEST_GUILESS_MAIN(TestSkypeParser)
#include "tst_skypeparser.moc"
