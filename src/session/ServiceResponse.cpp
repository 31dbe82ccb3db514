#include "ServiceResponse.h"

#include "platform/XmlStream.h"

namespace {
// An element whose text is being collected, and the depth at which it closes.
struct Collecting {
    std::optional<QString>* text;
    int depth;
};

void startCollecting(QList<Collecting>& open, std::optional<QString>& text, int depth)
{
    if (text)
        return; // only the first element of a name counts
    text = QString();
    open.append({&text, depth});
}
} // namespace

ServiceResponse::ServiceResponse(const QByteArray& document, const std::atomic_bool* stop)
{
    XmlStream stream(document, stop);
    const QXmlStreamReader& reader = stream.reader();
    QList<Collecting> open;
    int depth = 0;
    bool inRow = false;
    std::optional<QString> siteIdText;
    Row row;
    while (!stream.atEnd()) {
        switch (stream.readNext()) {
        case QXmlStreamReader::StartElement: {
            ++depth;
            const QStringView name = reader.qualifiedName();
            if (name == QLatin1String("STATUS"))
                startCollecting(open, m_status, depth);
            else if (name == QLatin1String("ERRMSG"))
                startCollecting(open, m_errorMessage, depth);
            else if (name == QLatin1String("ERRORID"))
                startCollecting(open, m_errorIdText, depth);
            if (depth == 2 && name == QLatin1String("ROW")) {
                inRow = true;
                row = Row();
                siteIdText.reset();
            } else if (inRow && name == QLatin1String("SITEID")) {
                startCollecting(open, siteIdText, depth);
            } else if (inRow && name == QLatin1String("PROFILENAME")) {
                startCollecting(open, row.name, depth);
            }
            break;
        }
        case QXmlStreamReader::EndElement:
            while (!open.isEmpty() && open.constLast().depth == depth)
                open.removeLast();
            if (inRow && depth == 2) {
                row.siteId = siteIdText ? toInt16(*siteIdText) : std::nullopt;
                m_rows.append(row);
                inRow = false;
            }
            --depth;
            break;
        case QXmlStreamReader::Characters:
            // A document tree drops text that is nothing but blanks, unless it is a CDATA section.
            if (!open.isEmpty() && (reader.isCDATA() || !reader.text().trimmed().isEmpty()))
                for (const Collecting& c : std::as_const(open))
                    **c.text += reader.text();
            break;
        default:
            break;
        }
    }
    if (reader.hasError())
        *this = ServiceResponse();
}

std::optional<qint16> ServiceResponse::toInt16(const QString& text)
{
    bool ok = false;
    const short value = text.trimmed().toShort(&ok, 10);
    if (!ok)
        return std::nullopt;
    return value;
}

std::optional<qint16> ServiceResponse::errorId() const
{
    return m_errorIdText ? toInt16(*m_errorIdText) : std::nullopt;
}
