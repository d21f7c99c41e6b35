#include "server/host/TRestFace.h"

#include "server/host/TAddressKey.h"
#include "server/host/TAsciiJson.h"
#include "server/host/THttpConnectionGuard.h"
#include "server/host/TRestPath.h"

#include <QHttpServer>
#include <QHttpServerRequest>
#include <QHttpServerResponder>
#include <QMetaEnum>
#include <QRegularExpression>
#include <QUrl>

namespace {

const QByteArray JsonType = QByteArrayLiteral("application/json");
const QByteArray TextType = QByteArrayLiteral("text/plain");

TRestReply ErrorReply(const QString &message, int status = 500)
{
    TJSONValue body = TJSONValue::object();
    body["error"] = message.toStdString();
    return {status, JsonType, AsciiJson(body)};
}

TRestReply ResultReply(TJSONValue body)
{
    return {200, JsonType, AsciiJson(body)};
}

bool SameName(const QByteArray &segment, const QString &name)
{
    const std::optional<QString> decoded = DecodeSegment(segment);
    return decoded && decoded->compare(name, Qt::CaseInsensitive) == 0;
}

// A decimal 32-bit integer: optional minus sign, then digits only.
std::optional<int> ParseInt32(const QString &text)
{
    static const QRegularExpression pattern(QStringLiteral("^-?[0-9]{1,10}$"));
    if (!pattern.match(text).hasMatch())
        return std::nullopt;
    bool ok = false;
    const int value = text.toInt(&ok, 10);
    return ok ? std::optional<int>(value) : std::nullopt;
}

QString Abbreviated(const QString &text)
{
    constexpr qsizetype limit = 40;
    return text.size() <= limit ? text : text.left(limit) + QStringLiteral("...");
}

} // namespace

TRestFace::TRestFace(std::vector<TServerMethod> methods, TEventLog log, QObject *parent)
    : QObject(parent), FMethods(std::move(methods)), FLog(std::move(log))
{
}

TRestFace::~TRestFace() = default;

const TServerMethod *TRestFace::FindMethod(const QString &name) const
{
    for (const TServerMethod &method : FMethods) {
        if (method.Name.compare(name, Qt::CaseInsensitive) == 0)
            return &method;
    }
    return nullptr;
}

TRestReply TRestFace::Handle(const QByteArray &verb, const QByteArray &rawPath, const QByteArray &accept,
                             const TCallContext &caller)
{
    if (rawPath.size() > MaxPathLength)
        return ErrorReply(QStringLiteral("Request too long"), 414);
    const QList<QByteArray> segments = SplitRawPath(rawPath);
    if (segments.size() < 2 || !SameName(segments.at(0), QStringLiteral("datasnap")))
        return {404, TextType, QByteArrayLiteral("Not Found")};
    if (verb != "GET")
        return {501, TextType, QByteArrayLiteral("Not Implemented")};
    if (SameName(segments.at(1), QStringLiteral("rest")))
        return HandleMethod(segments.mid(2), accept.contains("application/rest"), caller);
    if (SameName(segments.at(1), QStringLiteral("cache")))
        return HandleCache(segments.mid(2));
    return {404, TextType, QByteArrayLiteral("Not Found")};
}

