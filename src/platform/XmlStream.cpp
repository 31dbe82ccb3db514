#include "XmlStream.h"

namespace {
qsizetype g_pieceBytes = 64 * 1024;
}

void XmlStream::setPieceBytes(qsizetype bytes)
{
    g_pieceBytes = qMax<qsizetype>(1, bytes);
}

XmlStream::XmlStream(const QByteArray& document) : m_document(document)
{
    m_reader.setNamespaceProcessing(false);
    feed();
}

void XmlStream::feed()
{
    m_reader.addData(m_document.mid(m_fed, g_pieceBytes));
    m_fed += g_pieceBytes;
}

QXmlStreamReader::TokenType XmlStream::readNext()
{
    for (;;) {
        const auto token = m_reader.readNext();
        if (token != QXmlStreamReader::Invalid || m_reader.error() != QXmlStreamReader::PrematureEndOfDocumentError ||
            m_fed >= m_document.size())
            return token;
        feed(); // the reader stopped where its data ended, not where the document does
    }
}
