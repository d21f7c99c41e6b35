#include "server/host/TPlayerRegistry.h"

#include "server/engine/TVantGame.h"

#include <algorithm>

TPlayerRegistry::TPlayerRegistry(TVantGame &game, ConnectedQuery isConnected)
    : FGame(game), FIsConnected(std::move(isConnected))
{
}

void TPlayerRegistry::CheckName(const QString &trimmed)
{
    if (trimmed.isEmpty())
        throw ERegistryError(QStringLiteral("A player name is required"));
    if (trimmed.toUcs4().size() > MaxNameLength)
        throw ERegistryError(QStringLiteral("A player name has at most %1 characters").arg(MaxNameLength));
    // The client finds its own member by a dotted path, so a full stop would
    // hide the player from itself.
    if (trimmed.contains(QLatin1Char('.')))
        throw ERegistryError(QStringLiteral("A player name cannot hold a full stop"));
    const bool control = std::any_of(trimmed.cbegin(), trimmed.cend(), [](QChar c) {
        return c.category() == QChar::Other_Control;
    });
    if (control)
        throw ERegistryError(QStringLiteral("A player name cannot hold control characters"));
}

std::optional<int> TPlayerRegistry::FindPlayer(const QString &name) const
{
    return FGame.FindPlayer(TVantGame::TrimName(name));
}

int TPlayerRegistry::FindOrRefuse(const QString &name) const
{
    const std::optional<int> id = FindPlayer(name);
    if (!id)
        throw ERegistryError(QStringLiteral("No player is named %1").arg(TVantGame::TrimName(name)));
    return *id;
}

const TSeatHolder *TPlayerRegistry::Holder(int playerId) const
{
    const auto it = FHolders.constFind(playerId);
    return it == FHolders.cend() ? nullptr : &*it;
}

int TPlayerRegistry::Register(const QString &name, const QString &clientId, const QString &addressKey,
                              bool bot)
{
    const QString trimmed = TVantGame::TrimName(name);
    CheckName(trimmed);
    if (const std::optional<int> id = FindPlayer(trimmed)) {
        TSeatHolder &holder = FHolders[*id];
        const bool connected = holder.Bot || FIsConnected(holder.ClientId);
        if (holder.AddressKey != addressKey && connected)
            throw ERegistryError(QStringLiteral("The name %1 is in use on another machine")
                                     .arg(FGame.PlayerName(*id)));
        holder.ClientId = clientId;
        holder.AddressKey = addressKey;
        return *id;
    }
    if (static_cast<int>(FGame.Players().size()) >= MaxPlayers)
        throw ERegistryError(QStringLiteral("The table is full (%1 players)").arg(MaxPlayers));
    const int id = FGame.AddPlayer(trimmed);
    if (id == 0)
        throw ERegistryError(QStringLiteral("The name %1 cannot be registered").arg(trimmed));
    FHolders.insert(id, {clientId, addressKey, bot});
    return id;
}

void TPlayerRegistry::Delete(const QString &name)
{
    const int id = FindOrRefuse(name);
    FGame.RemovePlayer(id);
    FHolders.remove(id);
}

void TPlayerRegistry::SetClientId(const QString &name, const QString &clientId, const QString &addressKey)
{
    const int id = FindOrRefuse(name);
    TSeatHolder &holder = FHolders[id];
    if (holder.AddressKey != addressKey)
        throw ERegistryError(QStringLiteral("Not your seat"));
    holder.ClientId = clientId;
}

TJSONValue TPlayerRegistry::PlayersDocument() const
{
    TJSONValue document = TJSONValue::object();
    for (const auto &player : FGame.Players()) {
        TJSONValue entry = TJSONValue::object();
        entry["name"] = player.name.toStdString();
        entry["id"] = player.id;
        document["player" + std::to_string(player.id)] = std::move(entry);
    }
    return document;
}
