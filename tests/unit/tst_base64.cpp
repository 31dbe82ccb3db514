#include "session/Base64.h"
#include "session/Session.h"

#include <QtTest>

using namespace Base64;

static const QString kAlphabet = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/");

class Base64Test : public QObject {
    Q_OBJECT
private slots:
    void init() { Session::Base64Alphabet = kAlphabet; }

    // Encoding leaves out the pad. Decoding is positional: every character takes its place in a group of
    // four, "=" and line breaks too.
    void vectors_data() {
        QTest::addColumn<QString>("encoded");
        QTest::addColumn<QByteArray>("decoded");
        QTest::addColumn<bool>("encodes"); // also what encoding the bytes gives
        QTest::newRow("empty") << "" << QByteArray() << true;
        QTest::newRow("YQ") << "YQ" << QByteArray("a") << true;
        QTest::newRow("YWI") << "YWI" << QByteArray("ab") << true;
        QTest::newRow("YWJj") << "YWJj" << QByteArray("abc") << true;
        QTest::newRow("YWJjZA") << "YWJjZA" << QByteArray("abcd") << true;
        QTest::newRow("YQ==") << "YQ==" << QByteArray("a") << false;
        QTest::newRow("YWI=") << "YWI=" << QByteArray("ab") << false;
        QTest::newRow("pad first: d1 = -1 enters the sum") << "=WJj" << QByteArray("\xfd\x62\x63") << false;
        QTest::newRow("pad second: first byte left out") << "Y=Jj" << QByteArray("\xf2\x63") << false;
        QTest::newRow("pad third") << "YW=j" << QByteArray("a\xe3") << false;
        QTest::newRow("line break not skipped: (Y, W, LF, J) then (j)") << "YW\nJj" << QByteArray("a\xc9") << false;
    }
    void vectors() {
        QFETCH(QString, encoded);
        QFETCH(QByteArray, decoded);
        QFETCH(bool, encodes);
        QCOMPARE(decodeBytes(encoded), decoded);
        if (encodes)
            QCOMPARE(Base64Encode(QString::fromLatin1(decoded)), encoded);
    }

    // Any bytes, and any text the user types (as UTF-8), come back unchanged.
    void roundTrip() {
        QByteArray all;
        for (int c = 0; c < 256; ++c)
            all += char(c);
        for (int length = 0; length <= all.size(); ++length)
            QCOMPARE(decodeBytes(encodeBytes(all.left(length))), all.left(length));
        const QString typed =
            QString::fromUtf8("J\xc3\xbcrgen's p\xc3\xa4ss \xe5\xaf\x86\xe7\xa0\x81 \xf0\x9f\x94\x91");
        QCOMPARE(Base64Decode(Base64Encode(typed)), typed);
    }

    void theAlphabetIsReadAtEveryCall() {
        Session::Base64Alphabet.clear();
        QCOMPARE(Base64Encode("abc"), QString());
        QCOMPARE(Base64Index(QLatin1Char('A')), -1);
        Session::Base64Alphabet = kAlphabet;
        QCOMPARE(Base64Encode("abc"), QString("YWJj"));
        QCOMPARE(Base64Char(64), QString());
        QCOMPARE(Base64Index(QLatin1Char('=')), -1);
    }
};

QTEST_GUILESS_MAIN(Base64Test)
#include "tst_base64.moc"
