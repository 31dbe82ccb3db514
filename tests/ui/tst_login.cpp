// The sign-in window with real widgets, against the simulator on a loopback port.
#include "TestSupport.h"
#include "forms.h"
#include "login/frmLogin.h"
#include "platform/Clock.h"
#include "session/CredentialStore.h"
#include "session/Session.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

class LoginTest : public QObject {
    Q_OBJECT
    TempSettings settings;
    std::unique_ptr<ServiceAndBoxes> env;

    frmLogin* signIn(const QString& email, const QString& password) {
        frmLogin* w = Form<frmLogin>::show();
        if (!QTest::qWaitForWindowExposed(w))
            qWarning("the sign-in window was not exposed");
        w->txtEmail->setText(email);
        w->txtPassword->setText(password);
        QTest::mouseClick(w->cmdLogin, Qt::LeftButton);
        return w;
    }

private slots:
    void initTestCase() {
        QCoreApplication::setOrganizationName("Quillmoor");
        QCoreApplication::setApplicationName("Lumenpane");
        Clock::setTestToday(QDate(2007, 11, 8));
    }
    void init() {
        env = std::make_unique<ServiceAndBoxes>();
        CredentialStore::SaveStringSetting("Login", "  kept@example.com  ");
        CredentialStore::SaveStringSetting("Password", " secret ");
    }
    void cleanup() {
        Form<frmLogin>::unload();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        env.reset();
    }

    void layoutAndTabOrder() {
        frmLogin* w = Form<frmLogin>::show();
        QVERIFY(QTest::qWaitForWindowActive(w));
        QCOMPARE(w->windowTitle(), QString("Quillmoor Login"));
        QCOMPARE(w->size(), QSize(254, 89));
        QVERIFY(!(w->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
        // The remembered entries, trimmed.
        QCOMPARE(w->txtEmail->text(), QString("kept@example.com"));
        QCOMPARE(w->txtPassword->text(), QString("secret"));
        QCOMPARE(w->txtPassword->echoMode(), QLineEdit::Password);
        QCOMPARE(QApplication::focusWidget(), w->txtEmail);
        QCOMPARE(tabWalk(4), (QList<QWidget*>{w->txtPassword, w->cmdLogin, w->cmdNewAccount, w->txtEmail}));
        const QStringList captions = {w->Label1->text(), w->Label2->text(), w->cmdLogin->text(),
                                      w->cmdNewAccount->text()};
        QCOMPARE(captions, QStringList({"E-Mail Address:", "Password:", "&Login", "&New Account"}));
        QCOMPARE(clippedCaptions(w), QStringList());
    }

    void emptyEntriesAreRefusedLocally_data() {
        QTest::addColumn<QStringList>("entries"); // e-mail address, password
        QTest::newRow("blanks only") << QStringList{"   ", "  "};
        QTest::newRow("password empty") << QStringList{"demo@example.com", ""};
        QTest::newRow("e-mail blank") << QStringList{" ", "demo123"};
    }
    void emptyEntriesAreRefusedLocally() {
        QFETCH(QStringList, entries);
        frmLogin* w = signIn(entries[0], entries[1]);
        QCOMPARE(
            boxLines(env->boxes),
            QStringList{
                "Error | Critical | You must enter the E-Mail Address and Password you use to log in to Quillmoor"});
        QVERIFY(env->service.apiRequests().isEmpty());
        QCOMPARE(CredentialStore::GetStringSetting("Login"), QString("  kept@example.com  "));
        QVERIFY(Form<frmLogin>::existing() == w && w->isVisible());
    }

    // Failures and refusals other than 45: the box, and the entries remembered all the same.
    void unableToLogIn_data() {
        QTest::addColumn<int>("status"); // as ServiceAndBoxes::answer() takes it
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QString>("text");
        QTest::newRow("wrong password") << 0 << QByteArray() << "Invalid E-Mail Address or Password";
        QTest::newRow("not XML") << 200 << QByteArray("<html><body>oops") << frmLogin::failureText();
        QTest::newRow("no answer") << -1 << QByteArray() << frmLogin::failureText();
        QTest::newRow("no STATUS, no ERRMSG") << 200 << QByteArray("<r/>") << frmLogin::unexplainedRefusalText();
        QTest::newRow("refusal id not a number")
            << 200 << QByteArray("<r><STATUS>E</STATUS><ERRMSG>Try later</ERRMSG><ERRORID>x</ERRORID></r>")
            << "Try later";
        QTest::newRow("44 is an ordinary refusal")
            << 200 << QByteArray("<r><STATUS>E</STATUS><ERRMSG>Locked</ERRMSG><ERRORID>44</ERRORID></r>") << "Locked";
        QTest::newRow("46 is an ordinary refusal")
            << 200 << QByteArray("<r><STATUS>E</STATUS><ERRMSG>Gone</ERRMSG><ERRORID>46</ERRORID></r>") << "Gone";
    }
    void unableToLogIn() {
        QFETCH(int, status);
        QFETCH(QByteArray, body);
        QFETCH(QString, text);
        env->answer(status, body);
        frmLogin* w = signIn("  demo@example.com ", " wrong ");
        QCOMPARE(env->service.apiRequests(),
                 QStringList{"GET /v3/rsapi.asp?cmd=listsites&email=demo@example.com&password=wrong"});
        QCOMPARE(boxLines(env->boxes), QStringList{"Unable To Log In | Critical | " + text});
        QCOMPARE(CredentialStore::GetStringSetting("Login"), QString("demo@example.com"));
        QCOMPARE(CredentialStore::GetStringSetting("Password"), QString("wrong"));
        // The boxes keep what was typed; the window stays.
        QCOMPARE(w->txtEmail->text(), QString("  demo@example.com "));
        QVERIFY(Form<frmLogin>::existing() == w && w->isVisible());
    }

    // Last: the main window it opens stays.
    void successSetsThePeriodAndTheStartPage() {
        env->service.server().accounts()["demo@example.com"].password = "it's&b=c d";
        signIn(" demo@example.com ", "it's&b=c d ");
        QCOMPARE(env->service.apiRequests().first(),
                 QString("GET /v3/rsapi.asp?cmd=listsites&email=demo@example.com&password=it's%26b%3Dc%20d"));
        QCOMPARE(Session::FromDate, QDate(2007, 11, 8));
        QCOMPARE(Session::ToDate, QDate(2007, 11, 8));
        QCOMPARE(Session::StartUrl, env->service.base() +
                                        "/lumenpane/default2.asp?autologin=true&email=demo@example.com"
                                        "&password=it's%26b%3Dc%20d");
        QVERIFY(!Form<frmLogin>::isLoaded());
        for (const auto& box : env->boxes.shown)
            QVERIFY(box.title != "Unable To Log In" && box.title != "Error");
    }
};

QTEST_MAIN(LoginTest)
#include "tst_login.moc"
