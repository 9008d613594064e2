#pragma once
// The main window: the menu bar, the four pages, the bottom toolbar and the status bar. The controls
// carry their component names (as members and as objectName) so that handlers can be connected to
// them and tests can find them.

#include <QMainWindow>

#include <array>

class QAction;
class QMenu;
class QMenuBar;
class QStatusBar;
class QTabWidget;
class QToolBar;
class TAutoResponderPage;
class TBrowserPage;
class TCallForwardingPage;
class TImageLabel;
class TWebPresencePage;

class TMainForm : public QMainWindow {
    Q_OBJECT
public:
    explicit TMainForm(QWidget *parent = nullptr);

    // Menu bar.
    QMenuBar *tbMenu = nullptr;
    QMenu *mnuFile = nullptr;
    QAction *TBMnuGetSkypeOUTCredits = nullptr;
    QMenu *TBMnuMaintenance = nullptr;
    QAction *TBMnuReconnectSkype = nullptr;
    QAction *TBMnuMuteSpeakers = nullptr;
    QAction *TBMnuUnMuteSpeakers = nullptr;
    QAction *TBMnuMuteMic = nullptr;
    QAction *TBMnuUnMuteMic = nullptr;
    QAction *TBMnuLaunchOnStartUp = nullptr;
    QAction *TBMnuExit = nullptr;
    QMenu *mnuView = nullptr;
    QAction *mnuTabWebPresence = nullptr;
    QAction *mnuTabAutoResponder = nullptr;
    QAction *mnuTabCallForwarding = nullptr;
    QAction *mnuTabOrviCommunity = nullptr;
    QMenu *mnuHelp = nullptr;
    QAction *TBMnuResetHelpScreens = nullptr;
    QAction *TBCheckForUpdate = nullptr;
    QAction *TBMnuGoToOrvi = nullptr;
    QAction *TBMnuSupForum = nullptr;
    QAction *TBMnuFAQ = nullptr;
    QAction *TBMnuReportBug = nullptr;
    QAction *TBMnuAbout = nullptr;

    // Pages, in tab order.
    QTabWidget *ElPageControl1 = nullptr;
    TWebPresencePage *ElTabPresence = nullptr;
    TBrowserPage *ElTabOrviCommunity = nullptr;
    TAutoResponderPage *ElTabAutoresponder = nullptr;
    TCallForwardingPage *ElTabCallForwarding = nullptr;

    // Bottom toolbar.
    QWidget *ElPanel2 = nullptr;
    QToolBar *TBToolbar1 = nullptr;
    QAction *TBXItem1 = nullptr;
    QAction *TBXItem2 = nullptr;
    QAction *tbxTellaFriend = nullptr;
    QAction *btnAdvancedMode = nullptr;

    // Status bar with its three panels; the first shows the connection state.
    QStatusBar *TBXStatusBar = nullptr;
    std::array<TImageLabel *, 3> TBXStatusBarPanels{};

private:
    void BuildLayout();
    void BuildMenus();
    void BuildFileMenu();
    void BuildViewMenu();
    void BuildHelpMenu();
    void BuildPages();
    void BuildToolbar();
    void BuildStatusBar();
    QAction *AddItem(QMenu *menu, const char *name, const QString &caption);
};
