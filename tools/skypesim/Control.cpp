#include "Control.h"

#include <QCoreApplication>
#include <QTimer>

TSimControl::TSimControl(TSimWorld &world, TSimSkypeApi &api, QObject *parent)
    : QObject(parent), World(world), Api(api) {}

bool TSimControl::Check(const QString &error) {
    if (!error.isEmpty()) sendErrorReply(QStringLiteral("org.orvi.SkypeSim.Error"), error);
    return error.isEmpty();
}

void TSimControl::SetUserStatus(const QString &status) {
    if (Check(World.LoggedIn ? Api.Commands().SetUserStatus(status) : QStringLiteral("nobody is logged in")))
        Api.Notify("USERSTATUS " + status);
}

void TSimControl::SetConnStatus(const QString &status) {
    static const QStringList words = {"OFFLINE", "CONNECTING", "PAUSING", "ONLINE", "LOGGEDOUT"};
    if (Check(words.contains(status) ? QString()
                                     : QStringLiteral("unknown connection status %1").arg(status)))
        Api.Commands().SetConnStatus(status);
}

void TSimControl::LogOut() {
    Api.LogOut();
}

void TSimControl::LogIn() {
    Check(Api.LogIn() ? QString() : QStringLiteral("could not take com.Skype.API again"));
}

int TSimControl::ContactWrites(const QString &handle, const QString &text) {
    const TSimResult result = Api.Commands().ContactWrites(handle, text);
    Check(result.Error);
    return result.Id;
}

int TSimControl::Ring(const QString &handle) {
    const TSimResult result = Api.Commands().Ring(handle);
    Check(result.Error);
    return result.Id;
}

void TSimControl::AnswerCall(int id) {
    Check(Api.Commands().AnswerCall(id));
}

void TSimControl::EndCall(int id) {
    Check(Api.Commands().EndCall(id));
}

void TSimControl::SetContactProperty(const QString &handle, const QString &property, const QString &value) {
    Check(Api.Commands().SetContactProperty(handle, property, value));
}

void TSimControl::SetAuthorization(const QString &policy) {
    if (Check(QStringList{"allow", "refuse", "ask"}.contains(policy)
                  ? QString()
                  : QStringLiteral("the policy is allow, refuse or ask, not %1").arg(policy)))
        World.Authorization = policy;
}

int TSimControl::ReleaseAuthorization() {
    return Api.ReleaseAuthorization();
}

void TSimControl::Quit() {
    // After this call's own answer has gone out.
    QTimer::singleShot(0, qApp, &QCoreApplication::quit);
}

QStringList TSimControl::Commands() {
    return Api.Received();
}

void TSimControl::ClearCommands() {
    Api.ClearReceived();
}
