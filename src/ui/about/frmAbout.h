#pragma once

#include <QDialog>

class QLabel;
class QPushButton;
class QFrame;

// Shows the program's title and build number, and starts the system information tool where there is one.
class frmAbout : public QDialog {
    Q_OBJECT
public:
    frmAbout();

    void Form_Load();
    void cmdOK_Click();
    void cmdSysInfo_Click();
    void StartSysInfo();

    QLabel* picIcon;
    QLabel* lblTitle;
    QLabel* lblVersion;
    QLabel* lblDisclaimer;
    QPushButton* cmdOK;
    QPushButton* cmdSysInfo;
    QFrame* Line1[2];

protected:
    void closeEvent(QCloseEvent* event) override;
};
