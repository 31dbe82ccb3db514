#pragma once

#include <QList>
#include <QString>
#include <QUrl>
#include <QWebEngineView>
#include <chrono>
#include <functional>
#include <memory>

class QPrinter;
class QWebEngineDownloadRequest;
class QWebEngineLoadingInfo;

// The embedded browser of the main window: a plain page area without bars of its own.
// Besides opening addresses it does what a user expects of a browser pane: a link that asks for a new
// window goes to the user's default web browser, a download asks where to save it, a page whose renderer
// process died is loaded again instead of staying blank, and a page that cannot be reached is explained by a
// page of ours with a button that tries again. Pages stay in their box: only web and mail addresses leave
// the view, and only when the user clicks or presses a key for them.
class WebView : public QWebEngineView {
    Q_OBJECT
public:
    explicit WebView(QWidget* parent = nullptr);
    ~WebView() override;

    // Opens the address; returns at once, the page loads in the background.
    void Navigate(const QString& url);
    // Loads the current page again, whichever way it was reached; after a notice of ours, the page it
    // stands for. Like Navigate, it is opening until that page is in.
    void Refresh();
    // The address this view was last told to open with Navigate (not where links led since).
    QString lastAddress() const { return m_lastAddress; }
    // True from Navigate() or Refresh() until the page it asked for has finished loading, or failed to; then
    // opened().
    bool isOpening() const { return m_opening != Opening::No; }

    // The page's size in the usual browser steps, kept between runs.
    void zoomIn();
    void zoomOut();
    void resetZoom();
    // Asks for a printer (or a PDF file) and prints the page there; the page prints in the background.
    void printPage();

    // Seams for tests: where new-window links go, the answer to "save the download where?" (an empty path
    // cancels the download), and the print dialog (false when the user cancelled).
    using ExternalOpener = std::function<void(const QUrl&)>;
    using SaveLocationChooser = std::function<QString(const QString& suggestedPath)>;
    using PrinterChooser = std::function<bool(QPrinter* printer)>;
    static void setExternalOpener(ExternalOpener opener);
    static void setSaveLocationChooser(SaveLocationChooser chooser);
    static void setPrinterChooser(PrinterChooser chooser);

    // A page whose renderer dies is loaded again at most this many times within the window below; after
    // that the view explains instead of looping.
    static constexpr int MaxRendererRestarts = 3;
    static constexpr std::chrono::seconds RendererRestartWindow{60};

signals:
    // A download ended; ok false with the reason when it did not complete.
    void downloadEnded(const QString& path, bool ok, const QString& reason);
    // A print job ended, on a printer or into a PDF file.
    void printEnded(bool ok);
    // The page that Navigate() asked for has finished loading, or failed to.
    void opened();

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void openExternally(const QUrl& url);
    void saveDownload(QWebEngineDownloadRequest* download);
    void rendererEnded(int status);
    void loadingChanged(const QWebEngineLoadingInfo& info);
    void expectPage();
    void loadAgain();
    void showNotice(const QString& heading, const QString& explanation, const QUrl& failed);
    void setZoom(qreal factor);
    void printDone(bool ok);

    QString m_lastAddress;
    enum class Opening {
        No,
        Asked,
        Started
    } m_opening = Opening::No;                              // a load that ends before Started is an older one
    QUrl m_crashedAddress;                                  // the page whose renderer deaths are counted
    QList<std::chrono::steady_clock::time_point> m_crashes; // when they happened, within the window
    QUrl m_pageThatFailed;               // set while the view shows a notice of ours in place of that page
    std::unique_ptr<QPrinter> m_printer; // the printer of the job under way; it must outlive the job
};
