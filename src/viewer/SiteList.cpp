#include "SiteList.h"

#include "MainWindow.h"
#include "platform/BusyPointer.h"
#include "session/AccountCommand.h"
#include "session/Protocol.h"

#include <QAction>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QPointer>

namespace SiteList {

namespace {
// "Refresh List" chosen while a list is being filled starts a nested listing; the pointer goes back to
// normal only when the outermost one ends.
int g_depth = 0;
} // namespace

QString caption(qint16 siteId, const std::optional<QString>& name)
{
    if (!name)
        return QString::number(siteId);
    QString text;
    for (const QChar c : *name) {
        if (c.category() == QChar::Other_Control)
            text += QLatin1Char(' ');
        else if (c.category() != QChar::Other_Format) // bidirectional overrides, isolates and marks
            text += c;
        if (text.size() > MaxCaptionLength) {
            text.truncate(MaxCaptionLength);
            text += QChar(0x2026);
            break;
        }
    }
    return text.replace(QLatin1Char('&'), QLatin1String("&&"));
}

void load(MainWindow* target, const QString& email, const QString& password)
{
    ++g_depth;
    BusyPointer::setBusy(true);

    const QPointer<MainWindow> window = target;
    const CommandOutcome outcome = runAccountCommand(Protocol::ListSitesAddress(email, password));
    if (outcome.succeeded()) {
        QElapsedTimer sinceEvents;
        for (const ServiceResponse::Row& row : outcome.answer.rows()) {
            // A window closed meanwhile is deleted at the next event pass; the rest of the list belongs to none.
            if (!window)
                break;
            // 0 would fall on "Refresh List" and negative numbers are no sites: such rows give no item.
            if (row.siteId && *row.siteId > 0) {
                // Re-creating a listed site's item is re-captioning it where it stands: the same menu as
                // removing and adding it back, without searching the menu for its place.
                window->showSiteItem(*row.siteId, caption(*row.siteId, row.name));
            }
            // The first site shows at once; after that, handling events a few times a frame keeps the window
            // as responsive as handling them after every item, at a fraction of the cost on long lists.
            if (!sinceEvents.isValid() || sinceEvents.hasExpired(5)) {
                QCoreApplication::processEvents();
                sinceEvents.start();
            }
        }
    }

    if (--g_depth == 0)
        BusyPointer::setBusy(false);
}

} // namespace SiteList
