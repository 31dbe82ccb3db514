#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <atomic>
#include <optional>

// The XML answer of an account API command, read as the service writes it: element names compared
// exactly, STATUS/ERRMSG/ERRORID taken from the first element of that name anywhere in the document,
// sites from the ROW elements that are direct children of the document element. The text of an element is
// all the text inside it, nested elements included, as a document tree gives it (runs of blanks between
// elements do not count). The answer is read in one pass and only those texts are kept, so a large answer
// costs little more memory than its own bytes.
class ServiceResponse {
public:
    ServiceResponse() = default;
    // Reads a document that has passed XmlDocument's checks; one that is not well-formed reads as empty, and so
    // does one whose reading was stopped (stop set).
    explicit ServiceResponse(const QByteArray& document, const std::atomic_bool* stop = nullptr);

    std::optional<QString> status() const { return m_status; }
    bool succeeded() const { return m_status == QStringLiteral("OK"); }
    std::optional<QString> errorMessage() const { return m_errorMessage; }
    // ERRORID as a signed 16-bit integer; nothing when missing or not such a number.
    std::optional<qint16> errorId() const;

    struct Row {
        std::optional<qint16> siteId; // nothing when SITEID is missing or not a 16-bit whole number
        std::optional<QString> name;  // nothing when PROFILENAME is missing
    };
    const QList<Row>& rows() const { return m_rows; }

    // A whole number in the signed 16-bit range, blanks around it allowed.
    static std::optional<qint16> toInt16(const QString& text);

private:
    std::optional<QString> m_status;
    std::optional<QString> m_errorMessage;
    std::optional<QString> m_errorIdText;
    QList<Row> m_rows;
};
