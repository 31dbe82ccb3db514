// The XML component against the simulator on a loopback port: what reaches the client over HTTP.
#include "TestSupport.h"
#include "platform/XmlDocument.h"
#include "session/AccountCommand.h"
#include "session/Protocol.h"

#include <QtTest>

class XmlDocumentTest : public QObject {
    Q_OBJECT
    std::unique_ptr<LocalService> service;

    static QString listSites(const QString& password) {
        return Protocol::ListSitesAddress("demo@example.com", password);
    }

private slots:
    void init() {
        service = std::make_unique<LocalService>();
        XmlDocument::setTransferTimeoutMs(30000);
        XmlDocument::setMaxAnswerBytes(64 * 1024);
    }
    void cleanup() { service.reset(); }

    // Every way an answer is unusable: a failure of the command, never a success or a refusal.
    void failures_data() {
        QTest::addColumn<int>("fault");       // -1: nothing listens any more
        QTest::addColumn<QByteArray>("body"); // sent instead of the simulator's own answer, unless null
        QTest::addColumn<int>("error");
        const int none = int(SimServer::Fault::None), notXml = int(XmlDocument::Error::NotXml),
                  doctype = int(XmlDocument::Error::DocumentType);
        QTest::newRow("empty body") << none << QByteArray("") << notXml;
        QTest::newRow("HTML error page") << none << QByteArray("<html><body><p>Server Error</body></html>") << notXml;
        QTest::newRow("cut off") << none << QByteArray("<r><STATUS>OK</STATUS>") << notXml;
        QTest::newRow("document type") << none << QByteArray("<!DOCTYPE r><r><STATUS>OK</STATUS></r>") << doctype;
        QTest::newRow("entity expansion")
            << none
            << QByteArray("<?xml version=\"1.0\"?><!DOCTYPE r [<!ENTITY a \"aaaaaaaaaa\"><!ENTITY b \"&a;&a;&a;&a;\">]>"
                          "<r><STATUS>&b;</STATUS></r>")
            << doctype;
        QTest::newRow("answer over the size cap")
            << none << "<r><STATUS>OK</STATUS>" + QByteArray(200 * 1024, ' ') + "</r>"
            << int(XmlDocument::Error::TooLarge);
        QTest::newRow("HTTP 500 with a well-formed OK")
            << int(SimServer::Fault::HttpError) << QByteArray() << int(XmlDocument::Error::HttpStatus);
        QTest::newRow("silent server") << int(SimServer::Fault::Hang) << QByteArray()
                                       << int(XmlDocument::Error::Timeout);
        QTest::newRow("no server") << -1 << QByteArray() << int(XmlDocument::Error::Network);
    }
    void failures() {
        QFETCH(int, fault);
        QFETCH(QByteArray, body);
        QFETCH(int, error);
        if (fault == -1)
            service.reset(); // the address still names its port
        else
            service->server().setFault(SimServer::Fault(fault));
        if (fault == int(SimServer::Fault::Hang))
            XmlDocument::setTransferTimeoutMs(300);
        if (!body.isNull())
            service->server().setCannedAnswer(body);
        XmlDocument doc;
        QVERIFY(!doc.load(listSites("demo123")));
        QCOMPARE(int(doc.error()), error);
        QVERIFY(doc.document().isNull());
        QVERIFY(runAccountCommand(listSites("demo123")).failed());
    }

    // Characters that would break the query arrive intact; the others are sent as they stand.
    void valuesArriveIntact() {
        const QString password = QString::fromUtf8("it's/ok a&b=c#1 100%+s\xc3\xa9same");
        service->server().accounts()["demo@example.com"].password = password;
        QVERIFY(runAccountCommand(listSites(password)).succeeded());
        QCOMPARE(service->apiRequests(), QStringList{"GET /v3/rsapi.asp?cmd=listsites&email=demo@example.com"
                                                     "&password=it's/ok%20a%26b%3Dc%231%20100%25%2Bs%C3%A9same"});
    }
};

QTEST_GUILESS_MAIN(XmlDocumentTest)
#include "tst_xmldocument.moc"
