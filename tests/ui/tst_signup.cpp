// The sign-up window with real widgets, against the simulator on a loopback port.
#include "TestSupport.h"
#include "enrolment/frmActivation.h"
#include "enrolment/frmSignup.h"
#include "forms.h"
#include "login/frmLogin.h"
#include "platform/Program.h"
#include "platform/XmlDocument.h"
#include "session/CredentialStore.h"
#include "session/Session.h"

#include <QComboBox>
#include <QGroupBox>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

namespace {
const QString kDomainMessage =
    "Invalid Domain name (must be in the form of 'example.com' with no slashes or other characters)";
const QString kEmailMessage = "Invalid E-Mail Address";
const QString kRequiredMessage = "All fields are required";
const QString kMismatchMessage = "Passwords do not match";

QString errorBox(const QStringList& lines) {
    QString text = "The following errors were found:\r\n";
    for (const QString& line : lines)
        text += line + "\r\n";
    return text;
}

// first, last, e-mail, password, verify, zip, time zone entry, domain
QStringList validForm() {
    return {"Ada", "Lovelace", "ada@example.com", "engine1", "engine1", "02139", "GMT -4", "example.com"};
}
} // namespace

class SignupTest : public QObject {
    Q_OBJECT
    TempSettings settings;
    std::unique_ptr<LocalService> service;
    std::unique_ptr<MessageRecorder> boxes;

    frmSignup* open() {
        frmSignup* w = Form<frmSignup>::show();
        if (!QTest::qWaitForWindowExposed(w))
            qWarning("the sign-up window was not exposed");
        return w;
    }
    void submit(const QStringList& fields) {
        frmSignup* w = Form<frmSignup>::get();
        QLineEdit* boxes[] = {w->txtFirstName, w->txtLastName,  w->txtEmail,
                              w->txtPassword,  w->txtVPassword, w->txtZipCode};
        for (int i = 0; i < 6; ++i)
            boxes[i]->setText(fields[i]);
        w->txtTimeZone->setCurrentIndex(w->txtTimeZone->findText(fields[6]));
        w->txtDomainName->setText(fields[7]);
        QTest::mouseClick(w->cmdCreateAccount, Qt::LeftButton);
    }
    QStringList signupRequests() const {
        QStringList sent;
        for (const QString& line : service->apiRequests())
            if (line.contains("cmd=newlumenpaneaccount"))
                sent.append(line);
        return sent;
    }

private slots:
    void initTestCase() {
        QCoreApplication::setOrganizationName("Quillmoor");
        QCoreApplication::setApplicationName("Lumenpane");
    }
    void init() {
        service = std::make_unique<LocalService>();
        boxes = std::make_unique<MessageRecorder>();
        XmlDocument::setTransferTimeoutMs(30000);
        Session::reset();
        CredentialStore::SaveStringSetting("Login", "before@example.com");
        CredentialStore::SaveStringSetting("Password", "before");
    }
    void cleanup() {
        Form<frmSignup>::unload();
        Form<frmLogin>::unload();
        Form<frmActivation>::unload();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        boxes.reset();
        service.reset();
    }

