#include "frmMain.h"

#include "SiteList.h"
#include "about/frmAbout.h"
#include "forms.h"
#include "frmSpecifyDates.h"
#include "platform/AppIcon.h"
#include "platform/Clock.h"
#include "platform/FormLayout.h"
#include "platform/Program.h"
#include "platform/WebView.h"
#include "session/CredentialStore.h"
#include "session/Protocol.h"
#include "session/ReportPeriod.h"
#include "session/Session.h"
#include "tray/frmSysTray.h"

#include <QCloseEvent>
#include <QMenuBar>
#include <QSystemTrayIcon>
#include <QWindow>

frmMain::frmMain()
    : QMainWindow(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                               Qt::WindowSystemMenuHint)
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Quillmoor Lumenpane"));
    setWindowIcon(AppIcon::icon());

    QMenuBar* bar = menuBar();
    bar->setNativeMenuBar(false); // the menus belong to this window on every desktop

    auto action = [this](QMenu* menu, const QString& name, const QString& caption, void (frmMain::*handler)()) {
        auto* a = menu->addAction(caption);
        a->setObjectName(name);
        connect(a, &QAction::triggered, this, handler);
        return a;
    };
    auto subMenu = [](auto* parent, const QString& name, const QString& caption) {
        QMenu* menu = parent->addMenu(caption);
        menu->setObjectName(name);
        return menu;
    };

    mnuFile = subMenu(bar, QStringLiteral("mnuFile"), QStringLiteral("&File"));
    mnuRefresh = action(mnuFile, QStringLiteral("mnuRefresh"), QStringLiteral("&Refresh"), &frmMain::mnuRefresh_Click);
    mnuExit = action(mnuFile, QStringLiteral("mnuExit"), QStringLiteral("E&xit"), &frmMain::mnuExit_Click);

    mnuOptions = subMenu(bar, QStringLiteral("mnuOptions"), QStringLiteral("&Options"));
    mnuWebsite = subMenu(mnuOptions, QStringLiteral("mnuWebsite"), QStringLiteral("&Change Website"));
    addIndexedItem(mnuWebsite, QStringLiteral("mnuRefreshWSList"), 0, QStringLiteral("&Refresh List"));
    mnuChgDates = subMenu(mnuOptions, QStringLiteral("mnuChgDates"), QStringLiteral("Change &Date"));
    const QStringList periods = {QStringLiteral("Today"),      QStringLiteral("Yesterday"),
                                 QStringLiteral("This Week"),  QStringLiteral("Last Week"),
                                 QStringLiteral("This Month"), QStringLiteral("Last Month"),
                                 QStringLiteral("&Specify")};
    for (qint16 i = 0; i < periods.size(); ++i)
        addIndexedItem(mnuChgDates, QStringLiteral("mnuChgDate"), i, periods[i]);
    mnuSettings =
        action(mnuOptions, QStringLiteral("mnuSettings"), QStringLiteral("&Settings"), &frmMain::mnuSettings_Click);

    mnuHelp = subMenu(bar, QStringLiteral("mnuHelp"), QStringLiteral("&Help"));
    mnuOnlineHelp =
        action(mnuHelp, QStringLiteral("mnuOnlineHelp"), QStringLiteral("Online &Help"), &frmMain::mnuOnlineHelp_Click);
    mnuUpdate =
        action(mnuHelp, QStringLiteral("mnuUpdate"), QStringLiteral("Check for &Update"), &frmMain::mnuUpdate_Click);
    mnuAbout = action(mnuHelp, QStringLiteral("mnuAbout"), QStringLiteral("&About"), &frmMain::mnuAbout_Click);

    // The browser fills the whole client area below the menu bar, so the page and its scroll bars are
    // always entirely in view.
    browser = new WebView(this);
    setCentralWidget(browser);
}

QAction* frmMain::addIndexedItem(QMenu* menu, const QString& name, qint16 index, const QString& caption,
                                 QAction* before)
{
    auto* item = new QAction(caption, menu);
    item->setObjectName(name);
    item->setProperty("index", index);
    menu->insertAction(before, item);
    const bool site = menu == mnuWebsite;
    (site ? mnuRefreshWSList : mnuChgDate).insert(index, item);
    connect(item, &QAction::triggered, this, [this, site, index] {
        if (site)
            mnuRefreshWSList_Click(index);
        else
            mnuChgDate_Click(index);
    });
    return item;
}

