// The wire words of the Skype enumerations and the members each protocol knows.

#include "skype/SkypeControlConst.h"

#include <QTest>

#include <functional>

namespace {

struct TEnumAccess {
    std::function<QByteArray(int)> wordOf;
    std::function<int(QByteArrayView)> memberOf;
    std::function<bool(int, int)> supports;
};

template <typename E> TEnumAccess AccessTo() {
    return {[](int ordinal) { return SkypeWordOf(E(ordinal)); },
            [](QByteArrayView word) { return int(SkypeMemberOf<E>(word)); },
            [](int ordinal, int protocol) { return SkypeSupports(E(ordinal), protocol); }};
}

TEnumAccess Access(const QByteArray &name) {
    static const QHash<QByteArray, TEnumAccess> all{
        {"UserStatus", AccessTo<TSkypeUserStatus>()},
        {"ConnStatus", AccessTo<TSkypeConnStatus>()},
        {"SearchType", AccessTo<TSkypeSearchType>()},
        {"UserProperty", AccessTo<TSkypeUserProperty>()},
        {"CallProperty", AccessTo<TSkypeCallProperty>()},
        {"MessageProperty", AccessTo<TSkypeMessageProperty>()},
        {"ChatProperty", AccessTo<TSkypeChatProperty>()},
        {"ChatMsgProperty", AccessTo<TSkypeChatMsgProperty>()},
        {"Privilege", AccessTo<TSkypePrivilege>()},
        {"Profile", AccessTo<TSkypeProfile>()},
    };
    return all.value(name);
}

} // namespace

class TestSkypeConst : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void words_data();
    void words();
    void unknownWordsGiveMemberZero_data();
    void unknownWordsGiveMemberZero();
    void valueOutsideEnumerationHasNoWord();
    void support_data();
    void support();
    void settableCallProperties_data();
    void settableCallProperties();
};

// First and last member of every table (a shifted table shows at its end) and the words that other
// tables also use.
void TestSkypeConst::words_data() {
    QTest::addColumn<QByteArray>("enumeration");
    QTest::addColumn<int>("ordinal");
    QTest::addColumn<QByteArray>("word");

    const auto row = [](const char *enumeration, int ordinal, const char *word) {
        QTest::addRow("%s %d", enumeration, ordinal)
            << QByteArray(enumeration) << ordinal << QByteArray(word);
    };
    row("UserStatus", usUnknown, "UNKNOWN");
    row("UserStatus", usNA, "NA");
    row("UserStatus", usSkypeMe, "SKYPEME");
    row("ConnStatus", csOffline, "OFFLINE");
    row("ConnStatus", csLoggedOut, "LOGGEDOUT");
    row("SearchType", stUsers, "USERS");
    row("SearchType", stChatMsgs, "CHATMESSAGES");
    row("SearchType", stMissedChatMsgs, "MISSEDCHATMESSAGES");
    row("UserProperty", upHandle, "HANDLE");
    row("UserProperty", upPhoneHome, "PHONE_HOME");
    row("UserProperty", upLastOnlineTimeStamp, "LASTONLINETIMESTAMP");
    row("CallProperty", cpTimestamp, "TIMESTAMP");
    row("CallProperty", cpConfParticipantsCount, "CONF_PARTICIPANTS_COUNT");
    row("CallProperty", cpStatus, "STATUS");
    row("CallProperty", cpPSTNStatus, "PSTN_STATUS");
    row("MessageProperty", mpTimestamp, "TIMESTAMP");
    row("MessageProperty", mpBody, "BODY");
    row("ChatProperty", chName, "NAME");
    row("ChatProperty", chChatMessages, "CHATMESSAGES");
    row("ChatProperty", chFriendlyname, "FRIENDLYNAME");
    row("ChatMsgProperty", cmChatname, "CHATNAME");
    row("ChatMsgProperty", cmUsers, "USERS");
    row("ChatMsgProperty", cmSeen, "SEEN");
    row("Privilege", spSkypeOut, "SKYPEOUT");
    row("Profile", spfPSTNBalance, "PSTN_BALANCE");
    row("Profile", spfPSTNBalanceCurrency, "PSTN_BALANCE_CURRENCY");
}

void TestSkypeConst::words() {
    QFETCH(QByteArray, enumeration);
    QFETCH(int, ordinal);
    QFETCH(QByteArray, word);
    const TEnumAccess access = Access(enumeration);
    QCOMPARE(access.wordOf(ordinal), word);
    QCOMPARE(access.memberOf(word), ordinal);
}

void TestSkypeConst::unknownWordsGiveMemberZero_data() {
    QTest::addColumn<QByteArray>("enumeration");
    QTest::addColumn<QByteArray>("word");
    QTest::newRow("lower case") << QByteArray("UserStatus") << QByteArray("online");
    QTest::newRow("trailing space") << QByteArray("UserStatus") << QByteArray("ONLINE ");
    QTest::newRow("empty") << QByteArray("CallProperty") << QByteArray();
    QTest::newRow("later protocol's word") << QByteArray("UserProperty") << QByteArray("MOOD_TEXT");
    QTest::newRow("prefix of a word") << QByteArray("Profile") << QByteArray("PSTN");
}

