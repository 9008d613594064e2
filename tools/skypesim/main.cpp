// skypesim: a simulated Skype client on the D-Bus session bus.
// Usage: skypesim [scenario.json]

#include "Control.h"
#include "SkypeApi.h"
#include "World.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDBusConnection>

#include <cstdio>

namespace {
int Fail(const QString &message) {
    std::fprintf(stderr, "skypesim: %s\n", qPrintable(message));
    return 1;
}
} // namespace

int main(int argc, char *argv[]) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("skypesim"));
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("A simulated Skype client on the D-Bus session bus."));
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("scenario"),
                                 QStringLiteral("JSON file with the world to start from."));
    parser.process(app);

    TSimWorld world = TSimWorld::Default();
    if (!parser.positionalArguments().isEmpty()) {
        QString error;
        std::optional<TSimWorld> loaded = TSimWorld::Load(parser.positionalArguments().constFirst(), &error);
        if (!loaded) return Fail(error);
        world = std::move(*loaded);
    }

    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) return Fail(QStringLiteral("no session bus: %1").arg(bus.lastError().message()));
    TSimSkypeApi api(world, bus);
    TSimControl control(world, api);
    if (!bus.registerObject(QStringLiteral("/com/Skype"), &api, QDBusConnection::ExportAllSlots) ||
        !bus.registerObject(QStringLiteral("/org/orvi/SkypeSim"), &control, QDBusConnection::ExportAllSlots))
        return Fail(QStringLiteral("cannot export the objects"));
    // Last, so that whoever sees the name appear finds the objects in place.
    if (!bus.registerService(TSimSkypeApi::Service))
        return Fail(QStringLiteral("com.Skype.API is taken: is another Skype running on this bus?"));
    std::fprintf(stderr, "skypesim: %s is online as %s\n", qPrintable(world.Handle()),
                 qPrintable(bus.baseService()));
    return app.exec();
}
