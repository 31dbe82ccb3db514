#include "SignUpDialog.h"

#include "platform/FormWindow.h"
#include "platform/MessageBox.h"
#include "platform/PasswordMask.h"
#include "session/AccountRequest.h"
#include "session/CredentialStore.h"
#include "session/Protocol.h"
#include "session/SignUpForm.h"
#include "ui_SignUpDialog.h"

#include <QKeyEvent>

using Protocol::TrimBlanks;

QString SignUpDialog::errorHeading()
{
    return QStringLiteral("The following errors were found:");
}

QString SignUpDialog::errorTitle()
{
    return QStringLiteral("Errors with your submission");
}

QString SignUpDialog::communicationFailureText()
{
    return QStringLiteral(
        "Unable to communicate with the Quillmoor server.  Check your internet connection or try again later.");
}

QString SignUpDialog::unexplainedRefusalText()
{
    return QStringLiteral(
        "The Quillmoor server did not create the account and gave no reason.  Please try again later.");
}

SignUpDialog::SignUpDialog(CredentialStore& credentials, QWidget* parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::SignUpDialog>()), m_credentials(credentials)
{
    m_ui->setupUi(this);
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    FormWindow::setUp(this);
    PasswordMask::apply(m_ui->txtPassword);
    PasswordMask::apply(m_ui->txtVPassword);

    m_ui->txtTimeZone->addItems(SignUpForm::timeZoneEntries());
    m_ui->txtTimeZone->setCurrentText(SignUpForm::defaultTimeZoneEntry());
    m_ui->txtFirstName->setFocus();

    connect(m_ui->cmdCreateAccount, &QPushButton::clicked, this, &SignUpDialog::createAccount);
}

SignUpDialog::~SignUpDialog() = default;

SignUpEntries SignUpDialog::entries() const
{
    return {m_ui->txtFirstName->text(),       m_ui->txtLastName->text(),  m_ui->txtEmail->text(),
            m_ui->txtPassword->text(),        m_ui->txtVPassword->text(), m_ui->txtZipCode->text(),
            m_ui->txtTimeZone->currentText(), m_ui->txtDomainName->text()};
}

void SignUpDialog::createAccount()
{
    if (m_request)
        return; // one command at a time
    const SignUpEntries typed = entries();
    const SignUpValues values = SignUpForm::normalise(typed);
    const QString errors = SignUpForm::ruleErrors(values);
    if (!errors.isEmpty()) {
        showErrors(errors);
        return;
    }
    // Remembered as the user will sign in: the service reads a doubled quote as one, so the doubled form
    // would not sign in to an account whose address or password holds a quote.
    m_email = TrimBlanks(typed.email).toLower();
    m_password = TrimBlanks(typed.password);
    m_request = new AccountRequest(this);
    connect(m_request, &AccountRequest::finished, this, &SignUpDialog::answered);
    m_request->start(Protocol::NewAccountAddress(values.firstName, values.lastName, values.email, values.password,
                                                 values.timeZone, values.zipCode, values.domain));
    m_ui->cmdCreateAccount->setEnabled(false);
}

void SignUpDialog::answered(const CommandOutcome& outcome)
{
    m_request->deleteLater(); // it is done: from here on nothing is under way
    m_request.clear();
    m_ui->cmdCreateAccount->setEnabled(true);
    if (outcome.failed()) {
        showErrors(communicationFailureText());
        return;
    }
    if (outcome.refused()) {
        const auto message = outcome.answer.errorMessage();
        showErrors(message && !message->isEmpty() ? *message : unexplainedRefusalText());
        return;
    }
    m_credentials.SaveStringSetting(CredentialStore::Login, m_email);
    m_credentials.SaveStringSetting(CredentialStore::Password, m_password);
    MessageBox::show(QStringLiteral("Your account has been created successfully"), MessageBox::Icon::Information);
    emit accountCreated();
}

void SignUpDialog::showErrors(const QString& errorList)
{
    MessageBox::show(errorHeading() + QStringLiteral("\r\n") + errorList, errorTitle(), MessageBox::Icon::Critical);
}

void SignUpDialog::keyPressEvent(QKeyEvent* event)
{
    // Escape does not close the window (closing it ends the program), and Enter in a box does not submit:
    // Create Account is not the default button, Enter presses it only when it has the focus.
    if (event->matches(QKeySequence::Cancel))
        return event->ignore();
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        if (focusWidget() == m_ui->cmdCreateAccount)
            m_ui->cmdCreateAccount->click();
        return;
    }
    QDialog::keyPressEvent(event);
}

void SignUpDialog::done(int result)
{
    delete m_request; // closed while the service was asked: its answer is not wanted any more
    QDialog::done(result);
}
