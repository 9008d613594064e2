// Helper of tst_settingssave_crash: saves settings in a child process that the test kills or starves.
//   settings_save_writer loop <path>             saves version 1, 2, 3 ... until killed
//   settings_save_writer limited <folder> <bytes> one SaveSettings under a file size limit
// Every version is a consistent whole: LastOwnerSkypeUsername "v<k>" and Favorites "v<k>-<i>".

#include "settings/SettingsStore.h"

#include <QTextStream>

#include <csignal>
#include <cstdio>
#include <sys/resource.h>

namespace {
constexpr int Favorites = 2000;

void FillVersion(const TXMLSettingsType &root, int version) {
    const QString name = QStringLiteral("v%1").arg(version);
    root.SetLastOwnerSkypeUsername(name);
    const TXMLFavoritesListType favorites = root.Owner().Item(0)->FavoritesList();
    while (favorites.Count() < Favorites)
        favorites.Add(QString());
    for (int i = 0; i < Favorites; ++i)
        favorites.SetItem(i, QStringLiteral("%1-%2").arg(name).arg(i));
}

int Loop(const QString &path) {
    const TXMLSettingsType root = NewSettings();
    root.Owner().Add().SetSkypeHandle(QStringLiteral("writer"));
    for (int version = 1;; ++version) {
        FillVersion(root, version);
        if (!SaveSettingsFile(root, path).isEmpty()) return 2;
    }
}

int Limited(const QString &folder, rlim_t bytes) {
    std::signal(SIGXFSZ, SIG_IGN); // a write beyond the limit then fails with EFBIG, like a full disk
    const rlimit limit{bytes, bytes};
    if (setrlimit(RLIMIT_FSIZE, &limit) != 0) return 3;
    TSettingsStore store(
        {folder + QStringLiteral("/home/Settings.xml"), folder + QStringLiteral("/cwd/Settings.xml")});
    store.Load();
    FillVersion(store.SettingsRoot(), 2);
    const QString error = store.SaveSettings();
    QTextStream(stdout) << error << Qt::endl;
    return error.isEmpty() ? 1 : 0;
}
} // namespace

int main(int argc, char **argv) {
    const QString mode = argc > 2 ? QString::fromLocal8Bit(argv[1]) : QString();
    if (mode == QLatin1String("loop")) return Loop(QString::fromLocal8Bit(argv[2]));
    if (mode == QLatin1String("limited") && argc > 3)
        return Limited(QString::fromLocal8Bit(argv[2]), rlim_t(std::atoll(argv[3])));
    std::fputs("usage: settings_save_writer loop <path> | limited <folder> <bytes>\n", stderr);
    return 64;
}
