#include "Protocol.h"

#include "Service.h"

#include <QRegularExpression>

namespace Protocol {

QString TrimBlanks(const QString& text)
{
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text.at(first) == QLatin1Char(' '))
        ++first;
    while (last > first && text.at(last - 1) == QLatin1Char(' '))
        --last;
    return text.mid(first, last - first);
}

QString EscapeQuotes(const QString& value)
{
    QString text = TrimBlanks(value);
    text.replace(QLatin1Char('\''), QLatin1String("''"));
    return TrimBlanks(text);
}

QString DateText(const QDate& date)
{
    return QStringLiteral("%1/%2/%3").arg(date.month()).arg(date.day()).arg(date.year(), 4, 10, QLatin1Char('0'));
}

std::optional<QDate> ParseDateText(const QString& text)
{
    static const QRegularExpression pattern(QStringLiteral("^(\\d{1,2})/(\\d{1,2})/(\\d{4})$"));
    const auto match = pattern.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    const QDate date(match.captured(3).toInt(), match.captured(1).toInt(), match.captured(2).toInt());
    if (!date.isValid())
        return std::nullopt;
    return date;
}

QString QueryValue(const QString& value)
{
    static const QByteArray reservedInValue = "&=#%+ ";
    QString out;
    out.reserve(value.size());
    const QByteArray utf8 = value.toUtf8();
    for (const char c : utf8) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x80 || reservedInValue.contains(c))
            out += QStringLiteral("%%1").arg(byte, 2, 16, QLatin1Char('0')).toUpper();
        else
            out += QLatin1Char(c);
    }
    return out;
}

static QString api(const QString& query)
{
    return Service::apiBase() + QStringLiteral("/v3/rsapi.asp?") + query;
}
static QString report(const QString& pathAndQuery)
{
    return Service::reportBase() + QStringLiteral("/lumenpane/") + pathAndQuery;
}

QString ListSitesAddress(const QString& email, const QString& password)
{
    return api(QStringLiteral("cmd=listsites&email=") + QueryValue(email) + QStringLiteral("&password=") +
               QueryValue(password));
}

QString NewAccountAddress(const QString& firstName, const QString& lastName, const QString& email,
                          const QString& password, const QString& timeZone, const QString& zipCode,
                          const QString& domain)
{
    return api(QStringLiteral("cmd=newlumenpaneaccount&firstname=") + QueryValue(firstName) +
               QStringLiteral("&LastName=") + QueryValue(lastName) + QStringLiteral("&email=") + QueryValue(email) +
               QStringLiteral("&Password=") + QueryValue(password) + QStringLiteral("&TimeZone=") +
               QueryValue(timeZone) + QStringLiteral("&ZipCode=") + QueryValue(zipCode) +
               QStringLiteral("&DomainName=") + QueryValue(domain));
}

QString ActivateAddress(const QString& code)
{
    return api(QStringLiteral("cmd=activate&signupcode=") + QueryValue(code));
}

QString StartPageAddress(const QString& email, const QString& password)
{
    return report(QStringLiteral("default2.asp?autologin=true&email=") + QueryValue(email) +
                  QStringLiteral("&password=") + QueryValue(password));
}

QString PeriodAddress(const QDate& from, const QDate& to)
{
    return report(QStringLiteral("default2.asp?FDate=") + DateText(from) + QStringLiteral("&Ldate=") + DateText(to));
}

QString SiteAddress(const QDate& from, const QDate& to, int siteId)
{
    return PeriodAddress(from, to) + QStringLiteral("&chSiteID=") + QString::number(siteId);
}

QString CustomRangeAddress(const QDate& from, const QDate& to)
{
    return report(QStringLiteral("default2.asp?FDate=") + DateText(from) + QStringLiteral("&LDate=") + DateText(to));
}

QString HelpAddress()
{
    return report(QStringLiteral("help.asp"));
}
QString SettingsAddress()
{
    return report(QStringLiteral("settings.asp"));
}
QString UpdateCheckAddress(int buildNumber)
{
    return report(QStringLiteral("checkversion.asp?build=") + QString::number(buildNumber));
}

} // namespace Protocol
