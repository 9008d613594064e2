// The main window's controls: built, named and laid out here; no behaviour.

#include "shell/Mainfrm.h"

#include "autorespond/AutoResponderPage.h"
#include "browser/BrowserPage.h"
#include "calls/CallForwardingPage.h"
#include "presence/WebPresencePage.h"
#include "shell/Icons.h"
#include "shell/PageKit.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QProxyStyle>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QToolBar>
#include <QVBoxLayout>

namespace {
constexpr QSize FormSize(491, 672);
constexpr int SmallestSide = 200;
constexpr int LargestSide = 1600;
constexpr int ToolbarImageSize = 32;

struct TPanelWidths {
    int preferred;
    int maximum;
    bool elided;
};
constexpr std::array<TPanelWidths, 3> PanelWidths{
    {{140, 200, false}, {280, 350, true}, {2000, QWIDGETSIZE_MAX, true}}};

// Tab images: indexes into the status and page images.
constexpr int PresenceTabImage = 6;
constexpr int BrowserTabImage = 11;
constexpr int AutoResponderTabImage = 3;
constexpr int CallForwardingTabImage = 9;

// A status-bar panel that takes its preferred width when there is room and gives it up when not.
class TStatusPanel : public TImageLabel {
public:
    TStatusPanel(const TPanelWidths &widths, QWidget *parent)
        : TImageLabel({}, parent), preferred(widths.preferred), wholeText(!widths.elided) {
        SetElided(widths.elided);
        setMaximumWidth(widths.maximum);
        setMinimumWidth(0);
        setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    }
    // A panel that shows its whole text asks for room for it, up to its maximum.
    QSize sizeHint() const override {
        const QSize content = TImageLabel::sizeHint();
        return {wholeText ? qMax(preferred, content.width()) : preferred, content.height()};
    }
    QSize minimumSizeHint() const override { return {0, TImageLabel::sizeHint().height()}; }

private:
    int preferred;
    bool wholeText;
};
// Tabs with less padding, so that the four page tabs fit side by side in the window's width.
class TCompactTabStyle : public QProxyStyle {
public:
    int pixelMetric(PixelMetric metric, const QStyleOption *option, const QWidget *widget) const override {
        const int value = QProxyStyle::pixelMetric(metric, option, widget);
        return metric == PM_TabBarTabHSpace ? value / 2 : value;
    }
};
} // namespace

void TMainForm::BuildLayout() {
    setObjectName(QStringLiteral("MainForm"));
    setWindowTitle(tr("Orvi"));
    setWindowIcon(OrviIcons::ProgramIcon());
    setMinimumSize(SmallestSide, SmallestSide);
    setMaximumSize(LargestSide, LargestSide);
    resize(FormSize);

    BuildMenus();
    BuildPages();
    BuildToolbar();
    BuildStatusBar();

    auto *central = new QWidget(this);
    auto *layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(ElPageControl1, 1);
    layout->addWidget(ElPanel2);
    setCentralWidget(central);
}

QAction *TMainForm::AddItem(QMenu *menu, const char *name, const QString &caption) {
    QAction *item = menu->addAction(caption);
    item->setObjectName(QLatin1String(name));
    return item;
}

void TMainForm::BuildMenus() {
    tbMenu = new QMenuBar(this);
    tbMenu->setObjectName(QStringLiteral("tbMenu"));
    tbMenu->setAccessibleName(tr("Menu Bar"));
    setMenuBar(tbMenu);
    BuildFileMenu();
    BuildViewMenu();
    BuildHelpMenu();
}

void TMainForm::BuildFileMenu() {
    mnuFile = tbMenu->addMenu(tr("&File"));
    mnuFile->setObjectName(QStringLiteral("mnuFile"));
    TBMnuGetSkypeOUTCredits = AddItem(mnuFile, "TBMnuGetSkypeOUTCredits", tr("Get SkypeOut Credits"));
    mnuFile->addSeparator();
    TBMnuMaintenance = mnuFile->addMenu(tr("Maintenance"));
    TBMnuMaintenance->setObjectName(QStringLiteral("TBMnuMaintenance"));
    TBMnuReconnectSkype = AddItem(TBMnuMaintenance, "TBMnuReconnectSkype", tr("Reconnect to Skype"));
    TBMnuMaintenance->addSeparator();
    TBMnuMuteSpeakers = AddItem(TBMnuMaintenance, "TBMnuMuteSpeakers", tr("Mute Speakers"));
    TBMnuUnMuteSpeakers = AddItem(TBMnuMaintenance, "TBMnuUnMuteSpeakers", tr("Un-Mute Speakers"));
    TBMnuMaintenance->addSeparator();
    TBMnuMuteMic = AddItem(TBMnuMaintenance, "TBMnuMuteMic", tr("Mute Mic"));
    TBMnuUnMuteMic = AddItem(TBMnuMaintenance, "TBMnuUnMuteMic", tr("Un-Mute Mic"));
    TBMnuLaunchOnStartUp = AddItem(mnuFile, "TBMnuLaunchOnStartUp", tr("Launch on Startup"));
    TBMnuLaunchOnStartUp->setCheckable(true);
    TBMnuExit = AddItem(mnuFile, "TBMnuExit", tr("E&xit"));
}

