#include "platform/XmlDocument.h"
#include "session/ServiceResponse.h"

#include <QtTest>

static ServiceResponse answer(const QByteArray& xml)
{
    XmlDocument doc;
    if (!doc.parse(xml))
        qFatal("test answer does not parse: %s", qPrintable(doc.errorDetail()));
    return ServiceResponse(doc.document());
}

using Row = ServiceResponse::Row;
Q_DECLARE_METATYPE(QList<ServiceResponse::Row>)

class ServiceResponseTest : public QObject {
    Q_OBJECT
private slots:
    void outcome_data()
    {
        QTest::addColumn<QByteArray>("xml");
        QTest::addColumn<bool>("succeeded");
        QTest::newRow("OK") << QByteArray("<r><STATUS>OK</STATUS></r>") << true;
        QTest::newRow("lower-case ok is a refusal") << QByteArray("<r><STATUS>ok</STATUS></r>") << false;
        QTest::newRow("other text") << QByteArray("<r><STATUS>ERROR</STATUS></r>") << false;
        QTest::newRow("no STATUS") << QByteArray("<r><ERRMSG>x</ERRMSG></r>") << false;
        QTest::newRow("element names are case-sensitive") << QByteArray("<r><status>OK</status></r>") << false;
        QTest::newRow("first STATUS anywhere wins")
            << QByteArray("<r><a><b><STATUS>OK</STATUS></b></a><STATUS>ERROR</STATUS></r>") << true;
        QTest::newRow("document element name ignored") << QByteArray("<Anything><STATUS>OK</STATUS></Anything>") << true;
    }
    void outcome()
    {
        QFETCH(QByteArray, xml);
        QFETCH(bool, succeeded);
        QCOMPARE(answer(xml).succeeded(), succeeded);
    }

    void refusalFields_data()
    {
        QTest::addColumn<QByteArray>("xml");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("id"); // -99999: none
        QTest::newRow("45") << QByteArray("<r><STATUS>E</STATUS><ERRMSG>Activate first</ERRMSG><ERRORID>45</ERRORID></r>")
                            << "Activate first" << 45;
        QTest::newRow("blanks around the id") << QByteArray("<r><STATUS>E</STATUS><ERRMSG>m</ERRMSG><ERRORID> 44 </ERRORID></r>")
                                              << "m" << 44;
        QTest::newRow("negative") << QByteArray("<r><ERRORID>-3</ERRORID><ERRMSG>m</ERRMSG></r>") << "m" << -3;
        QTest::newRow("not a number") << QByteArray("<r><ERRORID>abc</ERRORID><ERRMSG>m</ERRMSG></r>") << "m" << -99999;
        QTest::newRow("too large") << QByteArray("<r><ERRORID>40000</ERRORID><ERRMSG>m</ERRMSG></r>") << "m" << -99999;
        QTest::newRow("missing") << QByteArray("<r><ERRMSG>only a message</ERRMSG></r>") << "only a message" << -99999;
        QTest::newRow("message as sent") << QByteArray("<r><ERRMSG>  two  blanks &amp; more </ERRMSG></r>")
                                         << "  two  blanks & more " << -99999;
    }
    void refusalFields()
    {
        QFETCH(QByteArray, xml);
        QFETCH(QString, message);
        QFETCH(int, id);
        const ServiceResponse r = answer(xml);
        QCOMPARE(r.errorMessage().value_or("<none>"), message);
        QCOMPARE(r.errorId().has_value() ? int(*r.errorId()) : -99999, id);
    }

    void rows()
    {
        const ServiceResponse r = answer(R"(<ServiceResponse>
            <STATUS>OK</STATUS>
            <!-- comment between rows -->
            <ROW><SITEID>11</SITEID><PROFILENAME>example.com</PROFILENAME></ROW>
            <wrapper><ROW><SITEID>99</SITEID><PROFILENAME>nested, not a site</PROFILENAME></ROW></wrapper>
            <ROW><SITEID>abc</SITEID><PROFILENAME>bad id</PROFILENAME></ROW>
            <ROW><SITEID>40000</SITEID><PROFILENAME>too large</PROFILENAME></ROW>
            <ROW><PROFILENAME>no id</PROFILENAME></ROW>
            <ROW><SITEID>13</SITEID></ROW>
            <row><SITEID>14</SITEID><PROFILENAME>wrong case</PROFILENAME></row>
            <ROW><x><SITEID>15</SITEID></x><PROFILENAME>deep id counts</PROFILENAME></ROW>
        </ServiceResponse>)");
        const QList<Row> rows = r.rows();
        QCOMPARE(rows.size(), 6);
        QCOMPARE(rows[0].siteId, std::optional<qint16>(11));
        QCOMPARE(rows[0].name, std::optional<QString>("example.com"));
        QVERIFY(!rows[1].siteId);
        QVERIFY(!rows[2].siteId);
        QVERIFY(!rows[3].siteId);
        QCOMPARE(rows[4].siteId, std::optional<qint16>(13));
        QVERIFY(!rows[4].name);
        QCOMPARE(rows[5].siteId, std::optional<qint16>(15));
    }

    void okWithoutRowsHasNoSites() { QVERIFY(answer("<r><STATUS>OK</STATUS></r>").rows().isEmpty()); }

    // What the parser refuses is a failure, never a refusal or a success.
    void unreadableAnswers_data()
    {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<int>("error");
        QTest::newRow("empty body") << QByteArray() << int(XmlDocument::Error::NotXml);
        QTest::newRow("HTML error page") << QByteArray("<html><body><p>Server Error</body></html>") << int(XmlDocument::Error::NotXml);
        QTest::newRow("plain text") << QByteArray("Service Unavailable") << int(XmlDocument::Error::NotXml);
        QTest::newRow("cut off") << QByteArray("<r><STATUS>OK</STATUS>") << int(XmlDocument::Error::NotXml);
        QTest::newRow("document type") << QByteArray("<!DOCTYPE r><r><STATUS>OK</STATUS></r>")
                                       << int(XmlDocument::Error::DocumentType);
        QTest::newRow("entity expansion")
            << QByteArray("<?xml version=\"1.0\"?><!DOCTYPE r [<!ENTITY a \"aaaaaaaaaa\"><!ENTITY b \"&a;&a;&a;&a;\">]>"
                          "<r><STATUS>&b;</STATUS></r>")
            << int(XmlDocument::Error::DocumentType);
    }
    void unreadableAnswers()
    {
        QFETCH(QByteArray, body);
        QFETCH(int, error);
        XmlDocument doc;
        QVERIFY(!doc.parse(body));
        QCOMPARE(int(doc.error()), error);
        QVERIFY(doc.parseErrorCode() != 0);
        QVERIFY(doc.document().isNull());
    }
};

QTEST_GUILESS_MAIN(ServiceResponseTest)
#include "tst_serviceresponse.moc"
