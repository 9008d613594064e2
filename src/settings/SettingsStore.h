#pragma once
// The program-wide settings: the document loaded from Settings.xml (or a new one), the owner record
// in force, the scratch document of call, chat-message and contact records, and their saving.

#include "settings/Settings5.h"
#include "shell/TraceLog.h"

#include <QSet>
#include <QString>

// Where Settings.xml is looked for and written, in this order.
struct TSettingsLocations {
    QString fixedPath; // in the program's settings folder
    QString barePath;  // "Settings.xml" in the directory the program was started in
    static TSettingsLocations Default();
};

enum class TOwnerChange {
    Kept,     // the owner in force already has that name: nothing was done
    Switched, // an existing owner record was put in force
    Created   // a new owner record was made and put in force
};

struct TOwnerSelection {
    TOwnerChange change = TOwnerChange::Kept;
    QString error; // a value could not be written; the steps went on
};

class TSettingsStore final : public TLogSwitch {
public:
    explicit TSettingsStore(TSettingsLocations locations = TSettingsLocations::Default());

    // Start-up load, before any window: the file at the fixed path, else the one in the current
    // directory, else a new document; and a fresh working document. Never fails.
    void Load();

    TXMLSettingsType SettingsRoot() const { return settingsRoot; }
    TXMLOwnerType CurrentOwner() const { return currentOwner; }
    // Same shape as the settings, never saved: CallStack, IMStack and the contact lists.
    TXMLSettingsType WorkingDocument() const { return workingDocument; }
    TXMLContactsListType ContactCache() const { return contactCache; }
    // Its entry 0 is the profile record.
    TXMLContactsListType SecondContactList() const { return secondContactList; }
    // The file the document in force was read from; empty for a new document.
    const QString &LoadedFrom() const { return loadedFrom; }

    // Writes the settings to the fixed path, else to the current directory. Empty text on success,
    // else what went wrong at both (the caller writes "Exception" to the trace log).
    QString SaveSettings();
    // The last save as the program ends (its failure is passed over); the views are released.
    void ExitSave();

    // The data steps of putting the owner of a Skype user name in force: find or create the record
    // (with its four tab records and LastOwnerSkypeUsername), then empty the contact cache, the
    // CallStack and the IMStack. When the change is not Kept, the caller applies the owner's
    // settings (which saves) and asks Skype for the friends list again.
    TOwnerSelection SelectOwner(const QString &userHandle);

    // The trace log's switch: LogFile of the settings root, read anew each time.
    bool LogFile() const override { return settingsRoot.LogFile(); }
    void SetLogFile(bool on) override { settingsRoot.SetLogFile(on); }

private:
    bool TryLocation(const QString &path, TXMLSettingsType &fallback, QString &fallbackPath);
    QString SaveTo(const QString &path);

    TSettingsLocations locations;
    TXMLSettingsType settingsRoot;
    TXMLOwnerType currentOwner;
    TXMLSettingsType workingDocument;
    TXMLContactsListType contactCache;
    TXMLContactsListType secondContactList;
    QString loadedFrom;
    // Files found at a location but not in force (damaged, or holding other owners): each is copied
    // aside before a save first replaces it.
    QSet<QString> keepAside;
};
