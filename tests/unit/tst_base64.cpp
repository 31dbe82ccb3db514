#include "session/Base64.h"

#include <QtTest>

using namespace Base64;

class Base64Test : public QObject {
    Q_OBJECT
private slots:
    // Encoding leaves out the pad. Decoding is positional: every character takes its place in a group of
    // four, "=" and line breaks too.
    void vectors_data()
    {
        QTest::addColumn<QString>("encoded");
        QTest::addColumn<QByteArray>("decoded");
        QTest::addColumn<bool>("encodes"); // also what encoding the bytes gives
        QTest::newRow("empty") << "" << QByteArray() << true;
        QTest::newRow("YQ") << "YQ" << QByteArray("a") << true;
        QTest::newRow("YWI") << "YWI" << QByteArray("ab") << true;
        QTest::newRow("YWJjZA") << "YWJjZA" << QByteArray("abcd") << true;
        QTest::newRow("last two letters") << "+/8" << QByteArray("\xfb\xff") << true;
        QTest::newRow("YQ==") << "YQ==" << QByteArray("a") << false;
        QTest::newRow("pad first: d1 = -1 enters the sum") << "=WJj" << QByteArray("\xfd\x62\x63") << false;
        QTest::newRow("pad second: first byte left out") << "Y=Jj" << QByteArray("\xf2\x63") << false;
        QTest::newRow("pad third") << "YW=j" << QByteArray("a\xe3") << false;
        QTest::newRow("line break not skipped: (Y, W, LF, J) then (j)") << "YW\nJj" << QByteArray("a\xc9") << false;
    }
    void vectors()
    {
        QFETCH(QString, encoded);
        QFETCH(QByteArray, decoded);
        QFETCH(bool, encodes);
        QCOMPARE(decodeBytes(encoded, StandardAlphabet), decoded);
        if (encodes)
            QCOMPARE(encodeBytes(decoded, StandardAlphabet), encoded);
    }

    // Any bytes, and any text the user types (as UTF-8), come back unchanged; the alphabet is the one given.
    void roundTrip()
    {
        QByteArray all;
        for (int c = 0; c < 256; ++c)
            all += char(c);
        for (int length = 0; length <= all.size(); ++length)
            QCOMPARE(decodeBytes(encodeBytes(all.left(length), StandardAlphabet), StandardAlphabet), all.left(length));
        const QString typed = QString::fromUtf8("J\xc3\xbcrgen's p\xc3\xa4ss \xe5\xaf\x86 \xf0\x9f\x94\x91");
        QCOMPARE(Base64Decode(Base64Encode(typed, StandardAlphabet), StandardAlphabet), typed);
        const QString urlSafe = QString(StandardAlphabet).replace('+', '-').replace('/', '_');
        QCOMPARE(encodeBytes("\xfb\xff", urlSafe), QString("-_8"));
        QCOMPARE(decodeBytes("-_8", urlSafe), QByteArray("\xfb\xff"));
        QCOMPARE(Base64Encode("abc", QString()), QString());
    }
};

QTEST_GUILESS_MAIN(Base64Test)
#include "tst_base64.moc"
