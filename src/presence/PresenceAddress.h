#pragma once
// The presence update request: the address that carries a user's web status code and token.

#include <QByteArray>
#include <QString>

// MD5 of the salt immediately followed by the user name (UTF-8), as 32 lower-case hex digits.
// The status code is not part of it, so a user's token never changes.
QByteArray PresenceToken(const QString &user, const QByteArray &salt);

// baseUrl + "/updatepresence.php?username=<user>&status=<code>&uniqid=<token>". The user name is
// percent-encoded so that a name with "&", "=", "#" or a blank cannot change the query; the token is
// computed on the name itself.
QByteArray PresenceUpdateAddress(const QString &baseUrl, const QString &user, int code,
                                 const QByteArray &salt);
