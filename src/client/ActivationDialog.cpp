#include "ActivationDialog.h"

#include "platform/BusyPointer.h"
#include "platform/FormWindow.h"
#include "platform/MessageBox.h"
#include "session/AccountCommand.h"
#include "session/Protocol.h"
#include "ui_ActivationDialog.h"

#include <QKeyEvent>
#include <QPointer>

namespace {
// The pointer is busy from the click until its message box has been closed, whatever way the click ends.
struct BusyWhileHere {
    BusyWhileHere() { BusyPointer::setBusy(true); }
    ~BusyWhileHere() { BusyPointer::setBusy(false); }
    BusyWhileHere(const BusyWhileHere&) = delete;
    BusyWhileHere& operator=(const BusyWhileHere&) = delete;
};
} // namespace

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
    const BusyWhileHere busy;
    const QPointer<ActivationDialog> alive(this);
    const CommandOutcome outcome =
        runAccountCommand(Protocol::ActivateAddress(Protocol::EscapeQuotes(m_ui->txtSignupCode->text())));
    if (!alive)
        return; // closed while the service was asked

    if (!outcome.succeeded()) {
        QString message = failureText();
        if (outcome.refused()) {
            const auto errorMessage = outcome.answer.errorMessage();
            message = errorMessage && !errorMessage->isEmpty() ? *errorMessage : refusedText();
        }
        MessageBox::show(message, QStringLiteral("Invalid Activation Code"), MessageBox::Icon::Critical);
        return;
    }
    MessageBox::show(QStringLiteral("Your account has now been activated"), MessageBox::Icon::Information);
    if (alive && isVisible())
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
