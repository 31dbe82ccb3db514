#pragma once

#include <QDialog>
#include <QPointer>
#include <memory>

namespace Ui {
class ActivationDialog;
}
class AccountRequest;
struct CommandOutcome;

// Activates a new account with the code that the service e-mailed after sign-up. It knows nothing of
// the account: the code alone identifies it. The pointer is busy from the click until the answer's box has been
// closed, and Activate Account takes no second click meanwhile; closing the window drops the request.
class ActivationDialog : public QDialog {
    Q_OBJECT
public:
    explicit ActivationDialog(QWidget* parent = nullptr);
    ~ActivationDialog() override;

    static QString refusedText();
    static QString failureText();

public slots:
    void activate();

signals:
    // The service accepted the code and the user has closed the notice.
    void activated();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void done(int result) override;

private:
    void answered(const CommandOutcome& outcome);

    std::unique_ptr<Ui::ActivationDialog> m_ui;
    QPointer<AccountRequest> m_request;
};
