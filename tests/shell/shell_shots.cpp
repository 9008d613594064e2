// Grabs the main window with each of its pages, and the menus, to PNG files so that a person can look
// at the layout: orvi_shell_shots [folder] (default /tmp/orvi-shots). Run with QT_QPA_PLATFORM=offscreen.

#include "MainFormFixture.h"
#include "autorespond/AutoResponderPage.h"
#include "calls/CallForwardingPage.h"
#include "presence/WebPresencePage.h"
#include "shell/Icons.h"
#include "shell/Mainfrm.h"
#include "shell/PageKit.h"
#include "shell/TrayIcon.h"

#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QTabWidget>
#include <QTextStream>

namespace {

void Save(QWidget *widget, const QDir &folder, const QString &name) {
    const QString path = folder.filePath(name + QStringLiteral(".png"));
    widget->grab().save(path);
    QTextStream(stdout) << path << '\n';
}

void SaveMenu(QMenu *menu, const QDir &folder, const QString &name) {
    menu->popup(QPoint(0, 0));
    QApplication::processEvents();
    Save(menu, folder, name);
    menu->close();
}

// A few entries, so that lists and labels are seen with content.
void FillSamples(TMainForm &form) {
    for (const char *name : {"alice", "bob", "carol"})
        new QListWidgetItem(OrviIcons::StatusImage(6), QLatin1String(name),
                            form.ElTabCallForwarding->lstBoxContacts);
    form.ElTabAutoresponder->lblARIM_NOTonCall->setText(
        QStringLiteral("\"I am away from my computer right now, I will answer when I am back.\""));
    form.TBXStatusBarPanels[0]->SetText(QStringLiteral("Connected to Skype"));
    form.TBXStatusBarPanels[0]->SetImage(OrviIcons::BrowserImage(7));
}

// Every picture of the set at 16 and 32 pixels, with its name.
void SaveIconSheet(const QDir &folder) {
    QWidget sheet;
    auto *grid = new QGridLayout(&sheet);
    QDirIterator pictures(QStringLiteral(":/icons"));
    QStringList names;
    while (pictures.hasNext())
        names << QFileInfo(pictures.next()).baseName();
    names.sort();
    for (int index = 0; index < names.size(); ++index) {
        const QIcon icon = OrviIcons::Named(names.at(index));
        const int column = (index % 4) * 3;
        auto *small = new QLabel(&sheet);
        small->setPixmap(icon.pixmap(16, 16));
        auto *large = new QLabel(&sheet);
        large->setPixmap(icon.pixmap(32, 32));
        grid->addWidget(small, index / 4, column);
        grid->addWidget(large, index / 4, column + 1);
        grid->addWidget(new QLabel(names.at(index), &sheet), index / 4, column + 2);
    }
    sheet.show();
    QApplication::processEvents();
    Save(&sheet, folder, QStringLiteral("icons"));
}

} // namespace

int main(int argc, char **argv) {
    QApplication app(argc, argv);
    const QDir folder(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("/tmp/orvi-shots"));
    QDir().mkpath(folder.path());

    // An owner in advanced mode, so that all four pages are there as a user sees them.
    TMainFormFixture fixture([](TSettingsStore &settings) {
        const TXMLOwnerType owner = settings.CurrentOwner();
        owner.SetSkypeHandle(QStringLiteral("alice"));
        owner.SetAdvancedMode(true);
        for (const char *tab :
             {"ElTabPresence", "ElTabAutoresponder", "ElTabCallForwarding", "ElTabOrviCommunity"}) {
            const TXMLOrviTabType record = owner.OrviTabs().Add();
            record.SetTabName(QLatin1String(tab));
            record.SetVisible(true);
        }
    });
    TMainForm &form = *fixture.form;
    FillSamples(form);
    form.show();
    QApplication::processEvents();
    Save(&form, folder, QStringLiteral("start"));
    const QStringList names{"presence", "browser", "autoresponder", "callforwarding"};
    for (int index = 0; index < form.ElPageControl1->count(); ++index) {
        form.ElPageControl1->setCurrentIndex(index);
        QApplication::processEvents();
        Save(&form, folder, names.at(index));
    }
    form.resize(320, 420);
    QApplication::processEvents();
    Save(&form, folder, QStringLiteral("callforwarding-small"));
    SaveMenu(form.mnuFile, folder, QStringLiteral("menu-file"));
    SaveMenu(form.TBMnuMaintenance, folder, QStringLiteral("menu-maintenance"));
    SaveMenu(form.mnuView, folder, QStringLiteral("menu-view"));
    SaveMenu(form.mnuHelp, folder, QStringLiteral("menu-help"));
    form.ElTabAutoresponder->SetResponseMessages(
        {QStringLiteral("I am away"), QStringLiteral("I am on a call & will call you back"),
         QStringLiteral(
             "A very long message that goes on and on about where I am, when I will be back, and how "
             "to reach me in the meantime if it is urgent")});
    SaveMenu(form.ElTabAutoresponder->ElPopMnuAutoResponder, folder, QStringLiteral("menu-messages"));
    SaveMenu(form.ElTabPresence->mnuWebStatus, folder, QStringLiteral("menu-webstatus"));
    TTrayIcon tray;
    tray.SetWebStatusActions(form.ElTabPresence->WebStatusActions());
    tray.TBpopmnEnablePresence->setChecked(true);
    SaveMenu(tray.TBPopmnuTray, folder, QStringLiteral("menu-tray"));
    SaveIconSheet(folder);
    return 0;
}
