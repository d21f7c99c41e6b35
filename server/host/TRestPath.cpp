#include "server/host/TRestPath.h"

namespace {

int HexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

} // namespace

std::optional<QString> DecodeSegment(const QByteArray &segment)
{
    QByteArray bytes;
    bytes.reserve(segment.size());
    for (qsizetype i = 0; i < segment.size(); ++i) {
        if (segment.at(i) != '%') {
            bytes.append(segment.at(i));
            continue;
        }
        if (i + 2 >= segment.size())
            return std::nullopt;
        const int high = HexValue(segment.at(i + 1));
        const int low = HexValue(segment.at(i + 2));
        if (high < 0 || low < 0)
            return std::nullopt;
        bytes.append(static_cast<char>(high * 16 + low));
        i += 2;
    }
    return QString::fromUtf8(bytes);
}

QList<QByteArray> SplitRawPath(const QByteArray &rawPath)
{
    QByteArray path = rawPath;
    if (path.startsWith('/'))
        path.remove(0, 1);
    if (path.endsWith('/'))
        path.chop(1);
    if (path.isEmpty())
        return {};
    return path.split('/');
}
