#pragma once

#include "session/ServiceResponse.h"

#include <QObject>
#include <QString>
#include <QTimer>
#include <optional>

class AccountRequest;
class MainWindow;
struct CommandOutcome;

// The account's sites as items of a main window's site menu, keyed by the site identifier. It asks the service for
// the sites and then gives each one an item, a few milliseconds' worth at a time from the event loop: the menu
// grows visibly, and a site chosen meanwhile is handled before the next ones are added. A listed site's item is
// re-captioned in place, a new site's item is added at the end; no item is ever removed. Failures and refusals
// change nothing and show nothing. The busy pointer shows while it works. It belongs to its window, and stops when
// the window goes.
class SiteList : public QObject {
    Q_OBJECT
public:
    explicit SiteList(MainWindow* window);
    ~SiteList() override;

    // Starts a listing; returns false, and changes nothing, while one is under way: one listing at a time.
    bool load(const QString& email, const QString& password);
    bool isLoading() const { return m_loading; }

    // The caption of a site's item: the name as written ("&" is no access key here), or the identifier when
    // the service sent no name. A name is shown on one line (control characters, which a menu would read as the
    // start of a shortcut, become blanks), without the characters that would reorder it on screen, and cut at
    // MaxCaptionLength characters.
    static QString caption(qint16 siteId, const std::optional<QString>& name);
    static constexpr int MaxCaptionLength = 100;

signals:
    // The listing is over: every site of the answer has its item, or the answer brought none.
    void finished();

private:
    void answered(const CommandOutcome& outcome);
    void addSome();
    void done();

    MainWindow* const m_window;
    bool m_loading = false;
    QList<ServiceResponse::Row> m_rows;
    qsizetype m_next = 0;
    QTimer m_nextSlice;
};
