// The main window, its pages, the container and the tray menu are built with every control named and
// captioned, and the window is usable at its design size.

#include "autorespond/AutoResponderPage.h"
#include "browser/BrowserPage.h"
#include "calls/CallForwardingPage.h"
#include "presence/WebPresencePage.h"
#include "shell/ContainerFrm.h"
#include "shell/Icons.h"
#include "shell/Mainfrm.h"
#include "shell/PageKit.h"
#include "shell/TrayIcon.h"

#include "MainFormFixture.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

namespace {

QString CaptionOf(QObject *object, QTabWidget *tabs) {
    if (auto *widget = qobject_cast<QWidget *>(object); widget && tabs->indexOf(widget) >= 0)
        return tabs->tabText(tabs->indexOf(widget));
    if (auto *action = qobject_cast<QAction *>(object)) return action->text();
    if (auto *menu = qobject_cast<QMenu *>(object)) return menu->title();
    if (auto *link = qobject_cast<TLinkLabel *>(object)) return link->Caption();
    if (auto *imageLabel = qobject_cast<TImageLabel *>(object)) return imageLabel->Text();
    if (auto *button = qobject_cast<QAbstractButton *>(object)) return button->text();
    if (auto *group = qobject_cast<QGroupBox *>(object)) return group->title();
    if (auto *label = qobject_cast<QLabel *>(object)) return label->text();
    if (auto *edit = qobject_cast<QLineEdit *>(object)) return edit->text();
    return QStringLiteral("<no caption>");
}

// Shows one page of the window, whatever its tab's visibility, and lets the layouts settle.
void ShowPage(TMainForm &form, QWidget *page) {
    const int index = form.ElPageControl1->indexOf(page);
    form.ElPageControl1->setTabVisible(index, true);
    form.ElPageControl1->setCurrentIndex(index);
    QCoreApplication::processEvents();
}

QList<QWidget *> PagesOf(TMainForm &form) {
    return {form.ElTabPresence, form.ElTabOrviCommunity, form.ElTabAutoresponder, form.ElTabCallForwarding};
}

} // namespace

class TestMainFormLayout : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void componentIsNamedAndCaptioned_data();
    void componentIsNamedAndCaptioned();
    void menuChecksAndHiddenItems();
    void pagesInOrderAndOnlyPresenceShownAtStart();
    void windowSizeAndLimits();
    void controlsFitAtDesignSize();
    void toolbarItemsAllShownAtDesignSize();
    void messagePickerNamesItselfBeforeChoice();
    void addressBoxAcceptsOnEnterAndListChoiceOnly();
    void statusImagesFollowTheirIndexes();
    void trayMenuItems();
    void containerEmbedsOneMainForm();
};

