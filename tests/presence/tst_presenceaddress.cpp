#include "presence/PresenceAddress.h"
#include "presence/SiteDefaults.h"

#include <QUrl>
#include <QUrlQuery>
#include <QtTest>

class TstPresenceAddress : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // With an empty salt the token is plain MD5 of the name: the RFC 1321 test suite.
    void tokenIsMd5OfSaltThenName_data() {
        QTest::addColumn<QByteArray>("salt");
        QTest::addColumn<QString>("user");
        QTest::addColumn<QByteArray>("token");
        QTest::newRow("rfc empty") << QByteArray() << QString()
                                   << QByteArray("d41d8cd98f00b204e9800998ecf8427e");
        QTest::newRow("rfc a") << QByteArray() << "a" << QByteArray("0cc175b9c0f1b6a831c399e269772661");
        QTest::newRow("rfc abc") << QByteArray() << "abc" << QByteArray("900150983cd24fb0d6963f7d28e17f72");
        QTest::newRow("rfc message digest")
            << QByteArray() << "message digest" << QByteArray("f96b697d7cb7938d525a2f31aaf161d0");
        QTest::newRow("rfc alphabet")
            << QByteArray() << "abcdefghijklmnopqrstuvwxyz" << QByteArray("c3fcd3d76192e4007dfb496cca67e13b");
        QTest::newRow("rfc alphanumeric")
            << QByteArray() << "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789"
            << QByteArray("d174ab98d277d9f5a5611c2c9f419d9f");
        QTest::newRow("rfc digits")
            << QByteArray()
            << "12345678901234567890123456789012345678901234567890123456789012345678901234567890"
            << QByteArray("57edf4a22be3c955ac49da2e2107b67a");
        // Salt and name are joined with nothing between them.
        QTest::newRow("salt then name")
            << QByteArray("ab") << "c" << QByteArray("900150983cd24fb0d6963f7d28e17f72");
        QTest::newRow("known user") << QByteArray(SiteDefaults::PresenceSalt) << "alice"
                                    << QByteArray("b09f9bc01a5ee119c97820f54ee7b3b8");
        QTest::newRow("name as UTF-8")
            << QByteArray(SiteDefaults::PresenceSalt) << QStringLiteral("José O'Brien")
            << QByteArray("dbe8e5c64fd270f4c97d34a3403075e4");
    }
    void tokenIsMd5OfSaltThenName() {
        QFETCH(QByteArray, salt);
        QFETCH(QString, user);
        QFETCH(QByteArray, token);
        QCOMPARE(PresenceToken(user, salt), token);
    }

    void addressOfPlainName() {
        const QByteArray salt = SiteDefaults::PresenceSalt;
        QCOMPARE(
            PresenceUpdateAddress(QStringLiteral("http://127.0.0.1:8462"), QStringLiteral("alice"), 1, salt),
            QByteArray("http://127.0.0.1:8462/updatepresence.php?username=alice&status=1"
                       "&uniqid=b09f9bc01a5ee119c97820f54ee7b3b8"));
        // The code does not enter the token; 10 is two digits.
        QCOMPARE(PresenceUpdateAddress(QStringLiteral("http://h"), QStringLiteral("alice"), 10, salt),
                 QByteArray("http://h/updatepresence.php?username=alice&status=10"
                            "&uniqid=b09f9bc01a5ee119c97820f54ee7b3b8"));
    }

    // A name with query syntax in it is encoded, reads back whole, and keeps the token of the raw name.
    void addressEncodesNameButTokenUsesItRaw() {
        const QString name = QStringLiteral("a b&status=5#x+é");
        const QByteArray address = PresenceUpdateAddress(QStringLiteral("http://h"), name, 3, "salt");
        QCOMPARE(address,
                 "http://h/updatepresence.php?username=a%20b%26status%3D5%23x%2B%C3%A9&status=3&uniqid=" +
                     PresenceToken(name, "salt"));
        const QUrlQuery query(QUrl::fromEncoded(address));
        QCOMPARE(query.queryItemValue(QStringLiteral("username"), QUrl::FullyDecoded), name);
        QCOMPARE(query.allQueryItemValues(QStringLiteral("status")), QStringList{QStringLiteral("3")});
    }

    void baseUrlFromEnvironment() {
        qputenv("ORVI_PRESENCE_URL", " http://127.0.0.1:9/ ");
        QCOMPARE(SiteDefaults::PresenceServerUrl(), QStringLiteral("http://127.0.0.1:9"));
        qunsetenv("ORVI_PRESENCE_URL");
        QCOMPARE(SiteDefaults::PresenceServerUrl(), QString::fromLatin1(SiteDefaults::PresenceUrl));
    }
};

QTEST_GUILESS_MAIN(TstPresenceAddress)
#include "tst_presenceaddress.moc"
