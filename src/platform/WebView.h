#pragma once

#include <QString>
#include <QUrl>
#include <QWebEngineView>
#include <functional>

class QWebEngineDownloadRequest;

// The embedded browser of the main window: a plain page area without bars of its own.
// Besides opening addresses it does what a user expects of a browser pane: a link that asks for a new
// window goes to the user's default web browser, a download asks where to save it, and a page whose
// renderer process died is loaded again instead of staying blank.
class WebView : public QWebEngineView {
    Q_OBJECT
public:
    explicit WebView(QWidget* parent = nullptr);

    // Opens the address; returns at once, the page loads in the background.
    void Navigate(const QString& url);
    // Loads the current page again, whichever way it was reached.
    void Refresh();
    // The address this view was last told to open with Navigate (not where links led since).
    QString lastAddress() const { return m_lastAddress; }

    // Seams for tests: where new-window links go, and the answer to "save the download where?"
    // (an empty path cancels the download).
    using ExternalOpener = std::function<void(const QUrl&)>;
    using SaveLocationChooser = std::function<QString(const QString& suggestedPath)>;
    static void setExternalOpener(ExternalOpener opener);
    static void setSaveLocationChooser(SaveLocationChooser chooser);

    // How many times in a row a crashed renderer is replaced before the view gives up and explains.
    static constexpr int MaxRendererRestarts = 3;

signals:
    // A download ended; ok false with the reason when it did not complete.
    void downloadEnded(const QString& path, bool ok, const QString& reason);

private:
    void openExternally(const QUrl& url);
    void saveDownload(QWebEngineDownloadRequest* download);
    void rendererEnded(int status);

    QString m_lastAddress;
    int m_rendererRestarts = 0;
    QUrl m_pageThatFailed; // set while the view shows the notice in place of a page that kept crashing
};
