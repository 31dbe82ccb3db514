#include "WebView.h"

#include "MessageBox.h"
#include "SettingsStore.h"

#include <QChildEvent>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QMouseEvent>
#include <QPointer>
#include <QPrintDialog>
#include <QPrinter>
#include <QQuickWindow>
#include <QTimer>
#include <QWebEngineDownloadRequest>
#include <QWebEngineLoadingInfo>
#include <QWebEngineNewWindowRequest>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineSettings>
#include <algorithm>
#include <utility>

namespace {
WebView::ExternalOpener g_externalOpener;
WebView::SaveLocationChooser g_saveChooser;
WebView::PrinterChooser g_printerChooser;

const QString kZoomSetting = QStringLiteral("ZoomFactor");
// The steps of the usual browsers, so that the page grows and shrinks as users know it.
constexpr qreal kZoomSteps[] = {0.25, 0.33, 0.5,  0.67, 0.75, 0.8, 0.9, 1.0, 1.1,
                                1.25, 1.5,  1.75, 2.0,  2.5,  3.0, 4.0, 5.0};

// The page keeps to its box: its own pages and what they embed load inside the view; a mail link that the
// user clicked goes to the mail program; nothing else is followed, whatever asked for it (a link, a redirect,
// a form, a script).
class ReportPage : public QWebEnginePage {
public:
    ReportPage(std::function<void(const QUrl&)> openMail, QObject* parent)
        : QWebEnginePage(parent), m_openMail(std::move(openMail))
    {
        // The engine asks about a scheme it cannot load itself only when the user's click or key led to it.
        settings()->setUnknownUrlSchemePolicy(QWebEngineSettings::AllowUnknownUrlSchemesFromUserInteraction);
        // A page that cannot be reached is explained by a page of ours (WebView), not the engine's.
        settings()->setAttribute(QWebEngineSettings::ErrorPageEnabled, false);
        connect(this, &QWebEnginePage::loadingChanged, this, [this](const QWebEngineLoadingInfo& info) {
            if (info.status() == QWebEngineLoadingInfo::LoadStartedStatus)
                m_started = info.url();
        });
    }

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool) override
    {
        static const QStringList inside = {QStringLiteral("http"), QStringLiteral("https"), QStringLiteral("about"),
                                           QStringLiteral("data"), QStringLiteral("blob")};
        const QString scheme = url.scheme().toLower();
        if (inside.contains(scheme))
            return true;
        // A redirect to a mail address comes as a click too, while the navigation under way is the one that was
        // redirected; only a link to the mail address itself is followed.
        if (scheme == QLatin1String("mailto") && type == NavigationTypeLinkClicked && url == m_started)
            m_openMail(url);
        return false; // refused quietly; the engine then hands nothing to the desktop
    }

private:
    std::function<void(const QUrl&)> m_openMail;
    QUrl m_started; // where the main frame's navigation under way began
};

// The engine hands its frames to a Qt Quick scene inside the view. Drawn by Qt Quick's software renderer, a report
// reaches the screen several times sooner than through OpenGL, whose context and surfaces take longer to set up than
// the page takes to load, and far sooner where OpenGL is itself drawn in software; a report page needs nothing that
// only OpenGL draws. It must be chosen before the first scene exists, so as the application starts.
void drawInSoftware()
{
    QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
}

// A text as a JavaScript string literal, to be placed in an HTML attribute after escaping for HTML.
QString scriptString(const QString& text)
{
    const QByteArray array = QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact);
    return QString::fromUtf8(array.mid(1, array.size() - 2));
}
} // namespace

Q_COREAPP_STARTUP_FUNCTION(drawInSoftware)

void WebView::setExternalOpener(ExternalOpener opener)
{
    g_externalOpener = std::move(opener);
}
void WebView::setSaveLocationChooser(SaveLocationChooser chooser)
{
    g_saveChooser = std::move(chooser);
}
void WebView::setPrinterChooser(PrinterChooser chooser)
{
    g_printerChooser = std::move(chooser);
}

