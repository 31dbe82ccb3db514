#pragma once

#include <QString>
#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;

// Activates a new account with the code that the service e-mailed after sign-up. It knows nothing of
// the account: the code alone identifies it.
class frmActivation : public QWidget {
    Q_OBJECT
public:
    frmActivation();

    void Form_Load() {}
    void cmdActivate_Click();

    QLineEdit* txtSignupCode;
    QLabel* Label1;
    QPushButton* cmdActivate;

    static QString failureText();

protected:
    void closeEvent(QCloseEvent* event) override;
};
