#include "shell/FeatureModes.h"

#include "settings/SettingsStore.h"
#include "shell/Prompts.h"
#include "shell/SharedState.h"
#include "shell/TraceLog.h"

#include <stdexcept>

namespace {
void Require(bool written) {
    if (!written) throw std::runtime_error("setting not written");
}
} // namespace

TFeatureModes::TFeatureModes(TSettingsStore &settings, TTraceLog &log, TPrompts &prompts, TSharedState &state)
    : settings(settings), log(log), prompts(prompts), state(state) {}

QString TFeatureModes::AdvancedCaption(bool advanced) {
    return advanced ? QStringLiteral("Advanced ON ") : QStringLiteral("Advanced OFF ");
}

TXMLOwnerType TFeatureModes::Owner() const {
    return settings.CurrentOwner();
}

void TFeatureModes::LookUpTabIndexes() {
    const TXMLOrviTabsType tabs = Owner().OrviTabs();
    AutoResponderTabIndex = tabs.IndexOfTab(QStringLiteral("ElTabAutoresponder"));
    CallForwardingTabIndex = tabs.IndexOfTab(QStringLiteral("ElTabCallForwarding"));
    BrowserSyncTabIndex = tabs.IndexOfTab(QStringLiteral("ElTabOrviCommunity"));
    log.WriteLog(QStringLiteral("1.1- MainCreate >> 3 tab indexes are: %1,%2,%3")
                     .arg(AutoResponderTabIndex)
                     .arg(CallForwardingTabIndex)
                     .arg(BrowserSyncTabIndex));
}

TXMLOrviTabType TFeatureModes::Entry(int index) const {
    const std::optional<TXMLOrviTabType> entry = Owner().OrviTabs().Item(index);
    if (!entry) throw std::out_of_range("no such page entry");
    return *entry;
}

void TFeatureModes::SetFeatureTabsVisible(bool visible) {
    for (int index : {BrowserSyncTabIndex, AutoResponderTabIndex, CallForwardingTabIndex})
        Require(Entry(index).SetVisible(visible));
}

void TFeatureModes::SetAdvancedMode() {
    if (!state.SkypeVersion.isEmpty() && CheckSkypeVersion) CheckSkypeVersion();
    Require(Owner().SetAdvancedMode(true));
    if (OnAdvancedModeShown) OnAdvancedModeShown(true);
    SetFeatureTabsVisible(true);
}

void TFeatureModes::SetBasicMode(bool ask) {
    if (ask && !BasicModeConfirmed) {
        if (!prompts.Confirm(QStringLiteral("Orvi"),
                             QStringLiteral("Basic mode turns off all features excpet Web Presence. Do you "
                                            "want to proceed?"))) {
            Require(Owner().SetAdvancedMode(true));
            if (OnAdvancedModeShown) OnAdvancedModeShown(true);
            return;
        }
        BasicModeConfirmed = true;
    }
    const TXMLOwnerType owner = Owner();
    Require(owner.SetAdvancedMode(false));
    if (OnAdvancedModeShown) OnAdvancedModeShown(false);
    Require(owner.AutoRespond().SetAutoRespond_Enabled(false));
    Require(owner.CallForwarding().SetCallForwarding_Enabled(false));
    Require(owner.CallForwarding().NotifyByRingMyRegularPhone().SetEnabled(false));
    SetFeatureTabsVisible(false);
}

void TFeatureModes::CheckFeatureTabs() {
    for (int index : {AutoResponderTabIndex, CallForwardingTabIndex, BrowserSyncTabIndex})
        if (Entry(index).Visible()) return;
    Require(Owner().SetAdvancedMode(false));
    if (OnAdvancedModeShown) OnAdvancedModeShown(false);
}

void TFeatureModes::ToggleAdvancedMode() {
    const bool advanced = !Owner().AdvancedMode();
    Require(Owner().SetAdvancedMode(advanced));
    if (OnAdvancedModeShown) OnAdvancedModeShown(advanced);
    if (advanced)
        SetAdvancedMode();
    else
        SetBasicMode(true);
}

void TFeatureModes::ShowWebPresenceTab(bool checked) {
    const int index = Owner().OrviTabs().IndexOfTab(QStringLiteral("ElTabPresence"));
    if (index >= 0) Require(Entry(index).SetVisible(checked));
}

void TFeatureModes::ShowBrowserSyncTab(bool checked) {
    Require(Entry(BrowserSyncTabIndex).SetVisible(checked));
    if (Entry(BrowserSyncTabIndex).Visible())
        SetAdvancedMode();
    else
        CheckFeatureTabs();
}

void TFeatureModes::ShowAutoResponderTab(bool checked) {
    ShowOrHideFeatureTab(AutoResponderTabIndex, checked,
                         QStringLiteral("Hiding the Auto-Responder Tab turns off the "
                                        "Auto-Responder. Do you want to hide the tab?"),
                         [this] { Require(Owner().AutoRespond().SetAutoRespond_Enabled(false)); });
}

