#include "log/TLogViewMessage.h"

#include <QJsonDocument>
#include <QJsonObject>

namespace {

struct TKindName
{
    TLogViewMessage::TKind kind;
    QLatin1StringView name;
};

constexpr TKindName KindNames[] = {
    {TLogViewMessage::TKind::send, QLatin1StringView("send")},
    {TLogViewMessage::TKind::enter, QLatin1StringView("enter")},
    {TLogViewMessage::TKind::exit, QLatin1StringView("exit")},
};

QString EscapeControls(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (QChar c : text) {
        const char16_t u = c.unicode();
        if (u == u'\\')
            out += QStringLiteral("\\\\");
        else if (u == u'\n')
            out += QStringLiteral("\\n");
        else if (u == u'\r')
            out += QStringLiteral("\\r");
        else if (u == u'\t')
            out += QStringLiteral("\\t");
        else if (u < 0x20 || (u >= 0x7f && u < 0xa0))
            out += QStringLiteral("\\x%1").arg(int(u), 2, 16, QChar(u'0'));
        else
            out += c;
    }
    return out;
}

} // namespace

QByteArray TLogViewMessage::ToDatagram() const
{
    QJsonObject o;
    o.insert(QStringLiteral("pid"), pid);
    for (const TKindName &k : KindNames) {
        if (k.kind == kind)
            o.insert(QStringLiteral("kind"), k.name);
    }
    o.insert(QStringLiteral("text"), text);
    if (hasObject) {
        o.insert(QStringLiteral("class"), objectClass);
        o.insert(QStringLiteral("name"), objectName);
    }
    return QJsonDocument(o).toJson(QJsonDocument::Compact);
}

std::optional<TLogViewMessage> TLogViewMessage::FromDatagram(const QByteArray &datagram)
{
    const QJsonDocument doc = QJsonDocument::fromJson(datagram);
    if (!doc.isObject())
        return std::nullopt;
    const QJsonObject o = doc.object();
    const QJsonValue pid = o.value(QStringLiteral("pid"));
    const QJsonValue kind = o.value(QStringLiteral("kind"));
    const QJsonValue text = o.value(QStringLiteral("text"));
    if (!pid.isDouble() || !kind.isString() || !text.isString())
        return std::nullopt;

    TLogViewMessage m;
    m.pid = pid.toInteger();
    const TKindName *found = nullptr;
    for (const TKindName &k : KindNames) {
        if (kind.toString() == k.name)
            found = &k;
    }
    if (!found)
        return std::nullopt;
    m.kind = found->kind;
    m.text = text.toString();
    m.hasObject = o.contains(QStringLiteral("class"));
    m.objectClass = o.value(QStringLiteral("class")).toString();
    m.objectName = o.value(QStringLiteral("name")).toString();
    return m;
}

QString TLogViewMessage::DisplayLine() const
{
    QString line = QStringLiteral("[pid %1] ").arg(pid);
    switch (kind) {
    case TKind::send: break;
    case TKind::enter: line += QStringLiteral("-> "); break;
    case TKind::exit: line += QStringLiteral("<- "); break;
    }
    line += EscapeControls(text);
    if (hasObject) {
        line += objectClass.isEmpty()
            ? QStringLiteral("  (no object)")
            : QStringLiteral("  (%1 \"%2\")").arg(EscapeControls(objectClass),
                                                  EscapeControls(objectName));
    }
    return line;
}