void TestMainFormLayout::componentIsNamedAndCaptioned_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption"); // null: the control has no fixed caption
    const auto row = [](const char *name, const QString &caption = QString()) {
        QTest::newRow(name) << QString::fromLatin1(name) << caption;
    };
    // Menu bar
    row("TBMnuGetSkypeOUTCredits", "Get SkypeOut Credits");
    row("TBMnuMaintenance", "Maintenance");
    row("TBMnuReconnectSkype", "Reconnect to Skype");
    row("TBMnuMuteSpeakers", "Mute Speakers");
    row("TBMnuUnMuteSpeakers", "Un-Mute Speakers");
    row("TBMnuMuteMic", "Mute Mic");
    row("TBMnuUnMuteMic", "Un-Mute Mic");
    row("TBMnuLaunchOnStartUp", "Launch on Startup");
    row("TBMnuExit", "E&xit");
    row("mnuTabWebPresence", "Show Web Presence Tab");
    row("mnuTabAutoResponder", "Show Auto Responder Tab");
    row("mnuTabCallForwarding", "Show Call Forwarding Tab");
    row("mnuTabOrviCommunity", "Show Browser Sync Tab");
    row("TBMnuResetHelpScreens", "Reset Help Screens");
    row("TBCheckForUpdate", "Check for Updates");
    row("TBMnuGoToOrvi", "Go to Orvi Website");
    row("TBMnuSupForum", "Orvi Support Forum");
    row("TBMnuFAQ", "FAQ");
    row("TBMnuReportBug", "Report a Bug");
    row("TBMnuAbout", "&About...");
    // Pages
    row("ElTabPresence", "Web Presence");
    row("ElTabOrviCommunity", "Browser Sync");
    row("ElTabAutoresponder", "Auto Responder");
    row("ElTabCallForwarding", "Call Forwarding");
    // Bottom toolbar and status bar
    row("TBXItem1", "Orvi Community");
    row("TBXItem2", "Skype Community");
    row("tbxTellaFriend", "Tell a Friend");
    // A new owner without a Skype name is put in basic mode when the window applies its settings.
    row("btnAdvancedMode", "Advanced OFF ");
    row("TBXStatusBar");
    // Web Presence page
    row("ElLabel4", "You are currently being shown on the web as:");
    row("grpCurrentStatusBox");
    row("JvLblShowCurrentPresence", "Offline");
    row("ElRdoEnablePresence", "Enable Presence");
    row("ElRdoDisablePresence", "Disable Presence");
    row("ElRdoUseSkypePresence", "Use my Skype Status");
    row("ElRdoUseSeperatePresence", "Use Separate Status for the Web");
    row("ElLabel3", " Choose a Status for the web: ");
    // The refresh at creation puts the stored status on the button ("Online" while none is stored).
    row("TBbtnWebStatus", "Online");
    row("TBmnuOnline", "Online");
    row("TBmnuOffline", "Offline");
    row("TBmnuSkypeMe", "Skype Me");
    row("TBmnuAway", "Away");
    row("TBmnuNA", "Not Available");
    row("TBmnuDND", "Do Not Disturb");
    row("TBmnuOnCall", "On a Call");
    row("ElURLLabel1", "Get your Web Presence button here");
    // Auto Responder page
    row("chkAutoResponderON", "Turn on Auto Responder  ");
    row("chkARIM_NOTonCall", "Auto Respond to Instant Messages");
    row("chkARCall_NOTonCall", "Auto Respond to Calls");
    row("chkARIM_onCall", "Auto Respond to Instant Messages");
    row("chkARCall_onCall", "Auto Respond to Calls");
    row("chkARIM_NotOnContacts", "Auto Respond to their Instant Message");
    row("chkARCall_NotOnContacts", "Auto Respond to their Call");
    for (const char *rule : {"ARIM_NOTonCall", "ARCall_NOTonCall", "ARIM_onCall", "ARCall_onCall",
                             "ARIM_NotOnContacts", "ARCall_NotOnContacts"}) {
        const QString pop = QStringLiteral("Pop") + QLatin1String(rule);
        const QString lbl = QStringLiteral("lbl") + QLatin1String(rule);
        QTest::newRow(qPrintable(pop)) << pop << QStringLiteral("Select Message");
        // The rule labels show the owner's response messages (tested with the window refresh).
        QTest::newRow(qPrintable(lbl)) << lbl << QString();
    }
    row("grpWhenAway", " When I am away: ");
    row("grpWhenOnCall", " When I am on a call:  ");
    row("grpNotOnContacts", "For somebody that is not on my contact list: ");
    row("grpEditMessages", " Edit your Master list of Auto-Response Messages ");
    row("PopARMsgs", "Select Message");
    row("lblMessage", "Message: ");
    row("lblCurrentSelectedARMsg");
    row("btnEditARMsg", "Edit");
    row("btnAddARMsg", "Add");
    row("btnDeleteARMsg", "Delete");
    row("elResetMessages", "Reset Messages");
    row("ElPopMnuAutoResponder");
    // Call Forwarding page
    row("chkrdoForwardCalls", "Forward my Skype and SkypeIN Calls:");
    row("ElRdoEnableFwrdPSTN", "Forward to my regular phone (+15554442222):");
    row("ElRdoEnableFwrdSkype", "Forward to this Skype username:");
    row("elEdtFrwdPSTN", "");
    row("elEdtFrwdSkypeUsername", "");
    row("btnChangePSTN", "Change");
    row("btnChangeSkypeUsername", "Change");
    row("spnFrwRingsPSTN");
    row("spnFrwRingsSkype");
    row("grpCallfrwList", "  Rules: ");
    row("ElRdoFwrdAllCalls", "Forward all incoming calls");
    row("ElRdoFwrdOnlycertainContacts", "Forward ONLY calls from the following contacts:");
    row("lstBoxContacts");
    row("btnAddContacts", "Add/Remove");
    row("elchkMuteSpeakers", "Mute my speakers while forwarding calls");
    row("lblSkypeOutBalance");
    row("ElURLLabel2", "Purchase SkypeOut");
    row("chkRingMyHomePhone",
        "Notify me of incoming Skype call by ringing my home phone: (does not forward call)");
    row("elEdtRingHome", "");
    row("btnChangeHomePhone", "Change");
    row("ElLabel1", "Stop after:");
    row("spnNotifyRing");
    row("ElLabel2", "rings");
    // Browser Sync page
    row("btnSyncBrowser", "Start SYNC");
    row("edtBrwsSyncUsername", "Select User");
    row("btnChangeUsername");
    row("actBack", "Back");
    row("actForward", "Forward");
    row("actStop", "Stop");
    row("actRefresh", "Refresh");
    row("actHome", "Home");
    row("actGo", "Go");
    row("TBXCmbAddress");
    row("TBXFavoritesList", "Favorites");
    row("TBXAddFavorite");
    row("TBXRemoveFavorite");
    row("BtnOrviWebTools", "Help organize the Skype community");
    row("WebBrowser");
}

