#include "SiteList.h"

#include "MainWindow.h"
#include "platform/BusyPointer.h"
#include "session/AccountRequest.h"
#include "session/Protocol.h"

#include <QAction>
#include <QElapsedTimer>

namespace {
// Long enough to add a few thousand items, short enough that the window answers several times a frame.
constexpr int SliceMs = 5;
} // namespace

SiteList::SiteList(MainWindow* window) : QObject(window), m_window(window)
{
    m_nextSlice.setSingleShot(true);
    m_nextSlice.setInterval(0); // once the events that wait meanwhile have been handled
    connect(&m_nextSlice, &QTimer::timeout, this, &SiteList::addSome);
}

SiteList::~SiteList()
{
    if (m_loading)
        BusyPointer::setBusy(false);
}

QString SiteList::caption(qint16 siteId, const std::optional<QString>& name)
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

bool SiteList::load(const QString& email, const QString& password)
{
    if (m_loading)
        return false;
    m_loading = true;
    BusyPointer::setBusy(true);
    auto* request = new AccountRequest(this);
    connect(request, &AccountRequest::finished, this, &SiteList::answered);
    connect(request, &AccountRequest::finished, request, &QObject::deleteLater);
    request->start(Protocol::ListSitesAddress(email, password));
    return true;
}

void SiteList::answered(const CommandOutcome& outcome)
{
    if (!outcome.succeeded())
        return done();
    m_rows = outcome.answer.rows();
    m_next = 0;
    addSome();
}

void SiteList::addSome()
{
    // The first site shows at once; then a slice of items at a time.
    QElapsedTimer slice;
    slice.start();
    while (m_next < m_rows.size()) {
        const ServiceResponse::Row& row = m_rows.at(m_next++);
        // 0 would fall on "Refresh List" and negative numbers are no sites: such rows give no item.
        if (row.siteId && *row.siteId > 0) {
            // Re-creating a listed site's item is re-captioning it where it stands: the same menu as removing
            // and adding it back, without searching the menu for its place.
            m_window->showSiteItem(*row.siteId, caption(*row.siteId, row.name));
        }
        if (m_next == 1 || slice.hasExpired(SliceMs)) {
            m_nextSlice.start();
            return;
        }
    }
    done();
}

void SiteList::done()
{
    m_loading = false;
    m_rows.clear();
    BusyPointer::setBusy(false);
    emit finished();
}
