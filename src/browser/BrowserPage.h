#pragma once
// The Browser Sync page: the synchronized-browsing toolbar, the navigation toolbar with the address
// box, the favorites, and the browser area. The page only holds the controls; browsing and
// synchronized browsing read and set them. Until a browser view is put in, the browser area is an
// empty placeholder named like the browser.

#include <QStringList>
#include <QWidget>

class QAction;
class QComboBox;
class QLineEdit;
class QMenu;
class QToolBar;
class QToolButton;
class QVBoxLayout;

class TBrowserPage : public QWidget {
    Q_OBJECT
public:
    explicit TBrowserPage(QWidget *parent = nullptr);

    // Puts the browser view in place of the current browser area; the page takes it over.
    void SetBrowserView(QWidget *view);
    // Rebuilds the favorites menu: one item per address, in list order.
    void SetFavorites(const QStringList &addresses);

    QToolBar *tbBrowserSync;
    QAction *btnSyncBrowser;
    QLineEdit *edtBrwsSyncUsername;
    QAction *edtBrwsSyncUsernameImage; // the partner's status picture inside the edit
    QAction *btnChangeUsername;

    QToolBar *tbNavigation;
    QAction *actBack;
    QAction *actForward;
    QAction *actStop;
    QAction *actRefresh;
    QAction *actHome;
    QComboBox *TBXCmbAddress;
    QAction *actGo;

    QToolBar *tbFavorites;
    QToolButton *btnFavorites;
    QMenu *TBXFavoritesList;
    QAction *TBXAddFavorite;
    QAction *TBXRemoveFavorite;
    QToolButton *BtnOrviWebTools;

    QWidget *WebBrowser;

Q_SIGNALS:
    // Enter in the address box, or an address chosen from its drop-down list.
    void AddressAccepted();
    // A favorites menu item was chosen.
    void FavoriteChosen(const QString &address);

private:
    QToolBar *MakeToolBar(const char *name);
    QAction *MakeAction(const char *name, const QString &caption, const QString &icon);
    void BuildSyncBar();
    void BuildNavigationBar();
    void BuildFavoritesBar();

    QVBoxLayout *pageLayout;
};
