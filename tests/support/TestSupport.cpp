#include "TestSupport.h"

#include "session/AccountRequest.h"

#include <QTcpServer>

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
    AccountRequest::setTransferTimeoutMs(30000);
}

void ServiceAndBoxes::answer(int status, const QByteArray& body)
{
    if (status == -1)
        AccountRequest::setTransferTimeoutMs(500), server().setFault(SimServer::Fault::Hang);
    else if (status != 0)
        server().setCannedAnswer(body, status);
}

QString unreachableBase()
{
    QTcpServer closed; // its port is free again once it goes
    closed.listen(QHostAddress::LocalHost);
    return QString("http://127.0.0.1:%1").arg(closed.serverPort());
}
