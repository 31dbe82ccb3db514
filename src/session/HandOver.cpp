#include "HandOver.h"

#include "Protocol.h"

#include <QJsonDocument>
#include <QJsonObject>

namespace HandOver {

namespace {
constexpr std::pair<Kind, const char*> kNames[] = {
    {Kind::Open, "open"},   {Kind::Show, "show"},     {Kind::Quit, "quit"}, {Kind::Ready, "ready"},
    {Kind::Shown, "shown"}, {Kind::Period, "period"}, {Kind::Exit, "exit"}, {Kind::MainClosed, "main-closed"},
};

QString dateText(const QDate& date)
{
    return date.isValid() ? Protocol::DateText(date) : QString();
}
QDate readDate(const QJsonValue& value)
{
    return Protocol::ParseDateText(value.toString()).value_or(QDate());
}
} // namespace

QByteArray encode(const Message& message)
{
    QJsonObject object;
    for (const auto& [kind, name] : kNames)
        if (kind == message.kind)
            object.insert(QStringLiteral("do"), QLatin1String(name));
    const SessionInfo& s = message.session;
    if (message.kind == Kind::Open) {
        object.insert(QStringLiteral("startUrl"), s.startUrl);
        object.insert(QStringLiteral("email"), s.email);
        object.insert(QStringLiteral("password"), s.password);
        object.insert(QStringLiteral("rememberedLogin"), s.rememberedLogin);
        object.insert(QStringLiteral("rememberedPassword"), s.rememberedPassword);
        object.insert(QStringLiteral("loadSites"), message.loadSites);
    }
    if (message.kind == Kind::Open || message.kind == Kind::Show) {
        if (!message.activation.wayland.isEmpty())
            object.insert(QStringLiteral("xdgActivationToken"), message.activation.wayland);
        if (!message.activation.startupId.isEmpty())
            object.insert(QStringLiteral("startupId"), message.activation.startupId);
    }
    if (message.kind == Kind::Open || message.kind == Kind::Period) {
        object.insert(QStringLiteral("from"), dateText(s.from));
        object.insert(QStringLiteral("to"), dateText(s.to));
    }
    return QJsonDocument(object).toJson(QJsonDocument::Compact) + '\n';
}

std::optional<Message> decode(const QByteArray& line)
{
    const QJsonDocument document = QJsonDocument::fromJson(line);
    if (!document.isObject())
        return std::nullopt;
    const QJsonObject object = document.object();
    const QString name = object.value(QStringLiteral("do")).toString();
    Message message;
    bool known = false;
    for (const auto& [kind, kindName] : kNames)
        if (name == QLatin1String(kindName)) {
            message.kind = kind;
            known = true;
        }
    if (!known)
        return std::nullopt;
    SessionInfo& s = message.session;
    s.startUrl = object.value(QStringLiteral("startUrl")).toString();
    s.email = object.value(QStringLiteral("email")).toString();
    s.password = object.value(QStringLiteral("password")).toString();
    s.rememberedLogin = object.value(QStringLiteral("rememberedLogin")).toString();
    s.rememberedPassword = object.value(QStringLiteral("rememberedPassword")).toString();
    s.from = readDate(object.value(QStringLiteral("from")));
    s.to = readDate(object.value(QStringLiteral("to")));
    message.loadSites = object.value(QStringLiteral("loadSites")).toBool();
    message.activation.wayland = object.value(QStringLiteral("xdgActivationToken")).toString();
    message.activation.startupId = object.value(QStringLiteral("startupId")).toString();
    return message;
}

QList<Message> LineReader::feed(const QByteArray& chunk)
{
    QList<Message> messages;
    qsizetype start = 0;
    while (start < chunk.size()) {
        const qsizetype end = chunk.indexOf('\n', start);
        const QByteArray piece = chunk.mid(start, end < 0 ? -1 : end - start);
        start = end < 0 ? chunk.size() : end + 1;
        if (!m_skipping)
            m_pending += piece;
        if (m_pending.size() > MaxLineBytes) {
            m_pending.clear();
            m_skipping = true;
        }
        if (end < 0)
            break;
        if (!m_skipping)
            if (auto message = decode(m_pending))
                messages.append(*message);
        m_pending.clear();
        m_skipping = false;
    }
    return messages;
}

} // namespace HandOver
