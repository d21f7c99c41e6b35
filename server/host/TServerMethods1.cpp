#include "server/host/TServerMethods1.h"

#include "server/engine/TVantGame.h"
#include "server/host/TPlayerRegistry.h"

TServerMethods1::TServerMethods1(TVantGame &game, TPlayerRegistry &registry, QObject *parent)
    : QObject(parent), FGame(game), FRegistry(registry)
{
}

TJSONValue TServerMethods1::Players() const
{
    return FRegistry.PlayersDocument();
}

TJSONValue TServerMethods1::RegisterPlayer(const QString &name, const QString &clientId,
                                           const TCallContext &caller)
{
    const int id = FRegistry.Register(name, clientId, caller.AddressKey);
    emit PlayersChanged();
    return std::to_string(id);
}

TJSONValue TServerMethods1::DeletePlayer(const QString &name)
{
    FRegistry.Delete(name);
    emit PlayersChanged();
    return true;
}

QString TServerMethods1::SeatRefusal(int playerId, const TCallContext &caller) const
{
    const TSeatHolder *holder = FRegistry.Holder(playerId);
    if (!holder)
        return QStringLiteral("Unknown player %1").arg(playerId);
    if (holder->AddressKey != caller.AddressKey)
        return QStringLiteral("Not your seat");
    return {};
}

TJSONValue TServerMethods1::KillCard(int playerId, int card, int target, const TCallContext &caller)
{
    QString reason = SeatRefusal(playerId, caller);
    if (reason.isEmpty())
        reason = FGame.KillCard(playerId, card, target);
    return reason.toStdString();
}

TJSONValue TServerMethods1::PlayCard(int playerId, int card, const TCallContext &caller)
{
    QString reason = SeatRefusal(playerId, caller);
    if (reason.isEmpty())
        reason = FGame.PlayCard(playerId, card);
    return reason.toStdString();
}

TJSONValue TServerMethods1::EndTurn(int playerId, const TCallContext &caller)
{
    const QString refusal = SeatRefusal(playerId, caller);
    if (!refusal.isEmpty())
        return refusal.toStdString();
    const TEndTurnResult result = FGame.EndTurn(playerId);
    if (result)
        return true;
    return result.reason.toStdString();
}

TJSONValue TServerMethods1::NewGame()
{
    FGame.NewGame();
    return true;
}

TJSONValue TServerMethods1::PlayerUpdate(const QString &name, const TCallContext &caller) const
{
    const std::optional<int> id = FRegistry.FindPlayer(name);
    if (id && SeatRefusal(*id, caller).isEmpty())
        return FGame.Document(TVantGame::TrimName(name));
    // No registered name can be empty, so this is the onlooker's view.
    return FGame.Document(QString());
}

TJSONValue TServerMethods1::PlayerSetClientID(const QString &name, const QString &clientId,
                                              const TCallContext &caller)
{
    FRegistry.SetClientId(name, clientId, caller.AddressKey);
    emit PlayersChanged();
    return true;
}

TJSONValue TServerMethods1::Deal()
{
    const QString reason = FGame.Deal();
    // A refused deal is reported as a failure, never as done.
    if (!reason.isEmpty())
        throw EMethodError(reason);
    return true;
}

void TServerMethods1::StateChange()
{
    emit StateChangeRequested();
}

std::vector<TServerMethod> TServerMethods1::Methods()
{
    const TParamSpec name{QStringLiteral("AName"), TParamKind::Text};
    const TParamSpec clientId{QStringLiteral("AClientID"), TParamKind::Text};
    const TParamSpec playerId{QStringLiteral("APlayerID"), TParamKind::Integer};
    const TParamSpec card{QStringLiteral("ACard"), TParamKind::Integer};
    const TParamSpec target{QStringLiteral("ATarget"), TParamKind::Integer};
    using A = TMethodArgs;
    using C = TCallContext;
    return {
        {QStringLiteral("Players"), {}, [this](const A &, const C &) { return Players(); }},
        {QStringLiteral("RegisterPlayer"), {name, clientId},
         [this](const A &a, const C &c) { return RegisterPlayer(a.Text(0), a.Text(1), c); }},
        {QStringLiteral("DeletePlayer"), {name}, [this](const A &a, const C &) { return DeletePlayer(a.Text(0)); }},
        {QStringLiteral("KillCard"), {playerId, card, target},
         [this](const A &a, const C &c) { return KillCard(a.Integer(0), a.Integer(1), a.Integer(2), c); }},
        {QStringLiteral("PlayCard"), {playerId, card},
         [this](const A &a, const C &c) { return PlayCard(a.Integer(0), a.Integer(1), c); }},
        {QStringLiteral("EndTurn"), {playerId}, [this](const A &a, const C &c) { return EndTurn(a.Integer(0), c); }},
        {QStringLiteral("NewGame"), {}, [this](const A &, const C &) { return NewGame(); }},
        {QStringLiteral("PlayerUpdate"), {name},
         [this](const A &a, const C &c) { return PlayerUpdate(a.Text(0), c); }},
        {QStringLiteral("PlayerSetClientID"), {name, clientId},
         [this](const A &a, const C &c) { return PlayerSetClientID(a.Text(0), a.Text(1), c); }},
        {QStringLiteral("Deal"), {}, [this](const A &, const C &) { return Deal(); }},
        {QStringLiteral("StateChange"), {},
         [this](const A &, const C &) -> std::optional<TJSONValue> {
             StateChange();
             return std::nullopt;
         }},
    };
}
