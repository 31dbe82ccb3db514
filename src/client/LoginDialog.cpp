#include "LoginDialog.h"

#include "platform/Clock.h"
#include "platform/FormWindow.h"
#include "platform/MessageBox.h"
#include "platform/PasswordMask.h"
#include "platform/WindowPlacement.h"
#include "session/AccountCommand.h"
#include "session/Base64.h"
#include "session/CredentialStore.h"
#include "session/Protocol.h"
#include "ui_LoginDialog.h"

#include <QKeyEvent>
#include <QPointer>

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

LoginDialog::LoginDialog(QWidget* parent) : QDialog(parent), m_ui(std::make_unique<Ui::LoginDialog>())
{
    m_ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    FormWindow::setUp(this);
    PasswordMask::apply(m_ui->txtPassword);

    m_ui->txtEmail->setText(TrimBlanks(CredentialStore::GetStringSetting(CredentialStore::Login)));
    // The keyring can take a moment to answer: the window shows first, and the remembered password joins it
    // then, unless the user has started typing one meanwhile. A password is remembered only with its e-mail
    // address: without one (a first start) the keyring is not asked, nor asks the user to unlock it.
    if (const auto password = CredentialStore::GetStringSettingAtOnce(CredentialStore::Password))
        m_ui->txtPassword->setText(TrimBlanks(*password));
    else if (!m_ui->txtEmail->text().isEmpty())
        WindowPlacement::afterFirstPaint(this, [this] {
            const QPointer<LoginDialog> alive(this); // the window may be closed while the keyring is asked
            const QString remembered = TrimBlanks(CredentialStore::GetStringSetting(CredentialStore::Password));
            if (alive && m_ui->txtPassword->text().isEmpty())
                m_ui->txtPassword->setText(remembered);
        });
    m_ui->txtEmail->setFocus();

    connect(m_ui->cmdLogin, &QPushButton::clicked, this, &LoginDialog::signIn);
    connect(m_ui->cmdNewAccount, &QPushButton::clicked, this, &LoginDialog::openSignUp);
}

LoginDialog::~LoginDialog() = default;

void LoginDialog::signIn()
{
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
    const QDate today = Clock::today();

    // Remembered before the service answers, so a refused attempt is offered again next time.
    CredentialStore::SaveStringSetting(CredentialStore::Login, entry(m_ui->txtEmail));
    CredentialStore::SaveStringSetting(CredentialStore::Password, entry(m_ui->txtPassword));

    const QPointer<LoginDialog> alive(this);
    const CommandOutcome outcome =
        runAccountCommand(Protocol::ListSitesAddress(decoded(encodedEmail), decoded(encodedPassword)));
    if (!alive)
        return; // closed while the service was asked

    if (outcome.succeeded()) {
        SessionInfo session;
        session.startUrl = Protocol::StartPageAddress(decoded(encodedEmail), decoded(encodedPassword));
        session.email = entry(m_ui->txtEmail);
        session.password = entry(m_ui->txtPassword);
        session.from = today;
        session.to = today;
        emit signedIn(session);
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
