#include "frmSignup.h"

#include "forms.h"
#include "login/frmLogin.h"
#include "platform/AppIcon.h"
#include "platform/FormLayout.h"
#include "platform/MessageBox.h"
#include "platform/Program.h"
#include "session/AccountCommand.h"
#include "session/CredentialStore.h"
#include "session/Protocol.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>
#include <iterator>

using FormLayout::place;
using Protocol::EscapeQuotes;
using Protocol::TrimBlanks;

namespace {

const QString kCrLf = QStringLiteral("\r\n");

QLabel* addLabel(QWidget* parent, const char* name, const QString& text, int left, int top, int width, int height,
                 Qt::Alignment alignment)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(alignment | Qt::AlignTop);
    place(label, left, top, width, height);
    return label;
}

QLineEdit* addTextBox(QWidget* parent, const char* name, int left, int top, int width)
{
    auto* box = new QLineEdit(parent);
    box->setObjectName(QLatin1String(name));
    box->setMaxLength(1 << 20); // the boxes take what the user types
    place(box, left, top, width, 285);
    return box;
}

} // namespace

QString frmSignup::errorHeading()
{
    return QStringLiteral("The following errors were found:");
}
QString frmSignup::errorTitle()
{
    return QStringLiteral("Errors with your submission");
}

QString frmSignup::communicationFailureText()
{
    return QStringLiteral(
        "Unable to communicate with the Quillmoor server.  Check your internet connection or try again later.");
}

QString frmSignup::unexplainedRefusalText()
{
    return QStringLiteral(
        "The Quillmoor server did not create the account and gave no reason.  Please try again later.");
}

frmSignup::frmSignup()
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("frmSignup"));
    setWindowTitle(QStringLiteral("Signup"));
    setWindowIcon(AppIcon::icon());
    setFont(FormLayout::formFont());
    FormLayout::centreWhenFirstShown(this);
    FormLayout::setFixedClientSize(this, 5670, 4935);

    // "&&" is how the caption writes one literal ampersand: the frame shows "Contact & Site" and has no access key.
    Frame1 = new QGroupBox(QStringLiteral("Enter Contact && Site Information"), this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    place(Frame1, 0, 0, 5655, 4935);

    const Qt::Alignment right = Qt::AlignRight;
    const Qt::Alignment left = Qt::AlignLeft;
    Label1 = addLabel(Frame1, "Label1", QStringLiteral("First Name:"), 240, 360, 1455, 255, right);
    Label2 = addLabel(Frame1, "Label2", QStringLiteral("Last Name:"), 240, 720, 1455, 255, right);
    Label3 = addLabel(Frame1, "Label3", QStringLiteral("Email:"), 240, 1080, 1455, 255, right);
    // As wide as the domain hint below it (3615 twips would cut the last letters in the form font).
    Label4 = addLabel(Frame1, "Label4", QStringLiteral("*An activation code will be emailed to this address"), 1800,
                      1440, 3735, 255, left);
    Label8 = addLabel(Frame1, "Label8", QStringLiteral("Create a Password:"), 240, 1680, 1455, 255, right);
    Label9 = addLabel(Frame1, "Label9", QStringLiteral("Verify Password:"), 240, 2040, 1455, 255, right);
    Label7 = addLabel(Frame1, "Label7", QStringLiteral("Zip code:"), 240, 2400, 1455, 255, right);
    Label10 = addLabel(Frame1, "Label10", QStringLiteral("Time Zone:"), 240, 2760, 1455, 255, right);
    Label5 = addLabel(Frame1, "Label5", QStringLiteral("Domain Name:"), 240, 3240, 1455, 255, right);
    Label6 = addLabel(Frame1, "Label6",
                      QStringLiteral("Enter the domain of the website you wish to track (ie; example.com) without "
                                     "\"www\" prefix.  Enter only one domain here, you can specify additional "
                                     "domains after your account is created."),
                      1800, 3600, 3735, 855, left);
    Label6->setWordWrap(true);

    txtFirstName = addTextBox(Frame1, "txtFirstName", 1800, 360, 2175);
    txtLastName = addTextBox(Frame1, "txtLastName", 1800, 720, 2175);
    txtEmail = addTextBox(Frame1, "txtEmail", 1800, 1080, 2175);
    txtPassword = addTextBox(Frame1, "txtPassword", 1800, 1680, 2175);
    txtPassword->setEchoMode(QLineEdit::Password);
    txtVPassword = addTextBox(Frame1, "txtVPassword", 1800, 2040, 2175);
    txtVPassword->setEchoMode(QLineEdit::Password);
    txtZipCode = addTextBox(Frame1, "txtZipCode", 1800, 2400, 975);

    txtTimeZone = new QComboBox(Frame1);
    txtTimeZone->setObjectName(QStringLiteral("txtTimeZone"));
    txtTimeZone->setEditable(false);
    txtTimeZone->setMaxVisibleItems(26);
    place(txtTimeZone, 1800, 2760, 2175, 315);

    txtDomainName = addTextBox(Frame1, "txtDomainName", 1800, 3240, 2175);

    cmdCreateAccount = new QPushButton(QStringLiteral("&Create Account"), Frame1);
    cmdCreateAccount->setObjectName(QStringLiteral("cmdCreateAccount"));
    // Not the default button, so Enter in a box does nothing; Enter on the focused button presses it.
    cmdCreateAccount->setDefault(false);
    cmdCreateAccount->setAutoDefault(true);
    place(cmdCreateAccount, 1800, 4440, 2055, 375);

    Frame1->setFocusPolicy(Qt::NoFocus);
    QWidget* order[] = {txtFirstName, txtLastName, txtEmail,      txtPassword,     txtVPassword,
                        txtZipCode,   txtTimeZone, txtDomainName, cmdCreateAccount};
    for (std::size_t i = 0; i + 1 < std::size(order); ++i)
        setTabOrder(order[i], order[i + 1]);
    txtFirstName->setFocus();

    connect(cmdCreateAccount, &QPushButton::clicked, this, &frmSignup::cmdCreateAccount_Click);
}

