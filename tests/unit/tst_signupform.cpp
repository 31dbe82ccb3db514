// The sign-up entries as the service gets them, and the rules checked before anything is sent.
#include "session/SignUpForm.h"

#include <QtTest>

namespace {
const QString kDomain =
    "Invalid Domain name (must be in the form of 'example.com' with no slashes or other characters)";
const QString kZone = "Invalid Time Zone";
const QString kEmail = "Invalid E-Mail Address";
const QString kRequired = "All fields are required";
const QString kMismatch = "Passwords do not match";

SignUpEntries entries(const QString& line) // "first|last|e-mail|password|verify|zip|zone|domain"
{
    const QStringList f = line.split('|');
    return {f[0], f[1], f[2], f[3], f[4], f[5], f[6], f[7]};
}
const QString kValid = "Ada|Lovelace| Demo@Example.com |engine1|engine1|02139|GMT -4|example.com";
} // namespace

class SignUpFormTest : public QObject {
    Q_OBJECT
private slots:
    void timeZoneList()
    {
        const QStringList zones = SignUpForm::timeZoneEntries();
        QCOMPARE(zones.size(), 26);
        QCOMPARE(zones.mid(0, 1) + zones.mid(11, 3) + zones.mid(25),
                 QStringList({"GMT -12", "GMT -1", "GMT +0", "GMT +1", "GMT +13"}));
    }

    void normalise_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("values");
        QTest::newRow("quotes doubled, e-mail lower, www. removed once")
            << " O'Neil |D'Arcy| Pat.O'Brien@Example.COM | it's |it's| 02139 |GMT -4| WWW.www.Example.com "
            << "O''Neil|D''Arcy|pat.o''brien@example.com|it''s|it''s|02139|-4|www.example.com";
        QTest::newRow("names keep case, GMT +13, www. inside stays") << "ZoË|ŁUKASZ|a@b.c|p|p|z|GMT +13|a.www.b"
                                                                     << "ZoË|ŁUKASZ|a@b.c|p|p|z|13|a.www.b";
        QTest::newRow("blanks only, GMT +0") << "  | | | | | |GMT +0|  "
                                             << "||||||0|";
    }
    void normalise()
    {
        QFETCH(QString, typed);
        QFETCH(QString, values);
        const SignUpValues v = SignUpForm::normalise(entries(typed));
        QCOMPARE(QStringList(
                     {v.firstName, v.lastName, v.email, v.password, v.verifyPassword, v.zipCode, v.timeZone, v.domain}),
                 values.split('|'));
    }

    void rules_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QStringList>("errors");
        const auto with = [](int i, const QString& value) {
            return kValid.section('|', 0, i - 1) + '|' + value + '|' + kValid.section('|', i + 1);
        };
        QTest::newRow("all empty") << "||||||GMT -4|" << QStringList{kDomain, kEmail, kRequired};
        QTest::newRow("domain WWW. only") << with(7, " WWW. ") << QStringList{kDomain, kRequired};
        QTest::newRow("domain with odd characters") << with(7, "my site.com:8080") << QStringList();
        QTest::newRow("time zone not a number") << with(6, "GMT x") << QStringList{kZone};
        QTest::newRow("e-mail without @") << with(2, "ada.example.com") << QStringList{kEmail};
        QTest::newRow("e-mail without dot") << with(2, "ada@localhost") << QStringList{kEmail};
        QTest::newRow("e-mail dot before @") << with(2, "ada.l@host") << QStringList();
        QTest::newRow("e-mail with inner blank") << with(2, " ada @example.com ") << QStringList{kEmail};
        QTest::newRow("e-mail with tab") << with(2, "ada@exa\tmple.com") << QStringList{kEmail};
        QTest::newRow("passwords differ in case") << with(4, "Engine1") << QStringList{kMismatch};
        QTest::newRow("verify blank") << with(4, " ") << QStringList{kRequired, kMismatch};
        QTest::newRow("every rule") << "|Lovelace|ada at example|one|two|1|GMT|example.com/x"
                                    << QStringList{kDomain, kZone, kEmail, kRequired, kMismatch};
    }
    void rules()
    {
        QFETCH(QString, typed);
        QFETCH(QStringList, errors);
        const QString expected = errors.isEmpty() ? QString() : errors.join("\r\n") + "\r\n";
        QCOMPARE(SignUpForm::ruleErrors(SignUpForm::normalise(entries(typed))), expected);
    }
};

QTEST_APPLESS_MAIN(SignUpFormTest)
#include "tst_signupform.moc"
