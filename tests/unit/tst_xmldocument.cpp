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

    void successAndRefusal() {
        service->server().setDelayMs(200); // slower than the loopback, well within the time-out
        const CommandOutcome success = runAccountCommand(listSites("demo123"));
        QVERIFY(success.succeeded());
        QCOMPARE(success.answer.rows().size(), 3);
        const CommandOutcome refusal =
            runAccountCommand(Protocol::ListSitesAddress("pending@example.com", "pending123"));
        QVERIFY(refusal.refused());
        QCOMPARE(refusal.answer.errorId(), std::optional<qint16>(45));
    }

    // Each is a failure of the command, never a success or a refusal.
    void failures_data() {
        QTest::addColumn<int>("fault"); // -1: nothing listens any more
        QTest::addColumn<QByteArray>("canned");
        QTest::addColumn<int>("error");
        using Fault = SimServer::Fault;
        using Error = XmlDocument::Error;
        QTest::newRow("not XML") << int(Fault::NotXml) << QByteArray() << int(Error::NotXml);
        QTest::newRow("HTTP 500 with a well-formed OK")
            << int(Fault::HttpError) << QByteArray() << int(Error::HttpStatus);
        QTest::newRow("document type") << int(Fault::DocumentType) << QByteArray() << int(Error::DocumentType);
        QTest::newRow("silent server") << int(Fault::Hang) << QByteArray() << int(Error::Timeout);
        QTest::newRow("answer over the size cap")
            << int(Fault::None) << "<r><STATUS>OK</STATUS>" + QByteArray(200 * 1024, ' ') + "</r>"
            << int(Error::TooLarge);
        QTest::newRow("no server") << -1 << QByteArray() << int(Error::Network);
    }
    void failures() {
        QFETCH(int, fault);
        QFETCH(QByteArray, canned);
        QFETCH(int, error);
        if (fault == -1)
            service.reset(); // the address still names its port
        else
            service->server().setFault(SimServer::Fault(fault));
        if (fault == int(SimServer::Fault::Hang))
            XmlDocument::setTransferTimeoutMs(300);
        if (!canned.isEmpty())
            service->server().setCannedAnswer(canned);
        XmlDocument doc;
        QVERIFY(!doc.load(listSites("demo123")));
        QCOMPARE(int(doc.error()), error);
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
