#pragma once

#include <QByteArray>
#include <QString>

// Base64 over the alphabet in Session::Base64Alphabet, read at every call. The encoder writes no pad;
// the decoder works by position and skips nothing: every character outside the alphabet counts as -1
// in its place of the group of four. Texts travel as their UTF-8 bytes.
namespace Base64 {
QString Base64Char(int index);
int Base64Index(QChar character);

QString encodeBytes(const QByteArray& bytes);
QByteArray decodeBytes(const QString& encoded);

QString Base64Encode(const QString& text);
QString Base64Decode(const QString& encoded);
} // namespace Base64
