#pragma once
// The words of the Skype desktop API: each enumeration member with its wire word, and which members
// each protocol version knows. Every table is written once, below; lookups are generic over them.

#include <QByteArray>
#include <QByteArrayView>

#include <array>
#include <cstddef>
#include <cstdint>

enum TSkypeUserStatus : int {
    usUnknown,
    usOnline,
    usOffline,
    usAway,
    usNA,
    usDND,
    usInvisible,
    usLoggedOut,
    usSkypeMe
};

enum TSkypeConnStatus : int { csOffline, csConnecting, csPausing, csOnline, csLoggedOut };

enum TSkypeSearchType : int {
    stUsers,
    stFriends,
    stCalls,
    stActiveCalls,
    stMissedCalls,
    stMessages,
    stMissedMessages,
    stChats,
    stActiveChats,
    stMissedChats,
    stRecentChats,
    stBookmarkedChats,
    stChatMsgs,
    stMissedChatMsgs
};

enum TSkypeUserProperty : int {
    upHandle,
    upFullname,
    upBirthday,
    upSex,
    upLanguage,
    upCountry,
    upProvince,
    upCity,
    upPhoneHome,
    upPhoneOffice,
    upPhoneMobile,
    upHomepage,
    upAbout,
    upHasCallEquipment,
    upBuddyStatus,
    upIsAuthorized,
    upIsBlocked,
    upDisplayname,
    upOnlineStatus,
    upLastOnlineTimeStamp
};

enum TSkypeCallProperty : int {
    cpTimestamp,
    cpPartnerHandle,
    cpPartnerDispname,
    cpConfId,
    cpJoinConference,
    cpConfParticipant,
    cpConfParticipantsCount,
    cpType,
    cpStatus,
    cpFailureReason,
    cpSubject,
    cpPSTNNumber,
    cpDuration,
    cpSeen,
    cpDTMF,
    cpPSTNStatus
};

enum TSkypeMessageProperty : int {
    mpTimestamp,
    mpPartnerHandle,
    mpPartnerDispname,
    mpConfId,
    mpType,
    mpStatus,
    mpSeen,
    mpFailureReason,
    mpBody
};

enum TSkypeChatProperty : int {
    chName,
    chTimestamp,
    chAdder,
    chStatus,
    chPosters,
    chMembers,
    chTopic,
    chChatMessages,
    chActiveMembers,
    chFriendlyname
};

enum TSkypeChatMsgProperty : int {
    cmChatname,
    cmTimestamp,
    cmFromHandle,
    cmFromDispname,
    cmType,
    cmUsers,
    cmLeaveReason,
    cmBody,
    cmStatus,
    cmSeen
};

enum TSkypePrivilege : int { spSkypeOut };

enum TSkypeProfile : int { spfPSTNBalance, spfPSTNBalanceCurrency };

// A set of members by ordinal; no enumeration has more than 32 members.
using TSkypeMemberSet = std::uint32_t;

// The words the tables below are written in; each table inherits them.
struct TSkypeSetBuilder {
    static constexpr TSkypeMemberSet Bit(int ordinal) { return TSkypeMemberSet(1) << ordinal; }
    static constexpr TSkypeMemberSet Span(int first, int last) {
        TSkypeMemberSet set = 0;
        for (int i = first; i <= last; ++i)
            set |= Bit(i);
        return set;
    }
    static constexpr TSkypeMemberSet None = 0;
};

// One enumeration's table: the wire word of each member, in ordinal order, and the members that
// protocols 1 to 4 know.
template <std::size_t N> struct TSkypeEnumTable {
    std::array<const char *, N> words;
    std::array<TSkypeMemberSet, 4> support;
};

template <typename E> struct TSkypeEnumInfo;

// Each table gives the words in ordinal order; the assertion ties its size to the last member.
#define ORVI_SKYPE_TABLE(Enum, Last, ...)                                                                    \
    template <> struct TSkypeEnumInfo<Enum> : TSkypeSetBuilder {                                             \
        static constexpr TSkypeEnumTable<std::size_t(Last) + 1> table{__VA_ARGS__};                          \
    }

ORVI_SKYPE_TABLE(TSkypeUserStatus, usSkypeMe,
                 {"UNKNOWN", "ONLINE", "OFFLINE", "AWAY", "NA", "DND", "INVISIBLE", "LOGGEDOUT", "SKYPEME"},
                 {Span(0, 7), Span(0, 8), Span(0, 8), Span(0, 8)});

ORVI_SKYPE_TABLE(TSkypeConnStatus, csLoggedOut, {"OFFLINE", "CONNECTING", "PAUSING", "ONLINE", "LOGGEDOUT"},
                 {Span(0, 4), Span(0, 4), Span(0, 4), Span(0, 4)});

ORVI_SKYPE_TABLE(TSkypeSearchType, stMissedChatMsgs,
                 {"USERS", "FRIENDS", "CALLS", "ACTIVECALLS", "MISSEDCALLS", "MESSAGES", "MISSEDMESSAGES",
                  "CHATS", "ACTIVECHATS", "MISSEDCHATS", "RECENTCHATS", "BOOKMARKEDCHATS", "CHATMESSAGES",
                  "MISSEDCHATMESSAGES"},
                 {Span(0, 6), Span(0, 6), Span(0, 4) | Bit(6) | Bit(7) | Bit(12) | Bit(13),
                  Span(0, 4) | Span(6, 13)});

