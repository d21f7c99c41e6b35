// One server method as the REST connection calls it: its text
// ("TServerMethods1.KillCard"), request type, parameters in call order, and
// the values the last call brought back. Only the main thread uses it.
#pragma once

#include "platform/TJSONValue.h"

#include <QString>
#include <cstdint>
#include <string>
#include <vector>

class TDSRestConnection;

namespace TDBXParameterDirections {
inline constexpr int InParameter = 1;
inline constexpr int OutParameter = 2;
inline constexpr int InOutParameter = 3;
inline constexpr int ReturnParameter = 4;
} // namespace TDBXParameterDirections

namespace TDBXDataTypes {
inline constexpr int Int32Type = 6;
inline constexpr int WideStringType = 26;
inline constexpr int JsonValueType = 37;
} // namespace TDBXDataTypes

struct TDSRestParameterMetaData
{
    QString Name;
    int Direction = TDBXParameterDirections::InParameter;
    int DBXType = TDBXDataTypes::WideStringType;
    QString TypeName;
};

// A parameter's declaration and value: inputs are written before a call,
// outputs and the result are filled by it.
class TDSRestParameter
{
public:
    explicit TDSRestParameter(TDSRestParameterMetaData AMetaData) : FMetaData(std::move(AMetaData)) {}

    const TDSRestParameterMetaData &MetaData() const { return FMetaData; }
    bool IsInput() const;

    void SetWideString(const QString &AValue);
    void SetInt32(std::int32_t AValue);
    void SetJSONValue(TJSONValuePtr AValue) { FValue = std::move(AValue); }
    void Clear() { FValue.reset(); }

    // The result text of the value; empty when there is none.
    QString GetWideString() const;
    // The value, or nullptr when there is none. With AInstanceOwner the
    // parameter keeps its reference; without it, it lets go of the value.
    TJSONValuePtr GetJSONValue(bool AInstanceOwner = true);

private:
    TDSRestParameterMetaData FMetaData;
    TJSONValuePtr FValue;
};

class TDSRestCommand
{
public:
    explicit TDSRestCommand(TDSRestConnection &AConnection) : FConnection(AConnection) {}

    const QString &RequestType() const { return FRequestType; }
    void SetRequestType(const QString &ARequestType) { FRequestType = ARequestType; }
    const QString &Text() const { return FText; }
    void SetText(const QString &AText) { FText = AText; }

    // Declares the parameters in call order, the result last.
    void Prepare(const std::vector<TDSRestParameterMetaData> &AMetaData);
    bool Prepared() const { return FPrepared; }
    int ParameterCount() const { return static_cast<int>(FParameters.size()); }
    // Throws std::out_of_range for an index that was not declared.
    TDSRestParameter &Parameters(int AIndex) { return FParameters.at(static_cast<std::size_t>(AIndex)); }

    // Calls the method with the inputs and waits for the reply; the outputs
    // and the result then hold the reply's values in order (a value the reply
    // lacks stays empty). The previous call's values are let go first.
    // Throws ERestError for an error reply or a failed connection.
    void Execute(const QString &ARequestFilter = {});
    // The same, asking the server to keep the result: the result is then the
    // path of the kept value.
    void ExecuteCache(const QString &ARequestFilter = {});

    TJSONValuePtr GetJSONValue(int AIndex, bool AInstanceOwner = true)
    {
        return Parameters(AIndex).GetJSONValue(AInstanceOwner);
    }

private:
    void Run(const QString &ARequestFilter, bool ACache);
    std::string RequestPath(const QString &ARequestFilter) const;

    TDSRestConnection &FConnection;
    QString FRequestType = QStringLiteral("GET");
    QString FText;
    bool FPrepared = false;
    std::vector<TDSRestParameter> FParameters;
};
