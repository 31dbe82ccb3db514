#include "MainWindow.h"

#include "FindWebsiteDialog.h"
#include "platform/AppIcon.h"
#include "platform/Heap.h"
#include "platform/SettingsStore.h"
#include "platform/WebView.h"
#include "platform/WindowPlacement.h"
#include "session/Protocol.h"
#include "session/ReportPeriod.h"
#include "session/Service.h"
#include "ui_MainWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QScreen>
#include <QShortcut>
#include <QWebEngineFindTextResult>
#include <QWindow>
#include <algorithm>

namespace {
const QString kSiteArray = QStringLiteral("mnuRefreshWSList");
const QString kPeriodArray = QStringLiteral("mnuChgDate");
const QString kCompareSetting = QStringLiteral("ComparePreviousPeriod");

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
    for (qint16 i = 0; i < periods.size(); ++i) {
        QAction* item = addIndexedItem(m_ui->mnuChgDates, kPeriodArray, i, periods[i]);
        if (i < ReportPeriod::Specify) // "Today" Ctrl+1 to "Last Month" Ctrl+6
            item->setShortcut(QKeySequence(Qt::CTRL | Qt::Key(Qt::Key_1 + i)));
    }

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
    connect(m_ui->mnuFindWebsite, &QAction::triggered, this, &MainWindow::findWebsite);
    connect(m_ui->mnuCompare, &QAction::toggled, this, &MainWindow::setComparing);

    addPageShortcuts();
    followLoading(browser(), m_ui->prgLoad);
    // The second browser follows once the report it stands beside is in (the start page signs the browser in).
    connect(browser(), &WebView::opened, this, &MainWindow::openPreviousReport);
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
        for (WebView* view : {browser(), m_previous.data()})
            if (view && now && (view == now || view->isAncestorOf(now)))
                m_focused = view;
    });
    m_ui->mnuCompare->setChecked(SettingsStore::readText(kCompareSetting) == QLatin1String("1"));
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

WebView* MainWindow::previousView() const
{
    return m_previous;
}

WebView* MainWindow::focusedView() const
{
    return m_previous && m_focused == m_previous ? m_previous.data() : browser();
}

void MainWindow::reloadPage()
{
    browser()->Refresh(); // and the second browser opens its report again once this page is in
}

void MainWindow::showReport(const QString& address, const QString& previousAddress)
{
    m_previousAddress = previousAddress;
    browser()->Navigate(address);
}

void MainWindow::openPreviousReport()
{
    if (m_previous && !m_previousAddress.isEmpty())
        m_previous->Navigate(m_previousAddress);
}

void MainWindow::setComparing(bool on)
{
    if (m_ui->mnuCompare->isChecked() != on) {
        m_ui->mnuCompare->setChecked(on); // which calls back
        return;
    }
    SettingsStore::writeText(kCompareSetting, QLatin1String(on ? "1" : "0"));
    if (on == !m_previous.isNull())
        return;
    if (on) {
        m_previous = new WebView(m_ui->centralWidget);
        m_previous->setObjectName(QStringLiteral("browserPrevious"));
        m_previous->setAccessibleName(tr("Report of the previous period"));
        m_ui->pageLayout->addWidget(m_previous, 0, 1);
        m_ui->prgLoadPrevious->raise();
        followLoading(m_previous, m_ui->prgLoadPrevious);
        showFindResults(m_previous);
        if (!browser()->isOpening())
            openPreviousReport();
    } else {
        const bool hadFocus = m_focused == m_previous;
        delete m_previous.data(); // and its page with it: the engine lets go of what they held
        Heap::returnFreedSoon();
        m_ui->prgLoadPrevious->hide();
        if (hadFocus)
            browser()->setFocus(Qt::OtherFocusReason);
    }
    keepOuterSize();
    keepOnScreen();
}

void MainWindow::findWebsite()
{
    if (!m_finder) {
        m_finder = new FindWebsiteDialog(m_ui->mnuWebsite, this);
        m_finder->setAttribute(Qt::WA_DeleteOnClose);
    }
    m_finder->show();
    m_finder->raise();
    m_finder->activateWindow();
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
    // What users expect of a browser pane, on the browser that has the focus; keys of the window, not of the
    // menus.
    const auto add = [this](const QKeySequence& keys, void (WebView::*action)()) {
        connect(new QShortcut(keys, this), &QShortcut::activated, this, [this, action] { (focusedView()->*action)(); });
    };
    add(QKeySequence(Qt::CTRL | Qt::Key_Plus), &WebView::zoomIn);
    add(QKeySequence(Qt::CTRL | Qt::Key_Equal), &WebView::zoomIn);
    add(QKeySequence(Qt::CTRL | Qt::Key_Minus), &WebView::zoomOut);
    add(QKeySequence(Qt::CTRL | Qt::Key_0), &WebView::resetZoom);
    add(QKeySequence(Qt::ALT | Qt::Key_Left), &WebView::back);
    add(QKeySequence(Qt::ALT | Qt::Key_Right), &WebView::forward);
    add(QKeySequence(Qt::CTRL | Qt::Key_P), &WebView::printPage);
    new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_F), this, this, &MainWindow::showFindBar);
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
    showFindResults(browser());
}

void MainWindow::showFindResults(WebView* view)
{
    connect(view->page(), &QWebEnginePage::findTextFinished, this, [this](const QWebEngineFindTextResult& result) {
        if (m_ui->txtFind->text().isEmpty())
            m_ui->lblFindResult->clear();
        else if (result.numberOfMatches() == 0)
            m_ui->lblFindResult->setText(tr("No matches"));
        else
            m_ui->lblFindResult->setText(tr("%1 of %2").arg(result.activeMatch()).arg(result.numberOfMatches()));
    });
}

void MainWindow::followLoading(WebView* view, QProgressBar* line)
{
    // A thin line over the top of the page while it loads; gone, and taking no room, once it has loaded.
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
    focusedView()->findText(m_ui->txtFind->text(),
                            backward ? QWebEnginePage::FindBackward : QWebEnginePage::FindFlags());
}

void MainWindow::closeFindBar()
{
    m_ui->fraFind->hide();
    m_ui->lblFindResult->clear();
    for (WebView* view : {browser(), m_previous.data()})
        if (view)
            view->findText(QString()); // takes the marks off the page
    focusedView()->setFocus(Qt::OtherFocusReason);
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
    const QSize client(outerWidth() - frame.left() - frame.right(), OuterHeight - frame.top() - frame.bottom());
    if (size() != client || minimumSize() != maximumSize())
        setFixedSize(client);
}

int MainWindow::outerWidth() const
{
    if (!m_previous)
        return OuterWidth;
    // Each report as wide as one alone, where the screen has room for both.
    const QScreen* shown = screen();
    const int room = shown ? shown->availableGeometry().width() : 2 * OuterWidth;
    return std::clamp(room, OuterWidth, 2 * OuterWidth);
}

void MainWindow::keepOnScreen()
{
    // A window that grew past the screen's edge moves back onto it.
    if (!isVisible() || !screen())
        return;
    const QRect area = screen()->availableGeometry();
    QRect frame = frameGeometry();
    if (frame.right() > area.right())
        frame.moveRight(area.right());
    if (frame.left() < area.left())
        frame.moveLeft(area.left());
    if (frame.topLeft() != pos())
        move(frame.topLeft());
}
