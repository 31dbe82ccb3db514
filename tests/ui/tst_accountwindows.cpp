// The sign-in, sign-up and activation windows against the simulator: what each sends and remembers, and its box or
// hand-over. The boxes for broken answers: tst_hostile; the sign-up values and rules: tst_protocol.
#include "TestSupport.h"
#include "client/ActivationDialog.h"
#include "client/LoginDialog.h"
#include "client/SignUpDialog.h"
#include "platform/BusyPointer.h"
#include "session/CredentialStore.h"

#include <QtTest>

class AccountWindowsTest : public QObject {
    Q_OBJECT
    TempSettings settings;
    const QStringList kept = {"  kept@example.com  ", " secret "};

    // Enter in a box and Escape do nothing in these two windows: Enter presses the button that has the focus.
    template <class Window> void press(ShownWindow<Window>& w, const char* box, const char* button)
    {
        QTest::keyClick(w.child(box), Qt::Key_Return);
        QTest::keyClick(w.window.get(), Qt::Key_Escape);
        QVERIFY(w.boxes.shown.isEmpty() && w.window->isVisible());
        w.template child<QPushButton>(button)->setFocus();
        QTest::keyClick(w.template child<QPushButton>(button), Qt::Key_Return);
    }

private slots:
    void init()
    {
        CredentialStore::SaveStringSetting(CredentialStore::Login, kept[0]);
        CredentialStore::SaveStringSetting(CredentialStore::Password, kept[1]);
    }

    // Enter signs in: what is sent; the entries remembered, trimmed, once both are filled; the box, or the hand-over
    // (the window stays for the controller to close; what follows: e2e/reportviewer).
    void signIn_data()
    {
        QTest::addColumn<QString>("entries");   // "e-mail|password", as typed
        QTest::addColumn<QByteArray>("answer"); // instead of the simulator's own
        QTest::addColumn<QString>("sent");      // after "cmd=listsites&email="
        QTest::addColumn<QString>("outcome");   // "title | icon | text" of the box, or the signal
        const QString empty = "Error | Critical | You must enter the E-Mail Address and Password you use to log in "
                              "to Quillmoor",
                      unable = "Unable To Log In | Critical | ";
        const auto row = [](const char* name, const QString& entries, const QByteArray& answer, const QString& sent,
                            const QString& outcome) { QTest::newRow(name) << entries << answer << sent << outcome; };
        row("e-mail blank", " |demo123", {}, "", empty);
        row("wrong password", "  a@b.c | wrong ", {}, "a@b.c&password=wrong",
            unable + "Invalid E-Mail Address or Password");
        row("46, no message", "a@b.c|p", "<r><STATUS>E</STATUS><ERRORID>46</ERRORID></r>", "a@b.c&password=p",
            unable + LoginDialog::unexplainedRefusalText());
        row("45", "pending@example.com|pending123", {}, "pending@example.com&password=pending123",
            "activationRequired");
        row("signed in", " demo@example.com |it's&b=c d ", {}, "demo@example.com&password=it's%26b%3Dc%20d",
            "signedIn");
    }
    void signIn()
    {
        QFETCH(QString, entries);
        QFETCH(QByteArray, answer);
        QFETCH(QString, sent);
        QFETCH(QString, outcome);
        ShownWindow<LoginDialog> w;
        w.server().accounts()["demo@example.com"].password = "it's&b=c d";
        const QStringList typed = entries.split('|'), trimmed = {typed[0].trimmed(), typed[1].trimmed()};
        w.child("txtEmail")->setText(typed[0]);
        w.child("txtPassword")->setText(typed[1]);
        w.answer(answer == "silent" ? -1 : answer.isEmpty() ? 0 : 200, answer);
        QTest::keyClick(w.child("txtPassword"), Qt::Key_Return);
        QCOMPARE(boxLines(w.boxes) + w.emitted->names, QStringList{outcome});
        QCOMPARE(w.apiRequests(), QStringList{"GET /v3/rsapi.asp?cmd=listsites&email=" + sent}.mid(sent.isEmpty()));
        QCOMPARE(storedSignIn(), sent.isEmpty() ? kept : trimmed);
        QVERIFY(w.window->isVisible() && w.child("txtEmail")->text() == typed[0]);
    }

