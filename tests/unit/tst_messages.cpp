// What the client reads: the service's answers, the messages between lumenpane and its viewer as they cross the
// pipe, and the mouse codes of a notification area.
#include "client/TrayMouse.h"
#include "platform/XmlDocument.h"
#include "session/HandOver.h"
#include "session/ServiceResponse.h"

#include <QtTest>

using namespace HandOver;
using namespace TrayMouse;

static QByteArray lineOfLength(qsizetype length) // an Open message's, without its end
{
    Message m{Kind::Open, {}};
    m.session.startUrl = QString(length - (encode(m).size() - 1), 'x');
    return encode(m);
}

class MessagesTest : public QObject {
    Q_OBJECT
private slots:
    // What neither the document tree comparison (fuzz/answer) nor the hostile answers (tst_hostile) pin down: the
    // id read through blanks, the message as sent, rows only the document element's own, their id anywhere inside.
    void answerAsSent()
    {
        XmlDocument checked; // as the client reads an answer: checked, then read
        checked.parse("<r><ERRORID> -44 </ERRORID><ERRMSG> two  blanks &amp; <b>more</b></ERRMSG><ROW><SITEID>11"
                      "</SITEID></ROW><w><ROW><SITEID>99</SITEID></ROW></w><ROW><x><SITEID>15</SITEID></x></ROW></r>");
        const ServiceResponse r(checked.document());
        QVERIFY(!r.succeeded() && r.errorId() == -44 && r.errorMessage() == " two  blanks & more");
        QCOMPARE(r.rows().size(), 2);
        QVERIFY(r.rows()[0].siteId == 11 && r.rows()[1].siteId == 15 && !r.rows()[1].name);
    }

    // Every kind with what it carries, the session as a user may type it: wherever the stream is cut, every
    // message arrives once, whole and in order.
    void everyKindArrivesWhereverTheStreamIsCut()
    {
        const QString typed = QString::fromUtf8("\"q\"\\ &amp;\n\r\t</x> p\xc3\xa4ss \xe5\xaf\x86 \xf0\x9f\x94\x91");
        const SessionInfo s{"http://r/?a=\"1\"&b", "o'neil&co@x.com", typed, "old\nlogin", "",
                            {2008, 2, 29},         {2008, 3, 1}};
        const SessionInfo period{{}, {}, {}, {}, {}, s.from, s.to};
        const QList<Message> sent = {{Kind::Open, s, true},  {Kind::Open, s, false}, {Kind::Show, {}},
                                     {Kind::Quit, {}},       {Kind::Ready, {}},      {Kind::Shown, {}},
                                     {Kind::Period, period}, {Kind::Exit, {}},       {Kind::MainClosed, {}}};
        QByteArray stream;
        for (const Message& m : sent)
            stream += encode(m);
        for (qsizetype cut = 0; cut <= stream.size(); ++cut) {
            LineReader reader;
            QList<Message> got = reader.feed(stream.left(cut));
            got += reader.feed(stream.mid(cut));
            QCOMPARE(got, sent);
        }
    }

    // Lines that are no message are dropped, an over-long one too, and the next message still arrives.
    void whatIsNoMessageIsDropped_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<bool>("arrives");
        QTest::newRow("not JSON") << QByteArray("{\"do\":\"show\"\n") << false;
        QTest::newRow("unknown kind") << QByteArray("{\"do\":\"Show\"}\n") << false;
        QTest::newRow("at the limit") << lineOfLength(LineReader::MaxLineBytes) << true;
        QTest::newRow("over the limit") << lineOfLength(LineReader::MaxLineBytes + 1) << false;
    }
    void whatIsNoMessageIsDropped()
    {
        QFETCH(QByteArray, line);
        QFETCH(bool, arrives);
        const QByteArray stream = line + encode({Kind::Shown, {}});
        LineReader reader;
        QList<Message> got, expected = {{Kind::Shown, {}}};
        for (qsizetype at = 0; at < stream.size(); at += 100000)
            got += reader.feed(stream.mid(at, 100000));
        if (arrives)
            expected.prepend(*decode(line));
        QCOMPARE(got, expected);
    }

    // What the tray icon does with the mouse event codes a notification area reports.
    void trayMouse_data()
    {
        QTest::addColumn<QList<int>>("codes");
        QTest::addColumn<QList<int>>("actions"); // one per code
        const int none = int(Action::None), restore = int(Action::Restore), menu = int(Action::ShowMenu);
        QTest::newRow("right click, twice") << QList<int>{516, 517, 516, 517} << QList<int>{none, menu, none, menu};
        QTest::newRow("a movement in between") << QList<int>{516, 512, 517} << QList<int>{none, none, none};
        // Qt's activation reasons stand for the codes a notification area would have sent.
        QTest::newRow("double click") << codesFor(QSystemTrayIcon::DoubleClick) << QList<int>{restore, none};
        QTest::newRow("context") << codesFor(QSystemTrayIcon::Context) << QList<int>{none, menu};
    }
    void trayMouse()
    {
        QFETCH(QList<int>, codes);
        QFETCH(QList<int>, actions);
        Decoder decoder;
        QList<int> got;
        for (int code : codes)
            got << int(decoder.feed(code));
        QCOMPARE(got, actions);
    }
};

QTEST_GUILESS_MAIN(MessagesTest)
#include "tst_messages.moc"
