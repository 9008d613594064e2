#include "settings/SettingsStore.h"

#include "shell/AppPaths.h"
#include "sysutil/SaveFile.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {
const QString FileName = QStringLiteral("Settings.xml");

QString Absolute(const QString &path) {
    return QFileInfo(path).absoluteFilePath();
}

// Keeps a file that is about to be replaced beside it as "<name>.bad-<date>".
QString CopyAside(const QString &path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return file.exists() ? file.errorString() : QString();
    const QByteArray bytes = file.readAll();
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss-zzz"));
    return SaveFileAtomically(path + QStringLiteral(".bad-") + stamp, bytes);
}
} // namespace

TSettingsLocations TSettingsLocations::Default() {
    return {AppPaths::SettingsFolder() + QLatin1Char('/') + FileName, FileName};
}

TSettingsStore::TSettingsStore(TSettingsLocations locations) : locations(std::move(locations)) {}

// One attempt: the file loads and has an owner named by LastOwnerSkypeUsername. A file that loads
// without one is remembered, so that its owners are kept when no attempt succeeds.
bool TSettingsStore::TryLocation(const QString &path, TXMLSettingsType &fallback, QString &fallbackPath) {
    const TSettingsLoad load = LoadSettings(path);
    if (load.root.IsNull()) return false;
    const TXMLOwnerTypeList owners = load.root.Owner();
    const auto owner = owners.Item(owners.IndexOfOwner(load.root.LastOwnerSkypeUsername()));
    if (!owner) {
        if (fallback.IsNull()) {
            fallback = load.root;
            fallbackPath = path;
        }
        return false;
    }
    settingsRoot = load.root;
    currentOwner = *owner;
    loadedFrom = path;
    return true;
}

void TSettingsStore::Load() {
    QDir().mkpath(QFileInfo(locations.fixedPath).absolutePath());
    QStringList paths{locations.fixedPath};
    if (Absolute(locations.barePath) != Absolute(locations.fixedPath)) paths << locations.barePath;

    TXMLSettingsType fallback;
    QString fallbackPath;
    const bool found = std::any_of(paths.begin(), paths.end(), [&](const QString &path) {
        return TryLocation(path, fallback, fallbackPath);
    });
    if (!found) {
        // A file that loads keeps its owners: its first one is put in force, or a new one if it has none.
        settingsRoot = fallback.IsNull() ? NewSettings() : fallback;
        loadedFrom = fallbackPath;
        const TXMLOwnerTypeList owners = settingsRoot.Owner();
        currentOwner = owners.Count() > 0 ? *owners.Item(0) : owners.Add();
    }
    for (const QString &path : paths)
        if (path != loadedFrom && QFileInfo(path).size() > 0) keepAside.insert(path);

    workingDocument = NewSettings();
    contactCache = workingDocument.Owner().Add().ContactsList();
    secondContactList = workingDocument.Owner().Add().ContactsList();
}

QString TSettingsStore::SaveTo(const QString &path) {
    if (keepAside.contains(path)) {
        const QString error = CopyAside(path);
        if (!error.isEmpty()) return error; // never replace a file that could not be kept
        keepAside.remove(path);
    }
    return SaveSettingsFile(settingsRoot, path);
}

QString TSettingsStore::SaveSettings() {
    if (settingsRoot.IsNull()) return QString();
    const QString fixedError = SaveTo(locations.fixedPath);
    if (fixedError.isEmpty()) return QString();
    const QString bareError = SaveTo(locations.barePath);
    if (bareError.isEmpty()) return QString();
    return locations.fixedPath + QStringLiteral(": ") + fixedError + QStringLiteral("; ") +
           locations.barePath + QStringLiteral(": ") + bareError;
}

void TSettingsStore::ExitSave() {
    SaveSettings();
    contactCache = secondContactList = TXMLContactsListType();
    currentOwner = TXMLOwnerType();
    settingsRoot = workingDocument = TXMLSettingsType();
}

TOwnerSelection TSettingsStore::SelectOwner(const QString &userHandle) {
    TOwnerSelection result;
    if (settingsRoot.IsNull()) return {TOwnerChange::Kept, QStringLiteral("no settings loaded")};
    if (SameText(currentOwner.SkypeHandle(), userHandle)) return result;

    const TXMLOwnerTypeList owners = settingsRoot.Owner();
    if (const auto existing = owners.Item(owners.IndexOfOwner(userHandle))) {
        currentOwner = *existing;
        result.change = TOwnerChange::Switched;
    } else {
        currentOwner = owners.Add();
        result.change = TOwnerChange::Created;
        bool written =
            currentOwner.SetSkypeHandle(userHandle) && settingsRoot.SetLastOwnerSkypeUsername(userHandle);
        for (const char *tab :
             {"ElTabPresence", "ElTabAutoresponder", "ElTabCallForwarding", "ElTabOrviCommunity"}) {
            const TXMLOrviTabType record = currentOwner.OrviTabs().Add();
            written = record.SetVisible(true) && record.SetTabName(QLatin1String(tab)) && written;
        }
        if (!written) result.error = QStringLiteral("the user name cannot be stored: %1").arg(userHandle);
    }
    contactCache.Clear();
    workingDocument.CallStack().Clear();
    workingDocument.IMStack().Clear();
    return result;
}
