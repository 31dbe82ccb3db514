#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QXmlStreamReader>
#include <atomic>

// Qt's XML reader reading a document piece by piece. Given a whole document at once, the reader decodes all of it
// into one string before it reads (four times the size of an ASCII document, at its peak); reading from a device,
// it holds one piece at a time, and still knows where the document ends (fed with addData() instead, it would
// stop at the end of the document element and never see what follows it). Namespaces are not resolved: names
// are read as written. Once stop (when given) is set, the document ends there for the reader, which then reports
// it as cut short: a reading nobody waits for any more ends within a piece.
class XmlStream {
public:
    explicit XmlStream(const QByteArray& document, const std::atomic_bool* stop = nullptr);

    QXmlStreamReader::TokenType readNext() { return m_reader.readNext(); }
    bool atEnd() const { return m_reader.atEnd(); }
    const QXmlStreamReader& reader() const { return m_reader; }

    // The most the reader gets at a time (64 KiB); tests make it tiny to cut tokens and characters anywhere.
    static void setPieceBytes(qsizetype bytes);

private:
    // The document as a device that hands out at most one piece per read.
    class Pieces : public QIODevice {
    public:
        Pieces(const QByteArray& document, const std::atomic_bool* stop);
        bool isSequential() const override { return false; }
        qint64 size() const override { return m_document.size(); }

    protected:
        qint64 readData(char* to, qint64 most) override;
        qint64 writeData(const char*, qint64) override { return -1; }

    private:
        const QByteArray m_document;
        const std::atomic_bool* const m_stop;
    };

    Pieces m_pieces;
    QXmlStreamReader m_reader;
};
