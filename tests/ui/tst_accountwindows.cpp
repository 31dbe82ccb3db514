// The sign-in, sign-up and activation windows against the simulator: what each sends and remembers, its box or
// hand-over. Broken answers: tst_hostile; an account created, activated and opened: e2e/enrolment.
#include "TestSupport.h"
#include "client/ActivationDialog.h"
#include "client/LoginDialog.h"
#include "client/SignUpDialog.h"
#include "platform/BusyPointer.h"
#include "session/CredentialStore.h"

#include <QAccessible>
#include <QLabel>
#include <QMessageBox>
#include <QtTest>

namespace {
const QString Login = CredentialStore::Login, Password = CredentialStore::Password;
}

class AccountWindowsTest : public QObject {
    Q_OBJECT
    TempSettings settings;
    const QStringList kept = {"  kept@example.com  ", " secret "};

    // Escape closes none of these windows; Enter signs in from the password box, elsewhere presses the focused
    // button only, and sends nothing more while the service is asked. The window stays, the pointer is not left
    // busy, and the sign-in is remembered, trimmed, only once it was sent.
    template <class Window> void enter(const QStringList& entries, const char* box, const char* button = nullptr)
    {
        QFETCH(QByteArray, answer);
        QFETCH(QString, sent);
        QFETCH(QString, outcome);
        ShownWindow<Window> w;
        w.server().accounts()["demo@example.com"].password = "it's&b=c d";
        w.answer(answer == "silent" ? -1 : answer.isEmpty() ? 0 : 200, answer);
        for (const QString& entry : entries) // "name=value"
            w.child(qPrintable(entry.section('=', 0, 0)))->setText(entry.section('=', 1));
        auto* command = w.template child<QPushButton>(button ? button : "cmdLogin");
        const auto press = [&] {
            if (button)
                command->setFocus();
            QTest::keyClick(button ? static_cast<QWidget*>(command) : w.child(box), Qt::Key_Return);
        };
        QTest::keyClick(w.window.get(), Qt::Key_Escape);
        QTest::keyClick(w.child(box), Qt::Key_Return);
        if (button) {
            QVERIFY(w.boxes.shown.isEmpty() && w.window->isVisible());
            press();
        }
        if (!sent.isEmpty())
            press();
        QTRY_COMPARE_WITH_TIMEOUT(boxLines(w.boxes) + w.emitted(), QStringList{outcome}, 10000);
        QCOMPARE(w.apiRequests(), QStringList{"GET /v3/rsapi.asp?cmd=" + sent}.mid(sent.isEmpty()));
        QVERIFY(!sent.startsWith("activate") || w.boxes.shown[0].pointer == Qt::WaitCursor);
        QVERIFY(!BusyPointer::isBusy() && !QApplication::overrideCursor() && w.window->isVisible());
        QVERIFY(command->isEnabled());
        const auto typed = [&](int i) { return entries.value(i).section('=', 1); };
        const auto remembered = [&](const QString& name) { return *w.credentials.GetStringSettingAtOnce(name); };
        QCOMPARE(QStringList({remembered(Login), remembered(Password)}),
                 sent.startsWith("listsites") ? QStringList({typed(0).trimmed(), typed(1).trimmed()}) : kept);
        QCOMPARE(w.child(qPrintable(entries[0].section('=', 0, 0)))->text(), typed(0));
    }

private slots:
    void init()
    {
        CredentialStore kept;
        kept.SaveStringSetting(Login, this->kept[0]);
        kept.SaveStringSetting(Password, this->kept[1]);
    }

