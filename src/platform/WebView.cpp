#include "WebView.h"

#include "MessageBox.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QTimer>
#include <QWebEngineDownloadRequest>
#include <QWebEngineNewWindowRequest>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <utility>

namespace {
WebView::ExternalOpener g_externalOpener;
WebView::SaveLocationChooser g_saveChooser;
} // namespace

void WebView::setExternalOpener(ExternalOpener opener)
{
    g_externalOpener = std::move(opener);
}
void WebView::setSaveLocationChooser(SaveLocationChooser chooser)
{
    g_saveChooser = std::move(chooser);
}

WebView::WebView(QWidget* parent) : QWebEngineView(parent)
{
    setObjectName(QStringLiteral("browser"));
    QWebEnginePage* view = page();

    // Reports open links in new windows for pages outside the service; those belong in the user's browser.
    // Leaving the request unadopted makes the engine drop the window it prepared.
    connect(view, &QWebEnginePage::newWindowRequested, this,
            [this](QWebEngineNewWindowRequest& request) { openExternally(request.requestedUrl()); });

    // The profile is shared by every view; each view saves only what its own page offers.
    connect(view->profile(), &QWebEngineProfile::downloadRequested, this, [this](QWebEngineDownloadRequest* download) {
        if (download->page() == page())
            saveDownload(download);
    });

    connect(view, &QWebEnginePage::renderProcessTerminated, this,
            [this](QWebEnginePage::RenderProcessTerminationStatus status, int) { rendererEnded(status); });
    connect(view, &QWebEnginePage::loadFinished, this, [this](bool ok) {
        if (ok)
            m_rendererRestarts = 0;
    });
}

void WebView::Navigate(const QString& url)
{
    m_lastAddress = url;
    m_rendererRestarts = 0;
    m_pageThatFailed.clear();
    load(QUrl(url, QUrl::TolerantMode));
}

void WebView::Refresh()
{
    // After the notice about a page that kept failing, try that page again rather than the notice.
    if (!m_pageThatFailed.isEmpty()) {
        load(std::exchange(m_pageThatFailed, QUrl()));
        return;
    }
    // Before the first page has committed there is nothing to reload; open the address again instead.
    if (url().isEmpty() && !m_lastAddress.isEmpty())
        load(QUrl(m_lastAddress, QUrl::TolerantMode));
    else
        reload();
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

void WebView::rendererEnded(int status)
{
    if (status == QWebEnginePage::NormalTerminationStatus)
        return;
    if (m_rendererRestarts >= MaxRendererRestarts) {
        // The page brings its renderer down every time; say so rather than loop or show nothing.
        const QUrl failed = url();
        setHtml(tr("<html><body style=\"font-family:sans-serif;margin:2em\"><h2>This page stopped working</h2>"
                   "<p>The page could not be shown. Choose another report from the menus, or Refresh to "
                   "try again.</p></body></html>"));
        m_rendererRestarts = 0;
        m_pageThatFailed = failed;
        return;
    }
    ++m_rendererRestarts;
    // Reload from the event loop: the engine is still tearing the old renderer down inside this signal.
    QTimer::singleShot(0, this, [this] { Refresh(); });
}