void TestMainFormLayout::componentIsNamedAndCaptioned() {
    QFETCH(QString, name);
    QFETCH(QString, caption);
    TMainFormFixture fixture;
    TMainForm &form = *fixture.form;
    const QList<QObject *> found = form.findChildren<QObject *>(name);
    QCOMPARE(found.size(), 1);
    if (!caption.isNull()) QCOMPARE(CaptionOf(found.first(), form.ElPageControl1), caption);
}

void TestMainFormLayout::menuChecksAndHiddenItems() {
    TMainFormFixture fixture;
    TMainForm &form = *fixture.form;
    for (QAction *item : {form.mnuTabWebPresence, form.mnuTabAutoResponder, form.mnuTabCallForwarding,
                          form.mnuTabOrviCommunity}) {
        QVERIFY2(item->isCheckable() && item->isChecked(), qPrintable(item->objectName()));
        item->trigger();
        QVERIFY2(!item->isChecked(), qPrintable(item->objectName()));
    }
    QVERIFY(!form.mnuTabWebPresence->isVisible());
    QVERIFY(form.mnuTabAutoResponder->isVisible());
    QVERIFY(form.TBMnuLaunchOnStartUp->isCheckable());
    QVERIFY(form.btnAdvancedMode->isCheckable());
    QVERIFY(form.ElTabOrviCommunity->btnSyncBrowser->isCheckable());
    // The four mute items live in the Maintenance submenu, after "Reconnect to Skype".
    const QList<QAction *> maintenance = form.TBMnuMaintenance->actions();
    QCOMPARE(maintenance.first(), form.TBMnuReconnectSkype);
    QVERIFY(maintenance.contains(form.TBMnuUnMuteMic));
    QVERIFY(!form.mnuFile->actions().contains(form.TBMnuMuteMic));
}

void TestMainFormLayout::pagesInOrderAndOnlyPresenceShownAtStart() {
    TMainFormFixture fixture;
    TMainForm &form = *fixture.form;
    QCOMPARE(form.ElPageControl1->count(), 4);
    const QList<QWidget *> pages = PagesOf(form);
    for (int index = 0; index < pages.size(); ++index) {
        QCOMPARE(form.ElPageControl1->widget(index), pages.at(index));
        QCOMPARE(form.ElPageControl1->isTabVisible(index), index == 0);
        QVERIFY(!form.ElPageControl1->tabIcon(index).isNull());
    }
    QCOMPARE(form.ElPageControl1->currentIndex(), 0);
}

void TestMainFormLayout::windowSizeAndLimits() {
    TMainFormFixture fixture({}, {}, TMainFormFixture::TEmbedding::Standalone);
    TMainForm &form = *fixture.form;
    QCOMPARE(form.size(), QSize(491, 672));
    QCOMPARE(form.windowTitle(), QStringLiteral("Orvi"));
    QCOMPARE(form.minimumSize(), QSize(200, 200));
    QCOMPARE(form.maximumSize(), QSize(1600, 1600));
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    form.resize(100, 2000);
    QCOMPARE(form.size(), QSize(200, 1600));
}