void TFeatureModes::ShowCallForwardingTab(bool checked) {
    ShowOrHideFeatureTab(CallForwardingTabIndex, checked,
                         QStringLiteral("Hiding the Call-Forwarding Tab turns off the "
                                        "Call-Forwarding. Do you want to hide the tab?"),
                         [this] {
                             const TXMLCallForwardingType forwarding = Owner().CallForwarding();
                             Require(forwarding.SetCallForwarding_Enabled(false));
                             Require(forwarding.NotifyByRingMyRegularPhone().SetEnabled(false));
                         });
}

// Showing a feature page switches to advanced mode; hiding it asks first, because it turns the
// feature off.
void TFeatureModes::ShowOrHideFeatureTab(int tabIndex, bool checked, const QString &question,
                                         const std::function<void()> &turnFeatureOff) {
    if (checked) {
        Require(Entry(tabIndex).SetVisible(true));
        SetAdvancedMode();
        return;
    }
    if (!prompts.Confirm(QStringLiteral("Orvi"), question)) return;
    Require(Entry(tabIndex).SetVisible(false));
    turnFeatureOff();
    CheckFeatureTabs();
}

void TFeatureModes::ToggleAutoResponder() {
    const TXMLAutoRespondType autoRespond = Owner().AutoRespond();
    Require(autoRespond.SetAutoRespond_Enabled(!autoRespond.AutoRespond_Enabled()));
}

void TFeatureModes::ToggleCallForwarding() {
    if (state.SkypeVersion.contains("1.2")) {
        prompts.Inform(QStringLiteral("Orvi web buttons"),
                       QStringLiteral("Call Forwarding only works with version 1.3 or later of Skype. Please "
                                      "download most recent version"),
                       TPrompts::TIcon::Warning);
        return;
    }
    const TXMLCallForwardingType forwarding = Owner().CallForwarding();
    const bool on = !forwarding.CallForwarding_Enabled();
    Require(forwarding.SetCallForwarding_Enabled(on));
    if (on) Require(forwarding.NotifyByRingMyRegularPhone().SetEnabled(false));
}

void TFeatureModes::ToggleRingNotification() {
    const TXMLCallForwardingType forwarding = Owner().CallForwarding();
    const bool on = !forwarding.NotifyByRingMyRegularPhone().Enabled();
    Require(forwarding.NotifyByRingMyRegularPhone().SetEnabled(on));
    if (on) Require(forwarding.SetCallForwarding_Enabled(false));
}

void TFeatureModes::UpdateTrayMenuState(TTrayMenuState &tray) {
    log.WriteLog(QStringLiteral("1.2.5.1 beginning to UpdateContainerGUI Menu"));
    Guarded(
        log,
        [&] {
            const TXMLOwnerType owner = Owner();
            log.WriteLog(QStringLiteral("1.2.5.2 Current Owner: ") + owner.SkypeHandle());
            TTrayMenuState next = tray;
            const bool presence = owner.Presence().BroadcastPresenceOn();
            next.enablePresence.caption =
                presence ? QStringLiteral("Web Presence ON") : QStringLiteral("Web Presence OFF");
            next.enablePresence.checked = presence;
            const bool autoRespond = owner.AutoRespond().AutoRespond_Enabled();
            next.autoResponse.caption =
                autoRespond ? QStringLiteral("Auto Response ON") : QStringLiteral("Auto Response OFF");
            next.autoResponse.checked = autoRespond;
            const TXMLCallForwardingType forwarding = owner.CallForwarding();
            const bool forwardingOn = forwarding.CallForwarding_Enabled();
            const bool notifyOn = !forwardingOn && forwarding.NotifyByRingMyRegularPhone().Enabled();
            next.enableCallForwarding.caption =
                forwardingOn ? QStringLiteral("Call Forwarding ON") : QStringLiteral("Call Forwarding OFF");
            next.enableCallForwarding.checked = forwardingOn;
            next.enableCallNotify.caption =
                notifyOn ? QStringLiteral("Call Notify ON") : QStringLiteral("Call Notify OFF");
            next.enableCallNotify.checked = notifyOn;
            tray = next;
        },
        QStringLiteral("Exception error in UpdateContainerGUI"));
    Guarded(
        log,
        [&] {
            const TXMLOwnerType owner = Owner();
            tray.changeWebStatusVisible = owner.Presence().WebPresenceOn();
            tray.autoResponse.visible = Entry(AutoResponderTabIndex).Visible();
            const bool calls = Entry(CallForwardingTabIndex).Visible();
            tray.enableCallForwarding.visible = calls;
            tray.enableCallNotify.visible = calls;
        },
        QStringLiteral("Exception in ContainerForm >> UpdateContainerGUI"));
}
