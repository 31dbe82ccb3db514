#pragma once

#include <QString>
#include <QStringList>

// The entries of the sign-up window as typed; the time zone is the text of the chosen list entry.
struct SignUpEntries {
    QString firstName;
    QString lastName;
    QString email;
    QString password;
    QString verifyPassword;
    QString zipCode;
    QString timeZoneEntry;
    QString domain;
};

// The values as the service takes them: trimmed, single quotes doubled, the e-mail address and the domain in
// lower case, the domain without one leading "www.", the time zone as a bare offset ("-4", "0", "13").
struct SignUpValues {
    QString firstName;
    QString lastName;
    QString email;
    QString password;
    QString verifyPassword;
    QString zipCode;
    QString timeZone;
    QString domain;
};

// The checks of a new account's entries, before anything is sent; no widgets, so they can be tested alone.
namespace SignUpForm {
SignUpValues normalise(const SignUpEntries& entries);
// One line per broken rule, in a fixed order, each ending in CR LF; empty when every rule holds.
QString ruleErrors(const SignUpValues& values);
// The time-zone list, "GMT -12" to "GMT +13", and the entry chosen at first.
QStringList timeZoneEntries();
QString defaultTimeZoneEntry();
} // namespace SignUpForm
