#pragma once
// The control interface of the simulated Skype client (org.orvi.SkypeSim at /org/orvi/SkypeSim):
// what the other people and the user at the Skype window do, for tests and demos.

#include "SkypeApi.h"

#include <QDBusContext>
#include <QObject>

class TSimControl : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.orvi.SkypeSim")
public:
    TSimControl(TSimWorld &world, TSimSkypeApi &api, QObject *parent = nullptr);

public Q_SLOTS:
    void SetUserStatus(const QString &status);
    void SetConnStatus(const QString &status);
    void LogOut();
    void LogIn();
    int ContactWrites(const QString &handle, const QString &text);
    int Ring(const QString &handle);
    void AnswerCall(int id);
    void EndCall(int id);
    void SetContactProperty(const QString &handle, const QString &property, const QString &value);
    void SetAuthorization(const QString &policy);
    int ReleaseAuthorization();
    void Quit();
    QStringList Commands();
    void ClearCommands();

private:
    // Turns a refusal of the world into a D-Bus error for the caller; true when there was none.
    bool Check(const QString &error);

    TSimWorld &World;
    TSimSkypeApi &Api;
};
