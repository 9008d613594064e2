#pragma once
// Opens an address in the user's default web browser. The platform finds the browser's command behind
// TDefaultBrowserSource; putting the address in and starting the program is done here.

#include <QString>
#include <QStringList>

#include <optional>

class TPrompts;

class TDefaultBrowserSource {
public:
    virtual ~TDefaultBrowserSource() = default;
    // Program and arguments that open a web page, with the place of the address still marked by a
    // field code (%u, %U, %f or %F); nothing when no browser is registered.
    virtual std::optional<QStringList> BrowserCommand() const = 0;
};

// The command with the address, as one argument, in the place of the first field code (after the last
// argument when there is none); "%%" becomes "%" and the other field codes go.
QStringList BrowserArguments(const QStringList &command, const QString &url);

class TpvlUrl {
public:
    enum class TLaunchResult { Launched, NoBrowser, Failed };

    TpvlUrl(const TDefaultBrowserSource &source, TPrompts &prompts);

    // Address to open.
    QString Url;

    // Starts the default browser on Url, without a shell. No registered browser: nothing happens. A
    // browser that cannot be started: "Couldn't launch default browser" is shown.
    TLaunchResult LaunchDefaultBrowser();

private:
    const TDefaultBrowserSource &source;
    TPrompts &prompts;
};
