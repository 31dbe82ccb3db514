#pragma once

#include "session/HandOver.h"
#include "session/SessionInfo.h"

#include <QObject>
#include <QPointer>

class AboutDialog;
class DateRangeDialog;
class MainWindow;
class QIODevice;
class QWebEnginePage;
class SiteList;

// The report viewer process: it keeps the session it was handed, owns its windows and holds the flows
// between them, and answers the client over the pipe.
//
//   start                → a page without a window warms the engine up on a blank page (unless an Open was
//                          waiting already: its start page is the first); then Ready
//   Open                 → that window opens the start page and fills its site menu when asked, and comes on
//                          screen once both are done; Shown
//   Show                 → the main window comes forward (a fresh one if it was closed), with the activation
//                          token of the user's action that asked for it; Shown
//   a period or a range  → the period changes and its report opens (beside it, while the comparison is on,
//                          the period before); Period
//   Exit                 → Exit, and the viewer ends
//   close box            → the main window goes; MainClosed
//   Quit, or the pipe closes, or no window is left → the viewer ends
// Messages are handled as they come: nothing waits, a site list fills from the event loop.
class Viewer : public QObject {
    Q_OBJECT
public:
    // Messages for the client are written to output, one line each; it is not owned.
    explicit Viewer(QIODevice* output, QObject* parent = nullptr);
    ~Viewer() override;

    void start();

    const SessionInfo& session() const { return m_session; }
    MainWindow* mainWindow() const;
    DateRangeDialog* dateRangeDialog() const;
    AboutDialog* aboutDialog() const;
    SiteList* siteList() const;
    bool hasEnded() const { return m_ended; }

public slots:
    // What arrived from the client; it need not end at a line break.
    void receive(const QByteArray& chunk);
    // The pipe from the client closed or failed: the client has gone.
    void inputEnded();

signals:
    // The viewer is done; the process should end.
    void finished();

private:
    void handle(const HandOver::Message& message);
    void open(const HandOver::Message& message);
    // Brings the main window forward, a fresh one if there is none, with the activation token of the user's action
    // that asked for it; one that has not been shown yet comes on screen once its report has loaded and its site
    // menu is filled, or after MaxWait at most.
    void showMain(const ActivationToken& token = {});
    static constexpr int MaxWait = 1000; // ms
    void choosePeriod(int index);
    void chooseSite(qint16 id);
    void refreshSiteList();
    void openDateRange();
    void applyRange(const QDate& from, const QDate& to);
    void openAbout();
    void exitChosen();
    void mainClosed();
    void windowClosed();
    // The main window; when there is none, a new one, hidden, which opens the start page.
    MainWindow* ensureMain();
    void openStartPage(MainWindow* window);
    // The address of the report that the current one is compared with.
    QString previousReport() const;
    void send(HandOver::Kind kind);
    void end();

    QIODevice* m_output;
    HandOver::LineReader m_reader;
    bool m_ended = false;
    SessionInfo m_session;
    QPointer<QWebEnginePage> m_warmUp; // the page that starts the engine before there is a session
    qint16 m_site = 0;                 // the site chosen since the start page, if any
    QPointer<MainWindow> m_main;
    QPointer<SiteList> m_siteList; // the main window's
    QPointer<DateRangeDialog> m_dates;
    QPointer<AboutDialog> m_about;
};
