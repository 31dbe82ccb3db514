#pragma once

#include <QHash>
#include <QMainWindow>
#include <QPointer>
#include <memory>

class FindWebsiteDialog;
class QAction;
class QProgressBar;
class WebView;
namespace Ui {
class MainWindow;
}

// The report viewer's window: the menus and one embedded browser that shows the report server's pages, and
// beside it, while the comparison is on, a second one with the report of the period before. It opens the pages
// that need nothing but the server (settings, help, update check), reloads, and finds a site in the site menu;
// every other choice is a signal for the viewer, which keeps the session.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;

    WebView* browser() const;
    // The report of the period before, right of the current one; none while the comparison is off.
    WebView* previousView() const;
    // The browser that the page keys (zoom, find, print, back and forward) act on: the one that has, or last
    // had, the keyboard focus.
    WebView* focusedView() const;

    // The site menu, for the site list: one item per site, keyed by the site identifier; 0 is "&Refresh List".
    QAction* siteItem(qint16 id) const { return m_siteItems.value(id); }
    // Gives the site its item, captioned and visible: a new one at the end of the menu, or the one it has.
    QAction* showSiteItem(qint16 id, const QString& caption);

    // The outer size, frame and title bar included; the client area is what the frame leaves. While the
    // comparison is on, the window is twice as wide, as far as the screen allows.
    static constexpr int OuterWidth = 655;
    static constexpr int OuterHeight = 720;

public slots:
    void reloadPage();
    void openSettings();
    void openOnlineHelp();
    void checkForUpdate();
    // The find bar under the page: opened (or its text selected again), searched, closed.
    void showFindBar();
    void findNext();
    void findPrevious();
    void closeFindBar();
    // The site finder, over this window's site menu.
    void findWebsite();
    // The second browser and its page are made, or deleted with the memory they hold; the choice is kept between
    // runs.
    void setComparing(bool on);
    // Opens a report (or the start page) in the browser, and the report of the period before it in the second
    // browser once the browser's page has loaded: both share the report server's session (its sign-in and
    // current site), which the browser's address may change. The second address is kept for when the comparison
    // is turned on.
    void showReport(const QString& address, const QString& previousAddress);

signals:
    void periodChosen(int index);
    void siteChosen(qint16 id);
    void siteListRefreshRequested();
    void aboutRequested();
    void exitRequested();
    // The user closed the window with its close box.
    void closed();

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void moveEvent(QMoveEvent* event) override;

private:
    QAction* addIndexedItem(QMenu* menu, const QString& arrayName, qint16 index, const QString& caption);
    void keepOuterSize();
    void keepOnScreen();
    int outerWidth() const;
    void addPageShortcuts();
    void followLoading(WebView* view, QProgressBar* line);
    void showFindResults(WebView* view);
    void openPreviousReport();
    void find(bool backward);

    std::unique_ptr<Ui::MainWindow> m_ui;
    QHash<qint16, QAction*> m_siteItems;
    QPointer<WebView> m_previous;
    QPointer<WebView> m_focused; // the browser that last had the keyboard focus
    QPointer<FindWebsiteDialog> m_finder;
    QString m_previousAddress;
};
