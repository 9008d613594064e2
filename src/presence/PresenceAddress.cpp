#include "presence/PresenceAddress.h"

#include <QCryptographicHash>
#include <QUrl>

QByteArray PresenceToken(const QString &user, const QByteArray &salt) {
    return QCryptographicHash::hash(salt + user.toUtf8(), QCryptographicHash::Md5).toHex();
}

QByteArray PresenceUpdateAddress(const QString &baseUrl, const QString &user, int code,
                                 const QByteArray &salt) {
    return baseUrl.toUtf8() + "/updatepresence.php?username=" + QUrl::toPercentEncoding(user) +
           "&status=" + QByteArray::number(code) + "&uniqid=" + PresenceToken(user, salt);
}
