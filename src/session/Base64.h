#pragma once

#include <QByteArray>
#include <QString>

// Base64 over a given alphabet. The encoder writes no pad; the decoder works by position and skips nothing:
// every character outside the alphabet counts as -1 in its place of the group of four. With an empty alphabet
// every index maps to nothing and every character to -1. Texts travel as their UTF-8 bytes.
namespace Base64 {
inline const QString StandardAlphabet = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/");

QString Base64Char(int index, const QString& alphabet);
int Base64Index(QChar character, const QString& alphabet);

QString encodeBytes(const QByteArray& bytes, const QString& alphabet);
QByteArray decodeBytes(const QString& encoded, const QString& alphabet);

QString Base64Encode(const QString& text, const QString& alphabet);
QString Base64Decode(const QString& encoded, const QString& alphabet);
} // namespace Base64
