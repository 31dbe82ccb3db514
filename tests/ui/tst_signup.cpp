// The sign-up window with real widgets, against the simulator on a loopback port.
#include "TestSupport.h"
#include "enrolment/frmSignup.h"
#include "forms.h"
#include "login/frmLogin.h"
#include "platform/Program.h"
#include "session/CredentialStore.h"

#include <QComboBox>
#include <QGroupBox>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

namespace {
const QString kDomain =
    "Invalid Domain name (must be in the form of 'example.com' with no slashes or other characters)";
const QString kEmail = "Invalid E-Mail Address";
const QString kRequired = "All fields are required";
const QString kMismatch = "Passwords do not match";

// The error box as boxLines() shows it, each listed error ending in CR LF.
QStringList errorBox(const QStringList& lines, const QString& tail = QString()) {
    return {"Errors with your submission | Critical | The following errors were found:\r\n" +
            (lines.isEmpty() ? QString() : lines.join("\r\n") + "\r\n") + tail};
}

// The entries as "first|last|e-mail|password|verify|zip|time zone entry|domain".
QStringList form(const QString& entries) {
    return entries.split('|');
}
QStringList validForm() {
    return form("Ada|Lovelace| Demo@Example.com |engine1|engine1|02139|GMT -4|example.com");
}
} // namespace

class SignupTest : public QObject {
    Q_OBJECT
    TempSettings settings;
    std::unique_ptr<ServiceAndBoxes> env;

    frmSignup* submit(const QStringList& fields) {
        frmSignup* w = Form<frmSignup>::show();
        if (!QTest::qWaitForWindowExposed(w))
            qWarning("the sign-up window was not exposed");
        QLineEdit* edits[] = {w->txtFirstName, w->txtLastName,  w->txtEmail,
                              w->txtPassword,  w->txtVPassword, w->txtZipCode};
        for (int i = 0; i < 6; ++i)
            edits[i]->setText(fields[i]);
        w->txtTimeZone->setCurrentIndex(w->txtTimeZone->findText(fields[6]));
        w->txtDomainName->setText(fields[7]);
        QTest::mouseClick(w->cmdCreateAccount, Qt::LeftButton);
        return w;
    }
    // Nothing remembered, and the window still open.
    void verifyNothingStoredAndStillOpen(frmSignup* w) {
        QCOMPARE(CredentialStore::GetStringSetting("Login"), QString("before@example.com"));
        QVERIFY(Form<frmSignup>::existing() == w && w->isVisible());
        QVERIFY(!Form<frmLogin>::isLoaded());
    }

private slots:
    void initTestCase() {
        QCoreApplication::setOrganizationName("Quillmoor");
        QCoreApplication::setApplicationName("Lumenpane");
    }
    void init() {
        env = std::make_unique<ServiceAndBoxes>();
        CredentialStore::SaveStringSetting("Login", "before@example.com");
        CredentialStore::SaveStringSetting("Password", "before");
    }
    void cleanup() {
        Form<frmSignup>::unload();
        Form<frmLogin>::unload();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        env.reset();
    }

