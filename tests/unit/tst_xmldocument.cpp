// The XML component against the simulator on a loopback port: what reaches the client over HTTP.
#include "TestSupport.h"
#include "platform/XmlDocument.h"
#include "session/AccountCommand.h"
#include "session/Protocol.h"

#include <QElapsedTimer>
#include <QtTest>

class XmlDocumentTest : public QObject {
    Q_OBJECT
    std::unique_ptr<LocalService> service;

private slots:
    void init()
    {
        service = std::make_unique<LocalService>();
        XmlDocument::setTransferTimeoutMs(30000);
        XmlDocument::setMaxAnswerBytes(16 * 1024 * 1024);
    }
    void cleanup() { service.reset(); }

    void threeOutcomes_data()
    {
        QTest::addColumn<QString>("email");
        QTest::addColumn<QString>("password");
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("errorId");
        QTest::newRow("active account") << "demo@example.com" << "demo123" << int(CommandOutcome::Kind::Success) << 0;
        QTest::newRow("wrong password") << "demo@example.com" << "nope" << int(CommandOutcome::Kind::Refusal) << 2;
        QTest::newRow("not activated") << "pending@example.com" << "pending123" << int(CommandOutcome::Kind::Refusal) << 45;
    }
    void threeOutcomes()
    {
        QFETCH(QString, email);
        QFETCH(QString, password);
        QFETCH(int, kind);
        QFETCH(int, errorId);
        const CommandOutcome outcome = runAccountCommand(Protocol::ListSitesAddress(email, password));
        QCOMPARE(int(outcome.kind), kind);
        if (outcome.refused())
            QCOMPARE(int(outcome.answer.errorId().value_or(0)), errorId);
        else
            QCOMPARE(outcome.answer.rows().size(), 3);
    }

    void brokenService_data()
    {
        QTest::addColumn<int>("fault");
        QTest::addColumn<int>("error");
        QTest::newRow("not XML") << int(SimServer::Fault::NotXml) << int(XmlDocument::Error::NotXml);
        QTest::newRow("HTTP 500 with a well-formed OK") << int(SimServer::Fault::HttpError) << int(XmlDocument::Error::HttpStatus);
        QTest::newRow("document type") << int(SimServer::Fault::DocumentType) << int(XmlDocument::Error::DocumentType);
    }
    void brokenService()
    {
        QFETCH(int, fault);
        QFETCH(int, error);
        service->server().setFault(SimServer::Fault(fault));
        XmlDocument doc;
        QVERIFY(!doc.load(Protocol::ListSitesAddress("demo@example.com", "demo123")));
        QCOMPARE(int(doc.error()), error);
        QVERIFY(runAccountCommand(Protocol::ListSitesAddress("demo@example.com", "demo123")).failed());
    }

    void noServerIsAFailure()
    {
        const quint16 port = service->server().port();
        service.reset(); // nothing listens there any more
        XmlDocument doc;
        QVERIFY(!doc.load(QStringLiteral("http://127.0.0.1:%1/v3/rsapi.asp?cmd=listsites").arg(port)));
        QCOMPARE(doc.error(), XmlDocument::Error::Network);
        service = std::make_unique<LocalService>();
    }

    void silentServerTimesOut()
    {
        service->server().setFault(SimServer::Fault::Hang);
        XmlDocument::setTransferTimeoutMs(300);
        XmlDocument doc;
        QVERIFY(!doc.load(Protocol::ListSitesAddress("demo@example.com", "demo123")));
        QCOMPARE(doc.error(), XmlDocument::Error::Timeout);
    }

    void slowAnswerWithinTheTimeOutArrives()
    {
        service->server().setDelayMs(200);
        XmlDocument doc;
        QVERIFY(doc.load(Protocol::ListSitesAddress("demo@example.com", "demo123")));
    }

    void oversizedAnswerIsCut()
    {
        XmlDocument::setMaxAnswerBytes(64 * 1024);
        const QByteArray huge = "<r><STATUS>OK</STATUS>" + QByteArray(200 * 1024, ' ') + "</r>";
        service->server().setCannedAnswer(huge);
        XmlDocument doc;
        QVERIFY(!doc.load(Protocol::ListSitesAddress("demo@example.com", "demo123")));
        QCOMPARE(doc.error(), XmlDocument::Error::TooLarge);
    }

    // Values that would break the query reach the service intact.
    void valuesArriveIntact_data()
    {
        QTest::addColumn<QString>("password");
        QTest::newRow("ampersand and equals") << "a&b=c";
        QTest::newRow("hash, percent, plus, blank") << "#1 100%+";
        QTest::newRow("quote and slash") << "it's/ok";
        QTest::newRow("non-ASCII") << QString::fromUtf8("s\xc3\xa9same");
    }
    void valuesArriveIntact()
    {
        QFETCH(QString, password);
        service->server().accounts()["demo@example.com"].password = password;
        QVERIFY(runAccountCommand(Protocol::ListSitesAddress("demo@example.com", password)).succeeded());
    }

    void ordinaryAddressIsSentAsBuilt()
    {
        runAccountCommand(Protocol::ListSitesAddress("demo@example.com", "it's"));
        QCOMPARE(service->apiRequests().last(),
                 QString("GET /v3/rsapi.asp?cmd=listsites&email=demo@example.com&password=it's"));
    }
};

QTEST_GUILESS_MAIN(XmlDocumentTest)
#include "tst_xmldocument.moc"
