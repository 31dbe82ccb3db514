#include "Base64.h"

namespace Base64 {

QString Base64Char(int index, const QString& alphabet)
{
    if (index < 0 || index >= alphabet.size())
        return QString();
    return alphabet.mid(index, 1);
}

int Base64Index(QChar character, const QString& alphabet)
{
    return static_cast<int>(alphabet.indexOf(character));
}

QString encodeBytes(const QByteArray& bytes, const QString& alphabet)
{
    QString out;
    const qsizetype length = bytes.size();
    for (qsizetype i = 0; i < length; i += 3) {
        const int c1 = static_cast<unsigned char>(bytes[i]);
        const int c2 = i + 1 < length ? static_cast<unsigned char>(bytes[i + 1]) : 0;
        const int c3 = i + 2 < length ? static_cast<unsigned char>(bytes[i + 2]) : 0;
        out += Base64Char(c1 / 4, alphabet);
        out += Base64Char((c1 & 3) * 16 + c2 / 16, alphabet);
        out += Base64Char(i + 1 < length ? (c2 & 15) * 4 + c3 / 64 : -1, alphabet);
        out += Base64Char(i + 2 < length ? c3 & 63 : -1, alphabet);
    }
    return out;
}

QByteArray decodeBytes(const QString& encoded, const QString& alphabet)
{
    QByteArray out;
    const qsizetype length = encoded.size();
    auto at = [&](qsizetype i) { return i < length ? Base64Index(encoded.at(i), alphabet) : -1; };
    for (qsizetype i = 0; i < length; i += 4) {
        const int d1 = at(i), d2 = at(i + 1), d3 = at(i + 2), d4 = at(i + 3);
        // Floor division, so that a -1 in the sum keeps its two's-complement low bits.
        auto floorDiv = [](int a, int b) { return a >= 0 ? a / b : -((-a + b - 1) / b); };
        if (d2 >= 0)
            out += static_cast<char>((d1 * 4 + floorDiv(d2, 16)) & 255);
        if (d3 >= 0)
            out += static_cast<char>((d2 * 16 + floorDiv(d3, 4)) & 255);
        if (d4 >= 0)
            out += static_cast<char>((d3 * 64 + d4) & 255);
    }
    return out;
}

QString Base64Encode(const QString& text, const QString& alphabet)
{
    return encodeBytes(text.toUtf8(), alphabet);
}
QString Base64Decode(const QString& encoded, const QString& alphabet)
{
    return QString::fromUtf8(decodeBytes(encoded, alphabet));
}

} // namespace Base64
