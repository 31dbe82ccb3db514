#pragma once

#include <QDialog>
#include <QPointer>
#include <memory>

namespace Ui {
class SignUpDialog;
}
class AccountRequest;
class CredentialStore;
struct CommandOutcome;
struct SignUpEntries;

// Creates a service account: contact details, a password and the first site to track. The entries are
// checked here first; the service then creates the account and e-mails its activation code. While the service is
// asked, Create Account takes no second click; closing the window drops the request.
class SignUpDialog : public QDialog {
    Q_OBJECT
public:
    explicit SignUpDialog(CredentialStore& credentials, QWidget* parent = nullptr);
    ~SignUpDialog() override;

    // Texts of the error box that are the window's own.
    static QString errorHeading();
    static QString errorTitle();
    static QString communicationFailureText();
    static QString unexplainedRefusalText();

public slots:
    void createAccount();

signals:
    // The account exists, its sign-in is remembered, and the user has closed the notice.
    void accountCreated();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void done(int result) override;

private:
    SignUpEntries entries() const;
    void answered(const CommandOutcome& outcome);
    void showErrors(const QString& errorList);

    std::unique_ptr<Ui::SignUpDialog> m_ui;
    CredentialStore& m_credentials;
    QPointer<AccountRequest> m_request;
    QString m_email, m_password; // as the account under way will sign in
};
