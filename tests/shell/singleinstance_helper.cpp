// A second copy of the program in miniature: "send <params...>" hands the parameters to the running
// copy; "hold" becomes the running copy and stays until it is killed.

#include "shell/AppPaths.h"
#include "shell/SingleInstance.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    const QString mode = args.isEmpty() ? QString() : args.takeFirst();
    TSingleInstance instance(AppPaths::SettingsFolder());
    switch (instance.Claim()) {
    case TSingleInstance::TRole::Primary:
        if (mode != QLatin1String("hold")) return 3;
        std::puts("primary");
        std::fflush(stdout);
        return app.exec();
    case TSingleInstance::TRole::Secondary:
        return instance.SendToPrimary(args, 5000) ? 0 : 2;
    case TSingleInstance::TRole::Failed:
        break;
    }
    return 4;
}
