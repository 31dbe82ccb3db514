// A value put into a query: nothing in it can end the value or change its meaning, percent-decoding it gives back
// the UTF-8 of the value, and so does the query of the address as it is sent.
#include "FuzzCheck.h"
#include "session/Protocol.h"

#include <QUrl>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString value = fuzzText(data, size);
    const QString query = Protocol::QueryValue(value);
    for (const QChar c : query) {
        FUZZ_CHECK(c.unicode() < 0x80);
        FUZZ_CHECK(!QStringLiteral("&=#+ ").contains(c));
    }
    FUZZ_CHECK(QByteArray::fromPercentEncoding(query.toLatin1()) == value.toUtf8());

    const QUrl address(QStringLiteral("http://127.0.0.1/v3/rsapi.asp?k=") + query + QStringLiteral("&z=1"),
                       QUrl::TolerantMode);
    const QByteArray sent = address.query(QUrl::FullyEncoded).toLatin1();
    FUZZ_CHECK(sent.startsWith("k=") && sent.endsWith("&z=1"));
    FUZZ_CHECK(QByteArray::fromPercentEncoding(sent.mid(2, sent.size() - 6)) == value.toUtf8());
    return 0;
}
