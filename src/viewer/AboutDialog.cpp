#include "AboutDialog.h"

#include "SysInfo.h"
#include "platform/AppIcon.h"
#include "platform/FormWindow.h"
#include "platform/MessageBox.h"
#include "session/Service.h"
#include "ui_AboutDialog.h"

AboutDialog::AboutDialog(const QString& title, QWidget* parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::AboutDialog>())
{
    m_ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    FormWindow::setUp(this);

    m_ui->picIcon->setPixmap(AppIcon::icon().pixmap(32, 32));
    m_ui->lblTitle->setText(title);
    m_ui->lblVersion->setText(QStringLiteral("Build ") + QString::number(Service::BuildNumber));

    connect(m_ui->cmdOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_ui->cmdSysInfo, &QPushButton::clicked, this, &AboutDialog::startSystemInformation);
}

AboutDialog::~AboutDialog() = default;

void AboutDialog::startSystemInformation()
{
    if (!SysInfo::StartSysInfo())
        MessageBox::show(QStringLiteral("System Information Is Unavailable At This Time"), MessageBox::Icon::None);
}
