#pragma once

#include <QByteArray>
#include <QXmlStreamReader>

// Qt's XML reader fed a document piece by piece. Given a whole document at once, the reader decodes all of it into
// one string before it reads (four times the size of an ASCII document, at its peak); fed in pieces, it holds one
// piece at a time. Namespaces are not resolved: names are read as written.
class XmlStream {
public:
    explicit XmlStream(const QByteArray& document);

    // The next token, with more of the document fed to the reader whenever it runs out.
    QXmlStreamReader::TokenType readNext();
    bool atEnd() const { return m_reader.atEnd(); }
    const QXmlStreamReader& reader() const { return m_reader; }

    // The size of the pieces (64 KiB); tests make them tiny to cut tokens and characters everywhere.
    static void setPieceBytes(qsizetype bytes);

private:
    void feed();

    const QByteArray m_document;
    qsizetype m_fed = 0;
    QXmlStreamReader m_reader;
};