void frmSignup::Form_Load()
{
    txtTimeZone->clear();
    for (int hours = -12; hours <= 13; ++hours)
        txtTimeZone->addItem(hours < 0 ? QStringLiteral("GMT %1").arg(hours) : QStringLiteral("GMT +%1").arg(hours));
    txtTimeZone->setCurrentText(QStringLiteral("GMT -4"));
}

void frmSignup::cmdCreateAccount_Click()
{
    // The values as the service takes them: trimmed, single quotes doubled.
    const QString firstName = EscapeQuotes(txtFirstName->text());
    const QString lastName = EscapeQuotes(txtLastName->text());
    const QString email = EscapeQuotes(txtEmail->text()).toLower();
    const QString zipCode = EscapeQuotes(txtZipCode->text());
    const QString password = EscapeQuotes(txtPassword->text());
    const QString verifyPassword = EscapeQuotes(txtVPassword->text());
    QString domain = EscapeQuotes(txtDomainName->text().toLower());
    if (domain.startsWith(QLatin1String("www.")))
        domain.remove(0, 4);
    QString timeZone = txtTimeZone->currentText();
    timeZone.remove(QStringLiteral("GMT"));
    timeZone.remove(QLatin1Char('+'));
    timeZone = TrimBlanks(timeZone);

    // Every rule is checked, so that one box lists everything that needs correcting.
    QString errors;
    if (domain.contains(QLatin1Char('/')) || !domain.contains(QLatin1Char('.')))
        errors += QStringLiteral("Invalid Domain name (must be in the form of 'example.com' with no slashes or "
                                 "other characters)") +
                  kCrLf;
    bool isNumber = false;
    timeZone.toInt(&isNumber);
    if (timeZone.isEmpty() || !isNumber)
        errors += QStringLiteral("Invalid Time Zone") + kCrLf;
    const bool emailHasBlank = std::any_of(email.cbegin(), email.cend(), [](QChar c) { return c.isSpace(); });
    if (!email.contains(QLatin1Char('.')) || !email.contains(QLatin1Char('@')) || emailHasBlank)
        errors += QStringLiteral("Invalid E-Mail Address") + kCrLf;
    if (firstName.isEmpty() || lastName.isEmpty() || zipCode.isEmpty() || domain.isEmpty() || email.isEmpty() ||
        password.isEmpty() || verifyPassword.isEmpty())
        errors += QStringLiteral("All fields are required") + kCrLf;
    if (password != verifyPassword)
        errors += QStringLiteral("Passwords do not match") + kCrLf;
    if (!errors.isEmpty()) {
        showErrors(errors);
        return;
    }

    const CommandOutcome outcome =
        runAccountCommand(Protocol::NewAccountAddress(firstName, lastName, email, password, timeZone, zipCode, domain));
    if (outcome.failed()) {
        showErrors(communicationFailureText());
        return;
    }
    if (outcome.refused()) {
        const auto message = outcome.answer.errorMessage();
        showErrors(message && !message->isEmpty() ? *message : unexplainedRefusalText());
        return;
    }

    // Remembered as the user will sign in: the service reads a doubled quote as one, so the doubled form
    // would not sign in to an account whose address or password holds a quote.
    CredentialStore::SaveStringSetting(CredentialStore::Login, TrimBlanks(txtEmail->text()).toLower());
    CredentialStore::SaveStringSetting(CredentialStore::Password, TrimBlanks(txtPassword->text()));
    MessageBox::show(QStringLiteral("Your account has been created successfully"), MessageBox::Icon::Information);
    if (Program::isEnding() || Form<frmSignup>::existing() != this)
        return; // closed while the box was open
    Form<frmLogin>::show();
    Form<frmSignup>::unload();
}

void frmSignup::showErrors(const QString& errorList)
{
    MessageBox::show(errorHeading() + kCrLf + errorList, errorTitle(), MessageBox::Icon::Critical);
}

void frmSignup::closeEvent(QCloseEvent* event)
{
    // The close box: this is the only window until a sign-in succeeds, so the program ends.
    QWidget::closeEvent(event);
    Form<frmSignup>::unload();
    Program::end();
}
