#include "SiteList.h"

#include "forms.h"
#include "frmMain.h"
#include "platform/BusyPointer.h"
#include "session/AccountCommand.h"
#include "session/Protocol.h"

#include <QAction>
#include <QCoreApplication>
#include <QPointer>

namespace {
// A choice of "Refresh List" while the list is being filled starts a nested listing; the pointer goes
// back to normal only when the outermost one ends.
int g_depth = 0;
} // namespace

QString SiteCaption(qint16 siteId, const QString* name)
{
    if (!name)
        return QString::number(siteId);
    QString caption = *name;
    return caption.replace(QLatin1Char('&'), QLatin1String("&&"));
}

void LoadSiteList(const QString& email, const QString& password)
{
    ++g_depth;
    BusyPointer::setBusy(true);

    // Both callers have the main window loaded. If the user closes it while the list is being filled,
    // the rest of the list belongs to no window: it is dropped rather than loading a hidden new one.
    const QPointer<frmMain> window = Form<frmMain>::get();
    const CommandOutcome outcome = runAccountCommand(Protocol::ListSitesAddress(email, password));
    if (outcome.succeeded()) {
        for (const ServiceResponse::Row& row : outcome.answer.rows()) {
            if (!window)
                break;
            // 0 would fall on "Refresh List" and negative numbers are no sites: such rows give no item.
            if (row.siteId && *row.siteId > 0) {
                const qint16 id = *row.siteId;
                QAction* before = window->removeSiteItem(id);
                QAction* item = window->createSiteItem(id, before);
                item->setText(SiteCaption(id, row.name ? &*row.name : nullptr));
                item->setVisible(true);
            }
            // The menu grows visibly and stays usable between sites.
            QCoreApplication::processEvents();
        }
    }

    if (--g_depth == 0)
        BusyPointer::setBusy(false);
}
