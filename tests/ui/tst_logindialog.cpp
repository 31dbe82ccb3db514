// The sign-in window with real widgets, against the simulator on a loopback port.
#include "TestSupport.h"
#include "client/LoginDialog.h"
#include "platform/Clock.h"
#include "session/CredentialStore.h"

#include <QtTest>

class LoginDialogTest : public QObject {
    Q_OBJECT
    TempSettings settings;
    std::unique_ptr<ShownWindow<LoginDialog>> w;
    SessionInfo session;

    void open(const QString& email, const QString& password)
    {
        w = std::make_unique<ShownWindow<LoginDialog>>();
        connect(w->window.get(), &LoginDialog::signedIn, this, [this](const SessionInfo& s) { session = s; });
        w->child("txtEmail")->setText(email);
        w->child("txtPassword")->setText(password);
    }

private slots:
    void initTestCase() { Clock::setTestToday(QDate(2007, 11, 8)); }
    void init()
    {
        CredentialStore::SaveStringSetting(CredentialStore::Login, "  kept@example.com  ");
        CredentialStore::SaveStringSetting(CredentialStore::Password, " secret ");
    }
    void cleanup() { w.reset(); }

    // The remembered entries, trimmed; the password masked with "*"; New Account stores nothing; only the
    // close box closes the window.
    void openingAndClosing()
    {
        w = std::make_unique<ShownWindow<LoginDialog>>();
        QCOMPARE(w->child("txtEmail")->text(), QString("kept@example.com"));
        QCOMPARE(w->child("txtPassword")->displayText(), QString("******"));
        w->child("txtEmail")->setText("typed@example.com");
        w->click("cmdNewAccount");
        QTest::keyClick(w->window.get(), Qt::Key_Escape);
        QVERIFY(w->window->isVisible());
        w->window->close();
        QCOMPARE(w->emitted->names, QStringList({"newAccountRequested", "rejected", "finished"}));
        QVERIFY(w->service.apiRequests().isEmpty());
        QCOMPARE(storedSignIn(), QStringList({"  kept@example.com  ", " secret "}));
    }

    // Every click that does not sign in: the box or hand-over, and the entries remembered once both are filled.
    void notSignedIn_data()
    {
        QTest::addColumn<QString>("entries"); // "e-mail|password"
        QTest::addColumn<int>("status");      // as ServiceAndBoxes::answer() takes it
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QString>("outcome"); // "title | icon | text" of the box, or the hand-over
        const QString empty = "Error | Critical | You must enter the E-Mail Address and Password you use to log in "
                              "to Quillmoor";
        const QString unable = "Unable To Log In | Critical | ";
        const auto refusal = [](const char* message, const char* id) {
            return QByteArray("<r><STATUS>E</STATUS><ERRMSG>") + message + "</ERRMSG><ERRORID>" + id + "</ERRORID></r>";
        };
        QTest::newRow("blanks only") << "   |  " << 0 << QByteArray() << empty;
        QTest::newRow("password empty") << "demo@example.com|" << 0 << QByteArray() << empty;
        QTest::newRow("e-mail blank") << " |demo123" << 0 << QByteArray() << empty;
        QTest::newRow("wrong password, trimmed")
            << "  demo@example.com | wrong " << 0 << QByteArray() << unable + "Invalid E-Mail Address or Password";
        QTest::newRow("not XML") << "a@b.c|p" << 200 << QByteArray("<html>oops") << unable + LoginDialog::failureText();
        QTest::newRow("no STATUS") << "a@b.c|p" << 200 << QByteArray("<r/>")
                                   << unable + LoginDialog::unexplainedRefusalText();
        QTest::newRow("id not a number") << "a@b.c|p" << 200 << refusal("&lt;b&gt;x", "x") << unable + "<b>x";
        QTest::newRow("44") << "a@b.c|p" << 200 << refusal("Locked", "44") << unable + "Locked";
        QTest::newRow("46") << "a@b.c|p" << 200 << refusal("Gone", "46") << unable + "Gone";
        QTest::newRow("45") << "pending@example.com|pending123" << 0 << QByteArray() << "activationRequired";
    }
    void notSignedIn()
    {
        QFETCH(QString, entries);
        QFETCH(int, status);
        QFETCH(QByteArray, body);
        QFETCH(QString, outcome);
        const QStringList typed = entries.split('|'), trimmed = entries.remove(' ').split('|');
        open(typed[0], typed[1]);
        w->answer(status, body);
        w->click("cmdLogin");
        QCOMPARE(boxLines(w->boxes) + w->emitted->names, QStringList{outcome});
        const bool sent = !trimmed.contains(QString());
        QCOMPARE(w->service.apiRequests(),
                 sent ? QStringList{"GET /v3/rsapi.asp?cmd=listsites&email=" + trimmed[0] + "&password=" + trimmed[1]}
                      : QStringList());
        QCOMPARE(storedSignIn(), sent ? trimmed : QStringList({"  kept@example.com  ", " secret "}));
        QCOMPARE(w->child("txtEmail")->text(), typed[0]);
        QVERIFY(w->window->isVisible());
    }

    // Enter in the password box signs in; the window stays for the controller to close.
    void signedIn()
    {
        open(" demo@example.com ", "it's&b=c d ");
        w->service.server().accounts()["demo@example.com"].password = "it's&b=c d";
        QTest::keyClick(w->child("txtPassword"), Qt::Key_Return);
        const QString query = "email=demo@example.com&password=it's%26b%3Dc%20d";
        QCOMPARE(w->service.apiRequests(), QStringList{"GET /v3/rsapi.asp?cmd=listsites&" + query});
        QCOMPARE(w->emitted->names, QStringList{"signedIn"});
        QCOMPARE(QStringList({session.startUrl, session.email, session.password, session.from.toString(Qt::ISODate),
                              session.to.toString(Qt::ISODate)}),
                 QStringList({w->service.base() + "/lumenpane/default2.asp?autologin=true&" + query, "demo@example.com",
                              "it's&b=c d", "2007-11-08", "2007-11-08"}));
        QVERIFY(w->boxes.shown.isEmpty() && w->window->isVisible());
    }
};

QTEST_MAIN(LoginDialogTest)
#include "tst_logindialog.moc"
