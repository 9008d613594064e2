#include "shell/Icons.h"

#include <array>
#include <utility>

// The resource file is compiled into the static library; nothing else refers to it, so the linker
// would drop it unless it is registered explicitly.
static void RegisterIconResources() {
    static const bool registered = [] {
        Q_INIT_RESOURCE(icons);
        return true;
    }();
    (void)registered;
}

namespace {

template <std::size_t N> QIcon ByIndex(const std::array<std::pair<int, const char *>, N> &table, int index) {
    for (const auto &[number, name] : table)
        if (number == index) return OrviIcons::Named(QLatin1String(name));
    return {};
}

constexpr std::array<std::pair<int, const char *>, 11> StatusImages{{
    {0, "skypeme"},
    {1, "dnd"},
    {3, "oncall"},
    {4, "na"},
    {5, "offline"},
    {6, "online"},
    {7, "away"},
    {8, "pending"},
    {9, "page_callforwarding"},
    {10, "unknown"},
    {11, "page_browsersync"},
}};

constexpr std::array<std::pair<int, const char *>, 5> BrowserImages{{
    {7, "connected"},
    {8, "notconnected"},
    {21, "syncon"},
    {22, "syncoff"},
    {23, "syncinviting"},
}};

} // namespace

namespace OrviIcons {

QIcon Named(const QString &name) {
    RegisterIconResources();
    return QIcon(QStringLiteral(":/icons/%1.svg").arg(name));
}

QIcon StatusImage(int index) {
    return ByIndex(StatusImages, index);
}

QIcon BrowserImage(int index) {
    return ByIndex(BrowserImages, index);
}

QIcon ProgramIcon() {
    return Named(QStringLiteral("orvi"));
}

} // namespace OrviIcons
