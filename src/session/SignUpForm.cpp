#include "SignUpForm.h"

#include "Protocol.h"

#include <algorithm>

using Protocol::EscapeQuotes;

namespace SignUpForm {

SignUpValues normalise(const SignUpEntries& entries)
{
    SignUpValues values;
    values.firstName = EscapeQuotes(entries.firstName);
    values.lastName = EscapeQuotes(entries.lastName);
    values.email = EscapeQuotes(entries.email).toLower();
    values.zipCode = EscapeQuotes(entries.zipCode);
    values.password = EscapeQuotes(entries.password);
    values.verifyPassword = EscapeQuotes(entries.verifyPassword);
    values.domain = EscapeQuotes(entries.domain.toLower());
    // Trimmed again: "www. example.com" would otherwise go out with a blank in front.
    if (values.domain.startsWith(QLatin1String("www.")))
        values.domain = Protocol::TrimBlanks(values.domain.mid(4));
    QString timeZone = entries.timeZoneEntry;
    timeZone.remove(QStringLiteral("GMT"));
    timeZone.remove(QLatin1Char('+'));
    values.timeZone = Protocol::TrimBlanks(timeZone);
    return values;
}

QString ruleErrors(const SignUpValues& v)
{
    const QString crLf = QStringLiteral("\r\n");
    // Every rule is checked, so that one box lists everything that needs correcting.
    QString errors;
    if (v.domain.contains(QLatin1Char('/')) || !v.domain.contains(QLatin1Char('.')))
        errors += QStringLiteral("Invalid Domain name (must be in the form of 'example.com' with no slashes or "
                                 "other characters)") +
                  crLf;
    bool isNumber = false;
    v.timeZone.toInt(&isNumber);
    if (v.timeZone.isEmpty() || !isNumber)
        errors += QStringLiteral("Invalid Time Zone") + crLf;
    const bool emailHasBlank = std::any_of(v.email.cbegin(), v.email.cend(), [](QChar c) { return c.isSpace(); });
    if (!v.email.contains(QLatin1Char('.')) || !v.email.contains(QLatin1Char('@')) || emailHasBlank)
        errors += QStringLiteral("Invalid E-Mail Address") + crLf;
    if (v.firstName.isEmpty() || v.lastName.isEmpty() || v.zipCode.isEmpty() || v.domain.isEmpty() ||
        v.email.isEmpty() || v.password.isEmpty() || v.verifyPassword.isEmpty())
        errors += QStringLiteral("All fields are required") + crLf;
    if (v.password != v.verifyPassword)
        errors += QStringLiteral("Passwords do not match") + crLf;
    return errors;
}

QStringList timeZoneEntries()
{
    QStringList entries;
    for (int hours = -12; hours <= 13; ++hours)
        entries << (hours < 0 ? QStringLiteral("GMT %1").arg(hours) : QStringLiteral("GMT +%1").arg(hours));
    return entries;
}

QString defaultTimeZoneEntry()
{
    return QStringLiteral("GMT -4");
}

} // namespace SignUpForm
