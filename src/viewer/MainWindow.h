#pragma once

#include <QHash>
#include <QMainWindow>
#include <memory>

class QAction;
class WebView;
namespace Ui {
class MainWindow;
}

// The report viewer's window: the menus and one embedded browser that shows the report server's pages.
// It opens the pages that need nothing but the server (settings, help, update check) and reloads; every
// other choice is a signal for the viewer, which keeps the session.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;

    WebView* browser() const;

    // The site menu, for the site list: one item per site, keyed by the site identifier; 0 is "&Refresh List".
    QAction* siteItem(qint16 id) const { return m_siteItems.value(id); }
    // Gives the site its item, captioned and visible: a new one at the end of the menu, or the one it has.
    QAction* showSiteItem(qint16 id, const QString& caption);

    // The outer size, frame and title bar included; the client area is what the frame leaves.
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
    void addPageShortcuts();
    void followLoading();
    void find(bool backward);

    std::unique_ptr<Ui::MainWindow> m_ui;
    QHash<qint16, QAction*> m_siteItems;
};
