// The window refresh that brings every control in line with the settings, the page update, the mode
// button, the View menu and the tray switches.

#include "shell/Mainfrm.h"

#include "autorespond/AutoResponderPage.h"
#include "browser/BrowserPage.h"
#include "calls/CallForwardingPage.h"
#include "presence/WebPresencePage.h"
#include "settings/SettingsStore.h"
#include "shell/Autostart.h"
#include "shell/PageKit.h"
#include "shell/ResponseDefaults.h"

#include <QAction>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QToolButton>

#include <stdexcept>

namespace {
// What a contact is shown as: its display name, else its full name, else its Skype name.
QString ContactLabel(const TXMLUserType &contact) {
    if (!contact.DISPLAYNAME().isEmpty()) return contact.DISPLAYNAME();
    if (!contact.FULLNAME().isEmpty()) return contact.FULLNAME();
    return contact.HANDLE();
}

QString Quoted(const QString &text) {
    return QLatin1Char('"') + text + QLatin1Char('"');
}

// A rule of the auto-responder page: its check box, label and message button, and its setting.
struct TRuleControls {
    QCheckBox *check;
    QLabel *label;
    QToolButton *picker;
    TXMLRespondRuleType rule;
};

std::array<TRuleControls, 6> RuleControls(TAutoResponderPage &page, const TXMLAutoRespondType &autoRespond) {
    const TXMLRulePairType onCall = autoRespond.When_Im_on_Call();
    const TXMLRulePairType away = autoRespond.When_Im_NOT_on_Call();
    const TXMLRulePairType stranger = autoRespond.When_Person_Not_on_contactlist();
    return {
        {{page.chkARIM_onCall, page.lblARIM_onCall, page.PopARIM_onCall, onCall.RespondToIM()},
         {page.chkARCall_onCall, page.lblARCall_onCall, page.PopARCall_onCall, onCall.RespondToCall()},
         {page.chkARIM_NOTonCall, page.lblARIM_NOTonCall, page.PopARIM_NOTonCall, away.RespondToIM()},
         {page.chkARCall_NOTonCall, page.lblARCall_NOTonCall, page.PopARCall_NOTonCall, away.RespondToCall()},
         {page.chkARIM_NotOnContacts, page.lblARIM_NotOnContacts, page.PopARIM_NotOnContacts,
          stranger.RespondToIM()},
         {page.chkARCall_NotOnContacts, page.lblARCall_NotOnContacts, page.PopARCall_NotOnContacts,
          stranger.RespondToCall()}}};
}

QString MessageAt(const TXMLResponseMessagesType &messages, int index) {
    const std::optional<QString> text = messages.Item(index);
    if (!text) throw std::out_of_range("no such response message");
    return *text;
}

void ShowMessage(QLabel *label, const QString &text) {
    label->setText(Quoted(text));
    label->setToolTip(QStringLiteral("[Auto Response]: ") + Quoted(text));
}
} // namespace

void TMainForm::RefreshWindow() {
    const auto handle = [this] { return settings.CurrentOwner().SkypeHandle(); };
    try {
        log.WriteLog(QStringLiteral("1.2.1- Starting update GUI"));
        UpdateTabs();
        log.WriteLog(QStringLiteral("1.2.2- done updating tabs"));
        RefreshFavorites();
        log.WriteLog(QStringLiteral("1.2.3- done updating Favorites"));
        RefreshPresencePage();
        log.WriteLog(QStringLiteral("1.2.4- done updating Web PResence buttons"));
        RefreshResponseMessages();
        log.WriteLog(QStringLiteral("1.2.5- done updating Message list"));
        UpdateContainerGUI();
        log.WriteLog(QStringLiteral("1.2.6- done updating Container GUI"));
        ElTabCallForwarding->lblSkypeOutBalance->SetCaption(state.SkypeOutBalanceText +
                                                            QStringLiteral(" Euros"));
        log.WriteLog(QStringLiteral("1.2.7- Going into User relevant GUI updating"));
        log.WriteLog(QStringLiteral("1.2.8- username is: ") + handle());
        ShowAdvancedMode(settings.CurrentOwner().AdvancedMode());
        RefreshAutoResponderPage();
        TBMnuLaunchOnStartUp->setChecked(settings.SettingsRoot().LaunchOnStartUp());
        RefreshPresencePage();
        log.WriteLog(QStringLiteral("1.2.9- going into call forwarding GUI stuff. username is: ") + handle());
        RefreshCallForwardingPage();
        log.WriteLog(QStringLiteral("1.2.11- done GUI update.   username is: ") + handle());
    } catch (...) {
        Guarded(log, [&] {
            log.WriteLog(QStringLiteral("3.6!!!!!!!- Got exception error"));
            log.WriteLog(QStringLiteral("Exception"));
        });
    }
    Guarded(log, [&] {
        log.WriteLog(QStringLiteral("1.2.12- done with user related stuff, update miscelaneous gui stuff"));
    });
}

