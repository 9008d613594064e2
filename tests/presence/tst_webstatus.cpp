#include "presence/WebStatus.h"

#include <QtTest>

using WebStatus::TLook;

class TstWebStatus : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void statusTables_data() {
        QTest::addColumn<QByteArray>("word");
        QTest::addColumn<int>("fromSkype");
        QTest::addColumn<int>("fromWord");
        QTest::newRow("UNKNOWN") << QByteArray("UNKNOWN") << 0 << 0;
        QTest::newRow("ONLINE") << QByteArray("ONLINE") << 1 << 1;
        QTest::newRow("OFFLINE") << QByteArray("OFFLINE") << 2 << 2;
        QTest::newRow("AWAY") << QByteArray("AWAY") << 3 << 3;
        QTest::newRow("NA") << QByteArray("NA") << 4 << 4;
        QTest::newRow("DND") << QByteArray("DND") << 5 << 5;
        QTest::newRow("INVISIBLE published as offline") << QByteArray("INVISIBLE") << 2 << 2;
        QTest::newRow("LOGGEDOUT") << QByteArray("LOGGEDOUT") << 7 << 7;
        QTest::newRow("SKYPEME") << QByteArray("SKYPEME") << 9 << 9;
        QTest::newRow("ONCALL only as a web status") << QByteArray("ONCALL") << 2 << 10;
        QTest::newRow("case matters") << QByteArray("online") << 2 << 2;
        QTest::newRow("empty") << QByteArray() << 2 << 2;
        QTest::newRow("other") << QByteArray("BUSY") << 2 << 2;
    }
    void statusTables() {
        QFETCH(QByteArray, word);
        QFETCH(int, fromSkype);
        QFETCH(int, fromWord);
        QCOMPARE(WebStatus::FromSkypeStatusWord(word), fromSkype);
        QCOMPARE(WebStatus::FromWord(word), fromWord);
    }

    void codeToWord_data() {
        QTest::addColumn<int>("code");
        QTest::addColumn<QByteArray>("word");
        const char *words[] = {"UNKNOWN", "ONLINE", "OFFLINE", "AWAY", "NA", "DND", "INVISIBLE", "LOGGEDOUT"};
        for (int code = 0; code < 8; ++code)
            QTest::addRow("%d", code) << code << QByteArray(words[code]);
        QTest::newRow("8 has no word") << 8 << QByteArray();
        QTest::newRow("9") << 9 << QByteArray("SKYPEME");
        QTest::newRow("10") << 10 << QByteArray("ONCALL");
        QTest::newRow("11") << 11 << QByteArray();
        QTest::newRow("-1") << -1 << QByteArray();
    }
    void codeToWord() {
        QFETCH(int, code);
        QFETCH(QByteArray, word);
        QCOMPARE(WebStatus::ToWord(code), word);
    }

    void fromSkypeStatusMember_data() {
        QTest::addColumn<int>("member");
        QTest::addColumn<int>("code");
        QTest::newRow("usOnline") << int(usOnline) << 1;
        QTest::newRow("usInvisible") << int(usInvisible) << 2;
        QTest::newRow("usLoggedOut") << int(usLoggedOut) << 7;
        QTest::newRow("usSkypeMe") << int(usSkypeMe) << 9;
        QTest::newRow("usUnknown") << int(usUnknown) << 0;
        QTest::newRow("outside the enumeration") << 42 << 2;
    }
    void fromSkypeStatusMember() {
        QFETCH(int, member);
        QFETCH(int, code);
        QCOMPARE(WebStatus::FromSkypeStatus(TSkypeUserStatus(member)), code);
    }

    void looks_data() {
        QTest::addColumn<QByteArray>("word");
        QTest::addColumn<QString>("buttonText");
        QTest::addColumn<int>("buttonImage");
        QTest::addColumn<QString>("shownText");
        QTest::addColumn<int>("shownImage");
        QTest::newRow("ONLINE") << QByteArray("ONLINE") << "Online" << 6 << "Online" << 6;
        QTest::newRow("OFFLINE") << QByteArray("OFFLINE") << "Offline" << 5 << "Offline" << 5;
        QTest::newRow("NA") << QByteArray("NA") << "NA" << 4 << "NA" << 4;
        QTest::newRow("DND") << QByteArray("DND") << "DND" << 1 << "DND" << 1;
        QTest::newRow("SKYPEME") << QByteArray("SKYPEME") << "Skype Me" << 0 << "Skype Me" << 0;
        QTest::newRow("ONCALL") << QByteArray("ONCALL") << "On a Call" << 3 << "On a Call" << 3;
        QTest::newRow("INVISIBLE shows offline")
            << QByteArray("INVISIBLE") << "Online" << 6 << "Offline" << 5;
        QTest::newRow("UNKNOWN") << QByteArray("UNKNOWN") << "Online" << 6 << "Online" << 6;
        QTest::newRow("LOGGEDOUT") << QByteArray("LOGGEDOUT") << "Online" << 6 << "Online" << 6;
        QTest::newRow("empty") << QByteArray() << "Online" << 6 << "Online" << 6;
        QTest::newRow("lower case is no word") << QByteArray("away") << "Online" << 6 << "Online" << 6;
    }
    void looks() {
        QFETCH(QByteArray, word);
        QFETCH(QString, buttonText);
        QFETCH(int, buttonImage);
        QFETCH(QString, shownText);
        QFETCH(int, shownImage);
        QCOMPARE(WebStatus::ButtonLook(word), (TLook{buttonText, buttonImage}));
        QCOMPARE(WebStatus::PublishedLook(word), (TLook{shownText, shownImage}));
    }

    // Each menu item stores a word whose code is published and whose button shows the item's own image.
    void menuItemsInOrder() {
        QStringList names;
        for (const WebStatus::TMenuItem &item : WebStatus::MenuItems()) {
            names << QString::fromLatin1(item.name);
            QCOMPARE(WebStatus::ButtonLook(item.word).imageIndex, item.imageIndex);
            QCOMPARE(WebStatus::ToWord(WebStatus::FromWord(item.word)), QByteArray(item.word));
        }
        QCOMPARE(names, QStringList({"TBmnuOnline", "TBmnuOffline", "TBmnuSkypeMe", "TBmnuAway", "TBmnuNA",
                                     "TBmnuDND", "TBmnuOnCall"}));
        QCOMPARE(QByteArray(WebStatus::MenuItems().at(4).caption), QByteArray("Not Available"));
    }
};

QTEST_GUILESS_MAIN(TstWebStatus)
#include "tst_webstatus.moc"