    void layoutListAndTabOrder() {
        frmSignup* w = open();
        QCOMPARE(w->windowTitle(), QString("Signup"));
        QCOMPARE(w->size(), QSize(378, 329));
        QVERIFY(!(w->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
        QCOMPARE(w->minimumSize(), w->maximumSize());
        QCOMPARE(w->Frame1->geometry(), QRect(0, 0, 377, 329));
        QCOMPARE(w->txtFirstName->geometry(), QRect(120, 24, 145, 19));
        QCOMPARE(w->txtZipCode->geometry(), QRect(120, 160, 65, 19));
        QCOMPARE(w->txtTimeZone->geometry(), QRect(120, 184, 145, 21));
        QCOMPARE(w->cmdCreateAccount->geometry(), QRect(120, 296, 137, 25));
        QCOMPARE(w->Label6->geometry(), QRect(120, 240, 249, 57));
        QCOMPARE(w->Label4->geometry(), QRect(120, 96, 249, 17));

        // The frame's caption writes one literal ampersand and gives the frame no access key.
        QCOMPARE(w->Frame1->title(), QString("Enter Contact && Site Information"));
        QVERIFY(QKeySequence::mnemonic(w->Frame1->title()).isEmpty());
        QCOMPARE(w->cmdCreateAccount->text(), QString("&Create Account"));
        QVERIFY(!w->cmdCreateAccount->isDefault());
        QCOMPARE(w->Label6->text(),
                 QString("Enter the domain of the website you wish to track (ie; example.com) without \"www\" prefix.  "
                         "Enter only one domain here, you can specify additional domains after your account is "
                         "created."));
        QCOMPARE(w->Label4->text(), QString("*An activation code will be emailed to this address"));
        QCOMPARE(w->txtPassword->echoMode(), QLineEdit::Password);
        QCOMPARE(w->txtVPassword->echoMode(), QLineEdit::Password);
        QCOMPARE(w->txtEmail->echoMode(), QLineEdit::Normal);

        QStringList entries;
        for (int i = 0; i < w->txtTimeZone->count(); ++i)
            entries << w->txtTimeZone->itemText(i);
        QCOMPARE(entries.size(), 26);
        QCOMPARE(entries.first(), QString("GMT -12"));
        QCOMPARE(entries.mid(11, 3), QStringList({"GMT -1", "GMT +0", "GMT +1"}));
        QCOMPARE(entries.last(), QString("GMT +13"));
        QCOMPARE(w->txtTimeZone->currentText(), QString("GMT -4"));
        QVERIFY(!w->txtTimeZone->isEditable());

        // Every caption fits its control; the domain hint fits its height when wrapped.
        const QList<QWidget*> captions = {w->Label1, w->Label2, w->Label3, w->Label4, w->Label5,
                                          w->Label7, w->Label8, w->Label9, w->Label10};
        for (QWidget* c : captions) {
            const QString text = c->property("text").toString();
            QVERIFY2(c->fontMetrics().horizontalAdvance(text) <= c->width(), qPrintable(text + " is clipped"));
            QVERIFY2(c->fontMetrics().height() <= c->height(), qPrintable(text + " is cut at the bottom"));
        }
        QVERIFY(w->fontMetrics().horizontalAdvance("Create Account") <= w->cmdCreateAccount->width() - 8);
        QVERIFY(w->fontMetrics().horizontalAdvance("Enter Contact & Site Information") < w->Frame1->width() - 16);
        const QRect hint = w->Label6->fontMetrics().boundingRect(QRect(0, 0, w->Label6->width(), 1000),
                                                                 Qt::TextWordWrap, w->Label6->text());
        QVERIFY2(hint.height() <= w->Label6->height(), qPrintable(QString("hint needs %1 px").arg(hint.height())));
        QVERIFY(w->txtTimeZone->sizeHint().width() <= w->txtTimeZone->width());

        QVERIFY(QTest::qWaitForWindowActive(w));
        QCOMPARE(QApplication::focusWidget(), w->txtFirstName);
        const QList<QWidget*> order = {w->txtLastName,   w->txtEmail,         w->txtPassword,
                                       w->txtVPassword,  w->txtZipCode,       w->txtTimeZone,
                                       w->txtDomainName, w->cmdCreateAccount, w->txtFirstName};
        for (QWidget* next : order) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), next);
        }
        // Enter in a box does not submit: the button is not the default.
        QTest::keyClick(w->txtFirstName, Qt::Key_Return);
        QVERIFY(boxes->shown.isEmpty());
        saveShot(w, "frmSignup");
    }

    void rulesAreAppliedTogetherInOrder_data() {
        QTest::addColumn<QStringList>("fields");
        QTest::addColumn<QStringList>("errors");
        const QStringList ok = validForm();
        auto with = [&ok](int index, const QString& value) {
            QStringList f = ok;
            f[index] = value;
            return f;
        };
        QTest::newRow("all empty") << QStringList{"", "", "", "", "", "", "GMT -4", ""}
                                   << QStringList{kDomainMessage, kEmailMessage, kRequiredMessage};
        QTest::newRow("blanks only") << QStringList{"  ", " ", "   ", " ", " ", "  ", "GMT -4", "  "}
                                     << QStringList{kDomainMessage, kEmailMessage, kRequiredMessage};
        QTest::newRow("zip blanks only") << with(5, "   ") << QStringList{kRequiredMessage};
        QTest::newRow("domain just www.") << with(7, "www.") << QStringList{kDomainMessage, kRequiredMessage};
        QTest::newRow("domain WWW. only") << with(7, " WWW. ") << QStringList{kDomainMessage, kRequiredMessage};
        QTest::newRow("domain with a path") << with(7, "example.com/blog") << QStringList{kDomainMessage};
        QTest::newRow("domain without a dot") << with(7, "localhost") << QStringList{kDomainMessage};
        QTest::newRow("e-mail without @") << with(2, "ada.example.com") << QStringList{kEmailMessage};
        QTest::newRow("e-mail without dot") << with(2, "ada@localhost") << QStringList{kEmailMessage};
        QTest::newRow("e-mail with inner blank") << with(2, " ada @example.com ") << QStringList{kEmailMessage};
        QTest::newRow("e-mail with tab") << with(2, "ada@exa\tmple.com") << QStringList{kEmailMessage};
        QTest::newRow("passwords differ in case") << with(4, "Engine1") << QStringList{kMismatchMessage};
        QTest::newRow("verify empty") << with(4, " ") << QStringList{kRequiredMessage, kMismatchMessage};
        QTest::newRow("several, mismatch last")
            << QStringList{"", "Lovelace", "ada at example", "one", "two", "1", "GMT +13", "example.com/x"}
            << QStringList{kDomainMessage, kEmailMessage, kRequiredMessage, kMismatchMessage};
    }
    void rulesAreAppliedTogetherInOrder() {
        QFETCH(QStringList, fields);
        QFETCH(QStringList, errors);
        frmSignup* w = open();
        submit(fields);
        QCOMPARE(boxes->shown.size(), 1);
        QCOMPARE(boxes->shown[0].text, errorBox(errors));
        QCOMPARE(boxes->shown[0].title, QString("Errors with your submission"));
        QCOMPARE(boxes->shown[0].icon, MessageBox::Icon::Critical);
        QVERIFY(service->apiRequests().isEmpty());
        // Nothing stored, the window and its entries as the user left them.
        QCOMPARE(CredentialStore::GetStringSetting("Login"), QString("before@example.com"));
        QVERIFY(Form<frmSignup>::existing() == w && w->isVisible());
        QCOMPARE(w->txtEmail->text(), fields[2]);
        QCOMPARE(w->txtDomainName->text(), fields[7]);
    }

    void sentAddress_data() {
        QTest::addColumn<QStringList>("fields");
        QTest::addColumn<QString>("query");
        QTest::newRow("quotes doubled, e-mail and domain lower-cased, www. removed once")
            << QStringList{" O'Neil ", "D'Arcy", " Pat.O'Brien@Example.COM ", "it's", " it's ",
                           "02139",    "GMT -4", " WWW.www.Example.com "}
            << "firstname=O''Neil&LastName=D''Arcy&email=pat.o''brien@example.com&Password=it''s&TimeZone=-4"
               "&ZipCode=02139&DomainName=www.example.com";
        QTest::newRow("GMT +0, names keep their case")
            << QStringList{"ada",     "LOVELACE", "ada@example.com", "Engine1",
                           "Engine1", "any zip",  "GMT +0",          "example.com"}
            << "firstname=ada&LastName=LOVELACE&email=ada@example.com&Password=Engine1&TimeZone=0"
               "&ZipCode=any%20zip&DomainName=example.com";
        QTest::newRow("GMT +13, dot before @, odd domain characters pass")
            << QStringList{"Ada",         "Lovelace", "ada.l@host", "a&b=c#d%e+f",
                           "a&b=c#d%e+f", "W1",       "GMT +13",    "my site.com:8080"}
            << "firstname=Ada&LastName=Lovelace&email=ada.l@host&Password=a%26b%3Dc%23d%25e%2Bf&TimeZone=13"
               "&ZipCode=W1&DomainName=my%20site.com:8080";
        QTest::newRow("GMT -12, non-ASCII")
            << QStringList{"Zoë",      "Łukasz", "zoe@example.com", "pässword",
                           "pässword", "75001",  "GMT -12",         "café.example"}
            << "firstname=Zo%C3%AB&LastName=%C5%81ukasz&email=zoe@example.com&Password=p%C3%A4ssword"
               "&TimeZone=-12&ZipCode=75001&DomainName=caf%C3%A9.example";
    }
    void sentAddress() {
        QFETCH(QStringList, fields);
        QFETCH(QString, query);
        open();
        submit(fields);
        QCOMPARE(signupRequests(), QStringList{"GET /v3/rsapi.asp?cmd=newlumenpaneaccount&" + query});
        QCOMPARE(boxes->shown.size(), 1);
        QCOMPARE(boxes->shown[0].text, QString("Your account has been created successfully"));
    }

    void successRemembersTheSignInAndReopensTheSignInWindow() {
        frmSignup* w = open();
        QPointer<frmSignup> signup(w);
        submit({"Pat", "O'Brien", "  Pat.O'Brien@Example.com ", " it's mine ", "it's mine", "02139", "GMT -5",
                "www.obrien.example"});
        QCOMPARE(boxes->shown.size(), 1);
        QCOMPARE(boxes->shown[0].title, QString("Lumenpane"));
        QCOMPARE(boxes->shown[0].icon, MessageBox::Icon::Information);
        // Remembered the way the user signs in: trimmed, the address in lower case, quotes single.
        QCOMPARE(CredentialStore::GetStringSetting("Login"), QString("pat.o'brien@example.com"));
        QCOMPARE(CredentialStore::GetStringSetting("Password"), QString("it's mine"));
        QVERIFY(!Form<frmSignup>::isLoaded());
        QTRY_VERIFY(signup.isNull());
        QVERIFY(Form<frmLogin>::isLoaded());
        frmLogin* login = Form<frmLogin>::existing();
        QVERIFY(QTest::qWaitForWindowExposed(login));
        QCOMPARE(login->txtEmail->text(), QString("pat.o'brien@example.com"));
        QCOMPARE(login->txtPassword->text(), QString("it's mine"));

        // The service holds the account, not yet active, with its domain as the first site; signing in with
        // the remembered entries is refused with 45 and the activation window takes over, without a box.
        const SimAccount* account = service->server().findAccount("pat.o'brien@example.com");
        QVERIFY(account);
        QCOMPARE(account->password, QString("it's mine"));
        QVERIFY(!account->active);
        QCOMPARE(account->sites.size(), 1);
        QCOMPARE(account->sites[0].name, QString("obrien.example"));
        QCOMPARE(service->server().mailbox().size(), 1);
        boxes->shown.clear();
        QTest::mouseClick(login->cmdLogin, Qt::LeftButton);
        QVERIFY(boxes->shown.isEmpty());
        QVERIFY(Form<frmActivation>::isLoaded());
        QVERIFY(!Form<frmLogin>::isLoaded());

        // A second sign-up for the same address is refused by the service.
        Form<frmActivation>::unload();
        open();
        submit({"Pat", "Again", "pat.o'brien@example.com", "x", "x", "1", "GMT -4", "other.example"});
        QCOMPARE(boxes->shown.last().text,
                 errorBox({}) + "An account with the e-mail address pat.o'brien@example.com already exists.");
    }

    void refusalShowsTheServiceMessageAndKeepsTheEntries() {
        frmSignup* w = open();
        QStringList fields = validForm();
        fields[2] = " Demo@Example.com ";
        submit(fields);
        QCOMPARE(boxes->shown.size(), 1);
        QCOMPARE(boxes->shown[0].text,
                 "The following errors were found:\r\nAn account with the e-mail address demo@example.com already "
                 "exists.");
        QCOMPARE(boxes->shown[0].title, QString("Errors with your submission"));
        QCOMPARE(boxes->shown[0].icon, MessageBox::Icon::Critical);
        QCOMPARE(CredentialStore::GetStringSetting("Login"), QString("before@example.com"));
        QCOMPARE(CredentialStore::GetStringSetting("Password"), QString("before"));
        QVERIFY(Form<frmSignup>::existing() == w && w->isVisible());
        QCOMPARE(w->txtEmail->text(), QString(" Demo@Example.com "));
        QVERIFY(!Form<frmLogin>::isLoaded());
    }

    void unusableAnswers_data() {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<int>("status");
        QTest::addColumn<bool>("hang");
        QTest::addColumn<QString>("text");
        const QString failure = frmSignup::communicationFailureText();
        QTest::newRow("not XML") << QByteArray("<html><body>Service down") << 200 << false << failure;
        QTest::newRow("HTTP error") << QByteArray("<r><STATUS>OK</STATUS></r>") << 500 << false << failure;
        QTest::newRow("no answer") << QByteArray() << 0 << true << failure;
        QTest::newRow("lower-case ok is a refusal")
            << QByteArray("<r><STATUS>ok</STATUS><ERRMSG>Domain taken</ERRMSG></r>") << 200 << false << "Domain taken";
        QTest::newRow("no STATUS, no ERRMSG")
            << QByteArray("<r/>") << 200 << false << frmSignup::unexplainedRefusalText();
    }
    void unusableAnswers() {
        QFETCH(QByteArray, body);
        QFETCH(int, status);
        QFETCH(bool, hang);
        QFETCH(QString, text);
        if (hang) {
            XmlDocument::setTransferTimeoutMs(500);
            service->server().setFault(SimServer::Fault::Hang);
        } else {
            service->server().setCannedAnswer(body, status);
        }
        frmSignup* w = open();
        submit(validForm());
        QCOMPARE(boxes->shown.size(), 1);
        QCOMPARE(boxes->shown[0].text, "The following errors were found:\r\n" + text);
        QCOMPARE(boxes->shown[0].title, QString("Errors with your submission"));
        QCOMPARE(CredentialStore::GetStringSetting("Login"), QString("before@example.com"));
        QVERIFY(Form<frmSignup>::existing() == w && w->isVisible());
        QVERIFY(!Form<frmLogin>::isLoaded());
    }

    void newAccountButtonHandsOverWithoutStoring() {
        frmLogin* login = Form<frmLogin>::show();
        login->txtEmail->setText("typed@example.com");
        QTest::mouseClick(login->cmdNewAccount, Qt::LeftButton);
        QVERIFY(!Form<frmLogin>::isLoaded());
        QVERIFY(Form<frmSignup>::isLoaded());
        QVERIFY(Form<frmSignup>::existing()->isVisible());
        QCOMPARE(Form<frmSignup>::existing()->txtFirstName->text(), QString());
        QCOMPARE(CredentialStore::GetStringSetting("Login"), QString("before@example.com"));
        QVERIFY(service->apiRequests().isEmpty());
    }

    // Last: it ends the program's event loops for good.
    void closeBoxEndsTheProgram() {
        frmSignup* w = open();
        QPointer<frmSignup> alive(w);
        w->close();
        QVERIFY(!Form<frmSignup>::isLoaded());
        QVERIFY(Program::isEnding());
        QTRY_VERIFY(alive.isNull());
    }
};

QTEST_MAIN(SignupTest)
#include "tst_signup.moc"
