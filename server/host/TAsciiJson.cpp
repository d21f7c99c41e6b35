#include "server/host/TAsciiJson.h"

QByteArray AsciiJson(const TJSONValue &value)
{
    // Invalid UTF-8 cannot come from QString-built values, but a bad byte must
    // never turn a reply into an exception: it is written as U+FFFD.
    const std::string text = value.dump(-1, ' ', true, TJSONValue::error_handler_t::replace);
    QByteArray out;
    out.reserve(static_cast<qsizetype>(text.size() + text.size() / 8));
    for (const char c : text) {
        // A "/" can only stand inside a string in JSON text, so escaping every
        // one is exact.
        if (c == '/')
            out.append("\\/");
        else
            out.append(c);
    }
    return out;
}
