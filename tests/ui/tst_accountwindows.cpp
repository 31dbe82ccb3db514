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

    // The sign-up with "GMT -4" chosen sends the exact address (quotes doubled, lower case, "www." removed once);
    // the activation code goes trimmed, its quotes doubled, the pointer busy until the box is closed. A refusal
    // remembers and hands over nothing. An account created and activated: e2e/enrolment.
    void refused_data()
    {
        QTest::addColumn<QString>("typed");     // the password again, or the code
        QTest::addColumn<QByteArray>("answer"); // "silent", or instead of the simulator's own
        QTest::addColumn<QString>("sent");      // after "cmd=", none when nothing is sent
        QTest::addColumn<QString>("box");
        const QString errors = "Errors with your submission | Critical | The following errors were found:\r\n",
                      invalid = "Invalid Activation Code | Critical | ",
                      signUp = "newlumenpaneaccount&firstname=O''Neil&LastName=D''Arcy&email=pat.o''brien@example.com"
                               "&Password=it''s&TimeZone=-4&ZipCode=02139&DomainName=www.example.com";
        const auto row = [](const char* name, const QString& typed, const QByteArray& answer, const QString& sent,
                            const QString& box) { QTest::newRow(name) << typed << answer << sent << box; };
        row("sign-up: a rule broken, not sent", "It's", {}, "", errors + "Passwords do not match\r\n");
        row("sign-up: refused, no message", "it's", "<r><STATUS>E</STATUS></r>", signUp,
            errors + SignUpDialog::unexplainedRefusalText());
        row("sign-up: no answer", "it's", "silent", signUp, errors + SignUpDialog::communicationFailureText());
        row("activation: unknown code", " a'b ", {}, "activate&signupcode=a''b",
            invalid + "The activation code a'b was not found or has already been used.");
        row("activation: refused, no message", "QM7K2P9X", "<r><STATUS>ERROR</STATUS></r>",
            "activate&signupcode=QM7K2P9X", invalid + "The Activation Code is not valid");
        row("activation: no answer", "QM7K2P9X", "silent", "activate&signupcode=QM7K2P9X",
            invalid + SignUpDialog::communicationFailureText());
    }
    void refused()
    {
        QFETCH(QString, typed);
        QFETCH(QByteArray, answer);
        QFETCH(QString, sent);
        QFETCH(QString, box);
        const auto enter = [&](auto& w, const QStringList& entries, const char* field, const char* button) {
            w.answer(answer == "silent" ? -1 : answer.isEmpty() ? 0 : 200, answer);
            for (const QString& entry : entries) // "name=value"
                w.child(qPrintable(entry.section('=', 0, 0)))->setText(entry.section('=', 1));
            press(w, field, button);
            QCOMPARE(w.apiRequests(), QStringList{"GET /v3/rsapi.asp?cmd=" + sent}.mid(sent.isEmpty()));
            QCOMPARE(boxLines(w.boxes), QStringList{box});
            QVERIFY(!sent.startsWith("activate") || w.boxes.shown[0].pointer == Qt::WaitCursor);
            QVERIFY(!BusyPointer::isBusy() && !QApplication::overrideCursor() && w.emitted->names.isEmpty());
            QCOMPARE(storedSignIn(), kept);
        };
        if (QByteArray(QTest::currentDataTag()).startsWith("sign-up")) {
            ShownWindow<SignUpDialog> w;
            enter(w,
                  {"txtFirstName= O'Neil ", "txtLastName=D'Arcy", "txtEmail= Pat.O'Brien@Example.COM ",
                   "txtPassword= it's ", "txtVPassword=" + typed, "txtZipCode=02139",
                   "txtDomainName= WWW.www.Example.com "},
                  "txtPassword", "cmdCreateAccount");
        } else {
            ShownWindow<ActivationDialog> w;
            enter(w, {"txtSignupCode=" + typed}, "txtSignupCode", "cmdActivate");
        }
    }
};

QTEST_MAIN(AccountWindowsTest)
#include "tst_accountwindows.moc"
