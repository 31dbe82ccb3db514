#include "platform/XmlDocument.h"
#include "session/ServiceResponse.h"

#include <QtTest>

// An answer as the client reads one: checked by the XML component, then read.
static ServiceResponse answer(const QByteArray& xml)
{
    XmlDocument checked;
    checked.parse(xml);
    return ServiceResponse(checked.document());
}

class ServiceResponseTest : public QObject {
    Q_OBJECT
private slots:
    // The answer's fields, from what the document element holds: "outcome|message|id", "-" for none.
    void fields_data()
    {
        QTest::addColumn<QByteArray>("inside");
        QTest::addColumn<QString>("read");
        QTest::newRow("OK") << QByteArray("<STATUS>OK</STATUS>") << "OK|-|-";
        QTest::newRow("lower-case ok") << QByteArray("<STATUS>ok</STATUS>") << "refused|-|-";
        QTest::newRow("names are case-sensitive")
            << QByteArray("<status>OK</status><errmsg>m</errmsg>") << "refused|-|-";
        QTest::newRow("first STATUS anywhere")
            << QByteArray("<a><STATUS>OK</STATUS></a><STATUS>E</STATUS>") << "OK|-|-";
        QTest::newRow("45") << QByteArray("<STATUS>E</STATUS><ERRMSG>Activate</ERRMSG><ERRORID>45</ERRORID>")
                            << "refused|Activate|45";
        QTest::newRow("blanks around the id") << QByteArray("<ERRORID> -44 </ERRORID>") << "refused|-|-44";
        QTest::newRow("id not a number") << QByteArray("<ERRORID>4a</ERRORID>") << "refused|-|-";
        QTest::newRow("id too large") << QByteArray("<ERRORID>32768</ERRORID>") << "refused|-|-";
        QTest::newRow("message as sent") << QByteArray("<ERRMSG> two  blanks &amp; <b>more</b> &lt; </ERRMSG>")
                                         << "refused| two  blanks & more < |-";
        QTest::newRow("not well-formed") << QByteArray("<STATUS>OK</STATUS><ERRMSG>") << "refused|-|-";
    }
    void fields()
    {
        QFETCH(QByteArray, inside);
        QFETCH(QString, read);
        const ServiceResponse r = answer("<r>" + inside + "</r>");
        QCOMPARE(QStringList({r.succeeded() ? "OK" : "refused", r.errorMessage().value_or("-"),
                              r.errorId() ? QString::number(*r.errorId()) : "-"})
                     .join('|'),
                 read);
    }

    // Direct children of the document element only, in order; the id and name anywhere inside, exact case.
    void rows()
    {
        const ServiceResponse r = answer(R"(<ServiceResponse><STATUS>OK</STATUS><!-- between rows -->
            <ROW><SITEID>11</SITEID><PROFILENAME>example.com</PROFILENAME></ROW>
            <wrapper><ROW><SITEID>99</SITEID><PROFILENAME>nested, not a site</PROFILENAME></ROW></wrapper>
            <ROW><PROFILENAME>no id</PROFILENAME></ROW>
            <ROW><SITEID>16</SITEID><SITEID>17</SITEID></ROW>
            <row><SITEID>14</SITEID><PROFILENAME>wrong case</PROFILENAME></row>
            <ROW><x><SITEID>15</SITEID></x><PROFILENAME>deep id counts</PROFILENAME></ROW></ServiceResponse>)");
        QStringList seen;
        for (const ServiceResponse::Row& row : r.rows())
            seen << QString::number(row.siteId.value_or(-1)) + " " + row.name.value_or("-");
        QCOMPARE(seen, QStringList({"11 example.com", "-1 no id", "16 -", "15 deep id counts"}));
    }
};

QTEST_GUILESS_MAIN(ServiceResponseTest)
#include "tst_serviceresponse.moc"
