// One method of the server class as the REST face sees it: its name, its
// parameters in declaration order and what runs it. The face checks names,
// counts and types; a handler receives values that are already valid.
#pragma once

#include "platform/TJSONValue.h"

#include <QString>
#include <functional>
#include <optional>
#include <stdexcept>
#include <variant>
#include <vector>

enum class TParamKind { Text, Integer };

struct TParamSpec
{
    QString Name;
    TParamKind Kind;
};

// The decoded parameters of one call, in declaration order.
class TMethodArgs
{
public:
    explicit TMethodArgs(std::vector<std::variant<QString, int>> values) : FValues(std::move(values)) {}
    QString Text(std::size_t index) const { return std::get<QString>(FValues.at(index)); }
    int Integer(std::size_t index) const { return std::get<int>(FValues.at(index)); }

private:
    std::vector<std::variant<QString, int>> FValues;
};

// Who calls: the address key (TAddressKey.h) of the requesting machine.
struct TCallContext
{
    QString AddressKey;
};

// A failure of the method itself; the REST face answers {"error":<message>}.
class EMethodError : public std::runtime_error
{
public:
    explicit EMethodError(const QString &message) : std::runtime_error(message.toStdString()) {}
};

// Returns the result value, or nothing for a method without a result.
using TMethodHandler = std::function<std::optional<TJSONValue>(const TMethodArgs &, const TCallContext &)>;

struct TServerMethod
{
    QString Name;
    std::vector<TParamSpec> Params;
    TMethodHandler Handler;
};
