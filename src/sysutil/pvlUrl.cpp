#include "sysutil/pvlUrl.h"

#include "shell/Prompts.h"

#include <QProcess>

namespace {
bool TakesAddress(QChar code) {
    return QStringLiteral("uUfF").contains(code);
}

// One argument with its field codes expanded; nothing when it held only field codes that are dropped.
std::optional<QString> ExpandArgument(const QString &argument, const QString &url, bool &placed) {
    QString expanded;
    bool keep = false;
    for (qsizetype i = 0; i < argument.size(); ++i) {
        if (argument[i] != QLatin1Char('%') || i + 1 == argument.size()) {
            expanded += argument[i];
            keep = true;
            continue;
        }
        const QChar code = argument[++i];
        if (code == QLatin1Char('%')) {
            expanded += code;
            keep = true;
        } else if (TakesAddress(code) && !placed) {
            expanded += url;
            placed = keep = true;
        }
    }
    return keep ? std::optional<QString>(expanded) : std::nullopt;
}
} // namespace

QStringList BrowserArguments(const QStringList &command, const QString &url) {
    QStringList arguments;
    bool placed = false;
    for (const QString &argument : command)
        if (std::optional<QString> expanded = ExpandArgument(argument, url, placed))
            arguments.append(*expanded);
    if (!placed) arguments.append(url);
    return arguments;
}

TpvlUrl::TpvlUrl(const TDefaultBrowserSource &source, TPrompts &prompts) : source(source), prompts(prompts) {}

TpvlUrl::TLaunchResult TpvlUrl::LaunchDefaultBrowser() {
    const std::optional<QStringList> command = source.BrowserCommand();
    if (!command || command->isEmpty()) return TLaunchResult::NoBrowser;
    QStringList arguments = BrowserArguments(*command, Url);
    const QString program = arguments.takeFirst();
    if (QProcess::startDetached(program, arguments)) return TLaunchResult::Launched;
    prompts.Inform(QStringLiteral("Orvi"), QStringLiteral("Couldn't launch default browser"),
                   TPrompts::TIcon::Error);
    return TLaunchResult::Failed;
}
