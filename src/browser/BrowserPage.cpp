#include "browser/BrowserPage.h"

#include "shell/Icons.h"
#include "shell/PageKit.h"

#include <QAction>
#include <QComboBox>
#include <QFrame>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <functional>
#include <utility>

namespace {
constexpr int SyncIdleImage = 22;
constexpr int AddressMinimumWidth = 100;

// The address box. It reports an accepted address once per Enter and once per entry chosen from its
// list. A plain editable combo box would also report when the typed text happens to match a list
// entry as the box loses focus, and report Enter twice in that case.
class TAddressBox : public QComboBox {
public:
    TAddressBox(QWidget *parent, std::function<void()> onAccepted)
        : QComboBox(parent), onAccepted(std::move(onAccepted)) {
        setEditable(true);
        // The history is kept by the browsing code, not by the box.
        setInsertPolicy(QComboBox::NoInsert);
        connect(this, &QComboBox::activated, this, [this] {
            if (!listOpen) return;
            listOpen = false;
            this->onAccepted();
        });
    }

    void showPopup() override {
        listOpen = true;
        QComboBox::showPopup();
    }
    void hidePopup() override {
        QComboBox::hidePopup();
        // A choice from the list is reported right after the list closes; after that, forget it.
        QTimer::singleShot(0, this, [this] { listOpen = false; });
    }

protected:
    void keyPressEvent(QKeyEvent *event) override {
        if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
            event->accept();
            onAccepted();
            return;
        }
        QComboBox::keyPressEvent(event);
    }

private:
    std::function<void()> onAccepted;
    bool listOpen = false;
};
} // namespace

TBrowserPage::TBrowserPage(QWidget *parent) : QWidget(parent) {
    setObjectName(QStringLiteral("ElTabOrviCommunity"));
    pageLayout = new QVBoxLayout(this);
    pageLayout->setContentsMargins(2, 2, 2, 2);
    pageLayout->setSpacing(0);

    BuildSyncBar();
    BuildNavigationBar();
    BuildFavoritesBar();

    auto *placeholder = Named<QFrame>(this, "WebBrowser");
    placeholder->setFrameShape(QFrame::StyledPanel);
    placeholder->setBackgroundRole(QPalette::Base);
    placeholder->setAutoFillBackground(true);
    WebBrowser = placeholder;

    pageLayout->addWidget(tbBrowserSync);
    pageLayout->addWidget(tbNavigation);
    pageLayout->addWidget(tbFavorites);
    pageLayout->addWidget(WebBrowser, 1);
}

QToolBar *TBrowserPage::MakeToolBar(const char *name) {
    auto *bar = Named<QToolBar>(this, name);
    bar->setIconSize(QSize(16, 16));
    bar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    return bar;
}

QAction *TBrowserPage::MakeAction(const char *name, const QString &caption, const QString &icon) {
    auto *action = new QAction(OrviIcons::Named(icon), caption, this);
    action->setObjectName(QLatin1String(name));
    return action;
}

void TBrowserPage::BuildSyncBar() {
    tbBrowserSync = MakeToolBar("tbBrowserSync");
    btnSyncBrowser = new QAction(OrviIcons::BrowserImage(SyncIdleImage), tr("Start SYNC"), this);
    btnSyncBrowser->setObjectName(QStringLiteral("btnSyncBrowser"));
    btnSyncBrowser->setCheckable(true);
    edtBrwsSyncUsername = Named<QLineEdit>(tbBrowserSync, "edtBrwsSyncUsername", tr("Select User"));
    edtBrwsSyncUsername->setReadOnly(true);
    edtBrwsSyncUsername->setMinimumWidth(100);
    edtBrwsSyncUsernameImage = edtBrwsSyncUsername->addAction(QIcon(), QLineEdit::LeadingPosition);
    btnChangeUsername = MakeAction("btnChangeUsername", tr("Change"), QStringLiteral("changeuser"));
    btnChangeUsername->setToolTip(tr("Choose the Skype user to browse with"));

    tbBrowserSync->addAction(btnSyncBrowser);
    tbBrowserSync->addWidget(edtBrwsSyncUsername);
    tbBrowserSync->addAction(btnChangeUsername);
}

