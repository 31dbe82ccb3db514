// An answer as the windows read it: checked, then read by the answer model. Every answer the checks let through
// must read as a document tree reads it (the way the service's answers are specified), and every answer they
// refuse as not well-formed must be one a document tree refuses too.
#include "FuzzCheck.h"
#include "platform/XmlDocument.h"
#include "platform/XmlStream.h"
#include "session/ServiceResponse.h"

#include <QDomDocument>
#include <QXmlStreamReader>

namespace {
std::optional<QString> firstText(const QDomNodeList& found)
{
    if (found.isEmpty())
        return std::nullopt;
    return found.item(0).toElement().text();
}

struct TreeReading {
    std::optional<QString> status, message, idText;
    QList<std::pair<std::optional<QString>, std::optional<QString>>> rows;
};

TreeReading readTree(const QDomDocument& document)
{
    TreeReading r{firstText(document.elementsByTagName(QStringLiteral("STATUS"))),
                  firstText(document.elementsByTagName(QStringLiteral("ERRMSG"))),
                  firstText(document.elementsByTagName(QStringLiteral("ERRORID"))),
                  {}};
    for (QDomNode node = document.documentElement().firstChild(); !node.isNull(); node = node.nextSibling()) {
        if (!node.isElement() || node.nodeName() != QLatin1String("ROW"))
            continue;
        const QDomElement row = node.toElement();
        r.rows.append({firstText(row.elementsByTagName(QStringLiteral("SITEID"))),
                       firstText(row.elementsByTagName(QStringLiteral("PROFILENAME")))});
    }
    return r;
}

std::optional<qint16> idOf(const std::optional<QString>& text)
{
    return text ? ServiceResponse::toInt16(*text) : std::nullopt;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray body = fuzzBytes(data, size);
    // Read whole, or in pieces of 1 to 8 bytes that cut tokens and characters anywhere.
    XmlStream::setPieceBytes(size > 0 && data[size - 1] < 0x40 ? data[size - 1] % 8 + 1 : 64 * 1024);
    XmlDocument document;
    const bool accepted = document.parse(body);
    FUZZ_CHECK(accepted == (document.parseErrorCode() == 0));
    FUZZ_CHECK(accepted ? document.document() == body : document.document().isEmpty());

    const ServiceResponse answer(document.document());
    FUZZ_CHECK(answer.succeeded() == (answer.status() == QStringLiteral("OK")));
    if (!accepted) {
        FUZZ_CHECK(!answer.status() && !answer.errorMessage() && !answer.errorId() && answer.rows().isEmpty());
        // Refused for its shape (document type, depth, attributes) it may be well-formed; as not well-formed, a
        // tree must refuse it too. The reader stopped at the same place, so the tree is no deeper than the limit.
        if (document.error() == XmlDocument::Error::NotXml)
            FUZZ_CHECK(!QDomDocument().setContent(body));
        return 0;
    }

    // What the checks let through is within the limits they stand for, however the answer is encoded.
    QXmlStreamReader reader(body);
    reader.setNamespaceProcessing(false);
    for (int depth = 0; !reader.atEnd();) {
        if (reader.readNext() == QXmlStreamReader::StartElement) {
            FUZZ_CHECK(++depth <= XmlDocument::MaxDepth);
            FUZZ_CHECK(reader.attributes().size() + reader.namespaceDeclarations().size() <=
                       XmlDocument::MaxAttributes);
        } else if (reader.tokenType() == QXmlStreamReader::EndElement) {
            --depth;
        }
        FUZZ_CHECK(reader.tokenType() != QXmlStreamReader::DTD);
    }
    FUZZ_CHECK(!reader.hasError());

    QDomDocument tree;
    FUZZ_CHECK(tree.setContent(body));
    const TreeReading expected = readTree(tree);
    FUZZ_CHECK(answer.status() == expected.status);
    FUZZ_CHECK(answer.errorMessage() == expected.message);
    FUZZ_CHECK(answer.errorId() == idOf(expected.idText));
    FUZZ_CHECK(answer.rows().size() == expected.rows.size());
    for (qsizetype i = 0; i < answer.rows().size(); ++i) {
        FUZZ_CHECK(answer.rows().at(i).siteId == idOf(expected.rows.at(i).first));
        FUZZ_CHECK(answer.rows().at(i).name == expected.rows.at(i).second);
    }
    return 0;
}