// At 491 x 672 every caption is shown whole and no page needs scrolling.
void TestMainFormLayout::controlsFitAtDesignSize() {
    TMainFormFixture fixture({}, {}, TMainFormFixture::TEmbedding::Standalone);
    TMainForm &form = *fixture.form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    for (QWidget *page : PagesOf(form)) {
        ShowPage(form, page);
        for (auto *control : page->findChildren<QWidget *>()) {
            // Unnamed ones are Qt's own parts (toolbar buttons are checked on their own).
            if (!control->isVisibleTo(page) || control->objectName().isEmpty()) continue;
            if (!qobject_cast<QAbstractButton *>(control) && !qobject_cast<QLabel *>(control)) continue;
            const QString cutOff = page->objectName() + QLatin1Char('/') +
                                   control->metaObject()->className() + QLatin1Char(' ') +
                                   control->objectName() + QStringLiteral(" is cut off");
            if (control->hasHeightForWidth())
                QVERIFY2(control->height() >= control->heightForWidth(control->width()), qPrintable(cutOff));
            else
                QVERIFY2(control->width() >= control->sizeHint().width(), qPrintable(cutOff));
        }
        if (auto *scroll = page->findChild<QScrollArea *>()) {
            QCOMPARE(scroll->horizontalScrollBar()->maximum(), 0);
            QVERIFY2(scroll->verticalScrollBar()->maximum() == 0, qPrintable(page->objectName()));
        }
    }
}

void TestMainFormLayout::toolbarItemsAllShownAtDesignSize() {
    TMainFormFixture fixture({}, {}, TMainFormFixture::TEmbedding::Standalone);
    TMainForm &form = *fixture.form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    ShowPage(form, form.ElTabOrviCommunity);
    QList<QToolBar *> bars = form.ElTabOrviCommunity->findChildren<QToolBar *>();
    bars << form.TBToolbar1;
    for (QToolBar *bar : bars)
        for (QAction *action : bar->actions()) {
            QWidget *widget = bar->widgetForAction(action);
            if (action->isSeparator() || !widget) continue;
            QVERIFY2(widget->isVisible(), qPrintable(bar->objectName() + QLatin1Char('/') + action->text()));
            QVERIFY(bar->rect().contains(widget->geometry()));
        }
}

void TestMainFormLayout::messagePickerNamesItselfBeforeChoice() {
    TAutoResponderPage page;
    page.SetResponseMessages({QStringLiteral("first"), QStringLiteral("Tom & Jerry")});
    QStringList events;
    connect(&page, &TAutoResponderPage::MessagePickerDropped, &page,
            [&](const QString &picker) { events << QStringLiteral("drop ") + picker; });
    connect(&page, &TAutoResponderPage::ResponseMessageChosen, &page,
            [&](int index) { events << QStringLiteral("choose %1").arg(index); });
    connect(page.ElPopMnuAutoResponder, &QMenu::aboutToShow, &page,
            [&] { events << QStringLiteral("menu"); });

    page.show();
    QVERIFY(QTest::qWaitForWindowExposed(&page));
    QTest::mouseClick(page.PopARCall_onCall, Qt::LeftButton);
    const QList<QAction *> items = page.ElPopMnuAutoResponder->actions();
    QCOMPARE(items.size(), 2);
    QCOMPARE(items.at(1)->text(), QStringLiteral("Tom && Jerry"));
    items.at(1)->trigger();
    page.ElPopMnuAutoResponder->close();
    QCOMPARE(events, QStringList({"drop PopARCall_onCall", "menu", "choose 1"}));
}

void TestMainFormLayout::addressBoxAcceptsOnEnterAndListChoiceOnly() {
    TBrowserPage page;
    page.show();
    QVERIFY(QTest::qWaitForWindowExposed(&page));
    QComboBox *box = page.TBXCmbAddress;
    box->addItem(QStringLiteral("http://example.org/"));
    box->addItem(QStringLiteral("http://example.net/"));
    QSignalSpy accepted(&page, &TBrowserPage::AddressAccepted);

    // Enter on a typed address that matches a history entry, and on one that does not: once each.
    for (const char *typed : {"http://example.net/", "http://new.example/"}) {
        box->lineEdit()->setText(QLatin1String(typed));
        QTest::keyClick(box, Qt::Key_Return);
    }
    QCOMPARE(accepted.size(), 2);

    // Leaving the box with a matching text only changes the text.
    box->lineEdit()->setText(QStringLiteral("http://example.org/"));
    Q_EMIT box->lineEdit()->editingFinished();
    QCOMPARE(accepted.size(), 2);

    // Choosing an entry from the list.
    box->showPopup();
    box->view()->setCurrentIndex(box->model()->index(1, 0));
    QTest::keyClick(box->view(), Qt::Key_Return);
    QCOMPARE(accepted.size(), 3);
    QCOMPARE(box->currentText(), QStringLiteral("http://example.net/"));
}

