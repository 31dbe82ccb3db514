#include "frmLogin.h"

#include "forms.h"
#include "platform/AppIcon.h"
#include "platform/Clock.h"
#include "platform/FormLayout.h"
#include "platform/MessageBox.h"
#include "platform/Program.h"
#include "platform/SingleInstance.h"
#include "session/AccountCommand.h"
#include "session/Base64.h"
#include "session/CredentialStore.h"
#include "session/Protocol.h"
#include "session/Session.h"
#include "ui/SignInFlow.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using FormLayout::place;
using Protocol::TrimBlanks;

namespace {
const QString kAlphabet = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/");
const QString kUnableToLogIn = QStringLiteral("Unable To Log In");
} // namespace

QString frmLogin::failureText()
{
    return QStringLiteral("The Quillmoor server could not be reached, or its answer could not be read.\n"
                          "Check your internet connection and try again.");
}

QString frmLogin::unexplainedRefusalText()
{
    return QStringLiteral("The Quillmoor server did not accept the sign-in and gave no reason.\n"
                          "Please try again later.");
}

frmLogin::frmLogin()
    : QDialog(nullptr, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("frmLogin"));
    setWindowTitle(QStringLiteral("Quillmoor Login"));
    setWindowIcon(AppIcon::icon());
    setFont(FormLayout::formFont());
    FormLayout::centreWhenFirstShown(this);
    FormLayout::setFixedClientSize(this, 3810, 1335);

    Label1 = new QLabel(QStringLiteral("E-Mail Address:"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setAlignment(Qt::AlignRight | Qt::AlignTop);
    place(Label1, 0, 120, 1215, 255);

    Label2 = new QLabel(QStringLiteral("Password:"), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setAlignment(Qt::AlignRight | Qt::AlignTop);
    place(Label2, 360, 480, 855, 255);

    txtEmail = new QLineEdit(this);
    txtEmail->setObjectName(QStringLiteral("txtEmail"));
    place(txtEmail, 1320, 120, 2295, 285);

    txtPassword = new QLineEdit(this);
    txtPassword->setObjectName(QStringLiteral("txtPassword"));
    txtPassword->setEchoMode(QLineEdit::Password);
    place(txtPassword, 1320, 480, 2295, 285);

    cmdLogin = new QPushButton(QStringLiteral("&Login"), this);
    cmdLogin->setObjectName(QStringLiteral("cmdLogin"));
    cmdLogin->setDefault(true);
    place(cmdLogin, 1320, 840, 975, 375);

    cmdNewAccount = new QPushButton(QStringLiteral("&New Account"), this);
    cmdNewAccount->setObjectName(QStringLiteral("cmdNewAccount"));
    place(cmdNewAccount, 2400, 840, 1215, 375);

    // QLineEdit has no length limit of its own beyond 32767; the boxes take what the user types.
    txtEmail->setMaxLength(1 << 20);
    txtPassword->setMaxLength(1 << 20);

    setTabOrder(txtEmail, txtPassword);
    setTabOrder(txtPassword, cmdLogin);
    setTabOrder(cmdLogin, cmdNewAccount);
    txtEmail->setFocus();

    connect(cmdLogin, &QPushButton::clicked, this, &frmLogin::cmdLogin_Click);
    connect(cmdNewAccount, &QPushButton::clicked, this, &frmLogin::cmdNewAccount_Click);
}

void frmLogin::Form_Load()
{
    if (SingleInstance::instance().anotherCopyRunning()) {
        Form<frmLogin>::unload();
        Program::end();
        return;
    }
    txtEmail->setText(TrimBlanks(CredentialStore::GetStringSetting(CredentialStore::Login)));
    txtPassword->setText(TrimBlanks(CredentialStore::GetStringSetting(CredentialStore::Password)));
}

void frmLogin::cmdLogin_Click()
{
    Session::Base64Alphabet = kAlphabet;
    m_errorFlag = false;
    m_errorMessage.clear();
    qint16 refusalId = 0;

    const QString email = TrimBlanks(txtEmail->text());
    const QString password = TrimBlanks(txtPassword->text());
    if (email.isEmpty() || password.isEmpty()) {
        m_errorFlag = true;
        m_errorMessage =
            QStringLiteral("You must enter the E-Mail Address and Password you use to log in to Quillmoor");
    }
    if (!m_errorFlag) {
        Session::EncodedEmail = Base64::Base64Encode(email);
        Session::EncodedPassword = Base64::Base64Encode(password);
    }
    if (m_errorFlag) {
        MessageBox::show(m_errorMessage, QStringLiteral("Error"), MessageBox::Icon::Critical);
        return;
    }

    Session::FromDate = Clock::today();
    Session::ToDate = Clock::today();

    // Remembered before the service answers, so a refused attempt is offered again next time.
    CredentialStore::SaveStringSetting(CredentialStore::Login, email);
    CredentialStore::SaveStringSetting(CredentialStore::Password, password);

    const CommandOutcome outcome = runAccountCommand(Protocol::ListSitesAddress(
        Base64::Base64Decode(Session::EncodedEmail), Base64::Base64Decode(Session::EncodedPassword)));

    if (outcome.failed()) {
        m_errorFlag = true;
        m_errorMessage = failureText();
    } else if (outcome.refused()) {
        m_errorFlag = true;
        const auto id = outcome.answer.errorId();
        const auto message = outcome.answer.errorMessage();
        m_errorMessage = message && !message->isEmpty() ? *message : unexplainedRefusalText();
        refusalId = id.value_or(0);
    } else {
        Session::StartUrl = Protocol::StartPageAddress(Base64::Base64Decode(Session::EncodedEmail),
                                                       Base64::Base64Decode(Session::EncodedPassword));
        SignInFlow::signedIn(email, password);
        return;
    }

    if (refusalId == 45) {
        SignInFlow::activationRequired();
        return;
    }
    MessageBox::show(m_errorMessage, kUnableToLogIn, MessageBox::Icon::Critical);
}

void frmLogin::cmdNewAccount_Click()
{
    SignInFlow::newAccount();
}

void frmLogin::closeEvent(QCloseEvent* event)
{
    // The close box: no other window is open before a sign-in, so the program ends.
    QDialog::closeEvent(event);
    Form<frmLogin>::unload();
    Program::end();
}

void frmLogin::keyPressEvent(QKeyEvent* event)
{
    // Escape does not close this window; it is not a dialog to cancel.
    if (event->key() == Qt::Key_Escape) {
        event->ignore();
        return;
    }
    QDialog::keyPressEvent(event);
}
