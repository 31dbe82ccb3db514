// An answer as the windows read it: checked, then read by the answer model. What the checks let through must read
// as a document tree reads it, and what they refuse as not well-formed a document tree must refuse too.
#include "FuzzCheck.h"
#include "platform/XmlDocument.h"
#include "platform/XmlStream.h"
#include "session/ServiceResponse.h"

#include <QDomDocument>
#include <QXmlStreamReader>

template <class Node> static std::optional<QString> firstText(const Node& in, const QString& name)
{
    const QDomNodeList found = in.elementsByTagName(name);
    return found.isEmpty() ? std::nullopt : std::optional(found.item(0).toElement().text());
}

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
        // Refused for its shape (document type, depth, attributes) it may be well-formed, not otherwise.
        FUZZ_CHECK(document.error() != XmlDocument::Error::NotXml || !QDomDocument().setContent(body));
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
    const QDomElement root = tree.documentElement();
    FUZZ_CHECK(answer.status() == firstText(tree, "STATUS") && answer.errorMessage() == firstText(tree, "ERRMSG"));
    const auto idOf = [](const auto& text) { return text ? ServiceResponse::toInt16(*text) : std::nullopt; };
    FUZZ_CHECK(answer.errorId() == idOf(firstText(tree, "ERRORID")));
    qsizetype i = 0;
    for (QDomElement row = root.firstChildElement("ROW"); !row.isNull(); row = row.nextSiblingElement("ROW"), ++i) {
        FUZZ_CHECK(i < answer.rows().size());
        FUZZ_CHECK(answer.rows().at(i).siteId == idOf(firstText(row, "SITEID")));
        FUZZ_CHECK(answer.rows().at(i).name == firstText(row, "PROFILENAME"));
    }
    FUZZ_CHECK(i == answer.rows().size());
    return 0;
}