ORVI_SKYPE_TABLE(TSkypeUserProperty, upLastOnlineTimeStamp,
                 {"HANDLE",     "FULLNAME",         "BIRTHDAY",     "SEX",
                  "LANGUAGE",   "COUNTRY",          "PROVINCE",     "CITY",
                  "PHONE_HOME", "PHONE_OFFICE",     "PHONE_MOBILE", "HOMEPAGE",
                  "ABOUT",      "HASCALLEQUIPMENT", "BUDDYSTATUS",  "ISAUTHORIZED",
                  "ISBLOCKED",  "DISPLAYNAME",      "ONLINESTATUS", "LASTONLINETIMESTAMP"},
                 {Span(0, 19), Span(0, 19), Span(0, 19), Span(0, 19)});

ORVI_SKYPE_TABLE(TSkypeCallProperty, cpPSTNStatus,
                 {"TIMESTAMP", "PARTNER_HANDLE", "PARTNER_DISPNAME", "CONF_ID", "JOIN_CONFERENCE",
                  "CONF_PARTICIPANT", "CONF_PARTICIPANTS_COUNT", "TYPE", "STATUS", "FAILUREREASON", "SUBJECT",
                  "PSTN_NUMBER", "DURATION", "SEEN", "DTMF", "PSTN_STATUS"},
                 {Span(0, 3) | Span(7, 12) | Bit(15), Span(0, 3) | Span(7, 12) | Bit(15),
                  Span(0, 3) | Span(7, 12) | Bit(15), Span(0, 3) | Span(5, 12) | Bit(15)});

ORVI_SKYPE_TABLE(TSkypeMessageProperty, mpBody,
                 {"TIMESTAMP", "PARTNER_HANDLE", "PARTNER_DISPNAME", "CONF_ID", "TYPE", "STATUS", "SEEN",
                  "FAILUREREASON", "BODY"},
                 {Span(0, 5) | Bit(7) | Bit(8), Span(0, 5) | Bit(7) | Bit(8), None, None});

ORVI_SKYPE_TABLE(TSkypeChatProperty, chFriendlyname,
                 {"NAME", "TIMESTAMP", "ADDER", "STATUS", "POSTERS", "MEMBERS", "TOPIC", "CHATMESSAGES",
                  "ACTIVEMEMBERS", "FRIENDLYNAME"},
                 {None, None, Span(0, 6) | Bit(8) | Bit(9), Span(0, 9)});

ORVI_SKYPE_TABLE(TSkypeChatMsgProperty, cmSeen,
                 {"CHATNAME", "TIMESTAMP", "FROM_HANDLE", "FROM_DISPNAME", "TYPE", "USERS", "LEAVEREASON",
                  "BODY", "STATUS", "SEEN"},
                 {None, None, Span(0, 8), Span(0, 8)});

ORVI_SKYPE_TABLE(TSkypePrivilege, spSkypeOut, {"SKYPEOUT"}, {Bit(0), Bit(0), Bit(0), Bit(0)});

ORVI_SKYPE_TABLE(TSkypeProfile, spfPSTNBalanceCurrency, {"PSTN_BALANCE", "PSTN_BALANCE_CURRENCY"},
                 {None, None, None, Span(0, 1)});

#undef ORVI_SKYPE_TABLE

// The call properties that "SET CALL" accepts, which is not the set that can be received.
struct TSkypeSettableCallProperties : TSkypeSetBuilder {
    static constexpr std::array<TSkypeMemberSet, 4> support{
        Bit(8) | Bit(13) | Bit(14), Bit(8) | Bit(13) | Bit(14), Bit(8) | Bit(13) | Bit(14),
        Bit(4) | Bit(8) | Bit(13) | Bit(14)};
};

// The row of the support tables that a protocol number uses. Skype never answers above the number
// asked for (always 4 here), so numbers above 4 are read as 4; 0, negative numbers and the -1 that
// stands before the first attach are read as 1, the most restrictive row.
constexpr int SkypeProtocolRow(int protocol) {
    return protocol < 1 ? 0 : protocol > 4 ? 3 : protocol - 1;
}

// The member whose wire word is exactly `word` (with case); member 0 when there is none.
template <typename E> E SkypeMemberOf(QByteArrayView word) {
    const auto &words = TSkypeEnumInfo<E>::table.words;
    for (std::size_t i = 0; i < words.size(); ++i)
        if (word == QByteArrayView(words[i])) return E(i);
    return E(0);
}

// The wire word of a member; empty for a value outside the enumeration.
template <typename E> QByteArray SkypeWordOf(E member) {
    const auto &words = TSkypeEnumInfo<E>::table.words;
    const auto ordinal = std::size_t(member);
    return ordinal < words.size() ? QByteArray(words[ordinal]) : QByteArray();
}

template <typename E> bool SkypeSupports(E member, int protocol) {
    const int ordinal = int(member);
    if (ordinal < 0 || ordinal >= int(TSkypeEnumInfo<E>::table.words.size())) return false;
    return (TSkypeEnumInfo<E>::table.support[SkypeProtocolRow(protocol)] & TSkypeSetBuilder::Bit(ordinal)) !=
           0;
}

inline bool SkypeCanSetCallProperty(TSkypeCallProperty property, int protocol) {
    const int ordinal = int(property);
    return ordinal >= 0 && ordinal < 32 &&
           (TSkypeSettableCallProperties::support[SkypeProtocolRow(protocol)] &
            TSkypeSetBuilder::Bit(ordinal)) != 0;
}
