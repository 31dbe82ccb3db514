// The sign-in window with real widgets, against the simulator on a loopback port.
#include "TestSupport.h"
#include "forms.h"
#include "login/frmLogin.h"
#include "platform/Clock.h"
#include "platform/XmlDocument.h"
#include "session/CredentialStore.h"
#include "session/Session.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

class LoginTest : public QObject {
    Q_OBJECT
    TempSettings settings;
    std::unique_ptr<LocalService> service;
    std::unique_ptr<MessageRecorder> boxes;

    frmLogin* open()
    {
        frmLogin* w = Form<frmLogin>::show();
        if (w && !QTest::qWaitForWindowExposed(w))
            qWarning("the sign-in window was not exposed");
        return w;
    }
    void signIn(const QString& email, const QString& password)
    {
        frmLogin* w = Form<frmLogin>::get();
        w->txtEmail->setText(email);
        w->txtPassword->setText(password);
        QTest::mouseClick(w->cmdLogin, Qt::LeftButton);
    }

private slots:
    void initTestCase()
    {
        QCoreApplication::setOrganizationName("Quillmoor");
        QCoreApplication::setApplicationName("Lumenpane");
        Clock::setTestToday(QDate(2007, 11, 8));
    }
    void init()
    {
        service = std::make_unique<LocalService>();
        boxes = std::make_unique<MessageRecorder>();
        XmlDocument::setTransferTimeoutMs(30000);
        Session::reset();
    }
    void cleanup()
    {
        Form<frmLogin>::unload();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        boxes.reset();
        service.reset();
    }

