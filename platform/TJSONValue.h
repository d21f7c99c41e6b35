// JSON values as the client reads them: documents keep their member order,
// results are judged by their text, and members are found by dotted path.
#pragma once

#include <QString>
#include <nlohmann/json.hpp>
#include <memory>
#include <stdexcept>
#include <string_view>

using TJSONValue = nlohmann::ordered_json;
// A result shared between the proxy that fetched it and whoever keeps it.
using TJSONValuePtr = std::shared_ptr<const TJSONValue>;

// A value that cannot be read as asked (not JSON, not a whole number, ...).
class EJSONError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

namespace vantjson {

// Parses UTF-8 text; throws EJSONError with the parser's message.
TJSONValue Parse(std::string_view text);

// The result text of a value: a string's characters, a number's text, "true",
// "false", "null"; the empty text for an object or an array.
QString ValueText(const TJSONValue &value);

// The member at a dotted path (a.b.c), or nullptr when a step meets a missing
// member or a value that is not an object. Names match exactly.
const TJSONValue *FindValue(const TJSONValue &root, const QString &path);

// A 32-bit integer from a number whose text is a whole number, or from a
// string holding one; throws EJSONError otherwise.
int ReadInteger(const TJSONValue &value);

// Reads text as a decimal 32-bit integer the way the document's "mode" is
// read: optional sign, digits only; throws EJSONError otherwise.
int ParseInteger(const QString &text);

} // namespace vantjson