void TMainForm::UpdateTabs() {
    Guarded(log, [&] {
        const struct {
            int index;
            QWidget *page;
            QAction *item;
        } featurePages[] = {{modes.AutoResponderTabIndex, ElTabAutoresponder, mnuTabAutoResponder},
                            {modes.CallForwardingTabIndex, ElTabCallForwarding, mnuTabCallForwarding},
                            {modes.BrowserSyncTabIndex, ElTabOrviCommunity, mnuTabOrviCommunity}};
        for (const auto &feature : featurePages) {
            const bool visible = modes.Entry(feature.index).Visible();
            const int tab = ElPageControl1->indexOf(feature.page);
            const bool displayed = ElPageControl1->currentIndex() == tab;
            // Leave the page before its tab goes, so the tab bar does not pick another page itself.
            if (displayed && !visible) ElPageControl1->setCurrentWidget(ElTabPresence);
            ElPageControl1->setTabVisible(tab, visible);
            feature.item->setChecked(visible);
        }
    });
}

void TMainForm::ShowAdvancedMode(bool advanced) {
    btnAdvancedMode->setChecked(advanced);
    btnAdvancedMode->setText(TFeatureModes::AdvancedCaption(advanced));
}

void TMainForm::RefreshFavorites() {
    const TXMLFavoritesListType favorites = settings.CurrentOwner().FavoritesList();
    QStringList addresses;
    for (int i = 0; i < favorites.Count(); ++i)
        addresses.append(favorites.Item(i).value_or(QString()));
    ElTabOrviCommunity->SetFavorites(addresses);
}

void TMainForm::RefreshResponseMessages() {
    Guarded(log, [&] {
        const TXMLAutoRespondType autoRespond = settings.CurrentOwner().AutoRespond();
        ResponseDefaults::Prepare(autoRespond);
        const TXMLResponseMessagesType messages = autoRespond.ResponseMessages();
        QStringList texts;
        for (int i = 0; i < messages.Count(); ++i)
            texts.append(messages.Item(i).value_or(QString()));
        TAutoResponderPage &page = *ElTabAutoresponder;
        page.SetResponseMessages(texts);
        // Set without running the click handlers.
        const QSignalBlocker blockMaster(page.chkAutoResponderON);
        page.chkAutoResponderON->setChecked(autoRespond.AutoRespond_Enabled());
        for (const TRuleControls &rule : RuleControls(page, autoRespond)) {
            const QSignalBlocker block(rule.check);
            rule.check->setChecked(rule.rule.Enabled());
        }
        for (const TRuleControls &rule : RuleControls(page, autoRespond))
            ShowMessage(rule.label, MessageAt(messages, rule.rule.MessagePointer()));
        QLabel *selected = page.lblCurrentSelectedARMsg;
        int index = selected->property("Tag").toInt();
        if (index < 0 || index >= messages.Count()) {
            index = 0;
            selected->setProperty("Tag", 0);
            log.WriteLog(QStringLiteral("Exception"));
        }
        ShowMessage(selected, MessageAt(messages, index));
    });
}

void TMainForm::UpdateContainerGUI() {
    modes.UpdateTrayMenuState(trayMenu);
    Q_EMIT TrayMenuChanged();
}

