#pragma once
// Typed views over Settings.xml. Every record class below is a light view over one element of a
// document held in memory; the document owns the data and two views of one element see the same
// values. The classes read like the file format: one line per element, its kind and its default.
//
// Reading never fails: a missing scalar element is appended empty (so reading alone adds elements,
// in the order first touched) and a value that does not convert reads as the default of its line.
// Writing replaces the element's content by one text node and reports failure as false.

#include <QDomDocument>
#include <QDomElement>
#include <QString>

#include <memory>
#include <optional>

class TXMLDocumentContext;

// Names of Skype users and tabs are compared without regard to letter case.
bool SameText(const QString &a, const QString &b);

// Base of every view: the element and the document it belongs to (kept alive by the view).
class TXMLNodeView {
public:
    TXMLNodeView() = default;
    TXMLNodeView(QDomElement element, std::shared_ptr<TXMLDocumentContext> context);

    bool IsNull() const { return element.isNull(); }
    const QDomElement &Element() const { return element; }
    friend bool operator==(const TXMLNodeView &a, const TXMLNodeView &b) { return a.element == b.element; }

protected:
    // The first child element of that name, appended empty when there is none.
    QDomElement Child(const QString &name) const;

    QString ReadText(const QString &name, const QString &fallback = QString()) const;
    bool ReadBool(const QString &name, bool defaultValue) const;
    int ReadInt(const QString &name, int defaultValue) const;
    bool WriteText(const QString &name, const QString &value) const;
    bool WriteBool(const QString &name, bool value) const;
    bool WriteInt(const QString &name, int value) const;
    // A list looks its items up by this value: the lists holding this item hear of the change.
    bool WriteKey(const QString &name, int value) const;

    template <class Record> Record RecordView(const QString &name) const {
        return Record(Child(name), context);
    }
    template <class List> List ListView(const QString &name, const QString &itemName) const {
        return List(Child(name), context, itemName);
    }

    QDomElement element;
    std::shared_ptr<TXMLDocumentContext> context;
};

// The part every list shares: its items are the children bearing the item name, in document order;
// other children stay where they are and are not counted. Indexes are 0-based; an index outside
// the list makes the operation fail (false, -1 or no value) and changes nothing.
class TXMLListBase : public TXMLNodeView {
public:
    TXMLListBase() = default;
    TXMLListBase(QDomElement list, std::shared_ptr<TXMLDocumentContext> context, QString itemName);

    int Count() const;
    bool Delete(int index) const;
    void Clear() const;

protected:
    QDomElement ItemElement(int index) const; // null outside the list
    QDomElement AddElement() const;
    QDomElement InsertElement(int index) const; // index 0 to Count(); null otherwise
    int RemoveElement(const QDomElement &item) const;
    // First item whose text child reads equal to the key, case ignored; -1 when none.
    int IndexOfText(const QString &keyName, const QString &key) const;
    // First item whose integer child equals the key; answered from an index kept beside the list.
    int IndexOfInt(const QString &keyName, int key) const;

    QString itemName;
};

// A list of text items ("Favorite", "ARMsg", "FrwContact", "Str", ...).
class TXMLTextList : public TXMLListBase {
public:
    using TXMLListBase::TXMLListBase;

    std::optional<QString> Item(int index) const;
    bool SetItem(int index, const QString &text) const;
    bool Add(const QString &text) const;
    bool Insert(int index, const QString &text) const;
    // Removes the first item holding exactly this text; its former index, or -1.
    int Remove(const QString &text) const;

protected:
    int IndexOfItemText(const QString &text) const;
};

// A list of records of one class.
template <class Record> class TXMLRecordList : public TXMLListBase {
public:
    using TXMLListBase::TXMLListBase;

    std::optional<Record> Item(int index) const { return View(ItemElement(index)); }
    Record Add() const { return Record(AddElement(), context); }
    std::optional<Record> Insert(int index) const { return View(InsertElement(index)); }
    // Removes that item; its former index, or -1 when it is not an item of this list.
    int Remove(const Record &item) const { return RemoveElement(item.Element()); }

private:
    std::optional<Record> View(const QDomElement &item) const {
        if (item.isNull()) return std::nullopt;
        return Record(item, context);
    }
};