void TestSkypeConst::unknownWordsGiveMemberZero() {
    QFETCH(QByteArray, enumeration);
    QFETCH(QByteArray, word);
    QCOMPARE(Access(enumeration).memberOf(word), 0);
}

void TestSkypeConst::valueOutsideEnumerationHasNoWord() {
    QCOMPARE(SkypeWordOf(TSkypeProfile(2)), QByteArray());
    QCOMPARE(SkypeWordOf(TSkypeUserStatus(-1)), QByteArray());
    QVERIFY(!SkypeSupports(TSkypeCallProperty(40), 4));
    QVERIFY(!SkypeCanSetCallProperty(TSkypeCallProperty(-3), 4));
}

void TestSkypeConst::support_data() {
    QTest::addColumn<QByteArray>("enumeration");
    QTest::addColumn<int>("ordinal");
    QTest::addColumn<QList<int>>("protocols"); // the protocols 1-4 that know the member

    const auto row = [](const char *name, const char *enumeration, int ordinal, QList<int> protocols) {
        QTest::newRow(name) << QByteArray(enumeration) << ordinal << protocols;
    };
    row("SKYPEME from 2", "UserStatus", usSkypeMe, {2, 3, 4});
    row("INVISIBLE always", "UserStatus", usInvisible, {1, 2, 3, 4});
    row("conn statuses always", "ConnStatus", csLoggedOut, {1, 2, 3, 4});
    row("user properties always", "UserProperty", upLastOnlineTimeStamp, {1, 2, 3, 4});
    row("MESSAGES search only 1 and 2", "SearchType", stMessages, {1, 2});
    row("ACTIVECALLS search always", "SearchType", stActiveCalls, {1, 2, 3, 4});
    row("CHATS search from 3", "SearchType", stChats, {3, 4});
    row("RECENTCHATS search only 4", "SearchType", stRecentChats, {4});
    row("MISSEDCHATMESSAGES search from 3", "SearchType", stMissedChatMsgs, {3, 4});
    row("JOIN_CONFERENCE never received", "CallProperty", cpJoinConference, {});
    row("SEEN call never received", "CallProperty", cpSeen, {});
    row("DTMF never received", "CallProperty", cpDTMF, {});
    row("CONF_PARTICIPANT only 4", "CallProperty", cpConfParticipant, {4});
    row("PSTN_STATUS always", "CallProperty", cpPSTNStatus, {1, 2, 3, 4});
    row("message BODY only 1 and 2", "MessageProperty", mpBody, {1, 2});
    row("message SEEN never", "MessageProperty", mpSeen, {});
    row("chat CHATMESSAGES only 4", "ChatProperty", chChatMessages, {4});
    row("chat FRIENDLYNAME from 3", "ChatProperty", chFriendlyname, {3, 4});
    row("chat message BODY from 3", "ChatMsgProperty", cmBody, {3, 4});
    row("chat message SEEN never", "ChatMsgProperty", cmSeen, {});
    row("privilege always", "Privilege", spSkypeOut, {1, 2, 3, 4});
    row("profile only 4", "Profile", spfPSTNBalanceCurrency, {4});
}

// Protocols outside 1-4 are read as the nearest: below 1 as 1, above 4 as 4.
void TestSkypeConst::support() {
    QFETCH(QByteArray, enumeration);
    QFETCH(int, ordinal);
    QFETCH(QList<int>, protocols);
    const TEnumAccess access = Access(enumeration);
    for (int protocol = 1; protocol <= 4; ++protocol)
        QVERIFY2(access.supports(ordinal, protocol) == protocols.contains(protocol),
                 qPrintable(QStringLiteral("protocol %1").arg(protocol)));
    for (int below : {-1, 0})
        QCOMPARE(access.supports(ordinal, below), protocols.contains(1));
    for (int above : {5, 9})
        QCOMPARE(access.supports(ordinal, above), protocols.contains(4));
}

void TestSkypeConst::settableCallProperties_data() {
    QTest::addColumn<int>("property");
    QTest::addColumn<QList<int>>("protocols");
    QTest::newRow("STATUS") << int(cpStatus) << QList<int>{1, 2, 3, 4};
    QTest::newRow("SEEN") << int(cpSeen) << QList<int>{1, 2, 3, 4};
    QTest::newRow("DTMF") << int(cpDTMF) << QList<int>{1, 2, 3, 4};
    QTest::newRow("JOIN_CONFERENCE") << int(cpJoinConference) << QList<int>{4};
    QTest::newRow("PARTNER_HANDLE is only received") << int(cpPartnerHandle) << QList<int>{};
}

void TestSkypeConst::settableCallProperties() {
    QFETCH(int, property);
    QFETCH(QList<int>, protocols);
    for (int protocol = 1; protocol <= 4; ++protocol)
        QCOMPARE(SkypeCanSetCallProperty(TSkypeCallProperty(property), protocol),
                 protocols.contains(protocol));
}

QTEST_GUILESS_MAIN(TestSkypeConst)
#include "tst_skypeconst.moc"