    // With "GMT -4" chosen: the exact address (quotes doubled, lower case, "www." removed once); nothing remembered
    // while no account exists. An account created and activated: e2e/enrolment.
    void signUp_data()
    {
        QTest::addColumn<QByteArray>("answer"); // instead of the simulator's own
        QTest::addColumn<QString>("verify");
        QTest::addColumn<QString>("box");
        const QString errors = "Errors with your submission | Critical | The following errors were found:\r\n";
        QTest::newRow("rule broken, not sent") << QByteArray() << "It's" << errors + "Passwords do not match\r\n";
        QTest::newRow("refused, no message")
            << QByteArray("<r><STATUS>E</STATUS></r>") << "it's" << errors + SignUpDialog::unexplainedRefusalText();
        QTest::newRow("no answer") << QByteArray("silent") << "it's"
                                   << errors + SignUpDialog::communicationFailureText();
    }
    void signUp()
    {
        QFETCH(QByteArray, answer);
        QFETCH(QString, verify);
        QFETCH(QString, box);
        ShownWindow<SignUpDialog> w;
        w.answer(answer == "silent" ? -1 : answer.isEmpty() ? 0 : 200, answer);
        const QStringList typed = {" O'Neil ", "D'Arcy", " Pat.O'Brien@Example.COM ", " it's ",
                                   verify,     "02139",  " WWW.www.Example.com "};
        int i = 0;
        for (const char* name :
             {"txtFirstName", "txtLastName", "txtEmail", "txtPassword", "txtVPassword", "txtZipCode", "txtDomainName"})
            w.child(name)->setText(typed[i++]);
        QCOMPARE(w.child("txtPassword")->displayText() + w.child("txtVPassword")->displayText(), "**********");
        press(w, "txtPassword", "cmdCreateAccount");
        QCOMPARE(boxLines(w.boxes), QStringList{box});
        QCOMPARE(w.apiRequests(),
                 QStringList{"GET /v3/rsapi.asp?cmd=newlumenpaneaccount&firstname=O''Neil&LastName=D''Arcy"
                             "&email=pat.o''brien@example.com&Password=it''s&TimeZone=-4&ZipCode=02139"
                             "&DomainName=www.example.com"}
                     .mid(verify == "It's"));
        QVERIFY(w.emitted->names.isEmpty());
        QCOMPARE(storedSignIn(), kept);
    }

    // The code is sent trimmed, its quotes doubled; the pointer stays busy until the box is closed.
    void activate_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QByteArray>("answer"); // instead of the simulator's own
        QTest::addColumn<QString>("sent");
        QTest::addColumn<QString>("box");
        const QString invalid = "Invalid Activation Code | Critical | ";
        QTest::newRow("unknown code") << " a'b " << QByteArray() << "a''b"
                                      << invalid + "The activation code a'b was not found or has already been used.";
        QTest::newRow("refused, no message") << "QM7K2P9X" << QByteArray("<r><STATUS>ERROR</STATUS></r>") << "QM7K2P9X"
                                             << invalid + "The Activation Code is not valid";
        QTest::newRow("no answer") << "QM7K2P9X" << QByteArray("silent") << "QM7K2P9X"
                                   << invalid + SignUpDialog::communicationFailureText();
    }
    void activate()
    {
        QFETCH(QString, typed);
        QFETCH(QByteArray, answer);
        QFETCH(QString, sent);
        QFETCH(QString, box);
        ShownWindow<ActivationDialog> w;
        w.answer(answer == "silent" ? -1 : answer.isEmpty() ? 0 : 200, answer);
        w.child("txtSignupCode")->setText(typed);
        press(w, "txtSignupCode", "cmdActivate");
        QCOMPARE(w.apiRequests(), QStringList{"GET /v3/rsapi.asp?cmd=activate&signupcode=" + sent});
        QCOMPARE(boxLines(w.boxes), QStringList{box});
        QVERIFY(w.boxes.shown[0].pointer == Qt::WaitCursor && !BusyPointer::isBusy() &&
                !QApplication::overrideCursor());
        QVERIFY(w.emitted->names.isEmpty() && !w.server().findAccount("pending@example.com")->active);
    }
};

QTEST_MAIN(AccountWindowsTest)
#include "tst_accountwindows.moc"