void frmMain::Form_Load()
{
    setWindowTitle(QStringLiteral("Quillmoor Lumenpane (Build %1)").arg(Session::BuildNumber));
    if (!Session::StartUrl.isEmpty())
        browser->Navigate(Session::StartUrl);
    keepOuterSize();
}

void frmMain::keepOuterSize()
{
    // The outer size is fixed; what the frame and title bar take (known once the window manager has framed
    // the window) comes off the client area.
    const QMargins frame = windowHandle() ? windowHandle()->frameMargins() : QMargins();
    const QSize client(FormLayout::px(OuterWidth) - frame.left() - frame.right(),
                       FormLayout::px(OuterHeight) - frame.top() - frame.bottom());
    if (size() != client || minimumSize() != maximumSize())
        setFixedSize(client);
}

QAction* frmMain::removeSiteItem(qint16 index)
{
    if (index == 0 || !mnuRefreshWSList.contains(index))
        return nullptr;
    QAction* item = mnuRefreshWSList.take(index);
    const QList<QAction*> items = mnuWebsite->actions();
    const qsizetype at = items.indexOf(item);
    QAction* next = at >= 0 && at + 1 < items.size() ? items[at + 1] : nullptr;
    mnuWebsite->removeAction(item);
    delete item;
    return next;
}

QAction* frmMain::createSiteItem(qint16 index, QAction* before)
{
    if (QAction* existing = mnuRefreshWSList.value(index))
        return existing;
    QAction* item = addIndexedItem(mnuWebsite, QStringLiteral("mnuRefreshWSList"), index, QString(), before);
    item->setVisible(false); // a new item of the array starts hidden
    return item;
}

void frmMain::mnuRefresh_Click()
{
    browser->Refresh();
}

void frmMain::mnuExit_Click()
{
    if (frmSysTray* tray = Form<frmSysTray>::existing())
        tray->popupExit_Click();
    else
        Program::end();
}

void frmMain::mnuSettings_Click()
{
    browser->Navigate(Protocol::SettingsAddress());
}
void frmMain::mnuOnlineHelp_Click()
{
    browser->Navigate(Protocol::HelpAddress());
}
void frmMain::mnuUpdate_Click()
{
    browser->Navigate(Protocol::UpdateCheckAddress(Session::BuildNumber));
}
void frmMain::mnuAbout_Click()
{
    Form<frmAbout>::show();
}

void frmMain::mnuChgDate_Click(qint16 index)
{
    if (index == ReportPeriod::Specify) {
        Form<frmSpecifyDates>::show();
        return;
    }
    const auto period = ReportPeriod::forIndex(index, Clock::today());
    if (!period)
        return;
    Session::FromDate = period->from;
    Session::ToDate = period->to;
    browser->Navigate(Protocol::PeriodAddress(Session::FromDate, Session::ToDate));
}

void frmMain::mnuRefreshWSList_Click(qint16 index)
{
    if (index == 0) {
        LoadSiteList(Protocol::TrimBlanks(CredentialStore::GetStringSetting(CredentialStore::Login)),
                     Protocol::TrimBlanks(CredentialStore::GetStringSetting(CredentialStore::Password)));
        return;
    }
    browser->Navigate(Protocol::SiteAddress(Session::FromDate, Session::ToDate, index));
}

void frmMain::closeEvent(QCloseEvent* event)
{
    // Without a notification area there is no icon to come back from, and a program without any window
    // could be neither reached nor ended: closing then ends the program, as Exit does.
    if (!QSystemTrayIcon::isSystemTrayAvailable() || !Form<frmSysTray>::isLoaded()) {
        event->accept();
        mnuExit_Click();
        return;
    }
    QMainWindow::closeEvent(event);
    Form<frmMain>::unload();
}

void frmMain::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    keepOuterSize();
    if (!m_placed) {
        m_placed = true;
        FormLayout::centreOnScreen(this);
    }
}

void frmMain::moveEvent(QMoveEvent* event)
{
    // A window manager reports its frame after mapping the window, which arrives as a move.
    QMainWindow::moveEvent(event);
    keepOuterSize();
}