void TBrowserPage::BuildNavigationBar() {
    tbNavigation = MakeToolBar("tbNavigation");
    actBack = MakeAction("actBack", tr("Back"), QStringLiteral("back"));
    actForward = MakeAction("actForward", tr("Forward"), QStringLiteral("forward"));
    actStop = MakeAction("actStop", tr("Stop"), QStringLiteral("stop"));
    actRefresh = MakeAction("actRefresh", tr("Refresh"), QStringLiteral("refresh"));
    actHome = MakeAction("actHome", tr("Home"), QStringLiteral("home"));
    actGo = MakeAction("actGo", tr("Go"), QStringLiteral("go"));

    TBXCmbAddress = new TAddressBox(tbNavigation, [this] { Q_EMIT AddressAccepted(); });
    TBXCmbAddress->setObjectName(QStringLiteral("TBXCmbAddress"));
    TBXCmbAddress->setMinimumWidth(AddressMinimumWidth);
    TBXCmbAddress->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);

    // The navigation buttons show their pictures only; their captions are their tool tips.
    for (QAction *action : {actBack, actForward, actStop, actRefresh, actHome}) {
        tbNavigation->addAction(action);
        if (auto *button = qobject_cast<QToolButton *>(tbNavigation->widgetForAction(action)))
            button->setToolButtonStyle(Qt::ToolButtonIconOnly);
    }
    tbNavigation->addWidget(TBXCmbAddress);
    tbNavigation->addAction(actGo);
}

void TBrowserPage::BuildFavoritesBar() {
    tbFavorites = MakeToolBar("tbFavorites");
    TBXFavoritesList = Named<QMenu>(this, "TBXFavoritesList");
    TBXFavoritesList->setTitle(tr("Favorites"));
    btnFavorites = Named<QToolButton>(tbFavorites, "btnFavorites");
    btnFavorites->setMenu(TBXFavoritesList);
    btnFavorites->setPopupMode(QToolButton::InstantPopup);
    btnFavorites->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    btnFavorites->setText(tr("Favorites"));
    btnFavorites->setIcon(OrviIcons::Named(QStringLiteral("favorites")));
    TBXAddFavorite = MakeAction("TBXAddFavorite", tr("Add"), QStringLiteral("addfavorite"));
    TBXAddFavorite->setToolTip(tr("Add the address to the favorites"));
    TBXRemoveFavorite = MakeAction("TBXRemoveFavorite", tr("Edit"), QStringLiteral("editfavorites"));
    TBXRemoveFavorite->setToolTip(tr("Edit the favorites"));
    BtnOrviWebTools = Named<QToolButton>(tbFavorites, "BtnOrviWebTools");
    BtnOrviWebTools->setText(tr("Help organize the Skype community"));
    BtnOrviWebTools->setIcon(OrviIcons::Named(QStringLiteral("webtools")));
    BtnOrviWebTools->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);

    auto *spacer = new QWidget(tbFavorites);
    spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    tbFavorites->addWidget(btnFavorites);
    tbFavorites->addAction(TBXAddFavorite);
    tbFavorites->addAction(TBXRemoveFavorite);
    tbFavorites->addWidget(spacer);
    tbFavorites->addWidget(BtnOrviWebTools);
}

void TBrowserPage::SetFavorites(const QStringList &addresses) {
    TBXFavoritesList->clear();
    for (const QString &address : addresses) {
        QAction *item =
            TBXFavoritesList->addAction(QString(address).replace(QLatin1Char('&'), QStringLiteral("&&")));
        connect(item, &QAction::triggered, this, [this, address] { Q_EMIT FavoriteChosen(address); });
    }
}

void TBrowserPage::SetBrowserView(QWidget *view) {
    view->setObjectName(QStringLiteral("WebBrowser"));
    pageLayout->replaceWidget(WebBrowser, view);
    delete WebBrowser;
    WebBrowser = view;
}
