#pragma once

#include <QByteArray>
#include <QString>
#include <atomic>

// Checks that an answer is an XML document fit to be read. Anything but a complete, well-formed, reasonably sized
// document in UTF-8 or another common encoding, without a document type declaration and without absurd nesting or
// attribute lists, is refused: parseErrorCode() is then non-zero and document() is empty. Every check is linear in
// the size of the answer, so a broken or hostile server cannot freeze the thread that reads it.
class XmlDocument {
public:
    enum class Error { None, TooLarge, DocumentType, NotXml, TooComplex, Encoding };

    // Deeper nesting, or more attributes on one element, than any answer of the service has.
    static constexpr int MaxDepth = 256;
    static constexpr int MaxAttributes = 32;

    int parseErrorCode() const { return static_cast<int>(m_error); }
    Error error() const { return m_error; }
    QString errorDetail() const { return m_detail; }
    // The answer as received, once it has passed every check; empty otherwise.
    const QByteArray& document() const { return m_document; }

    // The most an answer may hold, shared by every document.
    static qint64 maxAnswerBytes();
    static void setMaxAnswerBytes(qint64 bytes);

    // Checks the body; once stop (when given) is set, it gives up within a piece of the body, refusing it.
    bool parse(const QByteArray& body, const std::atomic_bool* stop = nullptr);

private:
    void fail(Error error, const QString& detail);

    Error m_error = Error::None;
    QString m_detail;
    QByteArray m_document;
};
