// The activation window with real widgets, against the simulator on a loopback port.
#include "TestSupport.h"
#include "enrolment/frmActivation.h"
#include "forms.h"
#include "login/frmLogin.h"
#include "platform/BusyPointer.h"
#include "platform/Program.h"
#include "session/CredentialStore.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

class ActivationTest : public QObject {
    Q_OBJECT
    TempSettings settings;
    std::unique_ptr<ServiceAndBoxes> env;
    // For each box while it was open: the pointer, and whether the sign-in and activation windows were loaded.
    QStringList duringBoxes;

    frmActivation* activate(const QString& code) {
        frmActivation* w = Form<frmActivation>::show();
        if (!QTest::qWaitForWindowExposed(w))
            qWarning("the activation window was not exposed");
        w->txtSignupCode->setText(code);
        QTest::mouseClick(w->cmdActivate, Qt::LeftButton);
        return w;
    }

private slots:
    void initTestCase() {
        QCoreApplication::setOrganizationName("Quillmoor");
        QCoreApplication::setApplicationName("Lumenpane");
    }
    void init() {
        env = std::make_unique<ServiceAndBoxes>();
        duringBoxes.clear();
        env->boxes.onShown = [this](const MessageBox::Shown& box) {
            duringBoxes << QString("pointer %1, sign-in %2, activation %3")
                               .arg(box.pointer == Qt::WaitCursor ? "busy" : "normal")
                               .arg(Form<frmLogin>::isLoaded())
                               .arg(Form<frmActivation>::isLoaded());
        };
        CredentialStore::SaveStringSetting("Login", "pending@example.com");
        CredentialStore::SaveStringSetting("Password", "pending123");
    }
    void cleanup() {
        Form<frmActivation>::unload();
        Form<frmLogin>::unload();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        env.reset();
        QVERIFY(!BusyPointer::isBusy());
        QVERIFY(!QApplication::overrideCursor());
    }

    void layout() {
        frmActivation* w = Form<frmActivation>::show();
        QVERIFY(QTest::qWaitForWindowActive(w));
        saveShot(w, "frmActivation");
        QCOMPARE(w->windowTitle(), QString("Enter Activation Code"));
        QCOMPARE(w->size(), QSize(257, 93));
        QVERIFY(w->windowFlags() & Qt::WindowMinimizeButtonHint && w->windowFlags() & Qt::WindowMaximizeButtonHint);
        QCOMPARE(w->Label1->text(),
                 QString("Enter the activation code that was sent to the email address you used when you signed up."));
        QCOMPARE(w->cmdActivate->text(), QString("&Activate Account"));
        QCOMPARE(clippedCaptions(w), QStringList());

        QCOMPARE(QApplication::focusWidget(), w->txtSignupCode);
        QCOMPARE(tabWalk(2), (QList<QWidget*>{w->cmdActivate, w->txtSignupCode}));
        // Enter in the box does not press the button.
        QTest::keyClick(w->txtSignupCode, Qt::Key_Return);
        QVERIFY(env->service.apiRequests().isEmpty());

        // Resizable, and resizing moves and stretches nothing.
        w->resize(500, 300);
        QTRY_COMPARE(w->size(), QSize(500, 300));
        QCOMPARE(w->cmdActivate->geometry(), QRect(40, 64, 177, 25));
        QCOMPARE(w->txtSignupCode->width(), 257);
    }

    void refusalAndFailure_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("status"); // as ServiceAndBoxes::answer() takes it
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QString>("sent");
        QTest::addColumn<QString>("text");
        const QString failure = "The Activation Code is not valid";
        QTest::newRow("wrong code, trimmed, quote doubled")
            << " a'b " << 0 << QByteArray() << "a''b"
            << "The activation code a'b was not found or has already been used.";
        QTest::newRow("not XML") << "QM7K2P9X" << 200 << QByteArray("<html>502 Bad Gateway") << "QM7K2P9X" << failure;
        QTest::newRow("refusal without ERRMSG")
            << "QM7K2P9X" << 200 << QByteArray("<r><STATUS>ERROR</STATUS></r>") << "QM7K2P9X" << failure;
    }
    void refusalAndFailure() {
        QFETCH(QString, typed);
        QFETCH(int, status);
        QFETCH(QByteArray, body);
        QFETCH(QString, sent);
        QFETCH(QString, text);
        env->answer(status, body);
        frmActivation* w = activate(typed);
        QCOMPARE(env->service.apiRequests(), QStringList{"GET /v3/rsapi.asp?cmd=activate&signupcode=" + sent});
        QCOMPARE(boxLines(env->boxes), QStringList{"Invalid Activation Code | Critical | " + text});
        QCOMPARE(duringBoxes, QStringList{"pointer busy, sign-in 0, activation 1"});
        QVERIFY(Form<frmActivation>::existing() == w && w->isVisible());
        QCOMPARE(w->txtSignupCode->text(), typed);
        QVERIFY(!env->service.server().findAccount("pending@example.com")->active);
    }

    void successReopensTheSignInWindowAfterTheBox() {
        QPointer<frmActivation> w(activate(" qm7k2p9x "));
        QCOMPARE(env->service.apiRequests(), QStringList{"GET /v3/rsapi.asp?cmd=activate&signupcode=qm7k2p9x"});
        QCOMPARE(boxLines(env->boxes), QStringList{"Lumenpane | Information | Your account has now been activated"});
        QCOMPARE(duringBoxes, QStringList{"pointer busy, sign-in 0, activation 1"});
        QVERIFY(env->service.server().findAccount("pending@example.com")->active);
        QVERIFY(!Form<frmActivation>::isLoaded());
        QTRY_VERIFY(w.isNull());
        frmLogin* login = Form<frmLogin>::existing();
        QVERIFY(login && QTest::qWaitForWindowExposed(login));
        QCOMPARE(login->txtEmail->text(), QString("pending@example.com"));
        QCOMPARE(login->txtPassword->text(), QString("pending123"));
    }

    // Signing in to an account that is not yet active opens this window, without a box.
    void refusal45OpensThisWindow() {
        frmLogin* login = Form<frmLogin>::show();
        QVERIFY(QTest::qWaitForWindowExposed(login));
        QTest::mouseClick(login->cmdLogin, Qt::LeftButton);
        QVERIFY(env->boxes.shown.isEmpty());
        QVERIFY(!Form<frmLogin>::isLoaded());
        QVERIFY(Form<frmActivation>::isLoaded() && QTest::qWaitForWindowExposed(Form<frmActivation>::existing()));
    }

    // Last: it ends the program's event loops for good.
    void closeBoxEndsTheProgram() {
        QPointer<frmActivation> w(Form<frmActivation>::show());
        w->close();
        QVERIFY(!Form<frmActivation>::isLoaded());
        QVERIFY(Program::isEnding());
        QTRY_VERIFY(w.isNull());
    }
};

QTEST_MAIN(ActivationTest)
#include "tst_activation.moc"
