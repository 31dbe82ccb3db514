#include "session/Base64.h"
#include "session/Session.h"

#include <QtTest>

using namespace Base64;

static const QString kAlphabet = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/");

static QByteArray bytes(std::initializer_list<int> codes)
{
    QByteArray b;
    for (int c : codes)
        b += char(c);
    return b;
}

class Base64Test : public QObject {
    Q_OBJECT
private slots:
    void init() { Session::Base64Alphabet = kAlphabet; }

    void encode_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("encoded");
        QTest::newRow("empty") << "" << "";
        QTest::newRow("a") << "a" << "YQ";
        QTest::newRow("ab") << "ab" << "YWI";
        QTest::newRow("abc") << "abc" << "YWJj";
        QTest::newRow("abcd") << "abcd" << "YWJjZA";
    }
    void encode()
    {
        QFETCH(QString, text);
        QFETCH(QString, encoded);
        QCOMPARE(Base64Encode(text), encoded);
    }

    void decode_data()
    {
        QTest::addColumn<QString>("encoded");
        QTest::addColumn<QByteArray>("decoded");
        QTest::newRow("YQ") << "YQ" << QByteArray("a");
        QTest::newRow("YQ==") << "YQ==" << QByteArray("a");
        QTest::newRow("YWI=") << "YWI=" << QByteArray("ab");
        QTest::newRow("YWJjZA") << "YWJjZA" << QByteArray("abcd");
        QTest::newRow("empty") << "" << QByteArray();
        QTest::newRow("pad first: d1 = -1 enters the sum") << "=WJj" << bytes({253, 98, 99});
        QTest::newRow("pad second: first byte left out") << "Y=Jj" << bytes({242, 99});
        QTest::newRow("pad third") << "YW=j" << bytes({97, 227});
        // A line break takes a place in its group and shifts the rest: (Y, W, LF, J) then (j).
        QTest::newRow("line break not skipped") << "YW\nJj" << bytes({97, 201});
    }
    void decode()
    {
        QFETCH(QString, encoded);
        QFETCH(QByteArray, decoded);
        QCOMPARE(decodeBytes(encoded), decoded);
    }

    void everyByteSurvivesTheRoundTrip()
    {
        QByteArray all;
        for (int c = 0; c < 256; ++c)
            all += char(c);
        for (int length = 0; length <= all.size(); length += 37)
            QCOMPARE(decodeBytes(encodeBytes(all.left(length))), all.left(length));
        QCOMPARE(decodeBytes(encodeBytes(all)), all);
    }

    void typedTextSurvivesTheRoundTrip_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("ascii") << "user@example.com";
        QTest::newRow("umlaut") << QString::fromUtf8("J\xc3\xbcrgen's p\xc3\xa4ss");
        QTest::newRow("cjk and emoji") << QString::fromUtf8("\xe5\xaf\x86\xe7\xa0\x81 \xf0\x9f\x94\x91");
    }
    void typedTextSurvivesTheRoundTrip()
    {
        QFETCH(QString, text);
        QCOMPARE(Base64Decode(Base64Encode(text)), text);
    }

    void theAlphabetIsReadAtEveryCall()
    {
        Session::Base64Alphabet.clear();
        QCOMPARE(Base64Encode("abc"), QString());
        QCOMPARE(Base64Index(QLatin1Char('A')), -1);
        QCOMPARE(Base64Char(0), QString());
        Session::Base64Alphabet = kAlphabet;
        QCOMPARE(Base64Encode("abc"), QString("YWJj"));
    }

    void charAndIndexEdges()
    {
        QCOMPARE(Base64Char(-1), QString());
        QCOMPARE(Base64Char(64), QString());
        QCOMPARE(Base64Char(63), QString("/"));
        QCOMPARE(Base64Index(QLatin1Char('=')), -1);
        QCOMPARE(Base64Index(QLatin1Char('a')), 26);
    }
};

QTEST_GUILESS_MAIN(Base64Test)
#include "tst_base64.moc"