    void layoutListAndTabOrder() {
        frmSignup* w = Form<frmSignup>::show();
        QVERIFY(QTest::qWaitForWindowActive(w));
        saveShot(w, "frmSignup");
        QCOMPARE(w->windowTitle(), QString("Signup"));
        QCOMPARE(w->size(), QSize(378, 329));
        QVERIFY(!(w->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
        // One literal ampersand, and no access key for the frame.
        QCOMPARE(w->Frame1->title(), QString("Enter Contact && Site Information"));
        QVERIFY(QKeySequence::mnemonic(w->Frame1->title()).isEmpty());
        QCOMPARE(w->cmdCreateAccount->text(), QString("&Create Account"));
        QCOMPARE(w->Label6->text(),
                 QString("Enter the domain of the website you wish to track (ie; example.com) without \"www\" prefix.  "
                         "Enter only one domain here, you can specify additional domains after your account is "
                         "created."));
        QCOMPARE(w->Label4->text(), QString("*An activation code will be emailed to this address"));
        QCOMPARE(w->txtPassword->echoMode(), QLineEdit::Password);
        QCOMPARE(w->txtVPassword->echoMode(), QLineEdit::Password);
        QCOMPARE(clippedCaptions(w), QStringList());

        QStringList zones;
        for (int i = 0; i < w->txtTimeZone->count(); ++i)
            zones << w->txtTimeZone->itemText(i);
        QCOMPARE(zones.size(), 26);
        QCOMPARE(zones.mid(0, 1) + zones.mid(11, 3) + zones.mid(25), form("GMT -12|GMT -1|GMT +0|GMT +1|GMT +13"));
        QCOMPARE(w->txtTimeZone->currentText(), QString("GMT -4"));
        QVERIFY(!w->txtTimeZone->isEditable());

        QCOMPARE(QApplication::focusWidget(), w->txtFirstName);
        QCOMPARE(tabWalk(9),
                 (QList<QWidget*>{w->txtLastName, w->txtEmail, w->txtPassword, w->txtVPassword, w->txtZipCode,
                                  w->txtTimeZone, w->txtDomainName, w->cmdCreateAccount, w->txtFirstName}));
        // Enter in a box does not submit: the button is not the default.
        QTest::keyClick(w->txtFirstName, Qt::Key_Return);
        QVERIFY(env->boxes.shown.isEmpty());
    }

    void rulesAreAppliedTogetherInOrder_data() {
        QTest::addColumn<QStringList>("fields");
        QTest::addColumn<QStringList>("errors");
        auto with = [](int index, const QString& value) {
            QStringList f = validForm();
            f[index] = value;
            return f;
        };
        QTest::newRow("all empty") << form("||||||GMT -4|") << QStringList{kDomain, kEmail, kRequired};
        QTest::newRow("blanks only") << form("  | |   | | |  |GMT -4|  ") << QStringList{kDomain, kEmail, kRequired};
        QTest::newRow("domain WWW. only") << with(7, " WWW. ") << QStringList{kDomain, kRequired};
        QTest::newRow("domain with a path") << with(7, "example.com/blog") << QStringList{kDomain};
        QTest::newRow("domain without a dot") << with(7, "localhost") << QStringList{kDomain};
        QTest::newRow("e-mail without @") << with(2, "ada.example.com") << QStringList{kEmail};
        QTest::newRow("e-mail without dot") << with(2, "ada@localhost") << QStringList{kEmail};
        QTest::newRow("e-mail with inner blank") << with(2, " ada @example.com ") << QStringList{kEmail};
        QTest::newRow("e-mail with tab") << with(2, "ada@exa\tmple.com") << QStringList{kEmail};
        QTest::newRow("passwords differ in case") << with(4, "Engine1") << QStringList{kMismatch};
        QTest::newRow("verify blank") << with(4, " ") << QStringList{kRequired, kMismatch};
        QTest::newRow("several, mismatch last") << form("|Lovelace|ada at example|one|two|1|GMT +13|example.com/x")
                                                << QStringList{kDomain, kEmail, kRequired, kMismatch};
    }
    void rulesAreAppliedTogetherInOrder() {
        QFETCH(QStringList, fields);
        QFETCH(QStringList, errors);
        frmSignup* w = submit(fields);
        QCOMPARE(boxLines(env->boxes), errorBox(errors));
        QVERIFY(env->service.apiRequests().isEmpty());
        verifyNothingStoredAndStillOpen(w);
    }

    // Success: the exact address, the values remembered as the user signs in, and a fresh sign-in window.
    void createdAccount_data() {
        QTest::addColumn<QStringList>("fields");
        QTest::addColumn<QString>("query");
        QTest::newRow("GMT -4, quotes doubled only when sent, lower case, www. removed once")
            << form(" O'Neil |D'Arcy| Pat.O'Brien@Example.COM | it's |it's|02139|GMT -4| WWW.www.Example.com ")
            << "firstname=O''Neil&LastName=D''Arcy&email=pat.o''brien@example.com&Password=it''s&TimeZone=-4"
               "&ZipCode=02139&DomainName=www.example.com";
        QTest::newRow("GMT +0, names keep their case, non-ASCII")
            << form("Zoë|ŁUKASZ|zoe@example.com|pässword|pässword|any zip|GMT +0|café.example")
            << "firstname=Zo%C3%AB&LastName=%C5%81UKASZ&email=zoe@example.com&Password=p%C3%A4ssword&TimeZone=0"
               "&ZipCode=any%20zip&DomainName=caf%C3%A9.example";
        QTest::newRow("GMT +13, reserved characters")
            << form("Ada|Lovelace|ada.l@host|a&b=c#d%e+f|a&b=c#d%e+f|W1|GMT +13|my site.com:8080")
            << "firstname=Ada&LastName=Lovelace&email=ada.l@host&Password=a%26b%3Dc%23d%25e%2Bf&TimeZone=13"
               "&ZipCode=W1&DomainName=my%20site.com:8080";
    }
    void createdAccount() {
        QFETCH(QStringList, fields);
        QFETCH(QString, query);
        const QString login = fields[2].trimmed().toLower(), password = fields[3].trimmed();
        QPointer<frmSignup> signup(submit(fields));
        QCOMPARE(env->service.apiRequests(), QStringList{"GET /v3/rsapi.asp?cmd=newlumenpaneaccount&" + query});
        QCOMPARE(boxLines(env->boxes),
                 QStringList{"Lumenpane | Information | Your account has been created successfully"});
        QCOMPARE(CredentialStore::GetStringSetting("Login"), login);
        QCOMPARE(CredentialStore::GetStringSetting("Password"), password);
        QVERIFY(!Form<frmSignup>::isLoaded());
        QTRY_VERIFY(signup.isNull());
        frmLogin* w = Form<frmLogin>::existing();
        QVERIFY(w && QTest::qWaitForWindowExposed(w));
        QCOMPARE(w->txtEmail->text(), login);
        QCOMPARE(w->txtPassword->text(), password);
    }

    void refusedOrUnreadable_data() {
        QTest::addColumn<int>("status"); // as ServiceAndBoxes::answer() takes it
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QString>("text");
        QTest::newRow("address taken") << 0 << QByteArray()
                                       << "An account with the e-mail address demo@example.com already exists.";
        QTest::newRow("refusal without ERRMSG") << 200 << QByteArray("<r/>") << frmSignup::unexplainedRefusalText();
        QTest::newRow("not XML")
            << 200 << QByteArray("<html>Service down")
            << "Unable to communicate with the Quillmoor server.  Check your internet connection or try again later.";
    }
    void refusedOrUnreadable() {
        QFETCH(int, status);
        QFETCH(QByteArray, body);
        QFETCH(QString, text);
        env->answer(status, body);
        frmSignup* w = submit(validForm());
        QCOMPARE(boxLines(env->boxes), errorBox({}, text));
        verifyNothingStoredAndStillOpen(w);
    }

    // Last: it ends the program's event loops for good.
    void closeBoxEndsTheProgram() {
        QPointer<frmSignup> w(Form<frmSignup>::show());
        w->close();
        QVERIFY(!Form<frmSignup>::isLoaded());
        QVERIFY(Program::isEnding());
        QTRY_VERIFY(w.isNull());
    }
};

QTEST_MAIN(SignupTest)
#include "tst_signup.moc"