void TMainForm::BuildViewMenu() {
    mnuView = tbMenu->addMenu(tr("&View"));
    mnuView->setObjectName(QStringLiteral("mnuView"));
    mnuTabWebPresence = AddItem(mnuView, "mnuTabWebPresence", tr("Show Web Presence Tab"));
    mnuTabAutoResponder = AddItem(mnuView, "mnuTabAutoResponder", tr("Show Auto Responder Tab"));
    mnuTabCallForwarding = AddItem(mnuView, "mnuTabCallForwarding", tr("Show Call Forwarding Tab"));
    mnuTabOrviCommunity = AddItem(mnuView, "mnuTabOrviCommunity", tr("Show Browser Sync Tab"));
    for (QAction *item : mnuView->actions()) {
        item->setCheckable(true);
        item->setChecked(true);
    }
    mnuTabWebPresence->setVisible(false);
}

void TMainForm::BuildHelpMenu() {
    mnuHelp = tbMenu->addMenu(tr("&Help"));
    mnuHelp->setObjectName(QStringLiteral("mnuHelp"));
    TBMnuResetHelpScreens = AddItem(mnuHelp, "TBMnuResetHelpScreens", tr("Reset Help Screens"));
    mnuHelp->addSeparator();
    TBCheckForUpdate = AddItem(mnuHelp, "TBCheckForUpdate", tr("Check for Updates"));
    TBMnuGoToOrvi = AddItem(mnuHelp, "TBMnuGoToOrvi", tr("Go to Orvi Website"));
    mnuHelp->addSeparator();
    TBMnuSupForum = AddItem(mnuHelp, "TBMnuSupForum", tr("Orvi Support Forum"));
    TBMnuFAQ = AddItem(mnuHelp, "TBMnuFAQ", tr("FAQ"));
    TBMnuReportBug = AddItem(mnuHelp, "TBMnuReportBug", tr("Report a Bug"));
    mnuHelp->addSeparator();
    TBMnuAbout = AddItem(mnuHelp, "TBMnuAbout", tr("&About..."));
}

void TMainForm::BuildPages() {
    ElPageControl1 = new QTabWidget(this);
    ElPageControl1->setObjectName(QStringLiteral("ElPageControl1"));
    ElPageControl1->setIconSize(QSize(16, 16));
    auto *tabStyle = new TCompactTabStyle;
    tabStyle->setParent(ElPageControl1);
    ElPageControl1->tabBar()->setStyle(tabStyle);
    ElTabPresence = new TWebPresencePage(ElPageControl1);
    ElTabOrviCommunity = new TBrowserPage(ElPageControl1);
    ElTabAutoresponder = new TAutoResponderPage(ElPageControl1);
    ElTabCallForwarding = new TCallForwardingPage(ElPageControl1);
    ElPageControl1->addTab(ElTabPresence, OrviIcons::StatusImage(PresenceTabImage), tr("Web Presence"));
    ElPageControl1->addTab(ElTabOrviCommunity, OrviIcons::StatusImage(BrowserTabImage), tr("Browser Sync"));
    ElPageControl1->addTab(ElTabAutoresponder, OrviIcons::StatusImage(AutoResponderTabImage),
                           tr("Auto Responder"));
    ElPageControl1->addTab(ElTabCallForwarding, OrviIcons::StatusImage(CallForwardingTabImage),
                           tr("Call Forwarding"));
    // Until the owner's settings are applied only the Web Presence page is shown.
    for (int index = 1; index < ElPageControl1->count(); ++index)
        ElPageControl1->setTabVisible(index, false);
    ElPageControl1->setCurrentIndex(0);
}

void TMainForm::BuildToolbar() {
    ElPanel2 = new QWidget(this);
    ElPanel2->setObjectName(QStringLiteral("ElPanel2"));
    TBToolbar1 = Named<QToolBar>(ElPanel2, "TBToolbar1");
    TBToolbar1->setIconSize(QSize(ToolbarImageSize, ToolbarImageSize));
    // Captions under the pictures: beside them, the four items would not fit the window's width.
    TBToolbar1->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);

    const auto add = [this](const char *name, const QString &caption, const char *image) {
        QAction *item = TBToolbar1->addAction(OrviIcons::Named(QLatin1String(image)), caption);
        item->setObjectName(QLatin1String(name));
        return item;
    };
    TBXItem1 = add("TBXItem1", tr("Orvi Community"), "tb_orvicommunity");
    TBToolbar1->addSeparator();
    TBXItem2 = add("TBXItem2", tr("Skype Community"), "tb_skypecommunity");
    TBToolbar1->addSeparator();
    tbxTellaFriend = add("tbxTellaFriend", tr("Tell a Friend"), "tb_tellafriend");
    TBToolbar1->addSeparator();
    btnAdvancedMode = add("btnAdvancedMode", tr("Advanced "), "tb_advanced");
    btnAdvancedMode->setCheckable(true);

    auto *layout = new QVBoxLayout(ElPanel2);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(TBToolbar1);
}

void TMainForm::BuildStatusBar() {
    TBXStatusBar = new QStatusBar(this);
    TBXStatusBar->setObjectName(QStringLiteral("TBXStatusBar"));
    for (std::size_t index = 0; index < PanelWidths.size(); ++index) {
        auto *panel = new TStatusPanel(PanelWidths[index], TBXStatusBar);
        panel->setObjectName(QStringLiteral("TBXStatusBarPanel%1").arg(index));
        TBXStatusBarPanels[index] = panel;
        TBXStatusBar->addWidget(panel, index + 1 == PanelWidths.size() ? 1 : 0);
    }
    setStatusBar(TBXStatusBar);
}
