// The client's proxy of the game server's method class TServerMethods1: one
// remote call per method, synchronous, through the REST connection given at
// construction. Each method's command is made on its first call and kept.
//
// Results: with the instance-owner flag (the default) the proxy keeps a
// reference to each result until the same method is called again; a caller
// may keep its own shared pointer as long as it likes. Failures reach the
// caller as ERestError; the proxy catches nothing.
//
// Only the main thread calls the proxy; it takes no locks.
#pragma once

#include "net/TDSAdminRestClient.h"
#include "net/TDSRestCachedJSONValue.h"
#include "net/TDSRestCommand.h"
#include "platform/TJSONValue.h"

#include <QString>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <variant>

// A method's command text and declarations (defined with the proxy).
struct TServerMethod;

using IDSRestCachedJSONValuePtr = std::shared_ptr<IDSRestCachedJSONValue>;

class TServerMethods1Client : public TDSAdminRestClient
{
public:
    using TDSAdminRestClient::TDSAdminRestClient;
    ~TServerMethods1Client() override;

    TJSONValuePtr Players(const QString &ARequestFilter = {});
    IDSRestCachedJSONValuePtr Players_Cache(const QString &ARequestFilter = {});
    TJSONValuePtr RegisterPlayer(const QString &AName, const QString &AClientID, const QString &ARequestFilter = {});
    IDSRestCachedJSONValuePtr RegisterPlayer_Cache(const QString &AName, const QString &AClientID,
                                                   const QString &ARequestFilter = {});
    TJSONValuePtr DeletePlayer(const QString &AName, const QString &ARequestFilter = {});
    IDSRestCachedJSONValuePtr DeletePlayer_Cache(const QString &AName, const QString &ARequestFilter = {});
    TJSONValuePtr KillCard(std::int32_t APlayerID, std::int32_t ACard, std::int32_t ATarget,
                           const QString &ARequestFilter = {});
    IDSRestCachedJSONValuePtr KillCard_Cache(std::int32_t APlayerID, std::int32_t ACard, std::int32_t ATarget,
                                             const QString &ARequestFilter = {});
    TJSONValuePtr PlayCard(std::int32_t APlayerID, std::int32_t ACard, const QString &ARequestFilter = {});
    IDSRestCachedJSONValuePtr PlayCard_Cache(std::int32_t APlayerID, std::int32_t ACard,
                                             const QString &ARequestFilter = {});
    TJSONValuePtr EndTurn(std::int32_t APlayerID, const QString &ARequestFilter = {});
    IDSRestCachedJSONValuePtr EndTurn_Cache(std::int32_t APlayerID, const QString &ARequestFilter = {});
    TJSONValuePtr NewGame(const QString &ARequestFilter = {});
    IDSRestCachedJSONValuePtr NewGame_Cache(const QString &ARequestFilter = {});
    TJSONValuePtr PlayerUpdate(const QString &AName, const QString &ARequestFilter = {});
    IDSRestCachedJSONValuePtr PlayerUpdate_Cache(const QString &AName, const QString &ARequestFilter = {});
    TJSONValuePtr PlayerSetClientID(const QString &AName, const QString &AClientID,
                                    const QString &ARequestFilter = {});
    IDSRestCachedJSONValuePtr PlayerSetClientID_Cache(const QString &AName, const QString &AClientID,
                                                      const QString &ARequestFilter = {});
    TJSONValuePtr Deal(const QString &ARequestFilter = {});
    IDSRestCachedJSONValuePtr Deal_Cache(const QString &ARequestFilter = {});
    void StateChange();

private:
    using TInput = std::variant<QString, std::int32_t>;
    using TCommandPtr = std::unique_ptr<TDSRestCommand>;

    TDSRestCommand &PreparedCommand(TCommandPtr &ACommand, const TServerMethod &AMethod, bool ACache,
                                    std::initializer_list<TInput> AInputs);
    TJSONValuePtr Call(TCommandPtr &ACommand, const TServerMethod &AMethod, std::initializer_list<TInput> AInputs,
                       const QString &ARequestFilter);
    IDSRestCachedJSONValuePtr CallCache(TCommandPtr &ACommand, const TServerMethod &AMethod,
                                        std::initializer_list<TInput> AInputs, const QString &ARequestFilter);

    TCommandPtr FPlayersCommand;
    TCommandPtr FPlayersCommand_Cache;
    TCommandPtr FRegisterPlayerCommand;
    TCommandPtr FRegisterPlayerCommand_Cache;
    TCommandPtr FDeletePlayerCommand;
    TCommandPtr FDeletePlayerCommand_Cache;
    TCommandPtr FKillCardCommand;
    TCommandPtr FKillCardCommand_Cache;
    TCommandPtr FPlayCardCommand;
    TCommandPtr FPlayCardCommand_Cache;
    TCommandPtr FEndTurnCommand;
    TCommandPtr FEndTurnCommand_Cache;
    TCommandPtr FNewGameCommand;
    TCommandPtr FNewGameCommand_Cache;
    TCommandPtr FPlayerUpdateCommand;
    TCommandPtr FPlayerUpdateCommand_Cache;
    TCommandPtr FPlayerSetClientIDCommand;
    TCommandPtr FPlayerSetClientIDCommand_Cache;
    TCommandPtr FDealCommand;
    TCommandPtr FDealCommand_Cache;
    TCommandPtr FStateChangeCommand;
};
