// The REST wire format of the game server's methods: how a call becomes a
// request path and how a reply becomes a value or an error.
#pragma once

#include "platform/TJSONValue.h"

#include <QString>
#include <string>
#include <string_view>

namespace dsrest {

// One path segment: UTF-8, every byte but letters, digits and
// "-_+&=,;@$!*'()~[]" as %XX with upper-case hex (a blank is %20).
std::string EncodeSegment(const QString &AText);

// "/datasnap/rest/TServerMethods1/KillCard/" for the command text
// "TServerMethods1.KillCard": the first full stop separates class and method.
std::string MethodPath(const QString &ACommandText);

// "/datasnap/cache/0/0/0" for the path "0/0/0" of a value the server keeps;
// each part of the path is encoded by itself.
std::string CachePath(const QString &AItemPath);

// The query of a request filter: bytes outside the printable ASCII range and
// "#" encoded, everything else as given.
std::string EncodeQuery(const QString &AFilter);

// The member AMember of a successful reply (HTTP 200 to 202 with a JSON
// object body). Throws ERestError carrying the server's "error" text, or the
// status, or what is wrong with the body.
TJSONValue ReadReplyMember(int AStatus, std::string_view ABody, const char *AMember);

} // namespace dsrest