    // The sign-up sends the exact address (quotes doubled, lower case, "www." removed once); the activation code goes
    // trimmed, quotes doubled, the pointer busy until the box is closed; a refusal remembers and hands over nothing.
    void answered_data()
    {
        QTest::addColumn<QString>("typed");     // sign-in: "e-mail|password"; sign-up: the password again; the code
        QTest::addColumn<QByteArray>("answer"); // "silent", or instead of the simulator's own
        QTest::addColumn<QString>("sent");      // after "cmd=", none when nothing is sent
        QTest::addColumn<QString>("outcome");   // "title | icon | text" of the box, or the signal
        const QString empty = "Error | Critical | You must enter the E-Mail Address and Password you use to log in "
                              "to Quillmoor",
                      unable = "Unable To Log In | Critical | ",
                      errors = "Errors with your submission | Critical | The following errors were found:\r\n",
                      invalid = "Invalid Activation Code | Critical | ",
                      signUp = "newlumenpaneaccount&firstname=O''Neil&LastName=D''Arcy&email=pat.o''brien@example.com"
                               "&Password=it''s&TimeZone=-4&ZipCode=02139&DomainName=www.example.com";
        const auto row = [](const char* name, const QString& typed, const QByteArray& answer, const QString& sent,
                            const QString& outcome) { QTest::newRow(name) << typed << answer << sent << outcome; };
        row("sign-in: e-mail blank", " |demo123", {}, "", empty);
        row("sign-in: wrong password", "  a@b.c | wrong ", {}, "listsites&email=a@b.c&password=wrong",
            unable + "Invalid E-Mail Address or Password");
        row("sign-in: 46, no message", "a@b.c|p", "<r><STATUS>E</STATUS><ERRORID>46</ERRORID></r>",
            "listsites&email=a@b.c&password=p", unable + LoginDialog::unexplainedRefusalText());
        row("sign-in: 45 between blanks, a no-break one too", "a@b.c|p",
            "<r><STATUS>E</STATUS><ERRMSG>x</ERRMSG><ERRORID>&#160;45 </ERRORID></r>",
            "listsites&email=a@b.c&password=p", "activationRequired");
        row("sign-in: signed in", " demo@example.com |it's&b=c d ", {},
            "listsites&email=demo@example.com&password=it's%26b%3Dc%20d", "signedIn");
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
    void answered()
    {
        QFETCH(QString, typed);
        const QString window = QString(QTest::currentDataTag()).section(':', 0, 0);
        const QStringList t = typed.split('|');
        if (window == "sign-in")
            enter<LoginDialog>({"txtEmail=" + t[0], "txtPassword=" + t[1]}, "txtPassword");
        else if (window == "sign-up")
            enter<SignUpDialog>({"txtFirstName= O'Neil ", "txtLastName=D'Arcy", "txtEmail= Pat.O'Brien@Example.COM ",
                                 "txtPassword= it's ", "txtVPassword=" + typed, "txtZipCode=02139",
                                 "txtDomainName= WWW.www.Example.com "},
                                "txtPassword", "cmdCreateAccount");
        else
            enter<ActivationDialog>({"txtSignupCode=" + typed}, "txtSignupCode", "cmdActivate");
    }

    // What the service says is shown as written, never read as markup: on screen, and to a screen reader.
    void serviceTextShownAsWritten()
    {
        ShownWindow<LoginDialog> w;
        MessageBox::setTestHandler(nullptr); // the real box, this once
        const QString message = "Wrong <b>password</b> <img src=x> &amp;";
        w.answer(200, SimServer::refusal(message, 44));
        w.child("txtEmail")->setText("a@b.c");
        w.child("txtPassword")->setText("p");
        QString read;
        QTimer reader;
        connect(&reader, &QTimer::timeout, this, [&] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                auto* label = box->findChild<QLabel*>("qt_msgbox_label");
                read = QAccessible::queryAccessibleInterface(label)->text(QAccessible::Name);
                box->accept();
            }
        });
        reader.start(10);
        QTest::mouseClick(w.child<QPushButton>("cmdLogin"), Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(read, message, 10000);
    }
};

LUMENPANE_TEST_MAIN(AccountWindowsTest)
#include "tst_accountwindows.moc"
