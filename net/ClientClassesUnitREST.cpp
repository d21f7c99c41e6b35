#include "ClientClassesUnitREST.h"

#include "net/TDSRestConnection.h"

#include <type_traits>
#include <vector>

struct TServerMethod
{
    const char *Text;
    std::vector<TDSRestParameterMetaData> Inputs;

    // The inputs, then the result: a JSON value for the plain method, the
    // text path of the kept value for its cached twin.
    std::vector<TDSRestParameterMetaData> MetaData(bool ACache) const
    {
        std::vector<TDSRestParameterMetaData> all = Inputs;
        if (ACache)
            all.push_back({QString(), TDBXParameterDirections::ReturnParameter, TDBXDataTypes::WideStringType,
                           QStringLiteral("String")});
        else
            all.push_back({QString(), TDBXParameterDirections::ReturnParameter, TDBXDataTypes::JsonValueType,
                           QStringLiteral("TJSONValue")});
        return all;
    }
};

namespace {

TDSRestParameterMetaData TextInput(const char *AName)
{
    return {QString::fromLatin1(AName), TDBXParameterDirections::InParameter, TDBXDataTypes::WideStringType,
            QStringLiteral("string")};
}

TDSRestParameterMetaData IntegerInput(const char *AName)
{
    return {QString::fromLatin1(AName), TDBXParameterDirections::InParameter, TDBXDataTypes::Int32Type,
            QStringLiteral("Integer")};
}

const TServerMethod PlayersMethod{"TServerMethods1.Players", {}};
const TServerMethod RegisterPlayerMethod{"TServerMethods1.RegisterPlayer", {TextInput("AName"), TextInput("AClientID")}};
const TServerMethod DeletePlayerMethod{"TServerMethods1.DeletePlayer", {TextInput("AName")}};
const TServerMethod KillCardMethod{"TServerMethods1.KillCard",
                             {IntegerInput("APlayerID"), IntegerInput("ACard"), IntegerInput("ATarget")}};
const TServerMethod PlayCardMethod{"TServerMethods1.PlayCard", {IntegerInput("APlayerID"), IntegerInput("ACard")}};
const TServerMethod EndTurnMethod{"TServerMethods1.EndTurn", {IntegerInput("APlayerID")}};
const TServerMethod NewGameMethod{"TServerMethods1.NewGame", {}};
const TServerMethod PlayerUpdateMethod{"TServerMethods1.PlayerUpdate", {TextInput("AName")}};
const TServerMethod PlayerSetClientIDMethod{"TServerMethods1.PlayerSetClientID",
                                      {TextInput("AName"), TextInput("AClientID")}};
const TServerMethod DealMethod{"TServerMethods1.Deal", {}};
const char *const StateChangeText = "TServerMethods1.StateChange";

} // namespace

TServerMethods1Client::~TServerMethods1Client() = default;

TDSRestCommand &TServerMethods1Client::PreparedCommand(TCommandPtr &ACommand, const TServerMethod &AMethod,
                                                       bool ACache, std::initializer_list<TInput> AInputs)
{
    if (!ACommand) {
        ACommand = Connection().CreateCommand();
        ACommand->SetRequestType(QStringLiteral("GET"));
        ACommand->SetText(QString::fromLatin1(AMethod.Text));
        ACommand->Prepare(AMethod.MetaData(ACache));
    }
    int index = 0;
    for (const TInput &input : AInputs) {
        TDSRestParameter &parameter = ACommand->Parameters(index++);
        std::visit(
            [&parameter](const auto &AValue) {
                if constexpr (std::is_same_v<std::decay_t<decltype(AValue)>, QString>)
                    parameter.SetWideString(AValue);
                else
                    parameter.SetInt32(AValue);
            },
            input);
    }
    return *ACommand;
}

TJSONValuePtr TServerMethods1Client::Call(TCommandPtr &ACommand, const TServerMethod &AMethod,
                                          std::initializer_list<TInput> AInputs, const QString &ARequestFilter)
{
    TDSRestCommand &command = PreparedCommand(ACommand, AMethod, false, AInputs);
    command.Execute(ARequestFilter);
    return command.GetJSONValue(static_cast<int>(AInputs.size()), InstanceOwner());
}

IDSRestCachedJSONValuePtr TServerMethods1Client::CallCache(TCommandPtr &ACommand, const TServerMethod &AMethod,
                                                           std::initializer_list<TInput> AInputs,
                                                           const QString &ARequestFilter)
{
    TDSRestCommand &command = PreparedCommand(ACommand, AMethod, true, AInputs);
    command.ExecuteCache(ARequestFilter);
    return std::make_shared<TDSRestCachedJSONValue>(
        Connection(), command.Parameters(static_cast<int>(AInputs.size())).GetWideString());
}

TJSONValuePtr TServerMethods1Client::Players(const QString &ARequestFilter)
{
    return Call(FPlayersCommand, PlayersMethod, {}, ARequestFilter);
}

IDSRestCachedJSONValuePtr TServerMethods1Client::Players_Cache(const QString &ARequestFilter)
{
    return CallCache(FPlayersCommand_Cache, PlayersMethod, {}, ARequestFilter);
}

