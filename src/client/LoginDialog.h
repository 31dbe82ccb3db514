#pragma once

#include "session/SessionInfo.h"

#include <QDialog>
#include <QPointer>
#include <memory>

namespace Ui {
class LoginDialog;
}
class AccountRequest;
class CredentialStore;
struct CommandOutcome;

// The start-up window: the remembered sign-in, checked against the service before the reports open. While the
// service is asked, its buttons take no second command and the rest of it answers as usual; closing it drops the
// request. It hands over by signals; the controller closes it.
class LoginDialog : public QDialog {
    Q_OBJECT
public:
    explicit LoginDialog(CredentialStore& credentials, QWidget* parent = nullptr);
    ~LoginDialog() override;

    // Texts the window shows when the service answers with something it cannot use.
    static QString failureText();
    static QString unexplainedRefusalText();

public slots:
    void signIn();
    void openSignUp();

signals:
    // The service accepted the entries; the window stays open until the controller closes it.
    void signedIn(const SessionInfo& session);
    // The service refused the entries because the account still needs its activation code.
    void activationRequired();
    void newAccountRequested();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void done(int result) override;

private:
    void answered(const CommandOutcome& outcome);
    void setAsking(bool asking);

    std::unique_ptr<Ui::LoginDialog> m_ui;
    CredentialStore& m_credentials;
    QPointer<AccountRequest> m_request;
    SessionInfo m_signingIn; // what the sign-in under way opens when the service accepts it
};
