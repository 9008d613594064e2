// Loads arbitrary bytes as Settings.xml and reads every property of every owner and list item,
// then checks that what would be saved loads back the same.

#include "settings/Settings5.h"

#include <cstdint>
#include <cstdlib>

namespace {
void ReadTexts(const TXMLTextList &list) {
    for (int i = 0; i < list.Count(); ++i)
        (void)list.Item(i);
    (void)list.Item(-1);
    (void)list.Item(list.Count());
}

void ReadRule(const TXMLRulePairType &pair) {
    for (const TXMLRespondRuleType &rule : {pair.RespondToIM(), pair.RespondToCall()})
        (void)(rule.Enabled() + rule.MessagePointer());
}

void ReadUser(const TXMLUserType &u) {
    for (const QString &value :
         {u.HANDLE(),     u.FULLNAME(),         u.BIRTHDAY(),     u.SEX(),
          u.LANGUAGE(),   u.COUNTRY(),          u.PROVINCE(),     u.CITY(),
          u.PHONE_HOME(), u.PHONE_OFFICE(),     u.PHONE_MOBILE(), u.HOMEPAGE(),
          u.ABOUT(),      u.HASCALLEQUIPMENT(), u.BUDDYSTATUS(),  u.ISAUTHORIZED(),
          u.ISBLOCKED(),  u.DISPLAYNAME(),      u.ONLINESTATUS(), u.LASTONLINETIMESTAMP()})
        (void)value.size();
}

void ReadOwner(const TXMLOwnerType &owner) {
    (void)owner.SkypeHandle();
    (void)owner.Email();
    (void)(owner.AdvancedMode() + owner.TellAFriendReminderCount());
    ReadTexts(owner.FavoritesList());

    const TXMLAutoRespondType ar = owner.AutoRespond();
    (void)ar.AutoRespond_Enabled();
    ReadRule(ar.When_Im_on_Call());
    ReadRule(ar.When_Im_NOT_on_Call());
    ReadRule(ar.When_Person_Not_on_contactlist());
    ReadTexts(ar.ResponseMessages());

    const TXMLPresenceType presence = owner.Presence();
    (void)(presence.BroadcastPresenceOn() + presence.WebPresenceOn());
    (void)presence.WebStatus();
    (void)(presence.BroadcastMessage().Enabled() + presence.BroadcastMessage().MessagePtr());
    ReadTexts(presence.BroadcastMessages());
    ReadTexts(presence.MappedEmailAddresses());

    const TXMLCallForwardingType cf = owner.CallForwarding();
    (void)(cf.CallForwarding_Enabled() + cf.ForwardAllCalls() + cf.MuteSpeakers());
    const auto ring = cf.NotifyByRingMyRegularPhone();
    (void)(ring.Enabled() + ring.RingsBeforeHangup() + ring.Number().size());
    const auto pstn = cf.ForwardToPSTN();
    (void)(pstn.Enabled() + pstn.RingsBeforeHangup() + pstn.Number().size());
    const auto user = cf.ForwardToSkypeUser();
    (void)(user.Enabled() + user.RingsBeforeHangup() + user.SkypeUser().size());
    const TXMLForwardcontactsListType contacts = cf.ForwardcontactsList();
    ReadTexts(contacts);
    (void)contacts.IndexOfForwardContact(QStringLiteral("alice"));

    const TXMLContactsListType users = owner.ContactsList();
    for (int i = 0; i < users.Count(); ++i)
        ReadUser(*users.Item(i));
    (void)users.FindContactByHandle(QStringLiteral("alice"));

    const TXMLSplashScreensType splashes = owner.SplashScreens();
    for (int i = 0; i < splashes.Count(); ++i)
        (void)(splashes.Item(i)->Enabled() + splashes.Item(i)->SSText().size());
    (void)splashes.IndexOfSplashScreen(QString());

    const TXMLOrviTabsType tabs = owner.OrviTabs();
    for (int i = 0; i < tabs.Count(); ++i) {
        const TXMLOrviTabType tab = *tabs.Item(i);
        (void)(tab.Enabled() + tab.Visible() + tab.TabName().size() + tab.Info1().size() +
               tab.Info2().size());
    }
    (void)tabs.IndexOfTab(QStringLiteral("ElTabPresence"));

    const TXMLBrowserType browser = owner.Browser();
    (void)(browser.HomeURL().size() + browser.AutoLoginToOrvi() + browser.OrviUsername().size() +
           browser.Info().size());
}

void ReadCall(const TXMLCallType &c) {
    (void)(c.CallID() + c.Orvi_RingCount() + c.Orvi_Bool1() + c.Orvi_Int1());
    for (const QString &value :
         {c.TIMESTAMP(), c.PARTNER_HANDLE(), c.PARTNER_DISPNAME(), c.CONF_ID(), c.JOIN_CONFERENCE(),
          c.CONF_PARTICIPANT(), c.CONF_PARTICIPANTS_COUNT(), c.TYPE(), c.STATUS(), c.FAILUREREASON(),
          c.SUBJECT(), c.PSTN_NUMBER(), c.DURATION(), c.SEEN(), c.DTMF(), c.PSTN_STATUS(), c.Orvi_Str1(),
          c.Orvi_Status(), c.Orvi_Str2()})
        (void)value.size();
}

void ReadChatMessage(const TXMLCHATMSGType &m) {
    (void)m.ChatMsgID();
    for (const QString &value :
         {m.FROM_HANDLE(), m.BODY(), m.TIMESTAMP(), m.OrviSyncURL(), m.CHATNAME(), m.FROM_DISPNAME(),
          m.TYPE(), m.USERS(), m.LEAVEREASON(), m.STATUS(), m.SEEN()})
        (void)value.size();
}

void ReadSearches(const TXMLSearchesType &s) {
    for (const TXMLTextList &list :
         {s.USERS(), s.FRIENDS(), s.CALLS(), s.ACTIVECALLS(), s.MISSEDCALLS(), s.MESSAGES(),
          s.MISSEDMESSAGES(), s.CHATS(), s.ACTIVECHATS(), s.MISSEDCHATS(), s.RECENTCHATS(),
          s.BOOKMARKEDCHATS(), s.CHATMESSAGES(), s.MISSEDCHATMESSAGES()})
        ReadTexts(list);
}

void ReadAll(const TXMLSettingsType &root) {
    (void)(root.LaunchOnStartUp() + root.FirstTime() + root.LogFile());
    const TXMLOwnerTypeList owners = root.Owner();
    (void)owners.IndexOfOwner(root.LastOwnerSkypeUsername());
    for (int i = 0; i < owners.Count(); ++i)
        ReadOwner(*owners.Item(i));
    const TXMLCallStackType calls = root.CallStack();
    for (int i = 0; i < calls.Count(); ++i)
        ReadCall(*calls.Item(i));
    const TXMLIMStackType messages = root.IMStack();
    for (int i = 0; i < messages.Count(); ++i) {
        const TXMLCHATMSGType message = *messages.Item(i);
        ReadChatMessage(message);
        if (messages.IndexOfChatMessage(message.ChatMsgID()) > i)
            std::abort(); // the index must find this item or an earlier one with the same number
    }
    (void)calls.IndexOfCall(0);
    ReadSearches(root.Searches());
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const TSettingsLoad load =
        ParseSettings(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
    if (load.root.IsNull()) return 0;
    ReadAll(load.root);
    // Whatever loaded must load back as it would be saved.
    const QByteArray saved = SerializeSettings(load.root);
    const TSettingsLoad again = ParseSettings(saved);
    if (again.root.IsNull() || SerializeSettings(again.root) != saved) std::abort();
    return 0;
}
