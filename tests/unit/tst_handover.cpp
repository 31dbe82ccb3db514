// The messages between lumenpane and its viewer, as they cross the pipe.
#include "session/HandOver.h"

#include <QtTest>

using namespace HandOver;

// An open message whose line, without its end, is this long.
static QByteArray lineOfLength(qsizetype length)
{
    Message m{Kind::Open, {}};
    m.session.startUrl = QString(length - (encode(m).size() - 1), 'x');
    return encode(m);
}

class HandOverTest : public QObject {
    Q_OBJECT
private slots:
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
        QTest::newRow("not an object") << QByteArray("[\"show\"]\n") << false;
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
};

QTEST_GUILESS_MAIN(HandOverTest)
#include "tst_handover.moc"
