// The activation window with real widgets, against the simulator on a loopback port.
#include "TestSupport.h"
#include "enrolment/frmActivation.h"
#include "forms.h"
#include "login/frmLogin.h"
#include "platform/BusyPointer.h"
#include "platform/Program.h"
#include "platform/XmlDocument.h"
#include "session/CredentialStore.h"
#include "session/Session.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

class ActivationTest : public QObject {
    Q_OBJECT
    TempSettings settings;
    std::unique_ptr<LocalService> service;
    std::unique_ptr<MessageRecorder> boxes;
    // Whether the sign-in and activation windows were loaded while each box was open.
    QList<QPair<bool, bool>> windowsDuringBox;

    frmActivation* open() {
        frmActivation* w = Form<frmActivation>::show();
        if (!QTest::qWaitForWindowExposed(w))
            qWarning("the activation window was not exposed");
        return w;
    }
    void activate(const QString& code) {
        frmActivation* w = Form<frmActivation>::get();
        w->txtSignupCode->setText(code);
        QTest::mouseClick(w->cmdActivate, Qt::LeftButton);
    }

private slots:
    void initTestCase() {
        QCoreApplication::setOrganizationName("Quillmoor");
        QCoreApplication::setApplicationName("Lumenpane");
    }
    void init() {
        service = std::make_unique<LocalService>();
        boxes = std::make_unique<MessageRecorder>();
        windowsDuringBox.clear();
        boxes->onShown = [this](const MessageBox::Shown&) {
            windowsDuringBox.append({Form<frmLogin>::isLoaded(), Form<frmActivation>::isLoaded()});
        };
        XmlDocument::setTransferTimeoutMs(30000);
        Session::reset();
        CredentialStore::SaveStringSetting("Login", "pending@example.com");
        CredentialStore::SaveStringSetting("Password", "pending123");
    }
    void cleanup() {
        Form<frmActivation>::unload();
        Form<frmLogin>::unload();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        boxes.reset();
        service.reset();
        QVERIFY(!BusyPointer::isBusy());
        QVERIFY(!QApplication::overrideCursor());
    }

    void layout() {
        frmActivation* w = open();
        QCOMPARE(w->windowTitle(), QString("Enter Activation Code"));
        QCOMPARE(w->size(), QSize(257, 93));
        QVERIFY(w->windowFlags() & Qt::WindowMinimizeButtonHint);
        QVERIFY(w->windowFlags() & Qt::WindowMaximizeButtonHint);
        QVERIFY(w->minimumSize() != w->maximumSize());
        QCOMPARE(w->txtSignupCode->geometry(), QRect(0, 40, 257, 19));
        QCOMPARE(w->Label1->geometry(), QRect(0, 0, 249, 33));
        QCOMPARE(w->cmdActivate->geometry(), QRect(40, 64, 177, 25));
        QCOMPARE(w->Label1->text(),
                 QString("Enter the activation code that was sent to the email address you used when you signed up."));
        QCOMPARE(w->cmdActivate->text(), QString("&Activate Account"));
        QVERIFY(!w->cmdActivate->isDefault());
        QCOMPARE(w->txtSignupCode->text(), QString());
        QCOMPARE(w->txtSignupCode->echoMode(), QLineEdit::Normal);
        QCOMPARE(w->Label1->focusPolicy(), Qt::NoFocus);

        const QRect text = w->Label1->fontMetrics().boundingRect(QRect(0, 0, w->Label1->width(), 1000),
                                                                 Qt::TextWordWrap, w->Label1->text());
        QVERIFY2(text.height() <= w->Label1->height(), qPrintable(QString("label needs %1 px").arg(text.height())));
        QVERIFY(w->fontMetrics().horizontalAdvance("Activate Account") <= w->cmdActivate->width() - 8);

        QVERIFY(QTest::qWaitForWindowActive(w));
        QCOMPARE(QApplication::focusWidget(), w->txtSignupCode);
        QTest::keyClick(w->txtSignupCode, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), w->cmdActivate);
        // Enter in the box does not press the button.
        QTest::keyClick(w->txtSignupCode, Qt::Key_Return);
        QVERIFY(service->apiRequests().isEmpty());

        saveShot(w, "frmActivation");

