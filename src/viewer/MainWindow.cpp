#include "MainWindow.h"

#include "platform/AppIcon.h"
#include "platform/WebView.h"
#include "platform/WindowPlacement.h"
#include "session/Protocol.h"
#include "session/Service.h"
#include "ui_MainWindow.h"

#include <QCloseEvent>
#include <QShortcut>
#include <QWebEngineFindTextResult>
#include <QWindow>

namespace {
const QString kSiteArray = QStringLiteral("mnuRefreshWSList");
const QString kPeriodArray = QStringLiteral("mnuChgDate");

qint16 indexOf(const QAction* item)
{
    return qint16(item->data().toInt());
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

    addPageShortcuts();
    followLoading();
}

MainWindow::~MainWindow() = default;

WebView* MainWindow::browser() const
{
    return m_ui->browser;
}

QAction* MainWindow::addIndexedItem(QMenu* menu, const QString& arrayName, qint16 index, const QString& caption)
{
    // Captioned before it joins the menu, so that the menu lays itself out once, not twice.
    auto* item = new QAction(caption, menu);
    item->setObjectName(arrayName);
    item->setData(index);
    menu->addAction(item);
    return item;
}

QAction* MainWindow::showSiteItem(qint16 id, const QString& caption)
{
    QAction*& item = m_siteItems[id];
    if (!item)
        return item = addIndexedItem(m_ui->mnuWebsite, kSiteArray, id, caption);
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

void MainWindow::addPageShortcuts()
{
    // What users expect of a browser pane; keys of the window, not of the menus, whose items have none.
    WebView* view = browser();
    const auto add = [this](const QKeySequence& keys, const auto* target, auto slot) {
        new QShortcut(keys, this, target, slot);
    };
    add(QKeySequence(Qt::CTRL | Qt::Key_Plus), view, &WebView::zoomIn);
    add(QKeySequence(Qt::CTRL | Qt::Key_Equal), view, &WebView::zoomIn);
    add(QKeySequence(Qt::CTRL | Qt::Key_Minus), view, &WebView::zoomOut);
    add(QKeySequence(Qt::CTRL | Qt::Key_0), view, &WebView::resetZoom);
    add(QKeySequence(Qt::ALT | Qt::Key_Left), view, &WebView::back);
    add(QKeySequence(Qt::ALT | Qt::Key_Right), view, &WebView::forward);
    add(QKeySequence(Qt::CTRL | Qt::Key_P), view, &WebView::printPage);
    add(QKeySequence(Qt::CTRL | Qt::Key_F), this, &MainWindow::showFindBar);
    // Shift+Enter searches backwards from the find box; Escape anywhere in the bar closes it.
    new QShortcut(QKeySequence(Qt::SHIFT | Qt::Key_Return), m_ui->txtFind, this, &MainWindow::findPrevious,
                  Qt::WidgetShortcut);
    new QShortcut(QKeySequence(Qt::Key_Escape), m_ui->fraFind, this, &MainWindow::closeFindBar,
                  Qt::WidgetWithChildrenShortcut);

    connect(m_ui->txtFind, &QLineEdit::textEdited, this, &MainWindow::findNext);
    connect(m_ui->txtFind, &QLineEdit::returnPressed, this, &MainWindow::findNext);
    connect(m_ui->cmdFindNext, &QToolButton::clicked, this, &MainWindow::findNext);
    connect(m_ui->cmdFindPrevious, &QToolButton::clicked, this, &MainWindow::findPrevious);
    connect(m_ui->cmdCloseFind, &QToolButton::clicked, this, &MainWindow::closeFindBar);
    connect(view->page(), &QWebEnginePage::findTextFinished, this, [this](const QWebEngineFindTextResult& result) {
        if (m_ui->txtFind->text().isEmpty())
            m_ui->lblFindResult->clear();
        else if (result.numberOfMatches() == 0)
            m_ui->lblFindResult->setText(tr("No matches"));
        else
            m_ui->lblFindResult->setText(tr("%1 of %2").arg(result.activeMatch()).arg(result.numberOfMatches()));
    });
}

void MainWindow::followLoading()
{
    // A thin line over the top of the page while it loads; gone, and taking no room, once it has loaded.
    QProgressBar* line = m_ui->prgLoad;
    WebView* view = browser();
    connect(view, &QWebEngineView::loadStarted, line, [line] {
        line->setValue(0);
        line->show();
    });
    connect(view, &QWebEngineView::loadProgress, line, &QProgressBar::setValue);
    connect(view, &QWebEngineView::loadFinished, line, [line, view] {
        if (!view->page()->isLoading()) // a load that a newer one replaced ends while the newer one goes on
            line->hide();
    });
}

void MainWindow::showFindBar()
{
    m_ui->fraFind->show();
    m_ui->txtFind->setFocus(Qt::ShortcutFocusReason);
    m_ui->txtFind->selectAll();
}

void MainWindow::findNext()
{
    find(false);
}

void MainWindow::findPrevious()
{
    find(true);
}

void MainWindow::find(bool backward)
{
    browser()->findText(m_ui->txtFind->text(), backward ? QWebEnginePage::FindBackward : QWebEnginePage::FindFlags());
}

void MainWindow::closeFindBar()
{
    m_ui->fraFind->hide();
    m_ui->lblFindResult->clear();
    browser()->findText(QString()); // takes the marks off the page
    browser()->setFocus(Qt::OtherFocusReason);
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