TRestReply TRestFace::HandleMethod(const QList<QByteArray> &segments, bool cached, const TCallContext &caller)
{
    if (segments.size() < 2)
        return ErrorReply(QStringLiteral("A class and a method name are required"));
    if (!SameName(segments.at(0), QLatin1String(ClassName)))
        return ErrorReply(QStringLiteral("Unknown class %1")
                              .arg(Abbreviated(DecodeSegment(segments.at(0)).value_or(QString()))));
    const QString methodName = DecodeSegment(segments.at(1)).value_or(QString());
    const TServerMethod *method = FindMethod(methodName);
    if (!method)
        return ErrorReply(QStringLiteral("Unknown method %1").arg(Abbreviated(methodName)));

    const QList<QByteArray> params = segments.mid(2);
    if (params.size() > static_cast<qsizetype>(method->Params.size()))
        return ErrorReply(QStringLiteral("%1 takes %2 parameters, not %3")
                              .arg(method->Name).arg(method->Params.size()).arg(params.size()));
    std::vector<std::variant<QString, int>> values;
    for (std::size_t i = 0; i < method->Params.size(); ++i) {
        const TParamSpec &spec = method->Params[i];
        const qsizetype index = static_cast<qsizetype>(i);
        const std::optional<QString> text = index < params.size() ? DecodeSegment(params.at(index)) : QString();
        if (!text)
            return ErrorReply(QStringLiteral("Malformed percent-encoding in parameter %1").arg(spec.Name));
        if (spec.Kind == TParamKind::Text) {
            values.emplace_back(*text);
            continue;
        }
        const std::optional<int> number = ParseInt32(*text);
        if (!number)
            return ErrorReply(QStringLiteral("Parameter %1 must be a 32-bit integer, not \"%2\"")
                                  .arg(spec.Name, Abbreviated(*text)));
        values.emplace_back(*number);
    }

    std::optional<TJSONValue> result;
    try {
        result = method->Handler(TMethodArgs(std::move(values)), caller);
    } catch (const std::exception &e) {
        return ErrorReply(QString::fromUtf8(e.what()));
    }

    TJSONValue body = TJSONValue::object();
    body["result"] = TJSONValue::array();
    if (!result)
        return ResultReply(std::move(body));
    if (!cached) {
        body["result"].push_back(std::move(*result));
        return ResultReply(std::move(body));
    }
    const int cacheId = FCache.Keep(std::move(*result));
    body["result"].push_back(TResultCache::CachePath(cacheId).toStdString());
    body["cacheId"] = cacheId;
    body["cmdIndex"] = 0;
    return ResultReply(std::move(body));
}

TRestReply TRestFace::HandleCache(const QList<QByteArray> &segments)
{
    QStringList parts;
    for (const QByteArray &segment : segments)
        parts.append(DecodeSegment(segment).value_or(QString()));
    const QString path = parts.join(QLatin1Char('/'));
    std::optional<TJSONValue> value = FCache.Find(path);
    if (!value)
        return ErrorReply(QStringLiteral("No cached value at %1").arg(Abbreviated(path)));
    TJSONValue body = TJSONValue::object();
    body["result"] = std::move(*value);
    return ResultReply(std::move(body));
}

quint16 TRestFace::Listen(const QHostAddress &address, quint16 port, std::chrono::milliseconds idleTimeout)
{
    auto server = std::make_unique<QHttpServer>();
    server->setMissingHandler([this](const QHttpServerRequest &request, QHttpServerResponder &&responder) {
        const QByteArray verb = QByteArray(QMetaEnum::fromType<QHttpServerRequest::Method>()
                                               .valueToKey(static_cast<int>(request.method())))
                                    .toUpper();
        const QByteArray rawPath = request.url().path(QUrl::FullyEncoded).toLatin1();
        const QString key = AddressKey(request.remoteAddress());
        const TRestReply reply = Handle(verb, rawPath, request.value(QByteArrayLiteral("Accept")), {key});
        if (FLog)
            FLog(QStringLiteral("REST %1 %2 %3 -> %4").arg(key, QString::fromLatin1(verb),
                                                           Abbreviated(QString::fromLatin1(rawPath)))
                     .arg(reply.Status));
        responder.write(reply.Body, reply.ContentType,
                        static_cast<QHttpServerResponder::StatusCode>(reply.Status));
    });
    auto *tcp = new TGuardedTcpServer(idleTimeout, server.get());
    if (!tcp->listen(address, port)) {
        delete tcp;
        return 0;
    }
    server->bind(tcp);
    FServer = std::move(server);
    return tcp->serverPort();
}