WebView::WebView(QWidget* parent) : QWebEngineView(parent)
{
    setObjectName(QStringLiteral("browser"));
    setAccessibleName(tr("Report"));
    // A page takes whatever room its window gives it, shared evenly with a page beside it.
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    auto* view = new ReportPage([this](const QUrl& url) { openExternally(url); }, this);
    setPage(view);

    // Reports open links in new windows for pages outside the service; those belong in the user's browser, when
    // the user asked for them: a page cannot open windows on its own. Leaving the request unadopted makes the
    // engine drop the window it prepared.
    connect(view, &QWebEnginePage::newWindowRequested, this, [this](QWebEngineNewWindowRequest& request) {
        if (request.isUserInitiated())
            openExternally(request.requestedUrl());
    });

    // The profile is shared by every view; each view saves only what its own page offers.
    connect(view->profile(), &QWebEngineProfile::downloadRequested, this, [this](QWebEngineDownloadRequest* download) {
        if (download->page() == page())
            saveDownload(download);
    });

    connect(view, &QWebEnginePage::renderProcessTerminated, this,
            [this](QWebEnginePage::RenderProcessTerminationStatus status, int) { rendererEnded(status); });
    connect(view, &QWebEnginePage::loadingChanged, this, &WebView::loadingChanged);
    connect(this, &QWebEngineView::loadStarted, this, [this] {
        if (m_opening == Opening::Asked)
            m_opening = Opening::Started;
    });
    connect(this, &QWebEngineView::loadFinished, this, [this] {
        if (m_opening == Opening::Started && !page()->isLoading()) {
            m_opening = Opening::No;
            emit opened();
        }
    });
    connect(this, &QWebEngineView::printFinished, this, &WebView::printDone);
    connect(this, &QWebEngineView::pdfPrintingFinished, this, [this](const QString&, bool ok) { printDone(ok); });

    bool ok = false;
    const qreal saved = SettingsStore::readText(kZoomSetting).toDouble(&ok);
    if (ok && saved >= kZoomSteps[0] && saved <= std::end(kZoomSteps)[-1])
        setZoomFactor(saved);

    // The mouse's back and forward buttons reach the widget that draws the page, a child of this view.
    for (QObject* child : children())
        child->installEventFilter(this);
}

WebView::~WebView() = default;

void WebView::Navigate(const QString& url)
{
    m_lastAddress = url;
    expectPage();
    m_pageThatFailed.clear();
    load(QUrl(url, QUrl::TolerantMode));
}

void WebView::Refresh()
{
    expectPage();
    loadAgain();
}

void WebView::expectPage()
{
    // A page asked for starts loading a moment later, except that one asked for while another loads takes that
    // one's place: no new start then, and the load under way ends with the new page.
    m_opening = page()->isLoading() ? Opening::Started : Opening::Asked;
}

void WebView::loadAgain()
{
    // After a notice of ours, try the page it stands for rather than the notice (which stays the page shown
    // until that one has loaded).
    if (!m_pageThatFailed.isEmpty()) {
        load(m_pageThatFailed);
        return;
    }
    // Before the first page has committed there is nothing to reload; open the address again instead.
    if (url().isEmpty() && !m_lastAddress.isEmpty())
        load(QUrl(m_lastAddress, QUrl::TolerantMode));
    else
        reload();
}

void WebView::zoomIn()
{
    const auto* step = std::find_if(std::begin(kZoomSteps), std::end(kZoomSteps),
                                    [this](qreal s) { return s > zoomFactor() + 0.001; });
    if (step != std::end(kZoomSteps))
        setZoom(*step);
}

void WebView::zoomOut()
{
    const auto step = std::find_if(std::rbegin(kZoomSteps), std::rend(kZoomSteps),
                                   [this](qreal s) { return s < zoomFactor() - 0.001; });
    if (step != std::rend(kZoomSteps))
        setZoom(*step);
}

void WebView::resetZoom()
{
    setZoom(1.0);
}

void WebView::setZoom(qreal factor)
{
    setZoomFactor(factor);
    SettingsStore::writeText(kZoomSetting, QString::number(factor));
}

void WebView::printPage()
{
    if (m_printer)
        return; // one job at a time: the engine prints the page it has laid out for the job under way
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setDocName(title());
    const QPointer<WebView> self(this);
    bool chosen = false;
    if (g_printerChooser) {
        chosen = g_printerChooser(printer.get());
    } else {
        // On the heap: the window may go (the client ends the viewer) while the dialog waits.
        const QPointer<QPrintDialog> dialog = new QPrintDialog(printer.get(), window());
        dialog->setWindowTitle(tr("Print Report"));
        chosen = dialog->exec() == QDialog::Accepted;
        delete dialog.data();
    }
    if (!chosen || !self)
        return;
    m_printer = std::move(printer);
    // A PDF file gets the engine's own PDF, with text and links, rather than pictures of the pages.
    if (m_printer->outputFormat() == QPrinter::PdfFormat && !m_printer->outputFileName().isEmpty())
        printToPdf(m_printer->outputFileName(), m_printer->pageLayout(), m_printer->pageRanges());
    else
        print(m_printer.get());
}

void WebView::printDone(bool ok)
{
    if (!m_printer)
        return;
    m_printer.reset();
    if (!ok)
        MessageBox::show(tr("The report could not be printed."), MessageBox::Icon::Critical);
    emit printEnded(ok);
}

bool WebView::event(QEvent* event)
{
    if (event->type() == QEvent::ChildAdded)
        static_cast<QChildEvent*>(event)->child()->installEventFilter(this);
    return QWebEngineView::event(event);
}

bool WebView::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonRelease || type == QEvent::MouseButtonDblClick) {
        const Qt::MouseButton button = static_cast<QMouseEvent*>(event)->button();
        if (button == Qt::BackButton || button == Qt::ForwardButton) {
            if (type == QEvent::MouseButtonPress)
                button == Qt::BackButton ? back() : forward();
            return true; // the page gets neither half of the click
        }
    }
    return QWebEngineView::eventFilter(watched, event);
}

