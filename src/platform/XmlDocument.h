#pragma once

#include <QByteArray>
#include <QDomDocument>
#include <QString>

// Fetches an address with one HTTP GET and parses the answer as XML.
// load() is synchronous for its caller, but the thread keeps painting meanwhile: it waits in a local
// event loop that takes no user input, so the windows repaint without accepting clicks or keys.
// Anything that is not a complete, well-formed, reasonably sized 2xx answer without a document type
// declaration is a failure: parseErrorCode() is then non-zero and document() is empty.
class XmlDocument {
public:
    enum class Error { None, Network, Timeout, HttpStatus, TooLarge, DocumentType, NotXml };

    bool load(const QString& address);

    int parseErrorCode() const { return static_cast<int>(m_error); }
    Error error() const { return m_error; }
    QString errorDetail() const { return m_detail; }
    const QDomDocument& document() const { return m_document; }

    // Limits shared by every document; tests shorten the time-out.
    static int transferTimeoutMs();
    static void setTransferTimeoutMs(int ms);
    static qint64 maxAnswerBytes();
    static void setMaxAnswerBytes(qint64 bytes);

    // Parses a body as an answer would be parsed; exposed for tests of the parser rules.
    bool parse(const QByteArray& body);

private:
    void fail(Error error, const QString& detail);

    Error m_error = Error::None;
    QString m_detail;
    QDomDocument m_document;
};
