#pragma once

#include <QMainWindow>
#include <QMap>

class QAction;
class QMenu;
class WebView;

// The report viewer: the menus and one embedded browser that shows the report server's pages.
// The menus compute which address to open; the pages themselves are the server's.
class frmMain : public QMainWindow {
    Q_OBJECT
public:
    frmMain();

    void Form_Load();
    void mnuRefresh_Click();
    void mnuExit_Click();
    void mnuSettings_Click();
    void mnuOnlineHelp_Click();
    void mnuUpdate_Click();
    void mnuAbout_Click();
    void mnuChgDate_Click(qint16 index);
    void mnuRefreshWSList_Click(qint16 index);

    WebView* browser = nullptr;

    QMenu* mnuFile = nullptr;
    QAction* mnuRefresh = nullptr;
    QAction* mnuExit = nullptr;
    QMenu* mnuOptions = nullptr;
    QMenu* mnuWebsite = nullptr;
    QMenu* mnuChgDates = nullptr;
    QAction* mnuSettings = nullptr;
    QMenu* mnuHelp = nullptr;
    QAction* mnuOnlineHelp = nullptr;
    QAction* mnuUpdate = nullptr;
    QAction* mnuAbout = nullptr;
    // Indexed menu arrays. Site items are keyed by the site identifier; index 0 is "&Refresh List".
    QMap<qint16, QAction*> mnuChgDate;
    QMap<qint16, QAction*> mnuRefreshWSList;

    // The site menu's operations, used while the site list is read.
    bool hasSiteItem(qint16 index) const { return mnuRefreshWSList.contains(index); }
    // Removes the item; returns the item that followed it, so a new one can take its place.
    QAction* removeSiteItem(qint16 index);
    // Creates a hidden item before `before` (at the end when null). Index 0 is never created anew.
    QAction* createSiteItem(qint16 index, QAction* before = nullptr);

    // The window's outer size, frame and title bar included, in twips; the client area is what remains.
    static constexpr int OuterWidth = 9830;
    static constexpr int OuterHeight = 10800;

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void moveEvent(QMoveEvent* event) override;

private:
    QAction* addIndexedItem(QMenu* menu, const QString& name, qint16 index, const QString& caption,
                            QAction* before = nullptr);
    void keepOuterSize();

    bool m_placed = false;
};