void TMainForm::RefreshAutoResponderPage() {
    const TXMLAutoRespondType autoRespond = settings.CurrentOwner().AutoRespond();
    const bool on = autoRespond.AutoRespond_Enabled();
    for (const TRuleControls &rule : RuleControls(*ElTabAutoresponder, autoRespond)) {
        rule.check->setEnabled(on);
        const bool ruleOn = on && rule.check->isChecked();
        rule.label->setEnabled(ruleOn);
        rule.picker->setEnabled(ruleOn);
    }
}

void TMainForm::RefreshCallForwardingPage() {
    const TXMLCallForwardingType forwarding = settings.CurrentOwner().CallForwarding();
    const TXMLNotifyByRingMyRegularPhoneType ring = forwarding.NotifyByRingMyRegularPhone();
    const TXMLForwardToPSTNType pstn = forwarding.ForwardToPSTN();
    const TXMLForwardToSkypeUserType skypeUser = forwarding.ForwardToSkypeUser();
    TCallForwardingPage &page = *ElTabCallForwarding;

    const bool forwardingOn = forwarding.CallForwarding_Enabled();
    page.chkrdoForwardCalls->setChecked(forwardingOn);
    // Forwarding and the ring notification are never both on.
    if (forwardingOn) ring.SetEnabled(false);
    page.chkRingMyHomePhone->setChecked(ring.Enabled());
    page.elEdtRingHome->setText(ring.Number());
    page.ElRdoEnableFwrdPSTN->setChecked(pstn.Enabled());
    // Exactly one target is in force.
    skypeUser.SetEnabled(!pstn.Enabled());
    page.ElRdoEnableFwrdSkype->setChecked(skypeUser.Enabled());
    page.elEdtFrwdPSTN->setText(pstn.Number());
    page.elEdtFrwdSkypeUsername->setText(skypeUser.SkypeUser());
    const bool allCalls = forwarding.ForwardAllCalls();
    page.ElRdoFwrdAllCalls->setChecked(allCalls);
    page.ElRdoFwrdOnlycertainContacts->setChecked(!allCalls);
    page.elchkMuteSpeakers->setChecked(forwarding.MuteSpeakers());

    FillForwardContacts();

    for (QWidget *control : std::initializer_list<QWidget *>{
             page.ElRdoEnableFwrdPSTN, page.ElRdoEnableFwrdSkype, page.ElRdoFwrdAllCalls,
             page.ElRdoFwrdOnlycertainContacts, page.elchkMuteSpeakers, page.grpCallfrwList})
        control->setEnabled(forwardingOn);
    page.btnChangePSTN->setEnabled(forwardingOn && page.ElRdoEnableFwrdPSTN->isChecked());
    page.btnChangeSkypeUsername->setEnabled(forwardingOn && !page.ElRdoEnableFwrdPSTN->isChecked());
    page.lstBoxContacts->setEnabled(forwardingOn && !allCalls);
    page.btnAddContacts->setEnabled(forwardingOn && !allCalls);

    page.spnNotifyRing->setValue(ring.RingsBeforeHangup());
    page.spnFrwRingsPSTN->setValue(pstn.RingsBeforeHangup());
    page.spnFrwRingsSkype->setValue(skypeUser.RingsBeforeHangup());
    const bool ringOn = page.chkRingMyHomePhone->isChecked();
    for (QWidget *control : std::initializer_list<QWidget *>{page.btnChangeHomePhone, page.ElLabel1,
                                                             page.spnNotifyRing, page.ElLabel2})
        control->setEnabled(ringOn);
}

void TMainForm::FillForwardContacts() {
    QListWidget *list = ElTabCallForwarding->lstBoxContacts;
    list->clear();
    log.WriteLog(QStringLiteral("1.2.10- going into userlist GUI stuff. username is: ") +
                 settings.CurrentOwner().SkypeHandle());
    const TXMLForwardcontactsListType names = settings.CurrentOwner().CallForwarding().ForwardcontactsList();
    const TXMLContactsListType cache = settings.ContactCache();
    for (int i = 0; i < names.Count(); ++i) {
        Guarded(log, [&] {
            const int found = cache.FindContactByHandle(names.Item(i).value_or(QString()));
            if (found < 0) return;
            list->addItem(ContactLabel(*cache.Item(found)).toLower());
        });
    }
    // The status marks of the listed contacts come with the contact list feature.
}

