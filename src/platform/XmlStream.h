#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QXmlStreamReader>

// Qt's XML reader reading a document piece by piece. Given a whole document at once, the reader decodes all of it
// into one string before it reads (four times the size of an ASCII document, at its peak); reading from a device,
// it holds one piece at a time, and still knows where the document ends (fed with addData() instead, it would
// stop at the end of the document element and never see what follows it). Namespaces are not resolved: names
// are read as written.
class XmlStream {
public:
    explicit XmlStream(const QByteArray& document);

    QXmlStreamReader::TokenType readNext() { return m_reader.readNext(); }
    bool atEnd() const { return m_reader.atEnd(); }
    const QXmlStreamReader& reader() const { return m_reader; }

    // The most the reader gets at a time (64 KiB); tests make it tiny to cut tokens and characters anywhere.
    static void setPieceBytes(qsizetype bytes);

private:
    // The document as a device that hands out at most one piece per read.
    class Pieces : public QIODevice {
    public:
        explicit Pieces(const QByteArray& document);
        bool isSequential() const override { return false; }
        qint64 size() const override { return m_document.size(); }

    protected:
        qint64 readData(char* to, qint64 most) override;
        qint64 writeData(const char*, qint64) override { return -1; }

    private:
        const QByteArray m_document;
    };

    Pieces m_pieces;
    QXmlStreamReader m_reader;
};
