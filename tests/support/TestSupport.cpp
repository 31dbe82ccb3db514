#include "TestSupport.h"

#include "platform/XmlDocument.h"
#include "session/CredentialStore.h"

#include <QDir>
#include <QMetaMethod>

TempSettings::TempSettings()
{
    qputenv("XDG_CONFIG_HOME", dir.path().toUtf8());
    qputenv("XDG_RUNTIME_DIR", dir.path().toUtf8());
}

QStringList boxLines(const MessageRecorder& recorder)
{
    static const char* const icons[] = {"None", "Information", "Critical"};
    QStringList lines;
    for (const MessageBox::Shown& box : recorder.shown)
        lines << box.title + " | " + icons[int(box.icon)] + " | " + box.text;
    return lines;
}

ServiceAndBoxes::ServiceAndBoxes()
{
    m_server->loadDefaultAccounts();
    m_server->listenLocal(0);
    qputenv("LUMENPANE_API_BASE", base().toUtf8());
    qputenv("LUMENPANE_REPORT_BASE", base().toUtf8());
    XmlDocument::setTransferTimeoutMs(30000);
}

void ServiceAndBoxes::answer(int status, const QByteArray& body)
{
    if (status == -1) {
        XmlDocument::setTransferTimeoutMs(500);
        server().setFault(SimServer::Fault::Hang);
    } else if (status != 0) {
        server().setCannedAnswer(body, status);
    }
}

SignalLog::SignalLog(QObject* sender) : QObject(sender)
{
    const QMetaObject* meta = sender->metaObject();
    const QMetaMethod slot = metaObject()->method(metaObject()->indexOfSlot("record()"));
    const QMetaObject& base = sender->isWidgetType() ? QWidget::staticMetaObject : QObject::staticMetaObject;
    for (int i = base.methodCount(); i < meta->methodCount(); ++i)
        if (meta->method(i).methodType() == QMetaMethod::Signal)
            connect(sender, meta->method(i), this, slot);
}

QStringList storedSignIn()
{
    return {CredentialStore::GetStringSetting(CredentialStore::Login),
            CredentialStore::GetStringSetting(CredentialStore::Password)};
}
