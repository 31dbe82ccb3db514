#include "TestSupport.h"

#include <QDir>
#include <QPixmap>
#include <QWidget>

TempSettings::TempSettings()
{
    qputenv("XDG_CONFIG_HOME", m_dir.path().toUtf8());
    qputenv("XDG_RUNTIME_DIR", m_dir.path().toUtf8());
}

MessageRecorder::MessageRecorder()
{
    MessageBox::setTestHandler([this](const MessageBox::Shown& box) {
        shown.append(box);
        if (onShown)
            onShown(box);
    });
}

MessageRecorder::~MessageRecorder() { MessageBox::setTestHandler(nullptr); }

LocalService::LocalService() : m_server(std::make_unique<SimServer>())
{
    m_server->loadDefaultAccounts();
    m_server->listenLocal(0);
    qputenv("LUMENPANE_API_BASE", m_server->baseUrl().toUtf8());
    qputenv("LUMENPANE_REPORT_BASE", m_server->baseUrl().toUtf8());
}

QStringList LocalService::apiRequests() const
{
    QStringList api;
    for (const QString& line : m_server->requestLog())
        if (line.contains(QLatin1String("/v3/rsapi.asp")))
            api.append(line);
    return api;
}

void saveShot(QWidget* window, const QString& name)
{
    const QString folder = qEnvironmentVariable("LUMENPANE_TEST_SHOTS");
    if (!folder.isEmpty() && QDir().mkpath(folder))
        window->grab().save(folder + QLatin1Char('/') + name + QStringLiteral(".png"));
}
