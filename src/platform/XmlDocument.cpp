#include "XmlDocument.h"

#include "XmlStream.h"

#include <QRegularExpression>
#include <QStringDecoder>

namespace {
qint64 g_maxBytes = 16 * 1024 * 1024;

enum class Markup { Plain, DocumentType, TooManyAttributes, Encoding };

// A look at the markup before any XML reader sees it. Qt's reader compares every attribute of an element
// with every other one, so one tag with a million attributes would take hours; this counts them without
// parsing: '=' outside quotes inside a tag. Comments, CDATA sections and processing instructions are skipped
// whole; any other "<!" opens a document type declaration, which no answer carries and which could define
// entities. Ill-formed input only has to come out of here in linear time: the reader refuses it afterwards.
template <typename Char> Markup scanMarkup(const Char* p, const Char* const end)
{
    const auto at = [&](const Char* from, const char* text) {
        for (; *text; ++text, ++from)
            if (from == end || *from != Char(*text))
                return false;
        return true;
    };
    const auto past = [&](const Char* from, const char* terminator) {
        const qsizetype length = qstrlen(terminator);
        for (; from < end; ++from)
            if (at(from, terminator))
                return from + length;
        return end;
    };
    while (p < end) {
        if (*p++ != Char('<'))
            continue;
        if (at(p, "!--")) {
            p = past(p + 3, "-->");
        } else if (at(p, "![CDATA[")) {
            p = past(p + 8, "]]>");
        } else if (at(p, "!")) {
            return Markup::DocumentType;
        } else if (at(p, "?")) {
            p = past(p + 1, "?>");
        } else {
            int attributes = 0;
            Char quote = 0;
            // '<' never stands inside a tag, not even in a quoted value: the reader stops there too.
            for (; p < end && *p != Char('<'); ++p) {
                if (quote) {
                    if (*p == quote)
                        quote = 0;
                } else if (*p == Char('"') || *p == Char('\'')) {
                    quote = *p;
                } else if (*p == Char('=')) {
                    if (++attributes > XmlDocument::MaxAttributes)
                        return Markup::TooManyAttributes;
                } else if (*p == Char('>')) {
                    ++p;
                    break;
                }
            }
        }
    }
    return Markup::Plain;
}

// What an XML declaration at the very start says the encoding is: nothing without a declaration or without an
// encoding in it, an empty name when the declaration cannot be read here (the answer is then refused).
std::optional<QString> declaredEncoding(QString start)
{
    if (start.startsWith(QChar(0xfeff)))
        start.remove(0, 1);
    static const QRegularExpression declaration(QStringLiteral("^<\\?xml[ \t\r\n]"));
    if (!declaration.match(start).hasMatch())
        return std::nullopt;
    const qsizetype end = start.indexOf(QLatin1String("?>"));
    if (end < 0)
        return QString();
    const QString text = start.left(end);
    if (!text.contains(QLatin1String("encoding")))
        return std::nullopt;
    static const QRegularExpression encoding(
        QStringLiteral("[ \t\r\n]encoding[ \t\r\n]*=[ \t\r\n]*([\"'])([A-Za-z][A-Za-z0-9._-]*)\\1"));
    const QRegularExpressionMatch match = encoding.match(text);
    return match.hasMatch() ? match.captured(2).toLower() : QString();
}

Markup scanMarkup(const QByteArray& body)
{
    // Qt's reader decodes whatever encoding an answer declares, EBCDIC and UTF-7 among them, in which markup
    // would not show as the bytes counted here. Answers come in UTF-8, and may come in one of the encodings
    // that keep ASCII as it is, or in UTF-16 or UTF-32, which are decoded before they are looked at.
    static const QStringList asciiKeeping{QStringLiteral("utf-8"),        QStringLiteral("utf8"),
                                          QStringLiteral("us-ascii"),     QStringLiteral("ascii"),
                                          QStringLiteral("iso-8859-1"),   QStringLiteral("iso_8859-1"),
                                          QStringLiteral("latin1"),       QStringLiteral("latin-1"),
                                          QStringLiteral("windows-1252"), QStringLiteral("cp1252")};
    const auto encoding = QStringConverter::encodingForData(body, u'<');
    if (encoding && *encoding != QStringConverter::Utf8) {
        QStringDecoder decoder(*encoding);
        QString text = decoder(body);
        if (text.startsWith(QChar(0xfeff)))
            text.remove(0, 1);
        const auto declared = declaredEncoding(text.left(1024));
        if (declared && !declared->startsWith(QLatin1String("utf-16")) &&
            !declared->startsWith(QLatin1String("utf-32")))
            return Markup::Encoding;
        const auto* units = reinterpret_cast<const char16_t*>(text.utf16());
        return scanMarkup(units, units + text.size());
    }
    const auto declared = declaredEncoding(QString::fromLatin1(body.left(1024)));
    if (declared && !asciiKeeping.contains(*declared))
        return Markup::Encoding;
    const auto* bytes = reinterpret_cast<const unsigned char*>(body.constData());
    return scanMarkup(bytes, bytes + body.size());
}
} // namespace

qint64 XmlDocument::maxAnswerBytes()
{
    return g_maxBytes;
}
void XmlDocument::setMaxAnswerBytes(qint64 bytes)
{
    g_maxBytes = bytes;
}

void XmlDocument::fail(Error error, const QString& detail)
{
    m_error = error;
    m_detail = detail;
    m_document.clear();
}

bool XmlDocument::parse(const QByteArray& body, const std::atomic_bool* stop)
{
    if (body.size() > g_maxBytes) {
        fail(Error::TooLarge, QStringLiteral("answer larger than %1 bytes").arg(g_maxBytes));
        return false;
    }
    switch (scanMarkup(body)) {
    case Markup::DocumentType:
        fail(Error::DocumentType, QStringLiteral("the answer holds a document type declaration"));
        return false;
    case Markup::TooManyAttributes:
        fail(Error::TooComplex, QStringLiteral("an element with more than %1 attributes").arg(MaxAttributes));
        return false;
    case Markup::Encoding:
        fail(Error::Encoding, QStringLiteral("an answer in an encoding that is not accepted"));
        return false;
    case Markup::Plain:
        break;
    }
    // One pass of the reader checks that the answer is well-formed and not nested absurdly deep (a tree
    // that deep would take minutes to build and tear down). Namespaces are not resolved: the answer is
    // read by its element names as written.
    XmlStream stream(body, stop);
    const QXmlStreamReader& reader = stream.reader();
    int depth = 0;
    while (!stream.atEnd()) {
        switch (stream.readNext()) {
        case QXmlStreamReader::DTD:
            fail(Error::DocumentType, QStringLiteral("the answer holds a document type declaration"));
            return false;
        case QXmlStreamReader::StartElement:
            if (++depth > MaxDepth) {
                fail(Error::TooComplex, QStringLiteral("elements nested deeper than %1 levels").arg(MaxDepth));
                return false;
            }
            break;
        case QXmlStreamReader::EndElement:
            --depth;
            break;
        default:
            break;
        }
    }
    if (reader.hasError()) {
        fail(Error::NotXml, QStringLiteral("not well-formed XML (line %1, column %2: %3)")
                                .arg(reader.lineNumber())
                                .arg(reader.columnNumber())
                                .arg(reader.errorString()));
        return false;
    }
    m_error = Error::None;
    m_detail.clear();
    m_document = body;
    return true;
}
