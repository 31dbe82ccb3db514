#include "Viewer.h"

#include "AboutDialog.h"
#include "DateRangeDialog.h"
#include "MainWindow.h"
#include "SiteList.h"
#include "platform/Clock.h"
#include "platform/WebView.h"
#include "session/Protocol.h"
#include "session/ReportPeriod.h"

#include <QIODevice>

using HandOver::Kind;

namespace {
void bringForward(QWidget* window)
{
    window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
    window->show();
    window->raise();
    window->activateWindow();
}
} // namespace

Viewer::Viewer(QIODevice* output, QObject* parent) : QObject(parent), m_output(output) {}

Viewer::~Viewer()
{
    // The windows go while the application, and the web engine under it, still exist.
    delete m_about.data();
    delete m_dates.data();
    delete m_main.data();
}

MainWindow* Viewer::mainWindow() const
{
    return m_main;
}
DateRangeDialog* Viewer::dateRangeDialog() const
{
    return m_dates;
}
AboutDialog* Viewer::aboutDialog() const
{
    return m_about;
}

void Viewer::start()
{
    if (m_ended)
        return;
    // The first page a web engine loads starts its helper processes; doing that now, hidden, spares the user
    // the wait after signing in. When a session is open already, its start page is that first page.
    const bool opened = m_main && !m_session.startUrl.isEmpty();
    WebView* browser = ensureMain()->browser();
    // A page view's first showing (its drawing surfaces and the engine's compositor) costs more than a page: the
    // window is shown once off screen, drawn but never mapped, so that it appears that much sooner later.
    if (!m_main->isVisible()) {
        m_main->setAttribute(Qt::WA_DontShowOnScreen);
        m_main->show();
    }
    connect(
        browser, &QWebEngineView::loadFinished, this,
        [this] {
            leaveOffScreen();
            if (!m_readySent && !m_ended) {
                m_readySent = true;
                send(Kind::Ready);
            }
        },
        Qt::SingleShotConnection);
    if (!opened)
        browser->Navigate(QStringLiteral("about:blank"));
}

void Viewer::receive(const QByteArray& chunk)
{
    if (m_ended)
        return;
    for (const HandOver::Message& message : m_reader.feed(chunk)) {
        // Quit cannot wait behind a site list that is still being filled.
        if (message.kind == Kind::Quit) {
            end();
            return;
        }
        m_queue.append(message);
    }
    handleQueued();
}

void Viewer::inputEnded()
{
    end();
}

void Viewer::handleQueued()
{
    // A message that arrives while another is being handled (a site list lets events through) waits its
    // turn, so that messages take effect in the order they were sent.
    if (m_handling)
        return;
    m_handling = true;
    while (!m_queue.isEmpty() && !m_ended)
        handle(m_queue.takeFirst());
    m_handling = false;
}

void Viewer::handle(const HandOver::Message& message)
{
    switch (message.kind) {
    case Kind::Open:
        open(message);
        break;
    case Kind::Show:
        showMain();
        break;
    default: // the viewer's own kinds mean nothing coming in
        break;
    }
}

void Viewer::open(const HandOver::Message& message)
{
    m_session = message.session;
    const bool fresh = !m_main;
    MainWindow* window = ensureMain(); // a fresh window opens the start page itself
    if (!fresh && !m_session.startUrl.isEmpty())
        openStartPage(window);
    if (message.loadSites) {
        SiteList::load(window, m_session.email, m_session.password);
        if (m_ended || !m_main)
            return;
    }
    showMain();
}

void Viewer::leaveOffScreen()
{
    if (m_main && m_main->testAttribute(Qt::WA_DontShowOnScreen)) {
        m_main->hide();
        m_main->setAttribute(Qt::WA_DontShowOnScreen, false);
    }
}

void Viewer::showMain()
{
    leaveOffScreen();
    bringForward(ensureMain());
    send(Kind::Shown);
}

MainWindow* Viewer::ensureMain()
{
    if (m_main)
        return m_main;
    auto* window = new MainWindow;
    window->setAttribute(Qt::WA_DeleteOnClose);
    m_main = window;
    // Menu choices are handled from the event loop once the menu is done with them: handling one can end
    // with the window gone, which must not happen under the menu's own code.
    connect(window, &MainWindow::periodChosen, this, &Viewer::choosePeriod, Qt::QueuedConnection);
    connect(window, &MainWindow::siteChosen, this, &Viewer::chooseSite, Qt::QueuedConnection);
    connect(window, &MainWindow::siteListRefreshRequested, this, &Viewer::refreshSiteList, Qt::QueuedConnection);
    connect(window, &MainWindow::aboutRequested, this, &Viewer::openAbout, Qt::QueuedConnection);
    connect(window, &MainWindow::exitRequested, this, &Viewer::exitChosen, Qt::QueuedConnection);
    connect(window, &MainWindow::closed, this, &Viewer::mainClosed);
    if (!m_session.startUrl.isEmpty())
        openStartPage(window);
    return window;
}

