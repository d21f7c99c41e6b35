#include "TDSRestCommand.h"

#include "net/DSRestWire.h"
#include "net/ERestError.h"
#include "net/TDSRestConnection.h"

#include <memory>
#include <utility>

bool TDSRestParameter::IsInput() const
{
    return FMetaData.Direction == TDBXParameterDirections::InParameter ||
           FMetaData.Direction == TDBXParameterDirections::InOutParameter;
}

void TDSRestParameter::SetWideString(const QString &AValue)
{
    FValue = std::make_shared<const TJSONValue>(AValue.toStdString());
}

void TDSRestParameter::SetInt32(std::int32_t AValue)
{
    FValue = std::make_shared<const TJSONValue>(AValue);
}

QString TDSRestParameter::GetWideString() const
{
    return FValue ? vantjson::ValueText(*FValue) : QString();
}

TJSONValuePtr TDSRestParameter::GetJSONValue(bool AInstanceOwner)
{
    return AInstanceOwner ? FValue : std::exchange(FValue, nullptr);
}

void TDSRestCommand::Prepare(const std::vector<TDSRestParameterMetaData> &AMetaData)
{
    FParameters.clear();
    for (const TDSRestParameterMetaData &metaData : AMetaData)
        FParameters.emplace_back(metaData);
    FPrepared = true;
}

void TDSRestCommand::Execute(const QString &ARequestFilter)
{
    Run(ARequestFilter, false);
}

void TDSRestCommand::ExecuteCache(const QString &ARequestFilter)
{
    Run(ARequestFilter, true);
}

void TDSRestCommand::Run(const QString &ARequestFilter, bool ACache)
{
    if (FRequestType.compare(QLatin1String("GET"), Qt::CaseInsensitive) != 0)
        throw ERestError("Unsupported request type: \"" + FRequestType.toStdString() + "\"");
    for (TDSRestParameter &parameter : FParameters)
        if (!parameter.IsInput())
            parameter.Clear();

    TDSRestConnection::THeaders headers;
    if (ACache)
        headers.emplace_back("Accept", "application/rest");
    const TDSRestReply reply = FConnection.Get(RequestPath(ARequestFilter), headers);
    TJSONValue results = dsrest::ReadReplyMember(reply.Status, reply.Body, "result");
    if (!results.is_array())
        throw ERestError("The server's \"result\" is not an array", reply.Status);

    std::size_t next = 0;
    for (TDSRestParameter &parameter : FParameters) {
        if (parameter.MetaData().Direction == TDBXParameterDirections::InParameter)
            continue;
        if (next == results.size())
            break;
        parameter.SetJSONValue(std::make_shared<const TJSONValue>(std::move(results[next++])));
    }
}

std::string TDSRestCommand::RequestPath(const QString &ARequestFilter) const
{
    std::string path = dsrest::MethodPath(FText);
    for (const TDSRestParameter &parameter : FParameters)
        if (parameter.IsInput())
            path += dsrest::EncodeSegment(parameter.GetWideString()) + '/';
    if (!ARequestFilter.isEmpty())
        path += '?' + dsrest::EncodeQuery(ARequestFilter);
    return path;
}
