#include "ServiceResponse.h"

namespace {
std::optional<QString> firstTextIn(const QDomNodeList& found)
{
    if (found.isEmpty())
        return std::nullopt;
    return found.item(0).toElement().text();
}
} // namespace

std::optional<QString> ServiceResponse::firstText(const QString& name) const
{
    return firstTextIn(m_document.elementsByTagName(name));
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
    const auto text = firstText(QStringLiteral("ERRORID"));
    return text ? toInt16(*text) : std::nullopt;
}

QList<ServiceResponse::Row> ServiceResponse::rows() const
{
    QList<Row> rows;
    for (QDomNode node = m_document.documentElement().firstChild(); !node.isNull(); node = node.nextSibling()) {
        if (!node.isElement() || node.nodeName() != QLatin1String("ROW"))
            continue;
        const QDomElement row = node.toElement();
        const auto id = firstTextIn(row.elementsByTagName(QStringLiteral("SITEID")));
        rows.append(
            {id ? toInt16(*id) : std::nullopt, firstTextIn(row.elementsByTagName(QStringLiteral("PROFILENAME")))});
    }
    return rows;
}
