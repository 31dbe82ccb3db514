#pragma once

#include <QDialog>
#include <memory>

namespace Ui {
class SignUpDialog;
}
struct SignUpEntries;

// Creates a service account: contact details, a password and the first site to track. The entries are
// checked here first; the service then creates the account and e-mails its activation code.
class SignUpDialog : public QDialog {
    Q_OBJECT
public:
    explicit SignUpDialog(QWidget* parent = nullptr);
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

private:
    SignUpEntries entries() const;
    void showErrors(const QString& errorList);

    std::unique_ptr<Ui::SignUpDialog> m_ui;
};
