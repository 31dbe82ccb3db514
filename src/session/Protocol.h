#pragma once

#include <QDate>
#include <QString>
#include <optional>

// Everything the client writes on the wire: the value filters and every address of both servers.
namespace Protocol {

// Removes space characters (and nothing else) at both ends.
QString TrimBlanks(const QString& text);
// Trims, doubles every single quote, trims again.
QString EscapeQuotes(const QString& value);

// Month/day/year without leading zeros and with a four-digit year: 3/1/2008.
QString DateText(const QDate& date);
// Reads a month/day/year text; nothing when it is no valid date.
std::optional<QDate> ParseDateText(const QString& text);

// A value as it goes into a query: "&", "=", "#", "%", "+", blanks and non-ASCII characters (as UTF-8)
// are percent-encoded so that the server reads the value back intact; every other character stands as is.
QString QueryValue(const QString& value);

// Account API commands.
QString ListSitesAddress(const QString& email, const QString& password);
QString NewAccountAddress(const QString& firstName, const QString& lastName, const QString& email,
                          const QString& password, const QString& timeZone, const QString& zipCode,
                          const QString& domain);
QString ActivateAddress(const QString& code);

// Report-server pages.
QString StartPageAddress(const QString& email, const QString& password);
QString PeriodAddress(const QDate& from, const QDate& to);
QString SiteAddress(const QDate& from, const QDate& to, int siteId);
QString CustomRangeAddress(const QDate& from, const QDate& to);
QString HelpAddress();
QString SettingsAddress();
QString UpdateCheckAddress(int buildNumber);

} // namespace Protocol