void TestMainFormLayout::statusImagesFollowTheirIndexes() {
    for (int index : {0, 1, 3, 4, 5, 6, 7, 8, 9, 10, 11}) {
        const QIcon image = OrviIcons::StatusImage(index);
        QVERIFY2(!image.pixmap(16, 16).isNull(), qPrintable(QString::number(index)));
    }
    QVERIFY(OrviIcons::StatusImage(-1).isNull());
    QVERIFY(OrviIcons::StatusImage(6).cacheKey() != OrviIcons::StatusImage(5).cacheKey());
    for (int index : {7, 8, 21, 22, 23})
        QVERIFY2(!OrviIcons::BrowserImage(index).pixmap(16, 16).isNull(), qPrintable(QString::number(index)));
    QVERIFY(!OrviIcons::ProgramIcon().pixmap(32, 32).isNull());
}

void TestMainFormLayout::trayMenuItems() {
    TTrayIcon tray;
    const QList<QPair<QAction *, QString>> items{
        {tray.TBpopmnEnablePresence, "Enable Presence"},
        {tray.TBXChangeWebStatusmnu->menuAction(), "Change Web Status"},
        {tray.TBpopmnAutoResponse, "Auto Response"},
        {tray.TBpopmnEnableCallNotify, "Enable Call Notify"},
        {tray.TBpopmnEnableCallForwarding, "Enable Call Forwarding"},
        {tray.TBpopmnOpen, "Open"},
        {tray.TBpopmnExit, "Exit"}};
    QList<QAction *> inMenu = tray.TBPopmnuTray->actions();
    inMenu.removeIf([](QAction *action) { return action->isSeparator(); });
    QCOMPARE(inMenu.size(), items.size());
    for (int index = 0; index < items.size(); ++index) {
        QCOMPARE(inMenu.at(index), items.at(index).first);
        QCOMPARE(inMenu.at(index)->text(), items.at(index).second);
    }
    QVERIFY(tray.TBpopmnEnablePresence->isCheckable() && tray.TBpopmnEnableCallForwarding->isCheckable());
    QVERIFY(!tray.TBpopmnExit->isCheckable());
    QCOMPARE(tray.Hint(), QStringLiteral("Orvi Presence"));
    tray.SetHint(QStringLiteral("Orvi - alice"));
    QCOMPARE(tray.Hint(), QStringLiteral("Orvi - alice"));

    TWebPresencePage page;
    tray.SetWebStatusActions(page.WebStatusActions());
    tray.SetWebStatusActions(page.WebStatusActions());
    QCOMPARE(tray.TBXChangeWebStatusmnu->actions(), page.WebStatusActions());
    QCOMPARE(tray.TBXChangeWebStatusmnu->actions().size(), 7);
}

void TestMainFormLayout::containerEmbedsOneMainForm() {
    TMainFormFixture fixture;
    TContainerForm &container = *fixture.container;
    QCOMPARE(container.windowTitle(), QStringLiteral("Orvi"));
    QCOMPARE(container.minimumSize(), QSize(495, 654));
    TMainForm *form = fixture.form;
    TMainFormFixture other;
    QVERIFY(!container.EmbedMainForm(other.form));
    QCOMPARE(container.MainForm(), form);
    QCOMPARE(form->parentWidget(), &container);
    container.show();
    QVERIFY(QTest::qWaitForWindowExposed(&container));
    QVERIFY(!form->isWindow());
    QCOMPARE(form->geometry(), container.rect());
    QSignalSpy closing(&container, &TContainerForm::CloseQuery);
    QVERIFY(container.close());
    QCOMPARE(closing.size(), 1);
}

QTEST_MAIN(TestMainFormLayout)
#include "tst_mainform_layout.moc"
