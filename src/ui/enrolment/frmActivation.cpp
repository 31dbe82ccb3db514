#include "frmActivation.h"

#include "forms.h"
#include "login/frmLogin.h"
#include "platform/AppIcon.h"
#include "platform/BusyPointer.h"
#include "platform/FormLayout.h"
#include "platform/MessageBox.h"
#include "platform/Program.h"
#include "session/AccountCommand.h"
#include "session/Protocol.h"

#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using FormLayout::place;

namespace {
// The pointer is busy from the click until its message box has been closed, whatever way the click ends.
struct BusyWhileHere {
    BusyWhileHere() { BusyPointer::setBusy(true); }
    ~BusyWhileHere() { BusyPointer::setBusy(false); }
    BusyWhileHere(const BusyWhileHere&) = delete;
    BusyWhileHere& operator=(const BusyWhileHere&) = delete;
};
} // namespace

QString frmActivation::failureText()
{
    return QStringLiteral("The Activation Code is not valid");
}

frmActivation::frmActivation() : QWidget(nullptr, Qt::Window)
{
    setObjectName(QStringLiteral("frmActivation"));
    setWindowTitle(QStringLiteral("Enter Activation Code"));
    setWindowIcon(AppIcon::icon());
    setFont(FormLayout::formFont());
    FormLayout::centreWhenFirstShown(this);
    // An ordinary resizable window; the controls keep their places when it is resized.
    resize(FormLayout::px(3855), FormLayout::px(1395));

    txtSignupCode = new QLineEdit(this);
    txtSignupCode->setObjectName(QStringLiteral("txtSignupCode"));
    txtSignupCode->setMaxLength(1 << 20);
    place(txtSignupCode, 0, 600, 3855, 285);

    Label1 = new QLabel(
        QStringLiteral("Enter the activation code that was sent to the email address you used when you signed up."),
        this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setTextFormat(Qt::PlainText);
    Label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label1->setWordWrap(true);
    place(Label1, 0, 0, 3735, 495);

    cmdActivate = new QPushButton(QStringLiteral("&Activate Account"), this);
    cmdActivate->setObjectName(QStringLiteral("cmdActivate"));
    // Not the default button: Enter in the box does nothing, Enter on the focused button presses it.
    cmdActivate->setDefault(false);
    cmdActivate->setAutoDefault(true);
    place(cmdActivate, 600, 960, 2655, 375);

    setTabOrder(txtSignupCode, cmdActivate);
    txtSignupCode->setFocus();

    connect(cmdActivate, &QPushButton::clicked, this, &frmActivation::cmdActivate_Click);
}

void frmActivation::cmdActivate_Click()
{
    const BusyWhileHere busy;
    const QString code = Protocol::EscapeQuotes(txtSignupCode->text());
    const CommandOutcome outcome = runAccountCommand(Protocol::ActivateAddress(code));

    bool failed = false;
    QString message;
    if (outcome.failed()) {
        failed = true;
        message = failureText();
    } else if (outcome.refused()) {
        failed = true;
        const auto errorMessage = outcome.answer.errorMessage();
        message = errorMessage && !errorMessage->isEmpty() ? *errorMessage : failureText();
    }

    if (failed) {
        MessageBox::show(message, QStringLiteral("Invalid Activation Code"), MessageBox::Icon::Critical);
        return;
    }
    MessageBox::show(QStringLiteral("Your account has now been activated"), MessageBox::Icon::Information);
    if (Program::isEnding() || Form<frmActivation>::existing() != this)
        return; // closed while the box was open
    Form<frmLogin>::show();
    Form<frmActivation>::unload();
}

void frmActivation::closeEvent(QCloseEvent* event)
{
    // The close box: this is the only window until a sign-in succeeds, so the program ends.
    QWidget::closeEvent(event);
    Form<frmActivation>::unload();
    Program::end();
}
