#include "LoginDialog.h"

#include "platform/Clock.h"
#include "platform/FormWindow.h"
#include "platform/MessageBox.h"
#include "platform/PasswordMask.h"
#include "platform/WindowPlacement.h"
#include "session/AccountRequest.h"
#include "session/Base64.h"
#include "session/CredentialStore.h"
#include "session/Protocol.h"
#include "ui_LoginDialog.h"

#include <QKeyEvent>

using Protocol::TrimBlanks;

namespace {
// The service refuses a sign-in with this identifier while the account waits for its activation code.
constexpr int kActivationRequired = 45;

QString decoded(const QString& encoded)
{
    return Base64::Base64Decode(encoded, Base64::StandardAlphabet);
}
} // namespace

QString LoginDialog::failureText()
{
    return QStringLiteral("The Quillmoor server could not be reached, or its answer could not be read.\n"
                          "Check your internet connection and try again.");
}

QString LoginDialog::unexplainedRefusalText()
{
    return QStringLiteral("The Quillmoor server did not accept the sign-in and gave no reason.\n"
                          "Please try again later.");
}

LoginDialog::LoginDialog(CredentialStore& credentials, QWidget* parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::LoginDialog>()), m_credentials(credentials)
{
    m_ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    FormWindow::setUp(this);
    PasswordMask::apply(m_ui->txtPassword);

    m_ui->txtEmail->setText(
        TrimBlanks(m_credentials.GetStringSettingAtOnce(CredentialStore::Login).value_or(QString())));
    // The keyring can take a moment to answer: the window shows first, and the remembered password joins it
    // then, unless the user has started typing one meanwhile. A password is remembered only with its e-mail
    // address: without one (a first start) the keyring is not asked, nor asks the user to unlock it.
    if (const auto password = m_credentials.GetStringSettingAtOnce(CredentialStore::Password))
        m_ui->txtPassword->setText(TrimBlanks(*password));
    else if (!m_ui->txtEmail->text().isEmpty())
        WindowPlacement::afterFirstPaint(this, [this] {
            m_credentials.GetStringSetting(CredentialStore::Password, this, [this](const QString& remembered) {
                if (m_ui->txtPassword->text().isEmpty())
                    m_ui->txtPassword->setText(TrimBlanks(remembered));
            });
        });
    m_ui->txtEmail->setFocus();

    connect(m_ui->cmdLogin, &QPushButton::clicked, this, &LoginDialog::signIn);
    connect(m_ui->cmdNewAccount, &QPushButton::clicked, this, &LoginDialog::openSignUp);
}

LoginDialog::~LoginDialog() = default;

void LoginDialog::signIn()
{
    if (m_request)
        return; // one command at a time
    const auto entry = [](const QLineEdit* box) { return TrimBlanks(box->text()); };
    if (entry(m_ui->txtEmail).isEmpty() || entry(m_ui->txtPassword).isEmpty()) {
        MessageBox::show(
            QStringLiteral("You must enter the E-Mail Address and Password you use to log in to Quillmoor"),
            QStringLiteral("Error"), MessageBox::Icon::Critical);
        return;
    }
    // The entries are held only encoded from here on; each address is built from the decoded texts.
    const QString encodedEmail = Base64::Base64Encode(entry(m_ui->txtEmail), Base64::StandardAlphabet);
    const QString encodedPassword = Base64::Base64Encode(entry(m_ui->txtPassword), Base64::StandardAlphabet);

    // Remembered before the service answers, so a refused attempt is offered again next time.
    m_credentials.SaveStringSetting(CredentialStore::Login, entry(m_ui->txtEmail));
    m_credentials.SaveStringSetting(CredentialStore::Password, entry(m_ui->txtPassword));

    // What the service is asked with is what a success opens, whatever the boxes hold by then.
    m_signingIn.startUrl = Protocol::StartPageAddress(decoded(encodedEmail), decoded(encodedPassword));
    m_signingIn.email = m_signingIn.rememberedLogin = entry(m_ui->txtEmail);
    m_signingIn.password = m_signingIn.rememberedPassword = entry(m_ui->txtPassword);
    m_signingIn.from = m_signingIn.to = Clock::today();

    m_request = new AccountRequest(this);
    connect(m_request, &AccountRequest::finished, this, &LoginDialog::answered);
    m_request->start(Protocol::ListSitesAddress(decoded(encodedEmail), decoded(encodedPassword)));
    setAsking(true);
}

void LoginDialog::answered(const CommandOutcome& outcome)
{
    m_request->deleteLater(); // it is done: from here on nothing is under way
    m_request.clear();
    setAsking(false);
    if (outcome.succeeded()) {
        emit signedIn(m_signingIn);
        return;
    }
    QString message = failureText();
    if (outcome.refused()) {
        if (outcome.answer.errorId().value_or(0) == kActivationRequired) {
            emit activationRequired();
            return;
        }
        const auto errorMessage = outcome.answer.errorMessage();
        message = errorMessage && !errorMessage->isEmpty() ? *errorMessage : unexplainedRefusalText();
    }
    MessageBox::show(message, QStringLiteral("Unable To Log In"), MessageBox::Icon::Critical);
}

void LoginDialog::setAsking(bool asking)
{
    m_ui->cmdLogin->setEnabled(!asking);
    m_ui->cmdNewAccount->setEnabled(!asking);
}

void LoginDialog::openSignUp()
{
    emit newAccountRequested();
}

void LoginDialog::keyPressEvent(QKeyEvent* event)
{
    // Escape does not close this window: closing it ends the program.
    if (event->matches(QKeySequence::Cancel)) {
        event->ignore();
        return;
    }
    QDialog::keyPressEvent(event);
}

void LoginDialog::done(int result)
{
    delete m_request; // closed while the service was asked: its answer is not wanted any more
    QDialog::done(result);
}
