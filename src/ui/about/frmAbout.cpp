#include "frmAbout.h"

#include "SysInfo.h"
#include "forms.h"
#include "main/frmMain.h"
#include "platform/AppIcon.h"
#include "platform/FormLayout.h"
#include "platform/MessageBox.h"
#include "session/Session.h"

#include <QCloseEvent>
#include <QFrame>
#include <QLabel>
#include <QPushButton>

using FormLayout::place;

frmAbout::frmAbout()
    : QDialog(nullptr, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowIcon(AppIcon::icon());
    setFont(FormLayout::formFont());
    FormLayout::centreWhenFirstShown(this);
    FormLayout::setFixedClientSize(this, 5730, 3090);

    picIcon = new QLabel(this);
    picIcon->setObjectName(QStringLiteral("picIcon"));
    picIcon->setPixmap(AppIcon::icon().pixmap(32, 32));
    place(picIcon, 240, 240, 480, 480);

    lblTitle = new QLabel(this);
    lblTitle->setObjectName(QStringLiteral("lblTitle"));
    QFont titleFont = font();
    titleFont.setPointSizeF(10);
    titleFont.setBold(true);
    lblTitle->setFont(titleFont);
    lblTitle->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    place(lblTitle, 1050, 240, 4440, 480);

    lblVersion = new QLabel(this);
    lblVersion->setObjectName(QStringLiteral("lblVersion"));
    place(lblVersion, 1050, 780, 4440, 255);

    for (int i = 0; i < 2; ++i) {
        Line1[i] = new QFrame(this);
        Line1[i]->setObjectName(QStringLiteral("Line1_%1").arg(i));
        Line1[i]->setFrameShape(QFrame::HLine);
        Line1[i]->setFrameShadow(QFrame::Sunken);
    }
    place(Line1[0], 225, 1170, 5280, 30);
    place(Line1[1], 225, 2250, 5280, 30);

    lblDisclaimer =
        new QLabel(QStringLiteral("Warning: Lumenpane remembers the e-mail address and password of the last "
                                  "sign-in on this computer, for this user. Do not sign in on a computer "
                                  "that others use under your name."),
                   this);
    lblDisclaimer->setObjectName(QStringLiteral("lblDisclaimer"));
    lblDisclaimer->setWordWrap(true);
    lblDisclaimer->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    place(lblDisclaimer, 255, 1320, 5250, 825);

    cmdSysInfo = new QPushButton(QStringLiteral("&System Info..."), this);
    cmdSysInfo->setObjectName(QStringLiteral("cmdSysInfo"));
    place(cmdSysInfo, 2760, 2490, 1335, 375);

    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    place(cmdOK, 4215, 2490, 1290, 375);

    setTabOrder(cmdOK, cmdSysInfo);

    connect(cmdOK, &QPushButton::clicked, this, &frmAbout::cmdOK_Click);
    connect(cmdSysInfo, &QPushButton::clicked, this, &frmAbout::cmdSysInfo_Click);
}

void frmAbout::Form_Load()
{
    setWindowTitle(QStringLiteral("About ") + MessageBox::applicationTitle());
    lblTitle->setText(Form<frmMain>::get()->windowTitle());
    lblVersion->setText(QStringLiteral("Build ") + QString::number(Session::BuildNumber));
}

void frmAbout::cmdOK_Click()
{
    Form<frmAbout>::unload();
}

void frmAbout::cmdSysInfo_Click()
{
    StartSysInfo();
}

void frmAbout::StartSysInfo()
{
    if (!SysInfo::StartSysInfo())
        MessageBox::show(QStringLiteral("System Information Is Unavailable At This Time"), MessageBox::Icon::None);
}

void frmAbout::closeEvent(QCloseEvent* event)
{
    QDialog::closeEvent(event);
    Form<frmAbout>::unload();
}
