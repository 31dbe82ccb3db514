#pragma once

#include <QString>
#include <QWidget>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

// Creates a service account: contact details, a password and the first site to track. The entries are
// checked here first; the service then creates the account and e-mails its activation code.
class frmSignup : public QWidget {
    Q_OBJECT
public:
    frmSignup();

    void Form_Load();
    void cmdCreateAccount_Click();

    QGroupBox* Frame1;
    QLineEdit* txtFirstName;
    QLineEdit* txtLastName;
    QLineEdit* txtEmail;
    QLineEdit* txtPassword;
    QLineEdit* txtVPassword;
    QLineEdit* txtZipCode;
    QComboBox* txtTimeZone;
    QLineEdit* txtDomainName;
    QPushButton* cmdCreateAccount;
    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;
    QLabel* Label4;
    QLabel* Label5;
    QLabel* Label6;
    QLabel* Label7;
    QLabel* Label8;
    QLabel* Label9;
    QLabel* Label10;

    // Texts of the error box that are the window's own.
    static QString errorHeading();
    static QString errorTitle();
    static QString communicationFailureText();
    static QString unexplainedRefusalText();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void showErrors(const QString& errorList);
};
