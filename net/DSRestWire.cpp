#include "DSRestWire.h"

#include "net/ERestError.h"

#include <QStringList>
#include <cstring>

namespace dsrest {
namespace {

bool IsLiteral(unsigned char AByte)
{
    if ((AByte >= 'A' && AByte <= 'Z') || (AByte >= 'a' && AByte <= 'z') || (AByte >= '0' && AByte <= '9'))
        return true;
    return AByte != 0 && std::strchr("-_+&=,;@$!*'()~[]", AByte) != nullptr;
}

template <typename Keep>
std::string Encode(std::string_view AUtf8, Keep AKeep)
{
    static constexpr char Hex[] = "0123456789ABCDEF";
    std::string result;
    result.reserve(AUtf8.size());
    for (const char c : AUtf8) {
        const auto byte = static_cast<unsigned char>(c);
        if (AKeep(byte)) {
            result += c;
        } else {
            result += '%';
            result += Hex[byte >> 4];
            result += Hex[byte & 0x0F];
        }
    }
    return result;
}

// A text shortened to a readable length, control characters as blanks, for
// error messages built from a body that is not an error reply.
std::string Excerpt(std::string_view ABody)
{
    std::string text(ABody.substr(0, 200));
    for (char &c : text)
        if (static_cast<unsigned char>(c) < 0x20)
            c = ' ';
    return text;
}

} // namespace

std::string EncodeSegment(const QString &AText)
{
    return Encode(AText.toStdString(), IsLiteral);
}

std::string MethodPath(const QString &ACommandText)
{
    const qsizetype dot = ACommandText.indexOf(QLatin1Char('.'));
    std::string path = "/datasnap/rest/";
    if (dot < 0)
        return path + EncodeSegment(ACommandText) + '/';
    return path + EncodeSegment(ACommandText.left(dot)) + '/' + EncodeSegment(ACommandText.mid(dot + 1)) + '/';
}

std::string CachePath(const QString &AItemPath)
{
    std::string path = "/datasnap/cache";
    for (const QString &part : AItemPath.split(QLatin1Char('/')))
        path += '/' + EncodeSegment(part);
    return path;
}

std::string EncodeQuery(const QString &AFilter)
{
    return Encode(AFilter.toStdString(), [](unsigned char AByte) { return AByte > 0x20 && AByte < 0x7F && AByte != '#'; });
}

TJSONValue ReadReplyMember(int AStatus, std::string_view ABody, const char *AMember)
{
    TJSONValue document;
    bool parsed = true;
    try {
        document = vantjson::Parse(ABody);
    } catch (const EJSONError &) {
        parsed = false;
    }
    if (AStatus < 200 || AStatus > 202) {
        if (parsed && document.is_object() && document.contains("error") && document["error"].is_string())
            throw ERestError(document["error"].get<std::string>(), AStatus);
        throw ERestError("The server answered HTTP " + std::to_string(AStatus) +
                             (ABody.empty() ? std::string() : ": " + Excerpt(ABody)),
                         AStatus);
    }
    if (!parsed || !document.is_object())
        throw ERestError("The server's reply is not a JSON object: " + Excerpt(ABody), AStatus);
    const auto member = document.find(AMember);
    if (member == document.end())
        throw ERestError(std::string("The server's reply has no \"") + AMember + "\": " + Excerpt(ABody), AStatus);
    return std::move(*member);
}

} // namespace dsrest
