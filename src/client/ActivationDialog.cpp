#include "ActivationDialog.h"

#include "platform/BusyPointer.h"
#include "platform/FormWindow.h"
#include "platform/MessageBox.h"
#include "session/AccountRequest.h"
#include "session/Protocol.h"
#include "ui_ActivationDialog.h"

#include <QKeyEvent>

QString ActivationDialog::refusedText()
{
    return QStringLiteral("The Activation Code is not valid");
}

QString ActivationDialog::failureText()
{
    return QStringLiteral(
        "Unable to communicate with the Quillmoor server.  Check your internet connection or try again later.");
}

ActivationDialog::ActivationDialog(QWidget* parent) : QDialog(parent), m_ui(std::make_unique<Ui::ActivationDialog>())
{
    m_ui->setupUi(this);
    // An ordinary resizable window; the controls keep their places when it is resized.
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint |
                   Qt::WindowCloseButtonHint);
    FormWindow::setUp(this);
    m_ui->txtSignupCode->setFocus();

    connect(m_ui->cmdActivate, &QPushButton::clicked, this, &ActivationDialog::activate);
}

ActivationDialog::~ActivationDialog() = default;

void ActivationDialog::activate()
{
    if (m_request)
        return; // one command at a time
    BusyPointer::setBusy(true);
    m_request = new AccountRequest(this);
    connect(m_request, &AccountRequest::finished, this, &ActivationDialog::answered);
    m_request->start(Protocol::ActivateAddress(Protocol::EscapeQuotes(m_ui->txtSignupCode->text())));
    m_ui->cmdActivate->setEnabled(false);
}

void ActivationDialog::answered(const CommandOutcome& outcome)
{
    m_request->deleteLater(); // it is done: from here on nothing is under way
    m_request.clear();
    if (outcome.succeeded()) {
        MessageBox::show(QStringLiteral("Your account has now been activated"), MessageBox::Icon::Information);
    } else {
        QString message = failureText();
        if (outcome.refused()) {
            const auto errorMessage = outcome.answer.errorMessage();
            message = errorMessage && !errorMessage->isEmpty() ? *errorMessage : refusedText();
        }
        MessageBox::show(message, QStringLiteral("Invalid Activation Code"), MessageBox::Icon::Critical);
    }
    BusyPointer::setBusy(false);
    m_ui->cmdActivate->setEnabled(true);
    if (outcome.succeeded())
        emit activated();
}

void ActivationDialog::keyPressEvent(QKeyEvent* event)
{
    // Escape does not close the window (closing it ends the program), and Enter in the box does not submit:
    // Activate Account is not the default button, Enter presses it only when it has the focus.
    if (event->matches(QKeySequence::Cancel))
        return event->ignore();
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        if (focusWidget() == m_ui->cmdActivate)
            m_ui->cmdActivate->click();
        return;
    }
    QDialog::keyPressEvent(event);
}

void ActivationDialog::done(int result)
{
    if (m_request) { // closed while the service was asked: its answer is not wanted any more
        delete m_request;
        BusyPointer::setBusy(false);
    }
    QDialog::done(result);
}