TJSONValuePtr TServerMethods1Client::RegisterPlayer(const QString &AName, const QString &AClientID,
                                                    const QString &ARequestFilter)
{
    return Call(FRegisterPlayerCommand, RegisterPlayerMethod, {AName, AClientID}, ARequestFilter);
}

IDSRestCachedJSONValuePtr TServerMethods1Client::RegisterPlayer_Cache(const QString &AName, const QString &AClientID,
                                                                      const QString &ARequestFilter)
{
    return CallCache(FRegisterPlayerCommand_Cache, RegisterPlayerMethod, {AName, AClientID}, ARequestFilter);
}

TJSONValuePtr TServerMethods1Client::DeletePlayer(const QString &AName, const QString &ARequestFilter)
{
    return Call(FDeletePlayerCommand, DeletePlayerMethod, {AName}, ARequestFilter);
}

IDSRestCachedJSONValuePtr TServerMethods1Client::DeletePlayer_Cache(const QString &AName,
                                                                    const QString &ARequestFilter)
{
    return CallCache(FDeletePlayerCommand_Cache, DeletePlayerMethod, {AName}, ARequestFilter);
}

TJSONValuePtr TServerMethods1Client::KillCard(std::int32_t APlayerID, std::int32_t ACard, std::int32_t ATarget,
                                              const QString &ARequestFilter)
{
    return Call(FKillCardCommand, KillCardMethod, {APlayerID, ACard, ATarget}, ARequestFilter);
}

IDSRestCachedJSONValuePtr TServerMethods1Client::KillCard_Cache(std::int32_t APlayerID, std::int32_t ACard,
                                                                std::int32_t ATarget, const QString &ARequestFilter)
{
    return CallCache(FKillCardCommand_Cache, KillCardMethod, {APlayerID, ACard, ATarget}, ARequestFilter);
}

TJSONValuePtr TServerMethods1Client::PlayCard(std::int32_t APlayerID, std::int32_t ACard,
                                              const QString &ARequestFilter)
{
    return Call(FPlayCardCommand, PlayCardMethod, {APlayerID, ACard}, ARequestFilter);
}

IDSRestCachedJSONValuePtr TServerMethods1Client::PlayCard_Cache(std::int32_t APlayerID, std::int32_t ACard,
                                                                const QString &ARequestFilter)
{
    return CallCache(FPlayCardCommand_Cache, PlayCardMethod, {APlayerID, ACard}, ARequestFilter);
}

TJSONValuePtr TServerMethods1Client::EndTurn(std::int32_t APlayerID, const QString &ARequestFilter)
{
    return Call(FEndTurnCommand, EndTurnMethod, {APlayerID}, ARequestFilter);
}

IDSRestCachedJSONValuePtr TServerMethods1Client::EndTurn_Cache(std::int32_t APlayerID, const QString &ARequestFilter)
{
    return CallCache(FEndTurnCommand_Cache, EndTurnMethod, {APlayerID}, ARequestFilter);
}

TJSONValuePtr TServerMethods1Client::NewGame(const QString &ARequestFilter)
{
    return Call(FNewGameCommand, NewGameMethod, {}, ARequestFilter);
}

IDSRestCachedJSONValuePtr TServerMethods1Client::NewGame_Cache(const QString &ARequestFilter)
{
    return CallCache(FNewGameCommand_Cache, NewGameMethod, {}, ARequestFilter);
}

TJSONValuePtr TServerMethods1Client::PlayerUpdate(const QString &AName, const QString &ARequestFilter)
{
    return Call(FPlayerUpdateCommand, PlayerUpdateMethod, {AName}, ARequestFilter);
}

IDSRestCachedJSONValuePtr TServerMethods1Client::PlayerUpdate_Cache(const QString &AName,
                                                                    const QString &ARequestFilter)
{
    return CallCache(FPlayerUpdateCommand_Cache, PlayerUpdateMethod, {AName}, ARequestFilter);
}

TJSONValuePtr TServerMethods1Client::PlayerSetClientID(const QString &AName, const QString &AClientID,
                                                       const QString &ARequestFilter)
{
    return Call(FPlayerSetClientIDCommand, PlayerSetClientIDMethod, {AName, AClientID}, ARequestFilter);
}

IDSRestCachedJSONValuePtr TServerMethods1Client::PlayerSetClientID_Cache(const QString &AName,
                                                                         const QString &AClientID,
                                                                         const QString &ARequestFilter)
{
    return CallCache(FPlayerSetClientIDCommand_Cache, PlayerSetClientIDMethod, {AName, AClientID}, ARequestFilter);
}

TJSONValuePtr TServerMethods1Client::Deal(const QString &ARequestFilter)
{
    return Call(FDealCommand, DealMethod, {}, ARequestFilter);
}

IDSRestCachedJSONValuePtr TServerMethods1Client::Deal_Cache(const QString &ARequestFilter)
{
    return CallCache(FDealCommand_Cache, DealMethod, {}, ARequestFilter);
}

void TServerMethods1Client::StateChange()
{
    // Not prepared: it has neither inputs nor a result to read.
    if (!FStateChangeCommand) {
        FStateChangeCommand = Connection().CreateCommand();
        FStateChangeCommand->SetRequestType(QStringLiteral("GET"));
        FStateChangeCommand->SetText(QString::fromLatin1(StateChangeText));
    }
    FStateChangeCommand->Execute();
}