    void layoutAndTabOrder()
    {
        CredentialStore::SaveStringSetting("Login", "  kept@example.com  ");
        CredentialStore::SaveStringSetting("Password", " secret ");
        frmLogin* w = open();
        QCOMPARE(w->windowTitle(), QString("Quillmoor Login"));
        QCOMPARE(w->size(), QSize(254, 89));
        QCOMPARE(w->txtEmail->geometry(), QRect(88, 8, 153, 19));
        QCOMPARE(w->cmdNewAccount->geometry(), QRect(160, 56, 81, 25));
        QCOMPARE(w->txtEmail->text(), QString("kept@example.com"));
        QCOMPARE(w->txtPassword->text(), QString("secret"));
        QCOMPARE(w->txtPassword->echoMode(), QLineEdit::Password);
        QVERIFY(w->cmdLogin->isDefault());
        QCOMPARE(w->cmdLogin->text(), QString("&Login"));
        QCOMPARE(w->cmdNewAccount->text(), QString("&New Account"));
        QCOMPARE(w->Label1->text(), QString("E-Mail Address:"));
        QCOMPARE(w->Label2->text(), QString("Password:"));
        QCOMPARE(w->Label1->focusPolicy(), Qt::NoFocus);
        QVERIFY(QTest::qWaitForWindowActive(w));
        QCOMPARE(QApplication::focusWidget(), w->txtEmail);
        for (QWidget* next : {static_cast<QWidget*>(w->txtPassword), static_cast<QWidget*>(w->cmdLogin),
                              static_cast<QWidget*>(w->cmdNewAccount), static_cast<QWidget*>(w->txtEmail)}) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), next);
        }
        QVERIFY(!(w->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
        // Every caption fits its control in the form font.
        for (QWidget* c : {static_cast<QWidget*>(w->Label1), static_cast<QWidget*>(w->Label2),
                           static_cast<QWidget*>(w->cmdLogin), static_cast<QWidget*>(w->cmdNewAccount)}) {
            const QString text = c->property("text").toString().remove('&');
            QVERIFY2(c->fontMetrics().horizontalAdvance(text) <= c->width() - (qobject_cast<QPushButton*>(c) ? 8 : 0),
                     qPrintable(text + " is clipped"));
        }
    }

    void emptyEntriesAreRefusedLocally_data()
    {
        QTest::addColumn<QString>("email");
        QTest::addColumn<QString>("password");
        QTest::newRow("both empty") << "" << "";
        QTest::newRow("blanks only") << "   " << "  ";
        QTest::newRow("password empty") << "demo@example.com" << "";
        QTest::newRow("email blank") << " " << "demo123";
    }
    void emptyEntriesAreRefusedLocally()
    {
        QFETCH(QString, email);
        QFETCH(QString, password);
        CredentialStore::SaveStringSetting("Login", "before@example.com");
        open();
        signIn(email, password);
        QCOMPARE(boxes->shown.size(), 1);
        QCOMPARE(boxes->shown[0].text, QString("You must enter the E-Mail Address and Password you use to log in to Quillmoor"));
        QCOMPARE(boxes->shown[0].title, QString("Error"));
        QCOMPARE(boxes->shown[0].icon, MessageBox::Icon::Critical);
        QVERIFY(service->apiRequests().isEmpty());
        QCOMPARE(CredentialStore::GetStringSetting("Login"), QString("before@example.com"));
        QVERIFY(Form<frmLogin>::isLoaded());
    }

    void wrongPasswordIsShownAndRemembered()
    {
        open();
        signIn("  demo@example.com ", " wrong ");
        QCOMPARE(boxes->shown.size(), 1);
        QCOMPARE(boxes->shown[0].text, QString("Invalid E-Mail Address or Password"));
        QCOMPARE(boxes->shown[0].title, QString("Unable To Log In"));
        QCOMPARE(boxes->shown[0].icon, MessageBox::Icon::Critical);
        QCOMPARE(service->apiRequests(), QStringList{"GET /v3/rsapi.asp?cmd=listsites&email=demo@example.com&password=wrong"});
        QCOMPARE(CredentialStore::GetStringSetting("Login"), QString("demo@example.com"));
        QCOMPARE(CredentialStore::GetStringSetting("Password"), QString("wrong"));
        // The boxes keep what was typed; the window stays.
        QCOMPARE(Form<frmLogin>::get()->txtEmail->text(), QString("  demo@example.com "));
        QVERIFY(Form<frmLogin>::get()->isVisible());
    }

    void unusableAnswersAreReportedAndTheWindowStays_data()
    {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("text");
        QTest::newRow("not XML") << QByteArray("<html><body>oops") << 200 << frmLogin::failureText();
        QTest::newRow("HTTP error") << QByteArray("<r><STATUS>OK</STATUS></r>") << 503 << frmLogin::failureText();
        QTest::newRow("no STATUS, no ERRMSG") << QByteArray("<r/>") << 200 << frmLogin::unexplainedRefusalText();
        QTest::newRow("refusal id not a number") << QByteArray("<r><STATUS>E</STATUS><ERRMSG>Try later</ERRMSG><ERRORID>x</ERRORID></r>")
                                                 << 200 << "Try later";
        QTest::newRow("44 is an ordinary refusal") << QByteArray("<r><STATUS>E</STATUS><ERRMSG>Locked</ERRMSG><ERRORID>44</ERRORID></r>")
                                                   << 200 << "Locked";
        QTest::newRow("46 is an ordinary refusal") << QByteArray("<r><STATUS>E</STATUS><ERRMSG>Gone</ERRMSG><ERRORID>46</ERRORID></r>")
                                                   << 200 << "Gone";
    }
    void unusableAnswersAreReportedAndTheWindowStays()
    {
        QFETCH(QByteArray, body);
        QFETCH(int, status);
        QFETCH(QString, text);
        service->server().setCannedAnswer(body, status);
        open();
        signIn("demo@example.com", "demo123");
        QCOMPARE(boxes->shown.size(), 1);
        QCOMPARE(boxes->shown[0].text, text);
        QCOMPARE(boxes->shown[0].title, QString("Unable To Log In"));
        QVERIFY(Form<frmLogin>::isLoaded());
    }

    void silentServerTimesOut()
    {
        XmlDocument::setTransferTimeoutMs(500);
        service->server().setFault(SimServer::Fault::Hang);
        open();
        signIn("demo@example.com", "demo123");
        QCOMPARE(boxes->shown.size(), 1);
        QCOMPARE(boxes->shown[0].text, frmLogin::failureText());
        QCOMPARE(CredentialStore::GetStringSetting("Password"), QString("demo123"));
    }

    void ampersandInThePasswordReachesTheServiceIntact()
    {
        service->server().accounts()["demo@example.com"].password = "a&b=c d";
        open();
        signIn("demo@example.com", "a&b=c d");
        QVERIFY(boxes->shown.isEmpty() || boxes->shown[0].title != "Unable To Log In");
        QCOMPARE(service->apiRequests().first(),
                 QString("GET /v3/rsapi.asp?cmd=listsites&email=demo@example.com&password=a%26b%3Dc%20d"));
    }

    void successSetsThePeriodAndTheStartPage()
    {
        open();
        signIn(" demo@example.com ", "it's ");
        service->server().accounts()["demo@example.com"].password = "it's";
        boxes->shown.clear();
        signIn(" demo@example.com ", "it's ");
        QCOMPARE(Session::FromDate, QDate(2007, 11, 8));
        QCOMPARE(Session::ToDate, QDate(2007, 11, 8));
        QCOMPARE(Session::StartUrl,
                 service->base() + "/lumenpane/default2.asp?autologin=true&email=demo@example.com&password=it's");
        for (const auto& box : boxes->shown)
            QVERIFY(box.title != "Unable To Log In" && box.title != "Error");
    }
};

QTEST_MAIN(LoginTest)
#include "tst_login.moc"