void WebView::openExternally(const QUrl& url)
{
    // Only what a web browser or mail program handles; a page cannot make the desktop start anything else.
    static const QStringList allowed = {QStringLiteral("http"), QStringLiteral("https"), QStringLiteral("mailto")};
    if (!url.isValid() || !allowed.contains(url.scheme().toLower()))
        return;
    if (g_externalOpener)
        g_externalOpener(url);
    else
        QDesktopServices::openUrl(url);
}

void WebView::saveDownload(QWebEngineDownloadRequest* download)
{
    const QString suggested = QDir(download->downloadDirectory()).filePath(download->downloadFileName());
    // The engine rejects a download that is not accepted before this handler returns, so ask now.
    const QString path =
        g_saveChooser ? g_saveChooser(suggested) : QFileDialog::getSaveFileName(window(), tr("Save File"), suggested);
    if (path.isEmpty()) {
        download->cancel();
        return;
    }
    const QFileInfo target(path);
    download->setDownloadDirectory(target.absolutePath());
    download->setDownloadFileName(target.fileName());
    connect(download, &QWebEngineDownloadRequest::isFinishedChanged, this, [this, download] {
        if (!download->isFinished())
            return;
        const QString saved = QDir(download->downloadDirectory()).filePath(download->downloadFileName());
        const bool ok = download->state() == QWebEngineDownloadRequest::DownloadCompleted;
        const QString reason = ok ? QString() : download->interruptReasonString();
        emit downloadEnded(saved, ok, reason);
        if (!ok && download->state() == QWebEngineDownloadRequest::DownloadInterrupted)
            MessageBox::show(tr("%1 could not be saved: %2").arg(saved, reason), MessageBox::Icon::Critical);
    });
    download->accept();
}

void WebView::loadingChanged(const QWebEngineLoadingInfo& info)
{
    // Notices of ours are data: pages; no other page can open one in the main frame.
    const bool notice = info.url().scheme() == QLatin1String("data");
    // A server that answers with an error status explains it in its own page, which stays.
    const bool answered = info.status() == QWebEngineLoadingInfo::LoadSucceededStatus ||
                          info.errorDomain() == QWebEngineLoadingInfo::HttpStatusCodeDomain;
    if (notice || info.status() == QWebEngineLoadingInfo::LoadStartedStatus ||
        info.status() == QWebEngineLoadingInfo::LoadStoppedStatus)
        return;
    if (answered) {
        m_pageThatFailed.clear();
        return;
    }
    const QString host = info.url().host().toHtmlEscaped();
    showNotice(tr("This report could not be loaded"),
               tr("<p>The report server%1 did not answer.</p><p>Check that:</p><ul>"
                  "<li>this computer is connected to the network;</li>"
                  "<li>a firewall or proxy lets Lumenpane reach the report server;</li>"
                  "<li>the service is not down for maintenance (try again in a few minutes).</li></ul>"
                  "<p class=\"detail\">%2</p>")
                   .arg(host.isEmpty() ? QString() : QStringLiteral(" at <b>%1</b>").arg(host),
                        info.errorString().toHtmlEscaped()),
               info.url());
}

void WebView::showNotice(const QString& heading, const QString& explanation, const QUrl& failed)
{
    m_pageThatFailed = failed;
    const QString retry = QStringLiteral("location.replace(%1)").arg(scriptString(failed.toString()));
    setHtml(QStringLiteral("<!DOCTYPE html><html><head><meta charset=\"utf-8\"><title>%1</title><style>"
                           "body{font-family:sans-serif;margin:2em;color:#222}h2{font-weight:normal}"
                           "button{font:inherit;padding:.4em 1.2em}.detail{color:#777;font-size:small}"
                           "</style></head><body><h2>%1</h2>%2<p><button id=\"retry\" onclick=\"%3\">%4</button>"
                           "</p></body></html>")
                .arg(heading.toHtmlEscaped(), explanation, retry.toHtmlEscaped(), tr("Try again")));
}

void WebView::rendererEnded(int status)
{
    if (status == QWebEnginePage::NormalTerminationStatus)
        return;
    // Counted per page over a while, not reset by a load that succeeds: a page that loads and then brings its
    // renderer down would otherwise be loaded for ever.
    const QUrl address =
        m_pageThatFailed.isEmpty() ? (url().isEmpty() ? QUrl(m_lastAddress) : url()) : m_pageThatFailed;
    const auto now = std::chrono::steady_clock::now();
    if (address != m_crashedAddress) {
        m_crashedAddress = address;
        m_crashes.clear();
    }
    m_crashes.removeIf([&](auto when) { return now - when > RendererRestartWindow; });
    const bool giveUp = m_crashes.size() >= MaxRendererRestarts;
    if (!giveUp)
        m_crashes.append(now);
    // From the event loop: the engine is still tearing the old renderer down inside this signal.
    QTimer::singleShot(0, this, [this, giveUp, address] {
        if (!giveUp) {
            loadAgain();
            return;
        }
        showNotice(tr("This page stopped working"),
                   tr("<p>The page closed down several times in a row while it was shown. Choose another report "
                      "from the menus, or try this one again.</p>"),
                   address);
    });
}
