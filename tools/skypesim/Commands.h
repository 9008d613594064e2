#pragma once
// What the simulated Skype client does with one command of an attached client, and the things the
// other people do (ring, write, answer, hang up). Replies are returned; everything else Skype says
// goes out through the notify function.

#include "World.h"

#include <QObject>

#include <functional>

// A world event's outcome: the new object's id, or why it could not happen.
struct TSimResult {
    int Id = 0;
    QString Error;
};

class TSimCommands : public QObject {
    Q_OBJECT
public:
    using TNotify = std::function<void(const QString &text)>;

    // Steps of a call the client places, before its per-target outcome.
    static constexpr int RoutingAfterMs = 100;
    static constexpr int RingingAfterMs = 300;
    static constexpr int SentAfterMs = 50;

    TSimCommands(TSimWorld &world, TNotify notify, QObject *parent = nullptr);

    QString Handle(const QString &command);

    TSimResult Ring(const QString &handle);
    TSimResult ContactWrites(const QString &handle, const QString &text);
    QString AnswerCall(int id);
    QString EndCall(int id);
    QString SetContactProperty(const QString &handle, const QString &property, const QString &value);
    QString SetUserStatus(const QString &status);
    void SetConnStatus(const QString &status);

private:
    QString Get(QString rest);
    QString GetUser(QString rest);
    QString GetCall(QString rest);
    QString GetChatMessage(QString rest);
    QString Set(QString rest);
    QString SetCall(QString rest);
    QString Search(QString rest);
    QString PlaceCall(const QString &target);
    QString SendMessage(QString rest);
    QString CreateChat(const QString &members);
    QString AlterChat(QString rest);
    QString Open(const QString &command, QString rest);

    int NewChatMessage(const QString &chat, const QString &from, const QString &body, const QString &status);
    QString ChatMessageWord() const;
    QString CallStatusText(int id) const;
    // Moves a call on to status, and tells the client, if it is still in one of the states in from.
    void Advance(int id, const QStringList &from, const QString &status);
    void AdvanceLater(int id, int afterMs, const QStringList &from, const QString &status);

    TSimWorld &World;
    TNotify Notify;
};
