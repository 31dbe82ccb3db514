#pragma once

#include <QByteArray>
#include <QString>

// Fetches an address with one HTTP GET and checks that the answer is an XML document fit to be read.
// load() is synchronous for its caller, but the thread keeps painting meanwhile: it waits in a local
// event loop that takes no user input, so the windows repaint without accepting clicks or keys.
// Anything but a complete, well-formed, reasonably sized 2xx answer from the server asked, in UTF-8 or another
// common encoding, without a document type declaration and without absurd nesting or attribute lists, is a
// failure: parseErrorCode() is then non-zero and document() is empty. Every check is linear in the size of the
// answer, and no more than maxAnswerBytes() of it is ever held, so a broken or hostile server can neither
// freeze the program nor fill its memory.
class XmlDocument {
public:
    enum class Error {
        None,
        Network,
        Timeout,
        HttpStatus,
        TooLarge,
        DocumentType,
        NotXml,
        TooComplex,
        Redirect,
        Encoding
    };

    // Deeper nesting, or more attributes on one element, than any answer of the service has.
    static constexpr int MaxDepth = 256;
    static constexpr int MaxAttributes = 32;

    bool load(const QString& address);

    int parseErrorCode() const { return static_cast<int>(m_error); }
    Error error() const { return m_error; }
    QString errorDetail() const { return m_detail; }
    // The answer as received, once it has passed every check; empty otherwise.
    const QByteArray& document() const { return m_document; }

    // Limits shared by every document; tests shorten the time-out.
    static int transferTimeoutMs();
    static void setTransferTimeoutMs(int ms);
    static qint64 maxAnswerBytes();
    static void setMaxAnswerBytes(qint64 bytes);

    // Checks a body as an answer is checked; exposed for tests of the parser rules.
    bool parse(const QByteArray& body);

private:
    void fail(Error error, const QString& detail);

    Error m_error = Error::None;
    QString m_detail;
    QByteArray m_document;
};
