#pragma once
// The feature pages and the two window modes: which of the three feature pages show, advanced mode
// (feature pages shown) and basic mode (every feature but web presence off), the View-menu rules,
// the tray switches, and the state of the tray menu that follows the settings.

#include "settings/Settings5.h"

#include <QString>

#include <functional>

class TPrompts;
class TSettingsStore;
class TTraceLog;
struct TSharedState;

// The tray menu as the settings want it shown.
struct TTrayMenuState {
    struct TItem {
        QString caption;
        bool checked = false;
        bool visible = true;
        bool operator==(const TItem &) const = default;
    };
    TItem enablePresence;
    TItem autoResponse;
    TItem enableCallForwarding;
    TItem enableCallNotify;
    bool changeWebStatusVisible = false;
    bool operator==(const TTrayMenuState &) const = default;
};

class TFeatureModes {
public:
    TFeatureModes(TSettingsStore &settings, TTraceLog &log, TPrompts &prompts, TSharedState &state);

    // Entries of the feature pages in the owner's OrviTabs; -1 when absent.
    int AutoResponderTabIndex = -1;
    int CallForwardingTabIndex = -1;
    int BrowserSyncTabIndex = -1;
    // The user confirmed basic mode once in this run.
    bool BasicModeConfirmed = false;

    // Shows the mode on the window's button (checked and its caption).
    std::function<void(bool advanced)> OnAdvancedModeShown;
    // Checks the Skype client's version when advanced mode is entered; assigned by the version check.
    std::function<void()> CheckSkypeVersion;

    static QString AdvancedCaption(bool advanced);

    // Looks the three entries up by page name and writes them to the trace log.
    void LookUpTabIndexes();
    // The entry at one of the three indexes; throws when it is absent, so the caller's guard takes it.
    TXMLOrviTabType Entry(int index) const;

    void SetAdvancedMode();
    void SetBasicMode(bool ask);
    void CheckFeatureTabs();
    // The toolbar button: invert the mode and enter it (asking before basic mode).
    void ToggleAdvancedMode();

    // View menu, with the item's check mark after the click.
    void ShowWebPresenceTab(bool checked);
    void ShowBrowserSyncTab(bool checked);
    void ShowAutoResponderTab(bool checked);
    void ShowCallForwardingTab(bool checked);

    // Tray switches; each leaves the refresh and the save to the caller.
    void ToggleAutoResponder();
    void ToggleCallForwarding();
    void ToggleRingNotification();

    // The tray menu after the settings; a group whose reading fails keeps the values it had.
    void UpdateTrayMenuState(TTrayMenuState &tray);

private:
    TXMLOwnerType Owner() const;
    void SetFeatureTabsVisible(bool visible);
    void ShowOrHideFeatureTab(int tabIndex, bool checked, const QString &question,
                              const std::function<void()> &turnFeatureOff);

    TSettingsStore &settings;
    TTraceLog &log;
    TPrompts &prompts;
    TSharedState &state;
};
