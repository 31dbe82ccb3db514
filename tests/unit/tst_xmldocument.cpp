// The XML component against the simulator on a loopback port: what reaches the client over HTTP.
#include "TestSupport.h"
#include "platform/XmlDocument.h"
#include "session/AccountCommand.h"
#include "session/Protocol.h"

#include <QtTest>

class XmlDocumentTest : public QObject {
    Q_OBJECT
    std::unique_ptr<LocalService> service;

private slots:
    void init()
    {
        service = std::make_unique<LocalService>();
        XmlDocument::setTransferTimeoutMs(30000);
        XmlDocument::setMaxAnswerBytes(64 * 1024);
    }

    // Every way an answer is unusable: a failure of the command, never a success or a refusal.
    void failures_data()
    {
        QTest::addColumn<int>("status"); // of the answer with this body; 0: none comes, -1: nothing listens
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<XmlDocument::Error>("error");
        using Error = XmlDocument::Error;
        const QByteArray ok = "<r><STATUS>OK</STATUS></r>";
        QTest::newRow("empty body") << 200 << QByteArray("") << Error::NotXml;
        QTest::newRow("HTML page") << 200 << QByteArray("<html><body><p>Server Error</body></html>") << Error::NotXml;
        QTest::newRow("document type") << 200 << "<!DOCTYPE r [<!ENTITY a 'OK'>]>" + ok << Error::DocumentType;
        QTest::newRow("over the size cap") << 200 << ok + QByteArray(65 * 1024, ' ') << Error::TooLarge;
        QTest::newRow("HTTP 500 with a well-formed OK") << 500 << ok << Error::HttpStatus;
        QTest::newRow("silent server") << 0 << QByteArray() << Error::Timeout;
        QTest::newRow("no server") << -1 << QByteArray() << Error::Network;
    }
    void failures()
    {
        QFETCH(int, status);
        QFETCH(QByteArray, body);
        QFETCH(XmlDocument::Error, error);
        const QString address = Protocol::ListSitesAddress("demo@example.com", "demo123");
        if (status > 0)
            service->server().setCannedAnswer(body, status);
        if (status == 0) {
            service->server().setFault(SimServer::Fault::Hang);
            XmlDocument::setTransferTimeoutMs(300);
        }
        if (status == -1)
            service.reset(); // the address still names its port
        XmlDocument doc;
        QVERIFY(!doc.load(address) && doc.document().isEmpty());
        QCOMPARE(doc.error(), error);
        QVERIFY(runAccountCommand(address).failed());
    }

    // Characters that would break the query arrive intact; the others are sent as they stand.
    void valuesArriveIntact()
    {
        const QString password = QString::fromUtf8("it's/ok a&b=c#1 100%+s\xc3\xa9same");
        service->server().accounts()["demo@example.com"].password = password;
        QVERIFY(runAccountCommand(Protocol::ListSitesAddress("demo@example.com", password)).succeeded());
        QCOMPARE(service->apiRequests(), QStringList{"GET /v3/rsapi.asp?cmd=listsites&email=demo@example.com"
                                                     "&password=it's/ok%20a%26b%3Dc%231%20100%25%2Bs%C3%A9same"});
    }
};

QTEST_GUILESS_MAIN(XmlDocumentTest)
#include "tst_xmldocument.moc"