void Viewer::openStartPage(MainWindow* window)
{
    m_site = 0; // the start page begins a session of the report server, on the account's first site
    window->showReport(m_session.startUrl, previousReport());
}

QString Viewer::previousReport() const
{
    // The site goes along once one was chosen: the report server's current site is whichever was asked for last.
    if (!m_session.from.isValid() || !m_session.to.isValid())
        return QString();
    const ReportPeriod::Range before = ReportPeriod::previous({m_session.from, m_session.to});
    return m_site > 0 ? Protocol::SiteAddress(before.from, before.to, m_site)
                      : Protocol::CustomRangeAddress(before.from, before.to);
}

void Viewer::choosePeriod(int index)
{
    if (!m_main)
        return;
    if (index == ReportPeriod::Specify) {
        openDateRange();
        return;
    }
    const std::optional<ReportPeriod::Range> period = ReportPeriod::forIndex(index, Clock::today());
    if (!period)
        return;
    m_session.from = period->from;
    m_session.to = period->to;
    m_main->showReport(Protocol::PeriodAddress(m_session.from, m_session.to), previousReport());
    send(Kind::Period);
}

void Viewer::chooseSite(qint16 id)
{
    if (!m_main)
        return;
    m_site = id;
    m_main->showReport(Protocol::SiteAddress(m_session.from, m_session.to, id), previousReport());
}

void Viewer::refreshSiteList()
{
    if (m_main)
        SiteList::load(m_main, Protocol::TrimBlanks(m_session.rememberedLogin),
                       Protocol::TrimBlanks(m_session.rememberedPassword));
}

void Viewer::openDateRange()
{
    if (!m_dates) {
        auto* dialog = new DateRangeDialog(m_session.from, m_session.to);
        dialog->setAttribute(Qt::WA_DeleteOnClose);
        connect(dialog, &DateRangeDialog::rangeApplied, this, &Viewer::applyRange);
        connect(dialog, &QDialog::finished, this, [this] {
            if (!m_ended) {
                m_dates = nullptr;
                windowClosed();
            }
        });
        m_dates = dialog;
    }
    bringForward(m_dates);
}

void Viewer::applyRange(const QDate& from, const QDate& to)
{
    m_session.from = from;
    m_session.to = to;
    // With the main window closed, a new one opens the start page and then the range, hidden until the
    // next Show.
    ensureMain()->showReport(Protocol::CustomRangeAddress(from, to), previousReport());
    send(Kind::Period);
}

void Viewer::openAbout()
{
    if (!m_main)
        return;
    if (!m_about) {
        auto* about = new AboutDialog(m_main->windowTitle());
        about->setAttribute(Qt::WA_DeleteOnClose);
        connect(about, &QDialog::finished, this, [this] {
            if (!m_ended) {
                m_about = nullptr;
                windowClosed();
            }
        });
        m_about = about;
    }
    bringForward(m_about);
}

void Viewer::exitChosen()
{
    send(Kind::Exit);
    end();
}

void Viewer::mainClosed()
{
    if (m_ended)
        return;
    m_main = nullptr; // the window deletes itself; the next Show makes a fresh one
    send(Kind::MainClosed);
    windowClosed();
}

void Viewer::windowClosed()
{
    if (!m_main && !m_dates && !m_about)
        end();
}

void Viewer::send(Kind kind)
{
    if (m_ended)
        return;
    HandOver::Message message;
    message.kind = kind;
    if (kind == Kind::Period) {
        message.session.from = m_session.from;
        message.session.to = m_session.to;
    }
    const QByteArray line = HandOver::encode(message);
    if (m_output->write(line) != line.size())
        end(); // nobody reads the pipe any more: the client has gone
}

void Viewer::end()
{
    if (m_ended)
        return;
    m_ended = true;
    m_queue.clear();
    // Closing the main window also stops a site list that is still being filled: the window goes with it.
    for (QWidget* window :
         {static_cast<QWidget*>(m_about), static_cast<QWidget*>(m_dates), static_cast<QWidget*>(m_main)})
        if (window)
            window->close();
    emit finished();
}
