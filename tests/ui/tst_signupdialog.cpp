// The sign-up window with real widgets, against the simulator; its rules are checked by the form's unit test.
#include "TestSupport.h"
#include "client/SignUpDialog.h"
#include "session/CredentialStore.h"

#include <QComboBox>
#include <QtTest>

namespace {
const QString kValid = "Ada|Lovelace| Demo@Example.com |engine1|engine1|02139|GMT -4|example.com";
const QString kErrorBox = "Errors with your submission | Critical | The following errors were found:\r\n";
} // namespace

class SignUpDialogTest : public QObject {
    Q_OBJECT
    TempSettings settings;
    std::unique_ptr<ShownWindow<SignUpDialog>> w;

    // The entries as "first|last|e-mail|password|verify|zip|time zone entry|domain".
    void submit(const QString& entries)
    {
        const QStringList f = entries.split('|');
        const char* const boxes[] = {"txtFirstName", "txtLastName", "txtEmail",     "txtPassword",
                                     "txtVPassword", "txtZipCode",  "txtDomainName"};
        for (int i = 0; i < 7; ++i)
            w->child(boxes[i])->setText(f[i < 6 ? i : 7]);
        w->child<QComboBox>("txtTimeZone")->setCurrentText(f[6]);
        w->click("cmdCreateAccount");
    }

private slots:
    void init()
    {
        CredentialStore::SaveStringSetting(CredentialStore::Login, "before@example.com");
        CredentialStore::SaveStringSetting(CredentialStore::Password, "before");
        w = std::make_unique<ShownWindow<SignUpDialog>>();
    }
    void cleanup() { w.reset(); }

    // "GMT -4" chosen, both password boxes masked with "*"; Enter in a box and Escape do nothing, Enter on the
    // focused button presses it; the close box closes.
    void openingAndKeys()
    {
        QCOMPARE(w->child<QComboBox>("txtTimeZone")->currentText(), QString("GMT -4"));
        w->child("txtPassword")->setText("abc");
        w->child("txtVPassword")->setText("de");
        QCOMPARE(w->child("txtPassword")->displayText() + w->child("txtVPassword")->displayText(), QString("*****"));
        QTest::keyClick(w->child("txtPassword"), Qt::Key_Return);
        QTest::keyClick(w->window.get(), Qt::Key_Escape);
        QVERIFY(w->boxes.shown.isEmpty() && w->window->isVisible());
        w->child<QPushButton>("cmdCreateAccount")->setFocus();
        QTest::keyClick(w->child<QPushButton>("cmdCreateAccount"), Qt::Key_Return);
        QCOMPARE(w->boxes.shown.size(), 1);
        w->window->close();
        QCOMPARE(w->emitted->names, QStringList({"rejected", "finished"}));
    }

    // Nothing is stored, the window stays and tells why.
    void notCreated_data()
    {
        QTest::addColumn<QString>("entries");
        QTest::addColumn<int>("status"); // as ServiceAndBoxes::answer() takes it
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QString>("box");
        QTest::newRow("rule broken, not sent")
            << "a|b|a@b.c|one|One|1|GMT +13|b.c" << 0 << QByteArray() << kErrorBox + "Passwords do not match\r\n";
        QTest::newRow("address taken") << kValid << 0 << QByteArray()
                                       << kErrorBox + "An account with the e-mail address demo@example.com already "
                                                      "exists.";
        QTest::newRow("no ERRMSG") << kValid << 200 << QByteArray("<r/>")
                                   << kErrorBox + SignUpDialog::unexplainedRefusalText();
        QTest::newRow("not XML") << kValid << 200 << QByteArray("<html>down")
                                 << kErrorBox + SignUpDialog::communicationFailureText();
    }
    void notCreated()
    {
        QFETCH(QString, entries);
        QFETCH(int, status);
        QFETCH(QByteArray, body);
        QFETCH(QString, box);
        w->answer(status, body);
        submit(entries);
        QCOMPARE(boxLines(w->boxes), QStringList{box});
        QCOMPARE(w->service.apiRequests().size(), entries == kValid ? 1 : 0);
        QCOMPARE(storedSignIn(), QStringList({"before@example.com", "before"}));
        QVERIFY(w->emitted->names.isEmpty() && w->window->isVisible());
    }

    // The exact address: quotes doubled, lower case, "www." removed once; the sign-in remembered as the user
    // will type it; the hand-over after the notice.
    void created()
    {
        submit(" O'Neil |D'Arcy| Pat.O'Brien@Example.COM | it's |it's|02139|GMT -4| WWW.www.Example.com ");
        QCOMPARE(w->service.apiRequests(),
                 QStringList{"GET /v3/rsapi.asp?cmd=newlumenpaneaccount&firstname=O''Neil&LastName=D''Arcy"
                             "&email=pat.o''brien@example.com&Password=it''s&TimeZone=-4&ZipCode=02139"
                             "&DomainName=www.example.com"});
        QCOMPARE(boxLines(w->boxes),
                 QStringList{"Lumenpane | Information | Your account has been created successfully"});
        QCOMPARE(w->emittedBeforeBoxes + w->emitted->names, QStringList({"", "accountCreated"}));
        QCOMPARE(storedSignIn(), QStringList({"pat.o'brien@example.com", "it's"}));
    }
};

QTEST_MAIN(SignUpDialogTest)
#include "tst_signupdialog.moc"