// Property lines of the record classes.
#define ORVI_XML_TEXT(Name)                                                                                  \
    QString Name() const {                                                                                   \
        return ReadText(QStringLiteral(#Name));                                                              \
    }                                                                                                        \
    bool Set##Name(const QString &value) const {                                                             \
        return WriteText(QStringLiteral(#Name), value);                                                      \
    }
// A text whose element holds something other than a single text node reads as the fallback.
#define ORVI_XML_TEXT_OR(Name, Fallback)                                                                     \
    QString Name() const {                                                                                   \
        return ReadText(QStringLiteral(#Name), QStringLiteral(Fallback));                                    \
    }                                                                                                        \
    bool Set##Name(const QString &value) const {                                                             \
        return WriteText(QStringLiteral(#Name), value);                                                      \
    }
#define ORVI_XML_BOOL(Name, Default)                                                                         \
    bool Name() const {                                                                                      \
        return ReadBool(QStringLiteral(#Name), Default);                                                     \
    }                                                                                                        \
    bool Set##Name(bool value) const {                                                                       \
        return WriteBool(QStringLiteral(#Name), value);                                                      \
    }
#define ORVI_XML_INT(Name, Default)                                                                          \
    int Name() const {                                                                                       \
        return ReadInt(QStringLiteral(#Name), Default);                                                      \
    }                                                                                                        \
    bool Set##Name(int value) const {                                                                        \
        return WriteInt(QStringLiteral(#Name), value);                                                       \
    }
// An integer that its list looks items up by.
#define ORVI_XML_KEY(Name)                                                                                   \
    int Name() const {                                                                                       \
        return ReadInt(QStringLiteral(#Name), 0);                                                            \
    }                                                                                                        \
    bool Set##Name(int value) const {                                                                        \
        return WriteKey(QStringLiteral(#Name), value);                                                       \
    }
#define ORVI_XML_RECORD(Name, Class)                                                                         \
    Class Name() const {                                                                                     \
        return RecordView<Class>(QStringLiteral(#Name));                                                     \
    }
#define ORVI_XML_LIST(Name, Class, ItemName)                                                                 \
    Class Name() const {                                                                                     \
        return ListView<Class>(QStringLiteral(#Name), QStringLiteral(#ItemName));                            \
    }

// ---- The element tree of Settings.xml -------------------------------------------------------------

// RespondToIM and RespondToCall of a rule pair.
class TXMLRespondRuleType final : public TXMLNodeView {
public:
    using TXMLNodeView::TXMLNodeView;
    ORVI_XML_BOOL(Enabled, false)
    ORVI_XML_INT(MessagePointer, 0) // index into ResponseMessages
};
using TXMLRespondToIMType = TXMLRespondRuleType;
using TXMLRespondToCallType = TXMLRespondRuleType;

class TXMLRulePairType final : public TXMLNodeView {
public:
    using TXMLNodeView::TXMLNodeView;
    ORVI_XML_RECORD(RespondToIM, TXMLRespondToIMType)
    ORVI_XML_RECORD(RespondToCall, TXMLRespondToCallType)
};
using TXMLWhen_Im_on_CallType = TXMLRulePairType;
using TXMLWhen_Im_NOT_on_CallType = TXMLRulePairType;
using TXMLWhen_Person_Not_on_contactlistType = TXMLRulePairType;
using TXMLResponseMessagesType = TXMLTextList;

class TXMLAutoRespondType final : public TXMLNodeView {
public:
    using TXMLNodeView::TXMLNodeView;
    ORVI_XML_BOOL(AutoRespond_Enabled, false)
    ORVI_XML_RECORD(When_Im_on_Call, TXMLWhen_Im_on_CallType)
    ORVI_XML_RECORD(When_Im_NOT_on_Call, TXMLWhen_Im_NOT_on_CallType)
    ORVI_XML_RECORD(When_Person_Not_on_contactlist, TXMLWhen_Person_Not_on_contactlistType)
    ORVI_XML_LIST(ResponseMessages, TXMLResponseMessagesType, ARMsg)
};

// Reserved: kept in the file, used by no feature.
class TXMLBroadcastMessageType final : public TXMLNodeView {
public:
    using TXMLNodeView::TXMLNodeView;
    ORVI_XML_BOOL(Enabled, false)
    ORVI_XML_INT(MessagePtr, 0)
};
using TXMLBroadcastMessagesType = TXMLTextList;
using TXMLMappedEmailAddressesType = TXMLTextList;

class TXMLPresenceType final : public TXMLNodeView {
public:
    using TXMLNodeView::TXMLNodeView;
    ORVI_XML_BOOL(BroadcastPresenceOn, true)
    ORVI_XML_BOOL(WebPresenceOn, false)
    ORVI_XML_TEXT(WebStatus)
    ORVI_XML_RECORD(BroadcastMessage, TXMLBroadcastMessageType)                      // reserved
    ORVI_XML_LIST(BroadcastMessages, TXMLBroadcastMessagesType, BroadcastMessage)    // reserved
    ORVI_XML_LIST(MappedEmailAddresses, TXMLMappedEmailAddressesType, EmailAddresse) // reserved
};

// The three forwarding targets: a switch, a target and the rings before hanging up.
class TXMLNotifyByRingMyRegularPhoneType final : public TXMLNodeView {
public:
    using TXMLNodeView::TXMLNodeView;
    ORVI_XML_BOOL(Enabled, false)
    ORVI_XML_TEXT_OR(Number, "+15554442222")
    ORVI_XML_INT(RingsBeforeHangup, 5)
};

class TXMLForwardToPSTNType final : public TXMLNodeView {
public:
    using TXMLNodeView::TXMLNodeView;
    ORVI_XML_BOOL(Enabled, true)
    ORVI_XML_TEXT_OR(Number, "+15554442222")
    ORVI_XML_INT(RingsBeforeHangup, 5)
};

class TXMLForwardToSkypeUserType final : public TXMLNodeView {
public:
    using TXMLNodeView::TXMLNodeView;
    ORVI_XML_BOOL(Enabled, false)
    ORVI_XML_TEXT_OR(SkypeUser, "Skypeusername")
    ORVI_XML_INT(RingsBeforeHangup, 5)
};

class TXMLForwardcontactsListType final : public TXMLTextList {
public:
    using TXMLTextList::TXMLTextList;
    int IndexOfForwardContact(const QString &handle) const;
};

class TXMLCallForwardingType final : public TXMLNodeView {
public:
    using TXMLNodeView::TXMLNodeView;
    ORVI_XML_BOOL(CallForwarding_Enabled, false)
    ORVI_XML_BOOL(ForwardAllCalls, true)
    ORVI_XML_BOOL(MuteSpeakers, true)
    ORVI_XML_RECORD(NotifyByRingMyRegularPhone, TXMLNotifyByRingMyRegularPhoneType)
    ORVI_XML_RECORD(ForwardToPSTN, TXMLForwardToPSTNType)
    ORVI_XML_RECORD(ForwardToSkypeUser, TXMLForwardToSkypeUserType)
    ORVI_XML_LIST(ForwardcontactsList, TXMLForwardcontactsListType, FrwContact)
};

// A contact as Skype reported its user properties.
class TXMLUserType final : public TXMLNodeView {
public:
    using TXMLNodeView::TXMLNodeView;
    ORVI_XML_TEXT(HANDLE)
    ORVI_XML_TEXT(FULLNAME)
    ORVI_XML_TEXT(BIRTHDAY)
    ORVI_XML_TEXT(SEX)
    ORVI_XML_TEXT(LANGUAGE)
    ORVI_XML_TEXT(COUNTRY)
    ORVI_XML_TEXT(PROVINCE)
    ORVI_XML_TEXT(CITY)
    ORVI_XML_TEXT(PHONE_HOME)
    ORVI_XML_TEXT(PHONE_OFFICE)
    ORVI_XML_TEXT(PHONE_MOBILE)
    ORVI_XML_TEXT(HOMEPAGE)
    ORVI_XML_TEXT(ABOUT)
    ORVI_XML_TEXT(HASCALLEQUIPMENT)
    ORVI_XML_TEXT(BUDDYSTATUS)
    ORVI_XML_TEXT(ISAUTHORIZED)
    ORVI_XML_TEXT(ISBLOCKED)
    ORVI_XML_TEXT(DISPLAYNAME)
    ORVI_XML_TEXT(ONLINESTATUS)
    ORVI_XML_TEXT(LASTONLINETIMESTAMP)
};

class TXMLContactsListType final : public TXMLRecordList<TXMLUserType> {
public:
    using TXMLRecordList::TXMLRecordList;
    int FindContactByHandle(const QString &handle) const;
};

class TXMLSplashScreenType final : public TXMLNodeView {
public:
    using TXMLNodeView::TXMLNodeView;
    ORVI_XML_BOOL(Enabled, true)
    ORVI_XML_TEXT(SSText)
};

class TXMLSplashScreensType final : public TXMLRecordList<TXMLSplashScreenType> {
public:
    using TXMLRecordList::TXMLRecordList;
    int IndexOfSplashScreen(const QString &text) const;
};

class TXMLOrviTabType final : public TXMLNodeView {
public:
    using TXMLNodeView::TXMLNodeView;
    ORVI_XML_BOOL(Enabled, false)
    ORVI_XML_BOOL(Visible, false)
    ORVI_XML_TEXT(TabName)
    ORVI_XML_TEXT(Info1)
    ORVI_XML_TEXT(Info2)
};

class TXMLOrviTabsType final : public TXMLRecordList<TXMLOrviTabType> {
public:
    using TXMLRecordList::TXMLRecordList;
    int IndexOfTab(const QString &tabName) const;
};

// Reserved.
class TXMLBrowserType final : public TXMLNodeView {
public:
    using TXMLNodeView::TXMLNodeView;
    ORVI_XML_TEXT(HomeURL)
    ORVI_XML_BOOL(AutoLoginToOrvi, false)
    ORVI_XML_TEXT(OrviUsername)
    ORVI_XML_TEXT(Info)
};

using TXMLFavoritesListType = TXMLTextList;

// Everything that belongs to one Skype user.
class TXMLOwnerType final : public TXMLNodeView {
public:
    using TXMLNodeView::TXMLNodeView;
    ORVI_XML_TEXT(SkypeHandle)
    ORVI_XML_TEXT(Email) // reserved
    ORVI_XML_BOOL(AdvancedMode, false)
    ORVI_XML_INT(TellAFriendReminderCount, 0)
    ORVI_XML_LIST(FavoritesList, TXMLFavoritesListType, Favorite)
    ORVI_XML_RECORD(AutoRespond, TXMLAutoRespondType)
    ORVI_XML_RECORD(Presence, TXMLPresenceType)
    ORVI_XML_RECORD(CallForwarding, TXMLCallForwardingType)
    ORVI_XML_LIST(ContactsList, TXMLContactsListType, User)
    ORVI_XML_LIST(SplashScreens, TXMLSplashScreensType, SplashScreen)
    ORVI_XML_LIST(OrviTabs, TXMLOrviTabsType, OrviTab)
    ORVI_XML_RECORD(Browser, TXMLBrowserType) // reserved
};

// The "Owner" children of Settings itself (this list has no wrapper element).
class TXMLOwnerTypeList final : public TXMLRecordList<TXMLOwnerType> {
public:
    using TXMLRecordList::TXMLRecordList;
    int IndexOfOwner(const QString &skypeHandle) const;
};

// One Skype call as last reported.
class TXMLCallType final : public TXMLNodeView {
public:
    using TXMLNodeView::TXMLNodeView;
    ORVI_XML_KEY(CallID)
    ORVI_XML_TEXT(TIMESTAMP)
    ORVI_XML_TEXT(PARTNER_HANDLE)
    ORVI_XML_TEXT(PARTNER_DISPNAME)
    ORVI_XML_TEXT(CONF_ID)
    ORVI_XML_TEXT(JOIN_CONFERENCE)
    ORVI_XML_TEXT(CONF_PARTICIPANT)
    ORVI_XML_TEXT(CONF_PARTICIPANTS_COUNT)
    ORVI_XML_TEXT(TYPE)
    ORVI_XML_TEXT(STATUS)
    ORVI_XML_TEXT(FAILUREREASON)
    ORVI_XML_TEXT(SUBJECT)
    ORVI_XML_TEXT(PSTN_NUMBER)
    ORVI_XML_TEXT(DURATION)
    ORVI_XML_TEXT(SEEN)
    ORVI_XML_TEXT(DTMF)
    ORVI_XML_TEXT(PSTN_STATUS)
    ORVI_XML_INT(Orvi_RingCount, 0)
    ORVI_XML_TEXT(Orvi_Str1)         // "OUTGOING" once the call has been routed
    ORVI_XML_BOOL(Orvi_Bool1, false) // the ring notification was placed
    ORVI_XML_TEXT(Orvi_Status)       // reserved
    ORVI_XML_TEXT(Orvi_Str2)         // reserved
    ORVI_XML_INT(Orvi_Int1, 0)       // reserved
};

class TXMLCallStackType final : public TXMLRecordList<TXMLCallType> {
public:
    using TXMLRecordList::TXMLRecordList;
    int IndexOfCall(int callId) const { return IndexOfInt(QStringLiteral("CallID"), callId); }
};

// One Skype chat message.
class TXMLCHATMSGType final : public TXMLNodeView {
public:
    using TXMLNodeView::TXMLNodeView;
    ORVI_XML_KEY(ChatMsgID)
    ORVI_XML_TEXT(FROM_HANDLE)
    ORVI_XML_TEXT(BODY)
    ORVI_XML_TEXT(TIMESTAMP) // milliseconds of the clock when an auto-response went out
    ORVI_XML_TEXT(OrviSyncURL)
    ORVI_XML_TEXT(CHATNAME)      // reserved
    ORVI_XML_TEXT(FROM_DISPNAME) // reserved
    ORVI_XML_TEXT(TYPE)          // reserved
    ORVI_XML_TEXT(USERS)         // reserved
    ORVI_XML_TEXT(LEAVEREASON)   // reserved
    ORVI_XML_TEXT(STATUS)        // reserved
    ORVI_XML_TEXT(SEEN)          // reserved
};

class TXMLIMStackType final : public TXMLRecordList<TXMLCHATMSGType> {
public:
    using TXMLRecordList::TXMLRecordList;
    int IndexOfChatMessage(int chatMsgId) const { return IndexOfInt(QStringLiteral("ChatMsgID"), chatMsgId); }
};

// Reserved: fourteen lists of "Str" texts.
using TXMLUSERSType = TXMLTextList;
using TXMLFRIENDSType = TXMLTextList;
using TXMLCALLSType = TXMLTextList;
using TXMLACTIVECALLSType = TXMLTextList;
using TXMLMISSEDCALLSType = TXMLTextList;
using TXMLMESSAGESType = TXMLTextList;
using TXMLMISSEDMESSAGESType = TXMLTextList;
using TXMLCHATSType = TXMLTextList;
using TXMLACTIVECHATSType = TXMLTextList;
using TXMLMISSEDCHATSType = TXMLTextList;
using TXMLRECENTCHATSType = TXMLTextList;
using TXMLBOOKMARKEDCHATSType = TXMLTextList;
using TXMLCHATMESSAGESType = TXMLTextList;
using TXMLMISSEDCHATMESSAGESType = TXMLTextList;

class TXMLSearchesType final : public TXMLNodeView {
public:
    using TXMLNodeView::TXMLNodeView;
    ORVI_XML_LIST(USERS, TXMLUSERSType, Str)
    ORVI_XML_LIST(FRIENDS, TXMLFRIENDSType, Str)
    ORVI_XML_LIST(CALLS, TXMLCALLSType, Str)
    ORVI_XML_LIST(ACTIVECALLS, TXMLACTIVECALLSType, Str)
    ORVI_XML_LIST(MISSEDCALLS, TXMLMISSEDCALLSType, Str)
    ORVI_XML_LIST(MESSAGES, TXMLMESSAGESType, Str)
    ORVI_XML_LIST(MISSEDMESSAGES, TXMLMISSEDMESSAGESType, Str)
    ORVI_XML_LIST(CHATS, TXMLCHATSType, Str)
    ORVI_XML_LIST(ACTIVECHATS, TXMLACTIVECHATSType, Str)
    ORVI_XML_LIST(MISSEDCHATS, TXMLMISSEDCHATSType, Str)
    ORVI_XML_LIST(RECENTCHATS, TXMLRECENTCHATSType, Str)
    ORVI_XML_LIST(BOOKMARKEDCHATS, TXMLBOOKMARKEDCHATSType, Str)
    ORVI_XML_LIST(CHATMESSAGES, TXMLCHATMESSAGESType, Str)
    ORVI_XML_LIST(MISSEDCHATMESSAGES, TXMLMISSEDCHATMESSAGESType, Str)
};

// The root element "Settings".
class TXMLSettingsType final : public TXMLNodeView {
public:
    using TXMLNodeView::TXMLNodeView;
    ORVI_XML_BOOL(LaunchOnStartUp, true)
    ORVI_XML_BOOL(FirstTime, true)
    ORVI_XML_BOOL(LogFile, false)
    ORVI_XML_TEXT(LastOwnerSkypeUsername) // owner created most recently
    TXMLOwnerTypeList Owner() const { return TXMLOwnerTypeList(element, context, QStringLiteral("Owner")); }
    ORVI_XML_LIST(CallStack, TXMLCallStackType, Call)
    ORVI_XML_LIST(IMStack, TXMLIMStackType, CHATMSG)
    ORVI_XML_RECORD(Searches, TXMLSearchesType) // reserved
};

// ---- Documents ------------------------------------------------------------------------------------

// A parsed settings file, or why there is none.
struct TSettingsLoad {
    TXMLSettingsType root; // null when error is set
    QString error;
};

// Parses the file; a missing file, one that is not well-formed or whose root is not "Settings" is an error.
TSettingsLoad LoadSettings(const QString &path);
TSettingsLoad ParseSettings(const QByteArray &bytes);
// A new document: the XML declaration and an empty "Settings" root.
TXMLSettingsType NewSettings();
// The whole document as saved: UTF-8, no indentation added.
QByteArray SerializeSettings(const TXMLSettingsType &root);
// Writes the whole document over the file at the path, atomically; empty text on success, else the error.
QString SaveSettingsFile(const TXMLSettingsType &root, const QString &path);
