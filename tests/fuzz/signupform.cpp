// The sign-up entries as sent and the rules checked before: values are trimmed, the address and the domain in
// lower case; the rule lines are known ones, in order, once each; and entries that pass have what the rules ask.
#include "session/SignUpForm.h"
#include "FuzzCheck.h"
#include "session/Protocol.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // Eight entries, separated by line feeds; missing ones are empty.
    const QStringList f = fuzzText(data, size).split(QLatin1Char('\n'));
    const auto at = [&](int i) { return f.value(i); };
    const SignUpEntries entries{at(0), at(1), at(2), at(3), at(4), at(5), at(6), at(7)};
    const SignUpValues v = SignUpForm::normalise(entries);

    for (const QString& value :
         {v.firstName, v.lastName, v.email, v.password, v.verifyPassword, v.zipCode, v.timeZone, v.domain})
        FUZZ_CHECK(Protocol::TrimBlanks(value) == value);
    FUZZ_CHECK(v.email == v.email.toLower());
    const QString domain = Protocol::EscapeQuotes(entries.domain.toLower());
    FUZZ_CHECK(v.domain == (domain.startsWith(QLatin1String("www.")) ? Protocol::TrimBlanks(domain.mid(4)) : domain));
    FUZZ_CHECK(!v.timeZone.contains(QLatin1Char('+')));

    const QString errors = SignUpForm::ruleErrors(v);
    FUZZ_CHECK(errors.isEmpty() || errors.endsWith(QLatin1String("\r\n")));
    const QStringList lines = errors.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    static const QStringList known{QStringLiteral("Invalid Domain name (must be in the form of 'example.com' with no "
                                                  "slashes or other characters)"),
                                   QStringLiteral("Invalid Time Zone"), QStringLiteral("Invalid E-Mail Address"),
                                   QStringLiteral("All fields are required"), QStringLiteral("Passwords do not match")};
    qsizetype last = -1;
    for (const QString& line : lines) {
        const qsizetype index = known.indexOf(line);
        FUZZ_CHECK(index > last); // known, in order, once
        last = index;
    }
    FUZZ_CHECK(lines.contains(known.at(4)) == (v.password != v.verifyPassword));
    if (errors.isEmpty()) {
        bool number = false;
        v.timeZone.toInt(&number);
        FUZZ_CHECK(number);
        FUZZ_CHECK(v.email.contains(QLatin1Char('@')) && v.email.contains(QLatin1Char('.')));
        FUZZ_CHECK(v.domain.contains(QLatin1Char('.')) && !v.domain.contains(QLatin1Char('/')));
        FUZZ_CHECK(!v.firstName.isEmpty() && !v.lastName.isEmpty() && !v.password.isEmpty());
    }
    return 0;
}
