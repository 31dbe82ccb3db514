#include "Viewer.h"

#include "AboutDialog.h"
#include "DateRangeDialog.h"
#include "MainWindow.h"
#include "SiteList.h"
#include "platform/Clock.h"
#include "platform/WebView.h"
#include "platform/WindowActivation.h"
#include "session/Protocol.h"
#include "session/ReportPeriod.h"

#include <QIODevice>
#include <QTimer>
#include <QWebEnginePage>

using HandOver::Kind;
using WindowActivation::bringForward;

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
SiteList* Viewer::siteList() const
{
    return m_siteList;
}

void Viewer::start()
{
    if (m_ended || m_main)
        return; // an Open that was waiting already: its start page is the engine's first page
    // The first page a web engine loads starts its helper processes; loading one now spares the user that wait
    // after signing in. A page without a view: no window exists before the sign-in, so that nothing but the
    // sign-in window can be found, by the user, the window manager or a screen reader.
    m_warmUp = new QWebEnginePage(this);
    connect(
        m_warmUp, &QWebEnginePage::loadFinished, this,
        [this] {
            if (!m_ended)
                send(Kind::Ready);
        },
        Qt::SingleShotConnection);
    m_warmUp->load(QUrl(QStringLiteral("about:blank")));
}

void Viewer::receive(const QByteArray& chunk)
{
    if (m_ended)
        return;
    for (const HandOver::Message& message : m_reader.feed(chunk)) {
        handle(message);
        if (m_ended)
            return;
    }
}

void Viewer::inputEnded()
{
    end();
}

void Viewer::handle(const HandOver::Message& message)
{
    switch (message.kind) {
    case Kind::Open:
        open(message);
        break;
    case Kind::Show:
        showMain(message.activation);
        break;
    case Kind::Quit:
        end();
        break;
    default: // the viewer's own kinds mean nothing coming in
        break;
    }
}

void Viewer::open(const HandOver::Message& message)
{
    delete m_warmUp.data(); // its work is done; the main window's page takes over
    m_session = message.session;
    const bool fresh = !m_main;
    MainWindow* window = ensureMain(); // a fresh window opens the start page itself
    if (!fresh && !m_session.startUrl.isEmpty())
        openStartPage(window);
    if (message.loadSites)
        m_siteList->load(m_session.email, m_session.password); // or the listing under way stands for this one
    showMain(message.activation);
}

void Viewer::showMain(const ActivationToken& token)
{
    MainWindow* window = ensureMain();
    if (window->testAttribute(Qt::WA_DontShowOnScreen))
        return; // it comes on screen with its report
    // A window whose report is still loading, or whose site menu is still being filled, is drawn off screen first and
    // comes on screen once both are done, so that it appears whole instead of blank; a slow service does not keep it
    // away for long.
    const auto ready = [this, window] { return !window->browser()->isOpening() && !m_siteList->isLoading(); };
    if (!window->isVisible() && !ready()) {
        window->setAttribute(Qt::WA_DontShowOnScreen);
        window->show();
        const auto appear = [this, window, token, ready](bool waited) {
            if (window != m_main || !window->testAttribute(Qt::WA_DontShowOnScreen) || (!waited && !ready()))
                return;
            window->hide();
            window->setAttribute(Qt::WA_DontShowOnScreen, false);
            showMain(token);
        };
        connect(window->browser(), &WebView::opened, window, [appear] { appear(false); });
        connect(m_siteList, &SiteList::finished, window, [appear] { appear(false); });
        QTimer::singleShot(MaxWait, window, [appear] { appear(true); });
        return;
    }
    bringForward(window, token);
    send(Kind::Shown);
}

MainWindow* Viewer::ensureMain()
{
    if (m_main)
        return m_main;
    auto* window = new MainWindow;
    window->setAttribute(Qt::WA_DeleteOnClose);
    m_main = window;
    m_siteList = new SiteList(window);
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
    // Chosen again while a listing is under way, it is not started twice: the one under way brings the sites.
    if (m_siteList)
        m_siteList->load(Protocol::TrimBlanks(m_session.rememberedLogin),
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
    // The window that closes takes its listing along; until it goes, the listing shows nothing more.
    if (m_siteList)
        m_siteList->disconnect(this);
    for (QWidget* window :
         {static_cast<QWidget*>(m_about), static_cast<QWidget*>(m_dates), static_cast<QWidget*>(m_main)})
        if (window)
            window->close();
    emit finished();
}
