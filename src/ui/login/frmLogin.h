#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

// The start-up window: the remembered sign-in, checked against the service before the reports open.
class frmLogin : public QDialog {
    Q_OBJECT
public:
    frmLogin();

    void Form_Load();
    void cmdLogin_Click();
    void cmdNewAccount_Click();

    QLineEdit* txtEmail;
    QLineEdit* txtPassword;
    QPushButton* cmdLogin;
    QPushButton* cmdNewAccount;
    QLabel* Label1;
    QLabel* Label2;

    // Texts the window shows when the service answers with something it cannot use.
    static QString failureText();
    static QString unexplainedRefusalText();

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    bool m_errorFlag = false;
    QString m_errorMessage;
};
