#pragma once

#include <QDomDocument>
#include <QList>
#include <QString>
#include <optional>

// The XML answer of an account API command, read as the service writes it: element names compared
// exactly, STATUS/ERRMSG/ERRORID taken from the first element of that name anywhere in the document,
// sites from the ROW elements that are direct children of the document element.
class ServiceResponse {
public:
    ServiceResponse() = default;
    explicit ServiceResponse(QDomDocument document) : m_document(std::move(document)) {}

    // The text of the first element of this name anywhere in the document, in document order.
    std::optional<QString> firstText(const QString& name) const;

    std::optional<QString> status() const { return firstText(QStringLiteral("STATUS")); }
    bool succeeded() const { return status() == QStringLiteral("OK"); }
    std::optional<QString> errorMessage() const { return firstText(QStringLiteral("ERRMSG")); }
    // ERRORID as a signed 16-bit integer; nothing when missing or not such a number.
    std::optional<qint16> errorId() const;

    struct Row {
        std::optional<qint16> siteId; // nothing when SITEID is missing or not a 16-bit whole number
        std::optional<QString> name;  // nothing when PROFILENAME is missing
    };
    QList<Row> rows() const;

    // A whole number in the signed 16-bit range, blanks around it allowed.
    static std::optional<qint16> toInt16(const QString& text);

private:
    QDomDocument m_document;
};
