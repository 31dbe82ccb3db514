// The report web server's pages under /lumenpane/: the traffic report of the session's site and period,
// help, settings, the update check, and a CSV export. The figures are made up but fixed: the same site
// and day always show the same numbers.
#include "SimServer.h"

#include <QDate>
#include <QHash>
#include <QLocale>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <algorithm>
#include <cmath>
#include <memory>

namespace {

const QString kSessionCookie = QStringLiteral("QMSESSION");

struct ReportSession {
    QString email;
    int siteId = 0;
    QDate from;
    QDate to;
};

struct ReportState {
    QHash<QString, ReportSession> sessions;
};

QByteArray esc(const QString& text)
{
    return SimServer::xmlEscape(text);
}
QString dateText(const QDate& d)
{
    return QStringLiteral("%1/%2/%3").arg(d.month()).arg(d.day()).arg(d.year());
}
QByteArray number(qint64 n)
{
    return QLocale(QLocale::English).toString(n).toUtf8();
}

QDate parseDate(const QString& text)
{
    static const QRegularExpression pattern(QStringLiteral("^(\\d{1,2})/(\\d{1,2})/(\\d{4})$"));
    const auto m = pattern.match(text);
    return m.hasMatch() ? QDate(m.captured(3).toInt(), m.captured(1).toInt(), m.captured(2).toInt()) : QDate();
}

quint64 mix(quint64 x)
{
    x += 0x9e3779b97f4a7c15ULL;
    x = (x ^ (x >> 30)) * 0xbf58476d1ce4e5b9ULL;
    x = (x ^ (x >> 27)) * 0x94d049bb133111ebULL;
    return x ^ (x >> 31);
}

// Visits and page views of one site on one day: a level of its own per site, quieter weekends, and a
// fixed day-to-day wobble.
qint64 visitsOn(int siteId, const QDate& day)
{
    const double level = 60 + double(mix(quint64(siteId)) % 1400);
    const double weekday = day.dayOfWeek() >= 6 ? 0.62 : 1.0;
    const double wobble = 0.75 + double(mix(quint64(siteId) * 1000003ULL ^ quint64(day.toJulianDay())) % 500) / 1000.0;
    return qint64(std::llround(level * weekday * wobble));
}

qint64 pageViewsOn(int siteId, const QDate& day)
{
    const double perVisit = 1.6 + double(mix(quint64(day.toJulianDay()) * 31ULL + quint64(siteId)) % 200) / 100.0;
    return qint64(std::llround(double(visitsOn(siteId, day)) * perVisit));
}

struct Share {
    QString label;
    double weight;
};

// A fixed ranking per site: the same candidates, weighted by the site.
QList<Share> ranking(int siteId, const QStringList& candidates, int count)
{
    QList<Share> list;
    for (int i = 0; i < candidates.size(); ++i)
        list.append({candidates[i], 1.0 + double(mix(quint64(siteId) * 7919ULL + quint64(i)) % 1000) / 100.0});
    std::sort(list.begin(), list.end(), [](const Share& a, const Share& b) { return a.weight > b.weight; });
    list = list.mid(0, count);
    double total = 0;
    for (const Share& s : list)
        total += s.weight;
    for (Share& s : list)
        s.weight /= total;
    return list;
}

const QStringList kPages = {QStringLiteral("/"),        QStringLiteral("/products"),
                            QStringLiteral("/blog"),    QStringLiteral("/about"),
                            QStringLiteral("/contact"), QStringLiteral("/pricing"),
                            QStringLiteral("/support"), QStringLiteral("/blog/getting-started"),
                            QStringLiteral("/news"),    QStringLiteral("/search")};
const QStringList kReferrers = {
    QStringLiteral("(direct)"),       QStringLiteral("search.example"),      QStringLiteral("news.example.net"),
    QStringLiteral("social.example"), QStringLiteral("partner.example.org"), QStringLiteral("forum.example.com"),
    QStringLiteral("mail.example")};

const char* kStyle = R"(
body { margin: 0; font-family: "Liberation Sans", Arial, sans-serif; font-size: 13px; color: #222; background: #fff; }
header { background: #1f5fa8; color: #fff; padding: 10px 16px; }
header .brand { font-weight: bold; font-size: 16px; }
header .who { float: right; opacity: .85; }
main { padding: 8px 16px 24px; }
h1 { font-size: 20px; margin: 8px 0 2px; }
h2 { font-size: 15px; margin: 18px 0 6px; border-bottom: 1px solid #d6dde8; padding-bottom: 3px; }
.period { color: #555; margin: 0 0 10px; }
.notice { background: #fff4d6; border: 1px solid #e8c66a; padding: 6px 10px; margin: 8px 0; }
.cards { display: flex; gap: 10px; flex-wrap: wrap; }
.card { flex: 1 1 120px; border: 1px solid #d6dde8; border-radius: 4px; padding: 8px 10px; background: #f6f8fb; }
.card .v { font-size: 20px; font-weight: bold; color: #1f5fa8; }
.card .k { color: #555; }
table { border-collapse: collapse; width: 100%; }
th, td { text-align: left; padding: 4px 6px; border-bottom: 1px solid #eceff4; }
td.n, th.n { text-align: right; }
svg { width: 100%; height: auto; display: block; }
footer { margin-top: 18px; color: #555; }
a { color: #1f5fa8; }
)";

QByteArray page(const QString& title, const QString& who, const QByteArray& body)
{
    return "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>" + esc(title) + "</title><style>" + kStyle +
           "</style></head><body><header><span class=\"brand\">Quillmoor</span>" +
           (who.isEmpty() ? QByteArray() : "<span class=\"who\">" + esc(who) + "</span>") + "</header><main>" + body +
           "</main></body></html>\n";
}

SimReply signInRequired(const QString& reason)
{
    return SimReply::html(page(QStringLiteral("Sign-in required"), QString(),
                               "<h1>Sign-in required</h1><p>" + esc(reason) +
                                   "</p><p>Sign in again from Lumenpane to see your reports.</p>"));
}

// Visits per day as bars; long periods are summed into buckets so the chart stays readable.
QByteArray chart(int siteId, const QDate& from, const QDate& to)
{
    const qint64 days = from.daysTo(to) + 1;
    const qint64 perBar = std::max<qint64>(1, (days + 61) / 62);
    QList<QPair<QDate, qint64>> bars;
    for (QDate d = from; d <= to; d = d.addDays(perBar)) {
        qint64 sum = 0;
        for (QDate e = d; e <= to && d.daysTo(e) < perBar; e = e.addDays(1))
            sum += visitsOn(siteId, e);
        bars.append({d, sum});
    }
    qint64 peak = 1;
    for (const auto& b : bars)
        peak = std::max(peak, b.second);
    const int width = 600, height = 170, left = 44, bottom = 20, top = 8;
    // A short period gets bars of a sensible width rather than one bar across the chart.
    const double slot = std::min(48.0, double(width - left) / double(bars.size()));
    QByteArray svg = "<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 600 190\" role=\"img\" "
                     "aria-label=\"Visits per day\">";
    svg += "<line x1=\"" + QByteArray::number(left) + "\" y1=\"" + QByteArray::number(height - bottom + top) +
           "\" x2=\"600\" y2=\"" + QByteArray::number(height - bottom + top) + "\" stroke=\"#9aa7b8\"/>";
    svg += "<text x=\"" + QByteArray::number(left - 4) + "\" y=\"" + QByteArray::number(top + 10) +
           "\" font-size=\"11\" text-anchor=\"end\" fill=\"#555\">" + number(peak) + "</text>";
    svg += "<text x=\"" + QByteArray::number(left - 4) + "\" y=\"" + QByteArray::number(height - bottom + top) +
           "\" font-size=\"11\" text-anchor=\"end\" fill=\"#555\">0</text>";
    for (int i = 0; i < bars.size(); ++i) {
        const double h = double(height - bottom - top) * double(bars[i].second) / double(peak);
        const double x = left + i * slot + slot * 0.12;
        const QDate last = std::min(to, bars[i].first.addDays(perBar - 1));
        const QString label =
            perBar == 1 ? dateText(bars[i].first) : dateText(bars[i].first) + QStringLiteral(" to ") + dateText(last);
        svg += "<rect x=\"" + QByteArray::number(x, 'f', 1) + "\" y=\"" +
               QByteArray::number(double(height - bottom + top) - h, 'f', 1) + "\" width=\"" +
               QByteArray::number(std::max(1.0, slot * 0.76), 'f', 1) + "\" height=\"" + QByteArray::number(h, 'f', 1) +
               "\" fill=\"#3d7cc9\"><title>" + esc(label) + ": " + number(bars[i].second) + " visits</title></rect>";
    }
    svg += "<text x=\"" + QByteArray::number(left) + "\" y=\"186\" font-size=\"11\" fill=\"#555\">" +
           esc(dateText(from)) + "</text>";
    if (days > 1)
        svg += "<text x=\"600\" y=\"186\" font-size=\"11\" text-anchor=\"end\" fill=\"#555\">" + esc(dateText(to)) +
               "</text>";
    return svg + "</svg>";
}

QByteArray rankingTable(const QString& heading, const QList<Share>& shares, qint64 total, const QString& linkBase)
{
    QByteArray rows;
    for (const Share& s : shares) {
        const QByteArray label = linkBase.isEmpty() ? esc(s.label)
                                                    : "<a href=\"" + esc(linkBase + s.label) + "\" target=\"_blank\">" +
                                                          esc(s.label) + "</a>";
        rows += "<tr><td>" + label + "</td><td class=\"n\">" + number(std::llround(double(total) * s.weight)) +
                "</td><td class=\"n\">" + QByteArray::number(s.weight * 100, 'f', 1) + "%</td></tr>";
    }
    return "<table><tr><th>" + esc(heading) + "</th><th class=\"n\">" +
           (linkBase.isEmpty() ? QByteArray("Visits") : QByteArray("Page views")) +
           "</th><th class=\"n\">Share</th></tr>" + rows + "</table>";
}

QByteArray report(const SimAccount& account, const SimSite& site, const QDate& from, const QDate& to,
                  const QList<QString>& notices)
{
    qint64 visits = 0, views = 0, busiestVisits = -1;
    QDate busiest;
    for (QDate d = from; d <= to; d = d.addDays(1)) {
        const qint64 v = visitsOn(site.id, d);
        visits += v;
        views += pageViewsOn(site.id, d);
        if (v > busiestVisits) {
            busiestVisits = v;
            busiest = d;
        }
    }
    const qint64 days = from.daysTo(to) + 1;
    QByteArray body = "<h1>" + esc(site.name) + "</h1><p class=\"period\">" + esc(dateText(from)) + " to " +
                      esc(dateText(to)) + " (" + number(days) + (days == 1 ? " day" : " days") + ")</p>";
    for (const QString& n : notices)
        body += "<p class=\"notice\">" + esc(n) + "</p>";
    body += "<div class=\"cards\"><div class=\"card\"><div class=\"v\" id=\"visits\">" + number(visits) +
            "</div><div class=\"k\">Visits</div></div><div class=\"card\"><div class=\"v\" id=\"pageviews\">" +
            number(views) + "</div><div class=\"k\">Page views</div></div><div class=\"card\"><div class=\"v\">" +
            QByteArray::number(visits ? double(views) / double(visits) : 0.0, 'f', 2) +
            "</div><div class=\"k\">Pages per visit</div></div><div class=\"card\"><div class=\"v\">" +
            esc(dateText(busiest)) + "</div><div class=\"k\">Busiest day</div></div></div>";
    body += "<h2>Visits per day</h2>" + chart(site.id, from, to);
    body += "<h2>Top pages</h2>" + rankingTable(QStringLiteral("Page"), ranking(site.id, kPages, 6), views,
                                                QStringLiteral("http://") + site.name);
    body += "<h2>Top referrers</h2>" +
            rankingTable(QStringLiteral("Referrer"), ranking(site.id + 500, kReferrers, 5), visits, {});
    body += "<footer><a href=\"export.asp?FDate=" + esc(dateText(from)) + "&amp;LDate=" + esc(dateText(to)) +
            "\">Download these figures (CSV)</a> &middot; <a href=\"settings.asp\">Settings</a> &middot; "
            "<a href=\"help.asp\">Help</a></footer>";
    return page(site.name + QStringLiteral(" - Quillmoor report"), account.email, body);
}

const SimSite* findSite(const SimAccount& account, int id)
{
    for (const SimSite& s : account.sites)
        if (s.id == id)
            return &s;
    return nullptr;
}

QString newToken()
{
    QString token;
    for (int i = 0; i < 4; ++i)
        token += QString::number(QRandomGenerator::global()->generate(), 16).rightJustified(8, QLatin1Char('0'));
    return token;
}

} // namespace

void registerReportPages(SimServer& server)
{
    auto state = std::make_shared<ReportState>();

    // The session of the request's cookie with its account; nothing when there is no valid session.
    auto sessionOf = [state, &server](const SimRequest& r) -> std::pair<ReportSession*, SimAccount*> {
        auto it = state->sessions.find(r.cookie(kSessionCookie));
        if (it == state->sessions.end())
            return {nullptr, nullptr};
        SimAccount* account = server.findAccount(it->email);
        return {account ? &it.value() : nullptr, account};
    };

    server.addRoute(QStringLiteral("/lumenpane/default2.asp"), [state, sessionOf, &server](const SimRequest& r) {
        QList<QPair<QByteArray, QByteArray>> headers;
        ReportSession* session = nullptr;
        SimAccount* account = nullptr;
        if (r.value(QStringLiteral("autologin")) == QLatin1String("true")) {
            account = server.findAccount(r.value(QStringLiteral("email")));
            if (!account || account->password != r.value(QStringLiteral("password")))
                return signInRequired(QStringLiteral("The e-mail address or password was not accepted."));
            if (!account->active)
                return signInRequired(QStringLiteral("This account has not been activated yet."));
            const QString token = newToken();
            const QDate today = QDate::currentDate();
            state->sessions.insert(
                token, {account->email, account->sites.isEmpty() ? 0 : account->sites.first().id, today, today});
            session = &state->sessions[token];
            headers.append({"Set-Cookie", (kSessionCookie + QLatin1Char('=') + token).toUtf8() +
                                              "; Path=/lumenpane; HttpOnly; SameSite=Lax"});
        } else {
            std::tie(session, account) = sessionOf(r);
            if (!session)
                return signInRequired(QStringLiteral("Your session has ended or you have not signed in."));
        }

        QList<QString> notices;
        if (r.has(QStringLiteral("FDate"))) {
            // The period and site addresses write the last day as "Ldate", the custom range as "LDate".
            const QString lastKey = r.has(QStringLiteral("Ldate")) ? QStringLiteral("Ldate") : QStringLiteral("LDate");
            const QDate from = parseDate(r.value(QStringLiteral("FDate")));
            const QDate to = parseDate(r.value(lastKey));
            if (!from.isValid() || !to.isValid())
                notices.append(QStringLiteral("The period %1 to %2 is not a valid pair of dates; showing %3 to %4.")
                                   .arg(r.value(QStringLiteral("FDate")), r.value(lastKey), dateText(session->from),
                                        dateText(session->to)));
            else if (from > to)
                notices.append(QStringLiteral("The first day %1 comes after the last day %2; showing %3 to %4.")
                                   .arg(dateText(from), dateText(to), dateText(session->from), dateText(session->to)));
            else {
                session->from = from;
                session->to = to;
            }
        }
        if (r.has(QStringLiteral("chSiteID"))) {
            bool ok = false;
            const int id = r.value(QStringLiteral("chSiteID")).toInt(&ok);
            if (ok && findSite(*account, id))
                session->siteId = id;
            else
                notices.append(QStringLiteral("Site %1 is not one of this account's sites.")
                                   .arg(r.value(QStringLiteral("chSiteID"))));
        }

        const SimSite* site = findSite(*account, session->siteId);
        if (!site) {
            SimReply reply = SimReply::html(page(QStringLiteral("No sites"), account->email,
                                                 "<h1>No sites yet</h1><p>This account tracks no web sites yet.</p>"));
            reply.headers = headers;
            return reply;
        }
        SimReply reply = SimReply::html(report(*account, *site, session->from, session->to, notices));
        reply.headers = headers;
        return reply;
    });

    server.addRoute(QStringLiteral("/lumenpane/export.asp"), [sessionOf](const SimRequest& r) {
        auto [session, account] = sessionOf(r);
        if (!session)
            return signInRequired(QStringLiteral("Your session has ended or you have not signed in."));
        const SimSite* site = findSite(*account, session->siteId);
        QDate from = parseDate(r.value(QStringLiteral("FDate")));
        QDate to = parseDate(r.value(QStringLiteral("LDate")));
        if (!from.isValid() || !to.isValid() || from > to) {
            from = session->from;
            to = session->to;
        }
        QByteArray csv = "Date,Visits,Page views\r\n";
        for (QDate d = from; site && d <= to; d = d.addDays(1))
            csv += d.toString(Qt::ISODate).toLatin1() + ',' + QByteArray::number(visitsOn(site->id, d)) + ',' +
                   QByteArray::number(pageViewsOn(site->id, d)) + "\r\n";
        const QString name = (site ? site->name : QStringLiteral("report")) + QLatin1Char('-') +
                             from.toString(Qt::ISODate) + QStringLiteral("-to-") + to.toString(Qt::ISODate) +
                             QStringLiteral(".csv");
        return SimReply{200,
                        "text/csv; charset=utf-8",
                        csv,
                        {{"Content-Disposition", "attachment; filename=\"" + name.toUtf8() + "\""}}};
    });

    server.addRoute(QStringLiteral("/lumenpane/help.asp"), [](const SimRequest&) {
        return SimReply::html(page(
            QStringLiteral("Lumenpane help"), QString(),
            "<h1>Lumenpane help</h1>"
            "<h2>Reports</h2><p>The window shows the traffic report of one of your sites for one period: visits, "
            "page views, a chart of visits per day, your top pages and the sites that send you visitors.</p>"
            "<h2>Periods</h2><p>Choose <b>Options &rarr; Change Date</b> for Today, Yesterday, This Week, Last Week, "
            "This Month or Last Month, or <b>Specify</b> to pick the first and last day yourself. The period stays "
            "until you change it, also when you switch sites.</p>"
            "<h2>Sites</h2><p><b>Options &rarr; Change Website</b> lists the sites of your account. Choose "
            "<b>Refresh List</b> after adding a site on the Quillmoor web site.</p>"
            "<h2>Tray</h2><p>Closing the window keeps Lumenpane in the notification area; double-click its icon or "
            "choose <b>Restore</b> to bring it back, and <b>Exit</b> to end it.</p>"));
    });

    server.addRoute(QStringLiteral("/lumenpane/settings.asp"), [sessionOf](const SimRequest& r) {
        auto [session, account] = sessionOf(r);
        if (!session)
            return signInRequired(QStringLiteral("Your session has ended or you have not signed in."));
        QByteArray sites;
        for (const SimSite& s : account->sites)
            sites += "<tr><td>" + QByteArray::number(s.id) + "</td><td>" + esc(s.name) + "</td></tr>";
        return SimReply::html(page(
            QStringLiteral("Account settings"), account->email,
            "<h1>Account settings</h1><table><tr><th>E-mail address</th><td>" + esc(account->email) +
                "</td></tr><tr><th>Name</th><td>" + esc(account->firstName + QLatin1Char(' ') + account->lastName) +
                "</td></tr><tr><th>Time zone</th><td>GMT " + esc(account->timeZone) +
                "</td></tr><tr><th>Zip code</th><td>" + esc(account->zipCode) +
                "</td></tr></table><h2>Sites</h2><table><tr><th>Identifier</th><th>Name</th></tr>" + sites +
                "</table>"));
    });

    server.addRoute(QStringLiteral("/lumenpane/checkversion.asp"), [](const SimRequest& r) {
        bool ok = false;
        const int build = r.value(QStringLiteral("build")).toInt(&ok);
        const int current = QUILLMOOR_SIM_CURRENT_BUILD;
        QByteArray text;
        if (!ok)
            text = "<h1>Update check</h1><p>The request carried no build number.</p>";
        else if (build == current)
            text = "<h1>You are up to date</h1><p id=\"verdict\">Build " + QByteArray::number(build) +
                   " is the current build of Lumenpane.</p>";
        else if (build < current)
            text = "<h1>An update is available</h1><p id=\"verdict\">You have build " + QByteArray::number(build) +
                   "; the current build is " + QByteArray::number(current) + ".</p>";
        else
            text = "<h1>Update check</h1><p id=\"verdict\">Build " + QByteArray::number(build) +
                   " is newer than the current published build " + QByteArray::number(current) + ".</p>";
        return SimReply::html(page(QStringLiteral("Update check"), QString(), text));
    });
}
