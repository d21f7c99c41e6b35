// The network side of the registered players: which client id and which
// address holds each seat, and the rules of registering, reconnecting and
// removing. Names and ids live in the rules engine; this registry checks
// names before they reach it and keeps the seat holders beside it. No
// sockets: addresses are keys (TAddressKey.h), and the push hub answers
// whether a client's channels are open, so every rule is testable directly.
#pragma once

#include "platform/TJSONValue.h"

#include <QHash>
#include <QString>
#include <functional>
#include <optional>
#include <stdexcept>

class TVantGame;

// A refused registry request; the message is the reason shown to the caller.
class ERegistryError : public std::runtime_error
{
public:
    explicit ERegistryError(const QString &reason) : std::runtime_error(reason.toStdString()) {}
};

struct TSeatHolder
{
    QString ClientId;
    QString AddressKey;
    bool Bot = false;    // computer players count as always connected
};

class TPlayerRegistry
{
public:
    static constexpr int MaxPlayers = 12;
    static constexpr int MaxNameLength = 32;

    // True while at least one push channel of that client id is open.
    using ConnectedQuery = std::function<bool(const QString &clientId)>;

    TPlayerRegistry(TVantGame &game, ConnectedQuery isConnected);

    // Registers a new name, or reconnects a known one (same id, new client id)
    // when asked from the address that holds it or when its channels have all
    // dropped. Returns the player's id; throws ERegistryError on refusal.
    int Register(const QString &name, const QString &clientId, const QString &addressKey,
                 bool bot = false);
    // Throws ERegistryError for an unknown name.
    void Delete(const QString &name);
    // Only the address that holds the seat may change its client id: the client
    // id decides whether the seat counts as connected.
    void SetClientId(const QString &name, const QString &clientId, const QString &addressKey);

    std::optional<int> FindPlayer(const QString &name) const;
    // Nothing for an unknown id.
    const TSeatHolder *Holder(int playerId) const;
    // {"player<id>":{"name":...,"id":...},...} in seat order.
    TJSONValue PlayersDocument() const;

private:
    static void CheckName(const QString &trimmed);
    int FindOrRefuse(const QString &name) const;

    TVantGame &FGame;
    ConnectedQuery FIsConnected;
    QHash<int, TSeatHolder> FHolders;
};
