#include "XmlStream.h"

#include <algorithm>
#include <cstring>

namespace {
qsizetype g_pieceBytes = 64 * 1024;
}

void XmlStream::setPieceBytes(qsizetype bytes)
{
    g_pieceBytes = qMax<qsizetype>(1, bytes);
}

XmlStream::Pieces::Pieces(const QByteArray& document, const std::atomic_bool* stop) : m_document(document), m_stop(stop)
{
    open(QIODevice::ReadOnly | QIODevice::Unbuffered);
}

qint64 XmlStream::Pieces::readData(char* to, qint64 most)
{
    if (m_stop && *m_stop)
        return -1;
    const qint64 count = std::min({most, qint64(g_pieceBytes), m_document.size() - pos()});
    if (count <= 0)
        return 0;
    std::memcpy(to, m_document.constData() + pos(), size_t(count));
    return count;
}

XmlStream::XmlStream(const QByteArray& document, const std::atomic_bool* stop)
    : m_pieces(document, stop), m_reader(&m_pieces)
{
    m_reader.setNamespaceProcessing(false);
}