template <class Work> void TMainForm::ViewMenuClick(Work &&work, bool refresh) {
    Guarded(log, std::forward<Work>(work));
    SaveSettings();
    UpdateTabs();
    if (refresh) RefreshWindow();
}

void TMainForm::btnAdvancedModeClick() {
    Guarded(log, [&] { modes.ToggleAdvancedMode(); });
    SaveSettings();
    RefreshWindow();
}

void TMainForm::mnuTabWebPresenceClick() {
    ViewMenuClick([&] { modes.ShowWebPresenceTab(mnuTabWebPresence->isChecked()); }, false);
}

void TMainForm::mnuTabOrviCommunityClick() {
    ViewMenuClick([&] { modes.ShowBrowserSyncTab(mnuTabOrviCommunity->isChecked()); }, true);
}

void TMainForm::mnuTabAutoResponderClick() {
    ViewMenuClick([&] { modes.ShowAutoResponderTab(mnuTabAutoResponder->isChecked()); }, true);
}

void TMainForm::mnuTabCallForwardingClick() {
    ViewMenuClick([&] { modes.ShowCallForwardingTab(mnuTabCallForwarding->isChecked()); }, true);
}

void TMainForm::ElTabCallForwardingShow() {
    RefreshWindow();
    Q_EMIT ContainerNormalRequested();
}

template <class Work> void TMainForm::TraySwitch(Work &&work) {
    Guarded(log, std::forward<Work>(work));
    RefreshWindow();
    SaveSettings();
}

void TMainForm::ToggleAutoResponder() {
    TraySwitch([&] { modes.ToggleAutoResponder(); });
}

void TMainForm::ToggleCallForwarding() {
    TraySwitch([&] { modes.ToggleCallForwarding(); });
}

void TMainForm::ToggleRingNotification() {
    TraySwitch([&] { modes.ToggleRingNotification(); });
}

void TMainForm::TBMnuLaunchOnStartUpClick() {
    Guarded(log, [&] {
        // The setting, not the check mark: a click has already toggled the mark.
        const bool launch = !settings.SettingsRoot().LaunchOnStartUp();
        TBMnuLaunchOnStartUp->setChecked(launch);
        settings.SettingsRoot().SetLaunchOnStartUp(launch);
    });
    RefreshWindow();
    SaveSettings();
    SetRunEntry(autostart, log, !settings.SettingsRoot().LaunchOnStartUp());
}

void TMainForm::ConnectControls() {
    connect(btnAdvancedMode, &QAction::triggered, this, &TMainForm::btnAdvancedModeClick);
    connect(mnuTabWebPresence, &QAction::triggered, this, &TMainForm::mnuTabWebPresenceClick);
    connect(mnuTabOrviCommunity, &QAction::triggered, this, &TMainForm::mnuTabOrviCommunityClick);
    connect(mnuTabAutoResponder, &QAction::triggered, this, &TMainForm::mnuTabAutoResponderClick);
    connect(mnuTabCallForwarding, &QAction::triggered, this, &TMainForm::mnuTabCallForwardingClick);
    connect(TBMnuLaunchOnStartUp, &QAction::triggered, this, &TMainForm::TBMnuLaunchOnStartUpClick);
    connect(TBMnuReconnectSkype, &QAction::triggered, this, &TMainForm::TBMnuReconnectSkypeClick);
    connect(TBMnuExit, &QAction::triggered, this, &TMainForm::ExitRequested);
    connect(ElPageControl1, &QTabWidget::currentChanged, this, [this](int index) {
        if (ElPageControl1->widget(index) == ElTabCallForwarding) ElTabCallForwardingShow();
    });
}
