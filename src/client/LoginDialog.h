#pragma once

#include "session/SessionInfo.h"

#include <QDialog>
#include <memory>

namespace Ui {
class LoginDialog;
}

// The start-up window: the remembered sign-in, checked against the service before the reports open.
// It hands over by signals; the controller closes it.
class LoginDialog : public QDialog {
    Q_OBJECT
public:
    explicit LoginDialog(QWidget* parent = nullptr);
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

private:
    std::unique_ptr<Ui::LoginDialog> m_ui;
};
