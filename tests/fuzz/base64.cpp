// The credential codec: any text decodes without harm, and whatever is encoded decodes back to itself, with the
// standard alphabet and with one taken from the input.
#include "session/Base64.h"
#include "FuzzCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace Base64;
    const QByteArray bytes = fuzzBytes(data, size);
    const QString text = fuzzText(data, size);
    // Three characters give at most two bytes, four at most three.
    const QByteArray decoded = decodeBytes(text, StandardAlphabet);
    FUZZ_CHECK(decoded.size() <= (text.size() / 4) * 3 + qMax<qsizetype>(0, text.size() % 4 - 1));
    Base64Decode(text, StandardAlphabet);

    const QString encoded = encodeBytes(bytes, StandardAlphabet);
    FUZZ_CHECK(encoded.size() == (bytes.size() * 4 + 2) / 3);
    FUZZ_CHECK(decodeBytes(encoded, StandardAlphabet) == bytes);
    const QString valid = QString::fromUtf8(bytes); // well-formed text: its UTF-8 reads back to it
    FUZZ_CHECK(Base64Decode(Base64Encode(valid, StandardAlphabet), StandardAlphabet) == valid);

    // Another alphabet: the first 64 distinct characters of the text, when it has that many.
    QString alphabet;
    for (qsizetype i = 0; i < text.size() && alphabet.size() < 64; ++i)
        if (!alphabet.contains(text[i]))
            alphabet += text[i];
    const QString coded = encodeBytes(bytes, alphabet);
    if (alphabet.size() == 64) {
        FUZZ_CHECK(decodeBytes(coded, alphabet) == bytes);
        for (const QChar c : coded)
            FUZZ_CHECK(alphabet.contains(c));
    }
    decodeBytes(text, alphabet);
    return 0;
}
