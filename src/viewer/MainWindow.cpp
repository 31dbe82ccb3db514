#include "MainWindow.h"

#include "platform/AppIcon.h"
#include "platform/WebView.h"
#include "platform/WindowPlacement.h"
#include "session/Protocol.h"
#include "session/Service.h"
#include "ui_MainWindow.h"

#include <QCloseEvent>
#include <QWindow>

namespace {
const QString kSiteArray = QStringLiteral("mnuRefreshWSList");
const QString kPeriodArray = QStringLiteral("mnuChgDate");

qint16 indexOf(const QAction* item)
{
    return qint16(item->property("index").toInt());
}
} // namespace

MainWindow::MainWindow(QWidget* parent)
    : QMainWindow(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                              Qt::WindowSystemMenuHint),
      m_ui(std::make_unique<Ui::MainWindow>())
{
    m_ui->setupUi(this);
    setWindowTitle(QStringLiteral("Quillmoor Lumenpane (Build %1)").arg(Service::BuildNumber));
    setWindowIcon(AppIcon::icon());
    keepOuterSize();
    WindowPlacement::centreWhenFirstShown(this);

    // The indexed arrays: uic cannot give several actions one name, so they are built here.
    showSiteItem(0, QStringLiteral("&Refresh List"));
    const QStringList periods = {QStringLiteral("Today"),      QStringLiteral("Yesterday"),
                                 QStringLiteral("This Week"),  QStringLiteral("Last Week"),
                                 QStringLiteral("This Month"), QStringLiteral("Last Month"),
                                 QStringLiteral("&Specify")};
    for (qint16 i = 0; i < periods.size(); ++i)
        addIndexedItem(m_ui->mnuChgDates, kPeriodArray, i, periods[i]);

    // One connection per menu rather than per item: a site list can hold tens of thousands of items.
    connect(m_ui->mnuWebsite, &QMenu::triggered, this, [this](QAction* item) {
        const qint16 id = indexOf(item);
        if (id == 0)
            emit siteListRefreshRequested();
        else
            emit siteChosen(id);
    });
    connect(m_ui->mnuChgDates, &QMenu::triggered, this, [this](QAction* item) { emit periodChosen(indexOf(item)); });

    connect(m_ui->mnuRefresh, &QAction::triggered, this, &MainWindow::reloadPage);
    connect(m_ui->mnuExit, &QAction::triggered, this, &MainWindow::exitRequested);
    connect(m_ui->mnuSettings, &QAction::triggered, this, &MainWindow::openSettings);
    connect(m_ui->mnuOnlineHelp, &QAction::triggered, this, &MainWindow::openOnlineHelp);
    connect(m_ui->mnuUpdate, &QAction::triggered, this, &MainWindow::checkForUpdate);
    connect(m_ui->mnuAbout, &QAction::triggered, this, &MainWindow::aboutRequested);
}

MainWindow::~MainWindow() = default;

WebView* MainWindow::browser() const
{
    return m_ui->browser;
}

QAction* MainWindow::addIndexedItem(QMenu* menu, const QString& arrayName, qint16 index, const QString& caption)
{
    auto* item = new QAction(caption, menu);
    item->setObjectName(arrayName);
    item->setProperty("index", index);
    menu->addAction(item);
    return item;
}

QAction* MainWindow::showSiteItem(qint16 id, const QString& caption)
{
    QAction*& item = m_siteItems[id];
    if (!item) {
        // Captioned and made visible before it joins the menu, so that the menu lays itself out once, not thrice.
        item = new QAction(caption, m_ui->mnuWebsite);
        item->setObjectName(kSiteArray);
        item->setProperty("index", id);
        m_ui->mnuWebsite->addAction(item);
        return item;
    }
    if (item->text() != caption)
        item->setText(caption);
    item->setVisible(true);
    return item;
}

void MainWindow::reloadPage()
{
    browser()->Refresh();
}

void MainWindow::openSettings()
{
    browser()->Navigate(Protocol::SettingsAddress());
}

void MainWindow::openOnlineHelp()
{
    browser()->Navigate(Protocol::HelpAddress());
}

void MainWindow::checkForUpdate()
{
    browser()->Navigate(Protocol::UpdateCheckAddress(Service::BuildNumber));
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    QMainWindow::closeEvent(event);
    emit closed();
}

void MainWindow::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    keepOuterSize();
}

void MainWindow::moveEvent(QMoveEvent* event)
{
    // A window manager reports its frame after mapping the window, which arrives as a move.
    QMainWindow::moveEvent(event);
    keepOuterSize();
}

void MainWindow::keepOuterSize()
{
    // The outer size is fixed; what the frame and title bar take (known once the window manager has framed
    // the window) comes off the client area.
    const QMargins frame = windowHandle() ? windowHandle()->frameMargins() : QMargins();
    const QSize client(OuterWidth - frame.left() - frame.right(), OuterHeight - frame.top() - frame.bottom());
    if (size() != client || minimumSize() != maximumSize())
        setFixedSize(client);
}
