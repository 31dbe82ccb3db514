#include "platform/XmlDocument.h"
#include "session/ServiceResponse.h"

#include <QtTest>

static ServiceResponse answer(const QByteArray& xml) {
    XmlDocument doc;
    if (!doc.parse(xml))
        qFatal("test answer does not parse: %s", qPrintable(doc.errorDetail()));
    return ServiceResponse(doc.document());
}

class ServiceResponseTest : public QObject {
    Q_OBJECT
private slots:
    // The answer's fields, from what the document element holds.
    void fields_data() {
        QTest::addColumn<QByteArray>("inside");
        QTest::addColumn<bool>("succeeded");
        QTest::addColumn<QString>("message"); // "-": none
        QTest::addColumn<int>("id");          // -1: none
        QTest::newRow("OK") << QByteArray("<STATUS>OK</STATUS>") << true << "-" << -1;
        QTest::newRow("lower-case ok is a refusal") << QByteArray("<STATUS>ok</STATUS>") << false << "-" << -1;
        QTest::newRow("element names are case-sensitive")
            << QByteArray("<status>OK</status><errmsg>m</errmsg>") << false << "-" << -1;
        QTest::newRow("first STATUS anywhere wins")
            << QByteArray("<a><b><STATUS>OK</STATUS></b></a><STATUS>E</STATUS>") << true << "-" << -1;
        QTest::newRow("45") << QByteArray("<STATUS>E</STATUS><ERRMSG>Activate</ERRMSG><ERRORID>45</ERRORID>") << false
                            << "Activate" << 45;
        QTest::newRow("blanks around the id")
            << QByteArray("<ERRMSG>m</ERRMSG><ERRORID> 44 </ERRORID>") << false << "m" << 44;
        QTest::newRow("id not a number") << QByteArray("<ERRORID>abc</ERRORID>") << false << "-" << -1;
        QTest::newRow("id too large") << QByteArray("<ERRORID>40000</ERRORID>") << false << "-" << -1;
        QTest::newRow("message as sent") << QByteArray("<ERRMSG>  two  blanks &amp; more </ERRMSG>") << false
                                         << "  two  blanks & more " << -1;
    }
    void fields() {
        QFETCH(QByteArray, inside);
        QFETCH(bool, succeeded);
        QFETCH(QString, message);
        QFETCH(int, id);
        const ServiceResponse r = answer("<r>" + inside + "</r>");
        QCOMPARE(r.succeeded(), succeeded);
        QCOMPARE(r.errorMessage().value_or("-"), message);
        QCOMPARE(r.errorId().has_value() ? int(*r.errorId()) : -1, id);
    }

    // Direct children of the document element only, in order; the id and name anywhere inside, exact case.
    void rows() {
        const QList<ServiceResponse::Row> rows = answer(R"(<ServiceResponse>
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
        </ServiceResponse>)")
                                                     .rows();
        QStringList seen;
        for (const ServiceResponse::Row& row : rows)
            seen << QString("%1 %2").arg(row.siteId ? QString::number(*row.siteId) : "-", row.name.value_or("-"));
        QCOMPARE(seen,
                 QStringList({"11 example.com", "- bad id", "- too large", "- no id", "13 -", "15 deep id counts"}));
    }
};

QTEST_GUILESS_MAIN(ServiceResponseTest)
#include "tst_serviceresponse.moc"