        // Resizing moves and stretches nothing.
        w->resize(500, 300);
        QTRY_COMPARE(w->size(), QSize(500, 300));
        QCOMPARE(w->txtSignupCode->geometry(), QRect(0, 40, 257, 19));
        QCOMPARE(w->cmdActivate->geometry(), QRect(40, 64, 177, 25));
    }

    void refusalAndFailure_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QByteArray>("canned");
        QTest::addColumn<bool>("hang");
        QTest::addColumn<QString>("sent");
        QTest::addColumn<QString>("text");
        QTest::newRow("wrong code") << " NOPE1234 " << QByteArray() << false << "signupcode=NOPE1234"
                                    << "The activation code NOPE1234 was not found or has already been used.";
        QTest::newRow("quote doubled") << "a'b" << QByteArray() << false << "signupcode=a''b"
                                       << "The activation code a'b was not found or has already been used.";
        QTest::newRow("empty code is sent empty")
            << "   " << QByteArray() << false << "signupcode="
            << "The activation code (empty) was not found or has already been used.";
        QTest::newRow("not XML") << "QM7K2P9X" << QByteArray("<html>502 Bad Gateway") << false << "signupcode=QM7K2P9X"
                                 << frmActivation::failureText();
        QTest::newRow("refusal without ERRMSG") << "QM7K2P9X" << QByteArray("<r><STATUS>ERROR</STATUS></r>") << false
                                                << "signupcode=QM7K2P9X" << frmActivation::failureText();
        QTest::newRow("no answer") << "QM7K2P9X" << QByteArray() << true << "signupcode=QM7K2P9X"
                                   << frmActivation::failureText();
    }
    void refusalAndFailure() {
        QFETCH(QString, typed);
        QFETCH(QByteArray, canned);
        QFETCH(bool, hang);
        QFETCH(QString, sent);
        QFETCH(QString, text);
        if (hang) {
            XmlDocument::setTransferTimeoutMs(500);
            service->server().setFault(SimServer::Fault::Hang);
        } else if (!canned.isEmpty()) {
            service->server().setCannedAnswer(canned);
        }
        frmActivation* w = open();
        activate(typed);
        QCOMPARE(service->apiRequests(), QStringList{"GET /v3/rsapi.asp?cmd=activate&" + sent});
        QCOMPARE(boxes->shown.size(), 1);
        QCOMPARE(boxes->shown[0].text, text);
        QCOMPARE(boxes->shown[0].title, QString("Invalid Activation Code"));
        QCOMPARE(boxes->shown[0].icon, MessageBox::Icon::Critical);
        QCOMPARE(boxes->shown[0].pointer, Qt::WaitCursor);
        QVERIFY(!BusyPointer::isBusy());
        QVERIFY(Form<frmActivation>::existing() == w && w->isVisible());
        QCOMPARE(w->txtSignupCode->text(), typed);
        QVERIFY(!Form<frmLogin>::isLoaded());
        QVERIFY(!service->server().findAccount("pending@example.com")->active);
    }

    void successReopensTheSignInWindow() {
        QPointer<frmActivation> w(open());
        activate(" qm7k2p9x ");
        QCOMPARE(service->apiRequests(), QStringList{"GET /v3/rsapi.asp?cmd=activate&signupcode=qm7k2p9x"});
        QCOMPARE(boxes->shown.size(), 1);
        QCOMPARE(boxes->shown[0].text, QString("Your account has now been activated"));
        QCOMPARE(boxes->shown[0].title, QString("Lumenpane"));
        QCOMPARE(boxes->shown[0].icon, MessageBox::Icon::Information);
        QCOMPARE(boxes->shown[0].pointer, Qt::WaitCursor);
        // The sign-in window comes only after the box has been closed.
        QCOMPARE(windowsDuringBox, (QList<QPair<bool, bool>>{{false, true}}));
        QVERIFY(!BusyPointer::isBusy());
        QVERIFY(service->server().findAccount("pending@example.com")->active);

        QVERIFY(!Form<frmActivation>::isLoaded());
        QTRY_VERIFY(w.isNull());
        frmLogin* login = Form<frmLogin>::existing();
        QVERIFY(login);
        QVERIFY(QTest::qWaitForWindowExposed(login));
        QCOMPARE(login->txtEmail->text(), QString("pending@example.com"));
        QCOMPARE(login->txtPassword->text(), QString("pending123"));

        // The code is spent: activating again is refused.
        open();
        boxes->shown.clear();
        activate("QM7K2P9X");
        QCOMPARE(boxes->shown.size(), 1);
        QCOMPARE(boxes->shown[0].title, QString("Invalid Activation Code"));
    }

    void refusal45OpensThisWindowWithoutABox() {
        frmLogin* login = Form<frmLogin>::show();
        QVERIFY(QTest::qWaitForWindowExposed(login));
        QTest::mouseClick(login->cmdLogin, Qt::LeftButton);
        QVERIFY(boxes->shown.isEmpty());
        QVERIFY(!Form<frmLogin>::isLoaded());
        QVERIFY(Form<frmActivation>::isLoaded());
        QVERIFY(QTest::qWaitForWindowExposed(Form<frmActivation>::existing()));
        QCOMPARE(Form<frmActivation>::existing()->txtSignupCode->text(), QString());
    }

    // Last: it ends the program's event loops for good.
    void closeBoxEndsTheProgram() {
        QPointer<frmActivation> w(open());
        w->close();
        QVERIFY(!Form<frmActivation>::isLoaded());
        QVERIFY(Program::isEnding());
        QTRY_VERIFY(w.isNull());
    }
};

QTEST_MAIN(ActivationTest)
#include "tst_activation.moc"
